#include "FtpTls.h"

#include "FtpTlsError.h"

#include "FtpError.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QSslCipher>
#include <QSslSocket>

namespace Velmora {

namespace {

constexpr int SliceMs = 50;

QString protocolName(QSsl::SslProtocol protocol)
{
    switch (protocol) {
    case QSsl::TlsV1_2:
        return QStringLiteral("TLSv1.2");
    case QSsl::TlsV1_3:
        return QStringLiteral("TLSv1.3");
    default:
        return QStringLiteral("TLS");
    }
}

QString nameOf(const QStringList &commonNames, const QStringList &organizations)
{
    QStringList parts;
    if (!commonNames.isEmpty())
        parts << QStringLiteral("CN=") + commonNames.join(u", ");
    if (!organizations.isEmpty())
        parts << QStringLiteral("O=") + organizations.join(u", ");
    return parts.join(u", ");
}

} // namespace

QList<QSslCertificate> FtpTls::TrustedAuthorities()
{
    const QString file = qEnvironmentVariable("SSL_CERT_FILE");
    const QString dirs = qEnvironmentVariable("SSL_CERT_DIR");
    if (file.isEmpty() && dirs.isEmpty())
        return QSslConfiguration::systemCaCertificates();
    QList<QSslCertificate> authorities;
    if (!file.isEmpty())
        authorities << QSslCertificate::fromPath(file, QSsl::Pem);
    for (const QString &dir : dirs.split(u':', Qt::SkipEmptyParts)) {
        const QStringList entries = QDir(dir).entryList(QDir::Files | QDir::Readable);
        for (const QString &entry : entries)
            authorities << QSslCertificate::fromPath(QDir(dir).filePath(entry), QSsl::Pem);
    }
    return authorities;
}

QSslConfiguration FtpTls::ClientConfiguration()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
    configuration.setCaCertificates(TrustedAuthorities());
    configuration.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    configuration.setSslOption(QSsl::SslOptionDisableSessionTickets, false);
    return configuration;
}

void FtpTls::WaitEncrypted(QSslSocket &socket, int timeoutMs, const std::atomic_bool &stopping)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!socket.isEncrypted()) {
        if (stopping)
            throw FtpError(QStringLiteral("The FTP client was shut down."));
        if (socket.state() != QAbstractSocket::ConnectedState)
            throw FtpTlsError(socket.errorString());
        if (deadline.hasExpired())
            throw FtpError(QStringLiteral("Time-out: the TLS handshake did not finish within %1 ms.").arg(timeoutMs));
        socket.waitForEncrypted(int(qMin<qint64>(SliceMs, qMax<qint64>(1, deadline.remainingTime()))));
    }
}

void FtpTls::Handshake(QSslSocket &socket, int timeoutMs, const std::atomic_bool &stopping, QList<QSslError> *errors)
{
    // The socket lives in this thread: the handler runs inside the handshake, and lets it finish
    // so that the caller can show the user what was presented.
    const QMetaObject::Connection collect =
        QObject::connect(&socket, &QSslSocket::sslErrors, [&socket, errors](const QList<QSslError> &found) {
            *errors << found;
            socket.ignoreSslErrors();
        });
    socket.startClientEncryption();
    try {
        WaitEncrypted(socket, timeoutMs, stopping);
    } catch (const FtpError &) {
        QObject::disconnect(collect);
        throw;
    }
    QObject::disconnect(collect);
}

QString FtpTls::Fingerprint(const QSslCertificate &certificate)
{
    const QByteArray hex = certificate.digest(QCryptographicHash::Sha256).toHex().toUpper();
    QStringList pairs;
    for (qsizetype i = 0; i < hex.size(); i += 2)
        pairs << QString::fromLatin1(hex.mid(i, 2));
    return pairs.join(u':');
}

FtpCertificate FtpTls::Describe(const QSslCertificate &certificate, const QList<QSslError> &errors,
                                const QString &host, quint16 port)
{
    FtpCertificate described;
    described.host = host;
    described.port = port;
    described.subject = nameOf(certificate.subjectInfo(QSslCertificate::CommonName),
                               certificate.subjectInfo(QSslCertificate::Organization));
    described.issuer = nameOf(certificate.issuerInfo(QSslCertificate::CommonName),
                              certificate.issuerInfo(QSslCertificate::Organization));
    described.names = ValidNames(certificate);
    described.validFrom = certificate.effectiveDate().toUTC();
    described.validUntil = certificate.expiryDate().toUTC();
    described.fingerprint = Fingerprint(certificate);
    QStringList reasons;
    for (const QSslError &error : errors) {
        if (!reasons.contains(error.errorString())) {
            reasons << error.errorString();
            described.reasonCodes << int(error.error());
        }
    }
    described.reason = reasons.join(u'\n');
    return described;
}

QStringList FtpTls::ValidNames(const QSslCertificate &certificate)
{
    // As a TLS client checks a host name: the alternative names when there are any, else the
    // common name.
    const auto alternatives = certificate.subjectAlternativeNames();
    QStringList names;
    for (const QSsl::AlternativeNameEntryType type : {QSsl::DnsEntry, QSsl::IpAddressEntry}) {
        // The map gives the names of one type last one first; shown in the certificate's order.
        const QStringList ofType = alternatives.values(type);
        for (auto it = ofType.crbegin(); it != ofType.crend(); ++it) {
            if (!names.contains(*it))
                names << *it;
        }
    }
    return names.isEmpty() ? certificate.subjectInfo(QSslCertificate::CommonName) : names;
}

QString FtpTls::SessionText(const QSslSocket &socket)
{
    const QSslCipher cipher = socket.sessionCipher();
    return protocolName(socket.sessionProtocol()) + QStringLiteral(", ") + cipher.name();
}

} // namespace Velmora
