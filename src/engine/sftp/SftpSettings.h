#pragma once

#include <QString>

namespace Velmora {

// Time-outs of the SFTP client in milliseconds: establishing the connection (TCP and key
// exchange) and waiting for any answer of the server afterwards.
struct SftpTimeouts {
    int connectMs = 20000;
    int replyMs = 60000;
};

// A snapshot of the client's settings, handed to the worker with each command.
struct SftpSettings {
    QString host;
    quint16 port = 22;
    QString user;
    QString password;       // tried after the keys when not empty
    QString keyFile;        // a private key chosen for this site, tried first
    bool useAgent = true;   // the keys of a running ssh-agent
    QString agentSocket;    // empty: the SSH_AUTH_SOCK of the environment
    bool useDefaultKeys = true; // id_ed25519, id_ecdsa, id_rsa in sshFolder
    QString sshFolder;      // empty: ~/.ssh
    QString knownHostsFile; // empty: UserKnownHostsFile of ~/.ssh/config, else known_hosts in sshFolder
    QString globalKnownHostsFile; // empty: the system's (/etc/ssh/ssh_known_hosts)
    SftpTimeouts timeouts;
};

} // namespace Velmora
