#pragma once

#include "SftpEntry.h"
#include "SftpSettings.h"
#include "SshHostKey.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

namespace Velmora {

class SftpProtocol;
class SftpWorker;

// What a download or upload moved: the bytes written to (or read from) the local file, and
// the size the remote file had when the transfer began (-1 when the server did not tell).
struct SftpTransferResult {
    qint64 bytes = 0;
    qint64 expectedBytes = -1;
};

// The SFTP client on libssh (SSH file transfer, version 3). The SSH work runs in a worker
// thread with blocking calls and time-outs, one request at a time; the calling thread waits in
// a local event loop, so the window stays responsive, and receives the events as queued signals
// while it waits. Every operation raises SftpError with a message text on failure.
//
// SFTP has no current folder of its own: the client keeps one (the home folder after the
// login) and resolves relative paths against it. Transfers are always binary.
class SftpClient : public QObject {
    Q_OBJECT
public:
    enum class Direction { Download, Upload };
    Q_ENUM(Direction)

    static constexpr quint16 DefaultPort = 22;

    explicit SftpClient(QObject *parent = nullptr);
    ~SftpClient() override;

    // Connection settings, used by the next connect.
    void setHost(const QString &host) { m_settings.host = host; }
    QString host() const { return m_settings.host; }
    void setPort(quint16 port) { m_settings.port = port; }
    quint16 port() const { return m_settings.port; }
    void setUser(const QString &user) { m_settings.user = user; }
    QString user() const { return m_settings.user; }
    void setPassword(const QString &password) { m_settings.password = password; }
    void setKeyFile(const QString &file) { m_settings.keyFile = file; }
    void setUseAgent(bool use) { m_settings.useAgent = use; }
    void setAgentSocket(const QString &socket) { m_settings.agentSocket = socket; }
    void setUseDefaultKeys(bool use) { m_settings.useDefaultKeys = use; }
    // Where the default keys, "config" and known_hosts live (~/.ssh unless set). A known-hosts
    // file set here wins over UserKnownHostsFile of the configuration.
    void setSshFolder(const QString &folder) { m_settings.sshFolder = folder; }
    void setKnownHostsFile(const QString &file) { m_settings.knownHostsFile = file; }
    void setGlobalKnownHostsFile(const QString &file) { m_settings.globalKnownHostsFile = file; }
    void setTimeouts(const SftpTimeouts &timeouts) { m_settings.timeouts = timeouts; }
    SftpTimeouts timeouts() const { return m_settings.timeouts; }
    // Who decides about unknown host keys. Without one such a key fails the connect (batch
    // jobs never ask). A changed key always fails.
    void setHostKeyTrust(SshHostKeyTrust *trust) { m_trust = trust; }
    // Who is asked for the passphrase of encrypted key files; without one they are skipped.
    void setPassphrasePrompt(SshPassphrasePrompt *prompt) { m_passphrasePrompt = prompt; }

    // Connects, checks the host key, logs in and opens the SFTP channel. ~/.ssh/config is read
    // for the host first (HostName, Port, User, IdentityFile, UserKnownHostsFile, ProxyJump);
    // the fields set here win, except port 22, which leaves the configuration's Port in force.
    // The ways to log in, in this order: the site's key file (else the configuration's
    // IdentityFile), the ssh-agent's keys, the default key files, the password (when one is
    // set). A key is unlocked with its passphrase only once the server has said it would accept
    // it.
    void connectAndLogin();
    // The host key of the last connect, and how the login succeeded ("public key <file>",
    // "ssh-agent", "password").
    SshHostKey hostKey() const { return m_hostKey; }
    QString loginMethod() const { return m_loginMethod; }
    // The server's identification ("SSH-2.0-OpenSSH_9.2p1 Debian-2") and the cipher and key
    // exchange in use, while connected.
    QString serverBanner() const { return m_connected ? m_serverBanner : QString(); }
    QString encryptionText() const { return m_connected ? m_encryptionText : QString(); }
    // The host keys accepted for this program run only, by "host:port".
    QHash<QString, QString> acceptedThisRun() const { return m_acceptedThisRun; }
    void setAcceptedThisRun(const QHash<QString, QString> &accepted) { m_acceptedThisRun = accepted; }
    void closeConnection();
    bool isConnected() const { return m_connected; }
    bool isBusy() const { return m_busy; }

    // The folder relative paths start from; after the login the home folder.
    QString currentDirectory() const { return m_currentDirectory; }
    // Changes to a folder (the server resolves it; it must be a folder).
    void changeDirectory(const QString &path);
    // The server's absolute, canonical form of a path.
    QString realPath(const QString &path);

    // The entries of a folder in the server's order, without "." and "..".
    QList<SftpEntry> list(const QString &folder = {});
    // The entry of one path (a link is described as a link).
    SftpEntry entry(const QString &path);
    // Into a new local file: refuses, without contacting the server, when it exists. A failed
    // or aborted download leaves no local file behind.
    SftpTransferResult download(const QString &remotePath, const QString &localPath);
    // Creates or replaces the remote file.
    SftpTransferResult upload(const QString &localPath, const QString &remotePath);
    void deleteFile(const QString &path);
    void makeDirectory(const QString &path);
    void removeDirectory(const QString &path);
    void rename(const QString &from, const QString &to);
    // The mode bits (e.g. 0644) of a file or folder.
    void setPermissions(const QString &path, int mode);
    // The size of a file, -1 when the server does not tell.
    qint64 size(const QString &path);

    // Called from a progress handler: the running transfer stops and ends with
    // SftpError("Transfer aborted.", Kind::Aborted); the connection stays usable.
    void abort();
    // Drops the connection. A call in flight (this is called from an event handler while it
    // waits) ends at once with SftpError "Disconnected." (Kind::Aborted).
    void cancel();

    // A relative path joined to the current folder; absolute paths unchanged.
    QString absolutePath(const QString &path) const;

Q_SIGNALS:
    void statusReported(const QString &text);
    void connected();
    void workBegan(Velmora::SftpClient::Direction direction, qint64 expectedBytes);
    void workProgressed(Velmora::SftpClient::Direction direction, qint64 bytes);
    void workEnded(Velmora::SftpClient::Direction direction);

private:
    // Runs one piece of work in the worker thread and waits for it in a local event loop.
    void run(const std::function<void(SftpProtocol &)> &work);
    void judgeHostKey(const SftpSettings &settings);
    void authenticate(const SftpSettings &settings);
    // Tries one key file; true when logged in.
    bool tryKeyFile(const QString &file, QStringList *problems);
    void stopForQuit();
    SftpSettings effectiveSettings() const;

    SftpSettings m_settings;
    QThread m_thread;
    SftpWorker *m_worker = nullptr;
    std::atomic_bool m_abortRequested{false};
    bool m_quitting = false;
    bool m_cancelled = false;
    bool m_busy = false;
    bool m_connected = false;
    SshHostKeyTrust *m_trust = nullptr;
    SshPassphrasePrompt *m_passphrasePrompt = nullptr;
    // "host:port" -> the fingerprint the user trusted for this program run only, and its type.
    QHash<QString, QString> m_acceptedThisRun;
    QHash<QString, QString> m_acceptedTypesThisRun;
    SshHostKey m_hostKey;
    QString m_configIdentityFile; // the IdentityFile ~/.ssh/config names for the host
    QString m_loginMethod;
    QString m_serverBanner;
    QString m_encryptionText;
    QString m_currentDirectory;
};

} // namespace Velmora
