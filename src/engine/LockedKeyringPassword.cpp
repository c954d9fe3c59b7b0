#include "LockedKeyringPassword.h"

#include "app/PasswordVault.h"
#include "app/UserPrompts.h"
#include "common/Language.h"

namespace Velmora {

LockedKeyringPassword::LockedKeyringPassword(UserPrompts &prompts, const Language &language)
    : m_prompts(prompts)
    , m_language(language)
{
}

QString LockedKeyringPassword::Title(const Language &language)
{
    return language.text(QStringLiteral("Keyring locked"), QStringLiteral("Schlüsselbund gesperrt"));
}

QString LockedKeyringPassword::Text(const QString &site, const QString &entry, bool stillLocked, const Language &language)
{
    const QString first = stillLocked
                              ? language.text(QStringLiteral("The desktop keyring is still locked, or does not hold the "
                                                             "entry \"%2\". The password of %1 could not be read."),
                                              QStringLiteral("Der Schlüsselbund des Desktops ist noch gesperrt oder "
                                                             "enthält den Eintrag \"%2\" nicht. Das Passwort von %1 "
                                                             "konnte nicht gelesen werden."))
                              : language.text(QStringLiteral("The password of %1 is kept in the desktop keyring "
                                                             "(entry \"%2\"), which is locked."),
                                              QStringLiteral("Das Passwort von %1 liegt im Schlüsselbund des Desktops "
                                                             "(Eintrag \"%2\"), der gesperrt ist."));
    return first.arg(site, entry) + u'\n'
           + language.text(QStringLiteral("Nothing was sent to the server. Unlock the keyring and choose \"Try again\", "
                                          "or enter the password for this connection only."),
                           QStringLiteral("Es wurde nichts an den Server gesendet. Entsperren Sie den Schlüsselbund und "
                                          "wählen Sie \"Erneut versuchen\", oder geben Sie das Passwort nur für diese "
                                          "Verbindung ein."));
}

QString LockedKeyringPassword::TypeText(const QString &site, const Language &language)
{
    return language.text(QStringLiteral("Password of %1 for this connection (it is not stored):"),
                         QStringLiteral("Passwort von %1 für diese Verbindung (es wird nicht gespeichert):"))
        .arg(site);
}

QString LockedKeyringPassword::NotConnectedText(const QString &site, const Language &language)
{
    return language.text(QStringLiteral("Not connected to %1: its password is in the locked desktop keyring."),
                         QStringLiteral("Keine Verbindung zu %1: Das Passwort liegt im gesperrten Schlüsselbund des "
                                        "Desktops."))
        .arg(site);
}

std::optional<LockedKeyringPassword::Password> LockedKeyringPassword::obtain(PasswordVault *vault, const QString &entry,
                                                                             const QString &site)
{
    bool stillLocked = false;
    for (;;) {
        switch (m_prompts.askLockedKeyring(Title(m_language), Text(site, entry, stillLocked, m_language))) {
        case UserPrompts::LockedKeyringAnswer::TryAgain: {
            QString password;
            if (vault && vault->read(entry, &password) == PasswordVault::Result::Ok)
                return Password{password, true};
            stillLocked = true;
            break;
        }
        case UserPrompts::LockedKeyringAnswer::TypePassword: {
            const std::optional<QString> typed = m_prompts.askSecret(Title(m_language), TypeText(site, m_language));
            if (typed)
                return Password{*typed, false};
            break; // back to the question
        }
        case UserPrompts::LockedKeyringAnswer::Cancel:
            return std::nullopt;
        }
    }
}

} // namespace Velmora
