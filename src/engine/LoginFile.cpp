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
const QString InKeyringKey = QStringLiteral("PasswordInKeyring");
} // namespace

QString LoginKeyringKey(const LoginData &data)
{
    return QStringLiteral("login ") + data.user.trimmed() + u'@' + data.host.trimmed() + u':' + data.port.trimmed();
}

bool WriteLoginFile(const QString &path, const LoginData &data, const PasswordPlace *place, QString *keyringProblem)
{
    bool inKeyring = data.passwordUnavailable;
    if (!inKeyring && place && place->writesToKeyring() && !data.password.isEmpty()) {
        inKeyring = place->vault->write(LoginKeyringKey(data), data.password) == PasswordVault::Result::Ok;
        if (!inKeyring && keyringProblem)
            *keyringProblem = place->vault->lastError();
    }
    const QString &s = IniFile::Settings;
    IniFile ini;
    ini.writeString(s, QStringLiteral("Host"), data.host);
    ini.writeString(s, QStringLiteral("User"), data.user);
    ini.writeString(s, QStringLiteral("Password"), inKeyring ? QString() : EncodePassword(data.password));
    ini.writeString(s, QStringLiteral("Port"), data.port);
    ini.writeInteger(s, QStringLiteral("ActivMode"), data.activeMode);
    ini.writeString(s, QStringLiteral("LocalPath"), data.localPath);
    ini.writeString(s, QStringLiteral("ServerPath"), data.serverPath);
    if (inKeyring)
        ini.writeInteger(s, InKeyringKey, 1);
    ini.writeString(s, QStringLiteral("Protocol"), EncryptionChoice::Keyword(data.encryption));
    if (!data.keyFile.isEmpty())
        ini.writeString(s, QStringLiteral("KeyFile"), data.keyFile);

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

LoginData ReadLoginFile(const QString &path, bool *exists, const PasswordPlace *place)
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
    if (ini.readInteger(s, InKeyringKey, 0) == 1) {
        data.passwordInKeyring = true;
        QString password;
        if (place && place->vault && place->vault->read(LoginKeyringKey(data), &password) == PasswordVault::Result::Ok)
            data.password = password;
        else
            data.passwordUnavailable = true;
    }
    // A value this version does not know asks for TLS: never a password in clear by mistake.
    const QString protocol = ini.readString(s, QStringLiteral("Protocol"), QStringLiteral("ftp"));
    data.encryption = EncryptionChoice::FromKeyword(protocol).value_or(FtpEncryption::ExplicitRequired);
    data.keyFile = ini.readString(s, QStringLiteral("KeyFile"));
    return data;
}

} // namespace Velmora
