#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "FtpError.h"

namespace Velmora {

// How a site is reached: FTP, plain or over TLS, or SFTP. Explicit TLS upgrades a plain
// connection with AUTH TLS; implicit TLS speaks TLS from the first byte (usually port 990).
// Sftp is no FTP at all: the session reaches such a site through its SFTP client (SSH, port
// 22), and the FTP client never connects with it.
enum class FtpEncryption {
    ExplicitRequired,    // AUTH TLS must succeed; nothing else is sent before TLS is up
    Implicit,            // TLS from the first byte
    ExplicitIfAvailable, // AUTH TLS, plain FTP only when the server does not know the command
    Plain,               // no encryption
    Sftp,                // SFTP over SSH
};

// A server certificate the client could not verify, as the user is shown it.
struct FtpCertificate {
    QString host;
    quint16 port = 0;
    QString subject;
    QString issuer;
    QDateTime validFrom;
    QDateTime validUntil;
    QString reason;              // why it is not trusted, one reason a line
    QList<int> reasonCodes;      // the same as QSslError::SslError values, for other languages
    QString fingerprint;         // SHA-256, upper-case hex pairs joined by ':'
    QString previousFingerprint; // the fingerprint trusted before, when the certificate changed
    // The names the certificate is valid for: its subject alternative names (host names, then
    // addresses), else its common names.
    QStringList names;

    bool changed() const { return !previousFingerprint.isEmpty(); }
    // "host:port", the same in every language; an IPv6 address goes in brackets.
    QString site() const
    {
        const QString shownHost = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
        return shownHost + QLatin1Char(':') + QString::number(port);
    }
};

// The connection stopped at an untrusted certificate, before anything was sent over TLS.
class FtpCertificateError : public FtpError {
public:
    FtpCertificateError(const QString &message, const FtpCertificate &certificate)
        : FtpError(message, Kind::Connection)
        , m_certificate(certificate)
    {
    }
    const FtpCertificate &certificate() const { return m_certificate; }

private:
    FtpCertificate m_certificate;
};

// Who decides about certificates the system does not trust; called in the caller's thread.
class FtpCertificateTrust {
public:
    virtual ~FtpCertificateTrust() = default;
    // The fingerprint the user trusts for this host and port; empty when none.
    virtual QString trustedFingerprint(const QString &host, quint16 port) const = 0;
    // The certificate is not trusted (or changed): true lets the connection go on.
    virtual bool accept(const FtpCertificate &certificate) = 0;
};

} // namespace Velmora
