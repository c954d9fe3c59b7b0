#pragma once

#include <QString>

namespace Velmora {

// The label the desktop's keyring window (Seahorse, "Passwords and Keys") shows for an entry.
// QtKeychain labels every entry it writes to the Secret Service with the service name alone, so
// all of Velmora's entries would read "Velmora"; this gives one entry a label of its own. Only a
// Secret Service on the session bus has labels: elsewhere (KWallet, no bus) nothing is done.
class SecretServiceLabel {
public:
    // Labels the unlocked entries of QtKeychain's service and key; false when none was labelled.
    static bool set(const QString &service, const QString &key, const QString &label, int timeoutMs);
    // The label of the entry, empty when it cannot be read.
    static QString of(const QString &service, const QString &key, int timeoutMs);
};

} // namespace Velmora
