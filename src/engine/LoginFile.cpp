#include "LoginFile.h"

#include "EncryptionChoice.h"

#include "common/IniFile.h"
#include "common/PasswordCodec.h"
#include "common/TextCodec.h"

#include <QFile>
#include <QSaveFile>

namespace Velmora {

namespace {
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
}

bool WriteLoginFile(const QString &path, const LoginData &data)
{
    const QString &s = IniFile::Settings;
    IniFile ini;
    ini.writeString(s, QStringLiteral("Host"), data.host);
    ini.writeString(s, QStringLiteral("User"), data.user);
    ini.writeString(s, QStringLiteral("Password"), EncodePassword(data.password));
    ini.writeString(s, QStringLiteral("Port"), data.port);
    ini.writeInteger(s, QStringLiteral("ActivMode"), data.activeMode);
    ini.writeString(s, QStringLiteral("LocalPath"), data.localPath);
    ini.writeString(s, QStringLiteral("ServerPath"), data.serverPath);
    ini.writeString(s, QStringLiteral("Protocol"), EncryptionChoice::Keyword(data.encryption));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The password must never be readable by others, not even for a moment.
    file.setPermissions(OwnerOnly);
    const QByteArray bytes = TextCodec::Encode(ini.toText());
    if (file.write(bytes) != bytes.size() || !file.commit())
        return false;
    return QFile::setPermissions(path, OwnerOnly);
}

LoginData ReadLoginFile(const QString &path, bool *exists)
{
    IniFile ini(path);
    const bool found = ini.load();
    if (exists)
        *exists = found;
    const QString &s = IniFile::Settings;
    LoginData data;
    data.host = ini.readString(s, QStringLiteral("Host"));
    data.user = ini.readString(s, QStringLiteral("User"));
    data.password = DecodePassword(ini.readString(s, QStringLiteral("Password")));
    data.port = ini.readString(s, QStringLiteral("Port"));
    data.activeMode = int(ini.readInteger(s, QStringLiteral("ActivMode"), 0));
    data.localPath = ini.readString(s, QStringLiteral("LocalPath"), QStringLiteral("\\"));
    data.serverPath = ini.readString(s, QStringLiteral("ServerPath"), QStringLiteral("/"));
    // A value this version does not know asks for TLS: never a password in clear by mistake.
    const QString protocol = ini.readString(s, QStringLiteral("Protocol"), QStringLiteral("ftp"));
    data.encryption = EncryptionChoice::FromKeyword(protocol).value_or(FtpEncryption::ExplicitRequired);
    return data;
}

} // namespace Velmora
