#include "SiteTransport.h"

#include "ImportText.h"

#include <QRegularExpression>

namespace Velmora {

bool SiteTransport::TakenOver(Kind kind)
{
    return kind == Ftp || kind == FtpTlsWhenOffered || kind == FtpExplicitTls || kind == FtpImplicitTls || kind == Sftp;
}

FtpEncryption SiteTransport::EncryptionOf(Kind kind)
{
    switch (kind) {
    case FtpTlsWhenOffered: return FtpEncryption::ExplicitIfAvailable;
    case FtpExplicitTls: return FtpEncryption::ExplicitRequired;
    case FtpImplicitTls: return FtpEncryption::Implicit;
    case Sftp: return FtpEncryption::Sftp;
    default: return FtpEncryption::Plain;
    }
}

QString SiteTransport::EnglishName(Kind kind)
{
    switch (kind) {
    case Ftp: return QStringLiteral("plain FTP");
    case FtpTlsWhenOffered: return QStringLiteral("FTP with explicit TLS when the server offers it");
    case FtpExplicitTls: return QStringLiteral("FTP that requires explicit TLS");
    case FtpImplicitTls: return QStringLiteral("FTP over implicit TLS");
    case Sftp: return QStringLiteral("SFTP");
    case Unspecified: return QStringLiteral("an encrypted connection or another protocol than FTP");
    case NotFtp: return QStringLiteral("another protocol than FTP");
    }
    return {};
}

QString SiteTransport::GermanName(Kind kind)
{
    switch (kind) {
    case Ftp: return QStringLiteral("einfaches FTP");
    case FtpTlsWhenOffered: return QStringLiteral("FTP mit explizitem TLS, wenn der Server es anbietet");
    case FtpExplicitTls: return QStringLiteral("FTP, das explizites TLS verlangt");
    case FtpImplicitTls: return QString::fromUtf8("FTP über implizites TLS");
    case Sftp: return QStringLiteral("SFTP");
    case Unspecified: return QString::fromUtf8("eine verschlüsselte Verbindung oder ein anderes Protokoll als FTP");
    case NotFtp: return QStringLiteral("ein anderes Protokoll als FTP");
    }
    return {};
}

SiteTransport::Kind SiteTransport::FromFileZilla3Protocol(const QString &value)
{
    bool isNumber = false;
    const int number = Trim(value).toInt(&isNumber);
    if (!isNumber)
        return Unspecified;
    switch (number) {
    case 0: return FtpTlsWhenOffered;
    case 1: return Sftp;
    case 3: return FtpImplicitTls;
    case 4: return FtpExplicitTls;
    case 6: return Ftp;
    default: return NotFtp;
    }
}

SiteTransport::Kind SiteTransport::FromHost(const QString &host, QString *scheme)
{
    static const QRegularExpression url(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    const QRegularExpressionMatch match = url.match(Trim(host));
    if (scheme)
        *scheme = match.hasMatch() ? match.captured(0) : QString();
    if (!match.hasMatch())
        return Ftp;
    const QString name = match.captured(1).toLower();
    if (name == QStringLiteral("ftp"))
        return Ftp;
    if (name == QStringLiteral("sftp") || name == QStringLiteral("ssh") || name == QStringLiteral("scp"))
        return Sftp;
    if (name == QStringLiteral("ftps"))
        return FtpImplicitTls;
    if (name == QStringLiteral("ftpes"))
        return FtpExplicitTls;
    return NotFtp;
}

} // namespace Velmora
