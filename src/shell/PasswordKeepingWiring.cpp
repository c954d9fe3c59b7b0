#include "PasswordKeepingWiring.h"

#include "app/AppContext.h"
#include "app/KeyringVault.h"
#include "app/Options.h"
#include "app/OptionsForm.h"
#include "app/ProtocolLog.h"
#include "engine/MasterFTP.h"
#include "sites/ConnectionStore.h"
#include "sites/PasswordMove.h"

namespace Velmora {

PasswordKeepingWiring::PasswordKeepingWiring(AppContext &context, MasterFTP &ftp, ConnectionStore &sites,
                                             OptionsForm &options, PasswordVault *vault, QObject *parent)
    : QObject(parent)
    , m_context(context)
{
    if (!vault) {
        m_ownVault = std::make_unique<KeyringVault>();
        vault = m_ownVault.get();
    }
    m_place.vault = vault;
    m_reachable = vault->reachable();
    const OptionsData &data = context.options.data();
    const bool wanted = data.keyringPasswordsChosen ? data.keyringPasswords : m_reachable;
    m_place.useKeyring = wanted && m_reachable;
    // Said unless the user chose the files: then nothing is missed.
    if (!m_reachable && (wanted || !data.keyringPasswordsChosen)) {
        context.protocol.AddProtocolMessage(
            ProtocolEntry::Status,
            context.text(QStringLiteral("No desktop keyring can be reached: passwords stay in the files."),
                         QStringLiteral("Kein Schlüsselbund des Desktops erreichbar: Passwörter bleiben in den Dateien.")));
    }
    sites.setPasswordPlace(&m_place);
    ftp.setPasswordPlace(&m_place);
    options.setKeyringDefault([this] { return m_reachable; });
    connect(&options, &OptionsForm::keyringPasswordsApplied, this, [this](bool on) { moveTo(on); });

    // The first start with a keyring makes the choice and moves what the files hold.
    if (!data.keyringPasswordsChosen && m_reachable) {
        OptionsData chosen = data;
        chosen.keyringPasswords = true;
        chosen.keyringPasswordsChosen = true;
        context.options.setData(chosen);
        context.options.save();
        moveTo(true);
    }
}

PasswordKeepingWiring::~PasswordKeepingWiring() = default;

bool PasswordKeepingWiring::moveTo(bool keyring)
{
    if (keyring && !m_reachable)
        m_reachable = m_place.vault->reachable(); // a keyring started since
    m_place.useKeyring = keyring && m_reachable;
    if (keyring && !m_reachable) {
        m_context.protocol.AddProtocolMessage(
            ProtocolEntry::Error,
            m_context.text(QStringLiteral("No desktop keyring can be reached: passwords stay in the files."),
                           QStringLiteral("Kein Schlüsselbund des Desktops erreichbar: Passwörter bleiben in den Dateien.")));
        return false;
    }
    const bool moved = PasswordMove(m_context.folders.appDataFolder, m_place, &m_context.protocol, &m_context.language).run();
    if (moved) {
        m_context.protocol.AddProtocolMessage(
            ProtocolEntry::Status,
            keyring ? m_context.text(QStringLiteral("The passwords are now kept in the desktop keyring."),
                                     QStringLiteral("Die Passwörter liegen jetzt im Schlüsselbund des Desktops."))
                    : m_context.text(QStringLiteral("The passwords are now kept in the program's files."),
                                     QStringLiteral("Die Passwörter liegen jetzt in den Dateien des Programms.")));
    }
    return moved;
}

} // namespace Velmora
