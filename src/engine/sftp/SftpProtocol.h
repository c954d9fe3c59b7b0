#pragma once

#include "SftpClient.h"
#include "SftpEntry.h"
#include "SftpSettings.h"
#include "SshHostKey.h"
#include "SshKey.h"

#include <libssh/libssh.h>
#include <libssh/sftp.h>

#include <QList>
#include <QMutex>

#include <atomic>

namespace Velmora {

class SftpEvents;

// The SSH connection and its SFTP channel on libssh, run in the worker thread with blocking
// calls and time-outs, one request at a time. Every failure raises SftpError; a lost connection
// closes the session, so isConnected() turns false.
class SftpProtocol {
public:
    SftpProtocol(SftpEvents &events, const std::atomic_bool &abortRequested);
    ~SftpProtocol();
    SftpProtocol(const SftpProtocol &) = delete;
    SftpProtocol &operator=(const SftpProtocol &) = delete;

    // TCP connection and key exchange; the host key judged against the known-hosts files.
    SshHostKey connect(const SftpSettings &settings);
    // The server's identification ("SSH-2.0-OpenSSH_9.2p1 ...") and the cipher and key
    // exchange of the open connection ("chacha20-poly1305@openssh.com, curve25519-sha256").
    QString serverBanner() const { return m_serverBanner; }
    QString encryptionText() const { return m_encryptionText; }
    // What the connection uses after ~/.ssh/config was read: the user name, and the
    // configuration's IdentityFile (empty when it names none).
    QString userName() const { return m_userName; }
    QString configIdentityFile() const { return m_configIdentityFile; }
    // Writes the host key of the open connection to the user's known-hosts file (the one the
    // connection was judged against).
    void trustHostKey(const SftpSettings &settings);
    // The ways to log in the server offers (SSH_AUTH_METHOD_* bits), after asking for "none";
    // 0 when "none" already logged in.
    int authenticationMethods(const SftpSettings &settings);
    // Whether the server would accept this public key (no signature is made).
    bool acceptsPublicKey(ssh_key publicKey);
    bool authenticatePublicKey(ssh_key privateKey);
    bool authenticateAgent(const SftpSettings &settings);
    bool authenticatePassword(const SftpSettings &settings);
    // Opens the SFTP channel after the login; returns the home folder.
    QString openSftp();
    void closeConnection();
    // Closes the session when a call found the connection lost. Called after each call, once
    // the call's file handles are gone (they must be closed while their session exists).
    void closeIfLost();
    bool isConnected() const { return !m_lost && (m_sftp != nullptr || m_session != nullptr); }
    // Ends a blocking call of the worker at once from another thread: the socket is shut down,
    // so the call fails as a lost connection.
    void interrupt();

    QList<SftpEntry> list(const QString &folder);
    SftpEntry entry(const QString &path); // the entry itself, not a link's target
    QString realPath(const QString &path);
    SftpTransferResult download(const QString &remotePath, const QString &localPath);
    SftpTransferResult upload(const QString &localPath, const QString &remotePath);
    void deleteFile(const QString &path);
    void makeDirectory(const QString &path);
    void removeDirectory(const QString &path);
    void rename(const QString &from, const QString &to);
    void setPermissions(const QString &path, int mode);
    qint64 size(const QString &path);

    // Reads are asked for in pieces of this size, this many at a time; writes go in pieces of
    // the write size, SftpWritePipeline::MaxInFlight at a time.
    static constexpr quint32 ReadChunk = 64 * 1024;
    static constexpr int ReadsInFlight = 32;
    static constexpr qint64 WriteChunk = 128 * 1024;

private:
    // The key's status against the known-hosts files (SshKnownHostsJudge); an unreadable file fails.
    void judgeHostKey(SshHostKey *key, const SftpSettings &settings);
    // A libssh option as text (SSH_OPTIONS_KNOWNHOSTS, ...), or the fallback when it has none.
    QString sessionOption(int option, const QString &fallback) const;
    [[noreturn]] void failSession(const QString &what);
    [[noreturn]] void failRequest(const QString &what);
    void requireSftp() const;
    // Reads ~/.ssh/config and the system's ssh_config through libssh, then sets the site's own
    // fields again so they win.
    void readSshConfig(const SftpSettings &settings, const QString &sshFolder);
    // A text option of the session (empty when unset) and the port it connects to.
    QByteArray option(ssh_options_e type) const;
    unsigned int portInUse() const;
    // The entry of one name in a folder; a link's target is read and followed.
    SftpEntry entryFrom(sftp_attributes attributes, const QByteArray &rawName, const QByteArray &folder);

    SftpEvents &m_events;
    const std::atomic_bool &m_abortRequested;
    ssh_session m_session = nullptr;
    sftp_session m_sftp = nullptr;
    // The socket, for interrupt() from another thread; guarded, so a closed socket's number is
    // never shut down after it was reused.
    QMutex m_socketLock;
    socket_t m_socket = SSH_INVALID_SOCKET;
    int m_replyTimeoutMs = 60000;
    bool m_lost = false; // the connection was found lost; closeIfLost() ends it
    SshKey m_serverKey;
    QString m_serverBanner;
    QString m_encryptionText;
    QString m_serverKeyText; // "type base64" of the server's key
    QString m_knownHostsFile; // the user's, as the connection judged the host key
    QString m_userName;
    QString m_configIdentityFile;
    bool m_configNamesIdentity = false;
};

} // namespace Velmora
