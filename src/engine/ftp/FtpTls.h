#pragma once

#include "FtpEncryption.h"

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>

#include <atomic>

class QSslSocket;

namespace Velmora {

// The TLS pieces the FTP connections share: the client configuration, the handshake driven with
// blocking calls, and how certificates are named and described.
class FtpTls {
public:
    // TLS 1.2 or later, the peer verified against the trusted authorities, and the session kept
    // in the configuration so that data connections can resume it.
    static QSslConfiguration ClientConfiguration();
    // The authorities from SSL_CERT_FILE and SSL_CERT_DIR (a ':'-separated list) when either is
    // set, as OpenSSL-based tools take them; the system's store otherwise.
    static QList<QSslCertificate> TrustedAuthorities();
    // Starts the client handshake and waits for it in short slices. Verification problems do not
    // stop the handshake; they are collected in *errors for the caller to judge before it sends
    // anything. Raises FtpError when the handshake fails or takes longer than timeoutMs.
    static void Handshake(QSslSocket &socket, int timeoutMs, const std::atomic_bool &stopping, QList<QSslError> *errors);
    // Waits for a handshake already started (errors ignored by the caller).
    static void WaitEncrypted(QSslSocket &socket, int timeoutMs, const std::atomic_bool &stopping);
    // SHA-256 of the certificate, upper-case hex pairs joined by ':'.
    static QString Fingerprint(const QSslCertificate &certificate);
    static FtpCertificate Describe(const QSslCertificate &certificate, const QList<QSslError> &errors,
                                   const QString &host, quint16 port);
    // "TLSv1.3, TLS_AES_256_GCM_SHA384".
    static QString SessionText(const QSslSocket &socket);
    // The names a certificate is valid for: DNS names and IP addresses of its subject
    // alternative names, else its common names.
    static QStringList ValidNames(const QSslCertificate &certificate);
};

} // namespace Velmora
