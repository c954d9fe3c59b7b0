#pragma once

#include <QString>

#include <optional>

namespace Velmora {

// The host key a server showed, judged against the known-hosts files the way OpenSSH judges it.
struct SshHostKey {
    enum class Status {
        Known,     // a known-hosts entry for this host and port holds exactly this key
        Unknown,   // no entry for this host and port
        Changed,   // an entry of this key type holds another key: possibly an attack
        OtherType, // entries exist for this host, but only of other key types: refused like Changed
        Revoked,   // the key is marked "@revoked": it is never accepted
    };

    QString host;
    quint16 port = 22;
    Status status = Status::Unknown;
    QString keyType;     // "ssh-ed25519", "ecdsa-sha2-nistp256", "ssh-rsa", ...
    QString fingerprint; // "SHA256:" + unpadded Base64, as OpenSSH prints it
    // With Changed and OtherType: the key on record (the fingerprint empty when it could not be
    // read). Changed also covers a key trusted "this time" that another key replaced in the same
    // program run: then trustedThisRunOnly is set and known_hosts holds nothing about it.
    QString knownKeyType;
    QString knownFingerprint;
    bool trustedThisRunOnly = false;
    QString knownHostsFile; // the user's file, where "Trust always" writes
    // How the host appears in known-hosts files: "name" on port 22, else "[name]:port".
    QString hostPattern() const
    {
        return port == 22 ? host : u'[' + host + u"]:" + QString::number(port);
    }
};

// Decides about a host key that is not known (Unknown). Called on the caller's thread while the
// connection waits. A changed, other-type or revoked key is never offered: it always fails.
class SshHostKeyTrust {
public:
    enum class Answer { TrustAlways, TrustOnce, Cancel };
    virtual ~SshHostKeyTrust() = default;
    virtual Answer decide(const SshHostKey &key) = 0;
};

// Asks for the passphrase of an encrypted key file; std::nullopt when the user cancels.
// 'attempt' counts from 1; a second attempt means the previous passphrase was wrong.
class SshPassphrasePrompt {
public:
    virtual ~SshPassphrasePrompt() = default;
    virtual std::optional<QString> passphrase(const QString &keyFile, int attempt) = 0;
};

} // namespace Velmora
