#pragma once

#include <QString>

#include <optional>

namespace Velmora {

class Language;
class PasswordVault;
class UserPrompts;

// A site's password that is kept in the desktop keyring, which could not give it (it is locked):
// the session never logs in without it. The user is told where the password is and may unlock
// the keyring and try again, or type the password for this connection only.
class LockedKeyringPassword {
public:
    struct Password {
        QString text;
        bool fromKeyring = false; // false: typed for this connection, kept nowhere
    };

    LockedKeyringPassword(UserPrompts &prompts, const Language &language);

    // The password of the keyring entry for the site ("user@host:port"), or std::nullopt when
    // the user does not want to connect. Nothing is sent to the server meanwhile.
    std::optional<Password> obtain(PasswordVault *vault, const QString &entry, const QString &site);

    static QString Title(const Language &language);
    static QString Text(const QString &site, const QString &entry, bool stillLocked, const Language &language);
    static QString TypeText(const QString &site, const Language &language);
    // The protocol line when the user gave up.
    static QString NotConnectedText(const QString &site, const Language &language);

private:
    UserPrompts &m_prompts;
    const Language &m_language;
};

} // namespace Velmora
