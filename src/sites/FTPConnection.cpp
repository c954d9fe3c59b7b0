#include "FTPConnection.h"

#include "engine/EncryptionChoice.h"

namespace Velmora {

FTPConnection FTPConnection::newSite(const QString &newSiteName)
{
    FTPConnection site;
    site.Name = newSiteName;
    site.Port = QStringLiteral("21");
    site.LocalPath = QStringLiteral("\\");
    site.ServerPath = QStringLiteral("/");
    site.Mode = Passive;
    site.Encryption = EncryptionChoice::Keyword(FtpEncryption::ExplicitRequired);
    return site;
}

QString FTPConnection::field(int index) const
{
    switch (index) {
    case NameField: return Name;
    case HostField: return Host;
    case UserField: return User;
    case PasswordField: return Password;
    case PortField: return Port;
    case LocalPathField: return LocalPath;
    case ServerPathField: return ServerPath;
    case ModeField: return Mode;
    case EncryptionField: return Encryption;
    default: return {};
    }
}

void FTPConnection::setField(int index, const QString &value)
{
    switch (index) {
    case NameField: Name = value; break;
    case HostField: Host = value; break;
    case UserField: User = value; break;
    case PasswordField:
        Password = value;
        PasswordUnread = false; // a password typed in replaces the one the keyring could not give
        break;
    case PortField: Port = value; break;
    case LocalPathField: LocalPath = value; break;
    case ServerPathField: ServerPath = value; break;
    case ModeField: Mode = value; break;
    case EncryptionField: Encryption = value; break;
    default: break;
    }
}

FtpEncryption FTPConnection::encryption() const
{
    return EncryptionChoice::FromKeyword(Encryption).value_or(FtpEncryption::ExplicitRequired);
}

} // namespace Velmora
