#include "TlsTestCertificates.h"

#include <QProcess>

namespace Velmora::Testing {

TlsTestCertificates::TlsTestCertificates()
{
    m_hadCertFile = qEnvironmentVariableIsSet("SSL_CERT_FILE");
    m_oldCertFile = qgetenv("SSL_CERT_FILE");
    m_hadCertDir = qEnvironmentVariableIsSet("SSL_CERT_DIR");
    m_oldCertDir = qgetenv("SSL_CERT_DIR");
    QProcess make;
    make.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral(VELMORA_TEST_SOURCE_DIR "/tests/support/make_test_certificates.py"), m_dir.path()});
    if (!make.waitForFinished(30000) || make.exitCode() != 0) {
        m_error = QString::fromLocal8Bit(make.readAllStandardError());
        return;
    }
    qputenv("SSL_CERT_FILE", file(QStringLiteral("ca.pem")).toLocal8Bit());
    qunsetenv("SSL_CERT_DIR");
    m_valid = true;
}

TlsTestCertificates::~TlsTestCertificates()
{
    if (m_hadCertFile)
        qputenv("SSL_CERT_FILE", m_oldCertFile);
    else
        qunsetenv("SSL_CERT_FILE");
    if (m_hadCertDir)
        qputenv("SSL_CERT_DIR", m_oldCertDir);
}

QString TlsTestCertificates::fingerprint(const QString &name) const
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("x509"), QStringLiteral("-in"), file(name), QStringLiteral("-noout"),
                   QStringLiteral("-fingerprint"), QStringLiteral("-sha256")});
    openssl.waitForFinished(10000);
    // "sha256 Fingerprint=AB:CD:..." (older versions say "SHA256 Fingerprint=")
    const QString line = QString::fromLatin1(openssl.readAllStandardOutput()).trimmed();
    return line.mid(line.indexOf(u'=') + 1);
}

} // namespace Velmora::Testing
