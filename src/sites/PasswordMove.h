#pragma once

#include "app/PasswordVault.h"

#include <QString>

namespace Velmora {

class Language;
class ProtocolLog;

// Moves the stored passwords to where a place says: the sites of "ftp_connections.bin" and the
// password of "last-login.ini". Each password leaves the file only after the keyring has taken
// it, and leaves the keyring only after the file holds it again, so a refusal half way loses
// nothing (the rest stays where it was, and the protocol says so). The login files beside saved
// queues follow when each is next loaded.
class PasswordMove {
public:
    PasswordMove(QString appDataFolder, const PasswordPlace &place, ProtocolLog *log = nullptr,
                 const Language *language = nullptr);

    // True when every password is now where the place says.
    bool run();

    static inline const QString LoginFileName = QStringLiteral("last-login.ini");

private:
    bool moveSites();
    bool moveLastLogin();

    QString m_folder;
    const PasswordPlace &m_place;
    ProtocolLog *m_log;
    const Language *m_language;
};

} // namespace Velmora
