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
    // Whether the window was answered "Cancel" since the last clearDeclined(): it has shown the
    // reason already.
    bool declined() const { return m_declined; }
    void clearDeclined() { m_declined = false; }
    std::optional<QString> passphrase(const QString &keyFile, int attempt) override;

    static QString WindowTitle(const Language &language);
    static QString WindowText(const SshHostKey &key, const Language &language);
    static QString PassphraseTitle(const Language &language);
    static QString PassphraseText(const QString &keyFile, int attempt, const Language &language);
    // Why the connection was refused at the host key: unknown and not trusted, or changed, of
    // another type or revoked (the loud warnings with both fingerprints and what to do).
    static QString RefusalText(const SshHostKey &key, const Language &language);

private:
    UserPrompts &m_prompts;
    const Language &m_language;
    bool m_declined = false;
};

} // namespace Velmora
