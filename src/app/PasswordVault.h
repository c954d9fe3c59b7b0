#pragma once

#include <QString>

namespace Velmora {

// A place outside the program's files that keeps passwords under a key (the desktop keyring).
// Every call waits for the answer; a vault that does not answer in time counts as unreachable.
class PasswordVault {
public:
    enum class Result {
        Ok,          // done; for remove also "there was nothing to remove"
        NotFound,    // read: no entry under this key
        Unreachable, // no keyring service, a locked keyring, a refusal or a time-out
    };

    virtual ~PasswordVault() = default;

    virtual Result read(const QString &key, QString *password) = 0;
    virtual Result write(const QString &key, const QString &password) = 0;
    virtual Result remove(const QString &key) = 0;
    // Whether a keyring answers at all (a read of a key that is never written).
    virtual bool reachable() = 0;
    // Why the last call failed, for the protocol line; empty when nothing failed.
    virtual QString lastError() const = 0;
};

// Where passwords go when something is written: into the vault when the user keeps them there
// and a vault exists, else encoded into the files. Passwords already in the vault are read from
// it whatever the choice, so that they can be moved back.
struct PasswordPlace {
    PasswordVault *vault = nullptr;
    bool useKeyring = false;

    bool writesToKeyring() const { return vault && useKeyring; }
};

} // namespace Velmora
