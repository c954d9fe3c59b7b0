#pragma once

#include "app/PasswordVault.h"

#include <QObject>

#include <memory>

namespace Velmora {

struct AppContext;
class ConnectionStore;
class MasterFTP;
class OptionsForm;

// Where passwords are kept: asks once at start whether a desktop keyring answers, says so in the
// protocol when none does, hands the choice to the site store and the FTP session, and moves the
// stored passwords when the user switches "Keep passwords in the desktop keyring".
class PasswordKeepingWiring : public QObject {
    Q_OBJECT
public:
    // vault: null for the desktop keyring through QtKeychain.
    PasswordKeepingWiring(AppContext &context, MasterFTP &ftp, ConnectionStore &sites, OptionsForm &options,
                          PasswordVault *vault, QObject *parent);
    ~PasswordKeepingWiring() override;

    const PasswordPlace &place() const { return m_place; }
    bool keyringReachable() const { return m_reachable; }
    // Moves every stored password to where "on" says; false when one could not move.
    bool moveTo(bool keyring);

private:
    AppContext &m_context;
    std::unique_ptr<PasswordVault> m_ownVault;
    PasswordPlace m_place;
    bool m_reachable = false;
};

} // namespace Velmora
