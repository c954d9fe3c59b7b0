#pragma once

#include "PasswordVault.h"

namespace Velmora {

// The desktop keyring (Secret Service, KWallet, ...) through QtKeychain. Every entry lives under
// the service name "Velmora". QtKeychain answers asynchronously; each call waits in a local event
// loop, at most timeoutMs, so a keyring that never answers cannot hang the program.
class KeyringVault final : public PasswordVault {
public:
    static inline const QString ServiceName = QStringLiteral("Velmora");
    static inline const QString ProbeKey = QStringLiteral("velmora-keyring-probe");

    explicit KeyringVault(int timeoutMs = 10000);

    Result read(const QString &key, QString *password) override;
    Result write(const QString &key, const QString &password) override;
    Result remove(const QString &key) override;
    bool reachable() override;
    QString lastError() const override { return m_error; }

private:
    int m_timeoutMs;
    QString m_error;
};

} // namespace Velmora
