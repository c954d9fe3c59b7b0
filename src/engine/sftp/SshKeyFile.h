#pragma once

#include "SshKey.h"

#include <QString>

namespace Velmora {

class SshPassphrasePrompt;

// Reads the user's key files. Runs on the caller's thread: the passphrase question is asked
// there, and no network is involved.
class SshKeyFile {
public:
    explicit SshKeyFile(QString path)
        : m_path(std::move(path))
    {
    }

    const QString &path() const { return m_path; }
    bool exists() const;
    // The public key: from "<path>.pub", else from the private key when that needs no
    // passphrase. Null when neither can be read.
    SshKey publicKey() const;
    // The private key, asking for the passphrase when the key is encrypted (three attempts).
    // Null with *error when it cannot be read or the user cancels (*cancelled is then true).
    SshKey privateKey(SshPassphrasePrompt *prompt, QString *error, bool *cancelled) const;

    static constexpr int PassphraseAttempts = 3;

private:
    QString m_path;
};

} // namespace Velmora
