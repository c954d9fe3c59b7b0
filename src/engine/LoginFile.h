#pragma once

#include "app/PasswordVault.h"
#include "engine/ftp/FtpEncryption.h"

#include <QString>

namespace Velmora {

// The content of a login file ("last-login.ini", and the ".ftp" file beside a saved queue): an
// INI file with the section "SETTINGS" and the keys "Host", "User", "Password" (encoded),
// "Port", "ActivMode", "LocalPath" and "ServerPath", in this order, then "Protocol" (the
// keyword of EncryptionChoice, "sftp" for SFTP; a file without it is plain FTP) and, for an SFTP
// site with a key file of its own, "KeyFile" (the path of the private key). With the password in
// the desktop keyring, "Password" is empty and "PasswordInKeyring=1" says where it is.
struct LoginData {
    QString host;
    QString user;
    QString password; // plain text in memory
    QString port;
    int activeMode = 0;
    QString localPath = QStringLiteral("\\");
    QString serverPath = QStringLiteral("/");
    // Read only: the file said the password is in the keyring; and it could not be read there.
    bool passwordInKeyring = false;
    bool passwordUnavailable = false;
    FtpEncryption encryption = FtpEncryption::Plain;
    QString keyFile; // SFTP: the private key file to log in with, empty for none

    bool operator==(const LoginData &) const = default;
};

// The keyring entry of a login: one per user, host and port, shared by every login file of it.
QString LoginKeyringKey(const LoginData &data);

// Written atomically and readable by the owner only (mode 0600). With a place that writes to the
// keyring the password goes there; when the keyring refuses it, it is written into the file and
// *keyringProblem says why. A password that was unavailable keeps pointing at the keyring.
bool WriteLoginFile(const QString &path, const LoginData &data, const PasswordPlace *place = nullptr,
                    QString *keyringProblem = nullptr);
// Absent keys give the defaults above; *exists tells whether the file was there. A password in
// the keyring is read through the place's vault.
LoginData ReadLoginFile(const QString &path, bool *exists = nullptr, const PasswordPlace *place = nullptr);

} // namespace Velmora
