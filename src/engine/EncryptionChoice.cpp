#include "EncryptionChoice.h"

#include "common/Language.h"

namespace Velmora {

namespace {

QString english(FtpEncryption encryption)
{
    switch (encryption) {
    case FtpEncryption::ExplicitRequired: return QStringLiteral("Require explicit FTP over TLS");
    case FtpEncryption::Implicit: return QStringLiteral("Implicit FTP over TLS");
    case FtpEncryption::ExplicitIfAvailable: return QStringLiteral("Use explicit FTP over TLS if available");
    case FtpEncryption::Plain: return QStringLiteral("Only plain FTP (insecure)");
    case FtpEncryption::Sftp: return QStringLiteral("SFTP (SSH)");
    }
    return {};
}

QString german(FtpEncryption encryption)
{
    switch (encryption) {
    case FtpEncryption::ExplicitRequired: return QStringLiteral("Explizites FTP über TLS verlangen");
    case FtpEncryption::Implicit: return QStringLiteral("Implizites FTP über TLS");
    case FtpEncryption::ExplicitIfAvailable: return QStringLiteral("Explizites FTP über TLS, wenn verfügbar");
    case FtpEncryption::Plain: return QStringLiteral("Nur einfaches FTP (unsicher)");
    case FtpEncryption::Sftp: return QStringLiteral("SFTP (SSH)");
    }
    return {};
}

} // namespace

QString EncryptionChoice::Keyword(FtpEncryption encryption)
{
    switch (encryption) {
    case FtpEncryption::ExplicitRequired: return QStringLiteral("ftpes");
    case FtpEncryption::Implicit: return QStringLiteral("ftps");
    case FtpEncryption::ExplicitIfAvailable: return QStringLiteral("ftp-tls-if-available");
    case FtpEncryption::Plain: return QStringLiteral("ftp");
    case FtpEncryption::Sftp: return QStringLiteral("sftp");
    }
    return {};
}

std::optional<FtpEncryption> EncryptionChoice::FromKeyword(const QString &keyword)
{
    const QString wanted = keyword.trimmed().toLower();
    for (FtpEncryption encryption : All()) {
        if (Keyword(encryption) == wanted)
            return encryption;
    }
    return std::nullopt;
}

QString EncryptionChoice::Text(FtpEncryption encryption, const Language *language)
{
    return language ? language->text(english(encryption), german(encryption)) : english(encryption);
}

QList<FtpEncryption> EncryptionChoice::All()
{
    return {FtpEncryption::ExplicitRequired, FtpEncryption::Implicit, FtpEncryption::ExplicitIfAvailable,
            FtpEncryption::Plain, FtpEncryption::Sftp};
}

quint16 EncryptionChoice::DefaultPort(FtpEncryption encryption)
{
    switch (encryption) {
    case FtpEncryption::Sftp: return 22;
    default: return 21;
    }
}

std::optional<FtpEncryption> EncryptionChoice::FromAnyText(const QString &text)
{
    if (const auto byKeyword = FromKeyword(text))
        return byKeyword;
    const QString wanted = text.trimmed();
    for (FtpEncryption encryption : All()) {
        if (wanted.compare(english(encryption), Qt::CaseInsensitive) == 0
            || wanted.compare(german(encryption), Qt::CaseInsensitive) == 0)
            return encryption;
    }
    return std::nullopt;
}

} // namespace Velmora
