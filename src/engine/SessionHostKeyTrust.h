#pragma once

#include "engine/sftp/SshHostKey.h"

namespace Velmora {

class Language;
class UserPrompts;

// The session's answers for SSH: a host key that known_hosts does not hold goes to the user in
// the host-key window ("Trust always" writes it to known_hosts, "Trust this time" keeps it for
// this program run), and the passphrase of an encrypted key file is asked for each time (never
// kept). A batch job's prompts answer neither, so such a job fails.
class SessionHostKeyTrust : public SshHostKeyTrust, public SshPassphrasePrompt {
public:
    SessionHostKeyTrust(UserPrompts &prompts, const Language &language);

    Answer decide(const SshHostKey &key) override;
    std::optional<QString> passphrase(const QString &keyFile, int attempt) override;

    static QString WindowTitle(const Language &language);
    static QString WindowText(const SshHostKey &key, const Language &language);
    static QString PassphraseTitle(const Language &language);
    static QString PassphraseText(const QString &keyFile, int attempt, const Language &language);
    // Why the connection was refused at the host key: unknown and not trusted, or changed (the
    // loud warning with both fingerprints and how to remove the old entry).
    static QString RefusalText(const SshHostKey &key, const Language &language);

private:
    UserPrompts &m_prompts;
    const Language &m_language;
};

} // namespace Velmora
