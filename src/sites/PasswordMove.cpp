#include "PasswordMove.h"

#include "ConnectionStore.h"

#include "app/ProtocolLog.h"
#include "common/Language.h"
#include "engine/LoginFile.h"

#include <QFileInfo>

namespace Velmora {

PasswordMove::PasswordMove(QString appDataFolder, const PasswordPlace &place, ProtocolLog *log, const Language *language)
    : m_folder(std::move(appDataFolder))
    , m_place(place)
    , m_log(log)
    , m_language(language)
{
}

bool PasswordMove::run()
{
    const bool sites = moveSites();
    const bool login = moveLastLogin();
    return sites && login;
}

bool PasswordMove::moveSites()
{
    ConnectionStore store(m_folder, m_log, m_language);
    store.setPasswordPlace(&m_place);
    if (!store.fileExists())
        return true;
    store.LoadConnections();
    if (!store.SaveConnections())
        return false;
    // The reloaded list tells where each password ended up.
    const bool toKeyring = m_place.writesToKeyring();
    for (const FTPConnection &site : store.sites()) {
        if (site.PasswordUnread || (toKeyring && !site.Password.isEmpty() && site.PasswordKey.isEmpty()))
            return false;
        if (!toKeyring && !site.PasswordKey.isEmpty())
            return false;
    }
    return true;
}

bool PasswordMove::moveLastLogin()
{
    const QString path = m_folder + LoginFileName;
    if (!QFileInfo::exists(path))
        return true;
    const LoginData data = ReadLoginFile(path, nullptr, &m_place);
    if (data.passwordUnavailable)
        return m_place.writesToKeyring(); // it stays in the keyring until that answers
    if (data.password.isEmpty() || data.passwordInKeyring == m_place.writesToKeyring())
        return true;
    QString problem;
    if (!WriteLoginFile(path, data, &m_place, &problem))
        return false;
    if (!problem.isEmpty()) {
        if (m_log) {
            const QString text = m_language ? m_language->text(
                                                  QStringLiteral("The desktop keyring refused the password of the last login (%1); it stays in the file."),
                                                  QStringLiteral("Der Schlüsselbund des Desktops hat das Passwort der letzten Anmeldung abgelehnt (%1); es bleibt in der Datei."))
                                            : QStringLiteral("The desktop keyring refused the password of the last login (%1); it stays in the file.");
            m_log->AddProtocolMessage(ProtocolEntry::Error, text.arg(problem));
        }
        return false;
    }
    return true;
}

} // namespace Velmora
