#pragma once

#include "engine/ftp/FtpEncryption.h"

#include <QString>

namespace Velmora {

// The content of a login file ("last-login.ini", and the ".ftp" file beside a saved queue): an
// INI file with the section "SETTINGS" and the keys "Host", "User", "Password" (encoded),
// "Port", "ActivMode", "LocalPath" and "ServerPath", in this order, then "Protocol" (the
// encryption keyword of EncryptionChoice; a file without it is plain FTP).
struct LoginData {
    QString host;
    QString user;
    QString password; // plain text in memory
    QString port;
    int activeMode = 0;
    QString localPath = QStringLiteral("\\");
    QString serverPath = QStringLiteral("/");
    FtpEncryption encryption = FtpEncryption::Plain;

    bool operator==(const LoginData &) const = default;
};

// Written atomically and readable by the owner only (mode 0600).
bool WriteLoginFile(const QString &path, const LoginData &data);
// Absent keys give the defaults above; *exists tells whether the file was there.
LoginData ReadLoginFile(const QString &path, bool *exists = nullptr);

} // namespace Velmora
