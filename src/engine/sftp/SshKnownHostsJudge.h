#pragma once

#include "SshHostKey.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Velmora {

// What the known-hosts files say about the key a server shows, judged as OpenSSH judges it:
// lines match by host pattern ("name" on port 22, else "[name]:port"; comma-separated lists,
// "*" and "?" wildcards, "!" negation, hashed "|1|salt|hash" entries), a key marked "@revoked"
// is never accepted, and a host on record with any other key (of the same type or not) is a
// host whose key has changed. "@cert-authority" lines name no host key and are left out.
class SshKnownHostsJudge {
public:
    struct Verdict {
        SshHostKey::Status status = SshHostKey::Status::Unknown;
        // With Changed and OtherType: the key on record ("ssh-ed25519", "SHA256:...").
        QString knownKeyType;
        QString knownFingerprint;
    };

    // The files' contents in the order they are read (the user's file, then the system's).
    // keyType and keyBlob describe the offered key (the blob as the base64 field decodes).
    static Verdict judge(const QList<QByteArray> &files, const QString &hostPattern, const QString &keyType,
                         const QByteArray &keyBlob);
    // Whether one host field ("a,b,[c]:22,!d", or "|1|salt|hash") names the host pattern.
    static bool hostFieldMatches(const QString &field, const QString &hostPattern);
    // OpenSSH's wildcard match: "*" any run of characters, "?" one character, case-insensitive.
    static bool wildcardMatches(const QString &pattern, const QString &text);
};

} // namespace Velmora
