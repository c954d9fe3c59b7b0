#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace Velmora::Testing {

// A certificate authority and server certificates made for one test (make_test_certificates.py):
// "server.pem" (127.0.0.1, signed by the authority), "wrong-host.pem", "expired.pem",
// "self-signed.pem" and "self-signed-2.pem". While it lives, SSL_CERT_FILE names the authority,
// so the authority is the only one the client trusts; the variable is restored at the end.
class TlsTestCertificates {
public:
    TlsTestCertificates();
    ~TlsTestCertificates();
    TlsTestCertificates(const TlsTestCertificates &) = delete;
    TlsTestCertificates &operator=(const TlsTestCertificates &) = delete;

    bool isValid() const { return m_valid; }
    QString errorText() const { return m_error; }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // The SHA-256 fingerprint as the openssl command prints it ("AB:CD:...").
    QString fingerprint(const QString &name) const;

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
    QString m_error;
    bool m_hadCertFile = false;
    QByteArray m_oldCertFile;
    bool m_hadCertDir = false;
    QByteArray m_oldCertDir;
};

} // namespace Velmora::Testing
