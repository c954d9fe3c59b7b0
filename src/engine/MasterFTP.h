#pragma once

#include "engine/ftp/FtpClient.h"
#include "NullSessionHost.h"
#include "common/ListingEntry.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

namespace Velmora {

class Language;
struct PasswordPlace;
class SessionCertificateTrust;
class SessionHostKeyTrust;
class SftpSessionClient;
class Options;
class ProtocolLog;
class UserPrompts;
struct AppFolders;

// The FTP engine: the one connection to one FTP or SFTP server for the whole program run. It
// connects and logs in, reconnects silently before every operation when the server dropped the
// connection, keeps the connection alive, reports every step in the protocol and reads remote
// folders into sorted listing records. The site's protocol picks the client: the FTP client
// for FTP (plain or over TLS), the SFTP client for SFTP; everything above works on client()
// and never asks which one it is.
class MasterFTP : public QObject {
    Q_OBJECT
public:
    // client: the FTP client to use; a QtFtpClient when none is given. SFTP sites use an SFTP
    // client of the session's own.
    MasterFTP(ProtocolLog &log, Options &options, UserPrompts &prompts, const AppFolders &folders,
              Language &language, std::unique_ptr<FtpClient> client = nullptr, QObject *parent = nullptr);
    ~MasterFTP() override;

    // The main window's side; nullptr restores the built-in host without a window.
    void setSessionHost(SessionHost *host);
    SessionHost &sessionHost() const { return *m_host; }
    // The client of the site's protocol.
    FtpClient &client() const { return *m_client; }

    // Connection fields.
    QString host() const { return m_hostName; }
    QString port() const { return m_port; }
    QString user() const { return m_user; }
    QString password() const { return m_password; }
    int activeMode() const { return m_activeMode; }
    // FTP over TLS, or SFTP, for the next connect (part of the connection data, kept in the
    // login file). Choosing another protocol than the connected one closes that connection.
    void setEncryption(FtpEncryption encryption);
    FtpEncryption encryption() const { return m_encryption; }
    // The private key file an SFTP site logs in with before the agent's and the default keys;
    // empty for none (kept in the login file).
    void setKeyFile(const QString &file) { m_keyFile = file; }
    QString keyFile() const { return m_keyFile; }
    // "TLSv1.3, TLS_AES_256_GCM_SHA384" while the connection is encrypted, else empty.
    QString encryptionText() const { return m_client->encryptionText(); }
    bool isConnected() const { return m_connected; }
    // A connect is under way (Disconnect may cut it off).
    bool isConnecting() const { return m_connecting; }
    // The last connect was cut off by Disconnect or by the program closing: nothing connects
    // again by itself (EnsureConnected, the keep-alive, the error handler) until something
    // calls Connect.
    bool connectCancelled() const { return m_connectCancelled; }
    bool connectFailed() const { return m_connectFailed; }
    int retryCounter() const { return m_retryCounter; }
    // At start-up and before every connect from the site manager. A password the user would not
    // give for a locked keyring is asked for again afterwards.
    void resetRetryCounter()
    {
        m_retryCounter = 0;
        m_passwordDeclined = false;
    }
    QDateTime lastActivity() const { return m_lastActivity; }
    QString lastStatusText() const { return m_lastStatusText; }
    QString currentItem() const { return m_currentItem; }
    void setCurrentItem(const QString &item) { m_currentItem = item; }

    void SetConnectionData(const QString &host, const QString &port, const QString &user, const QString &password,
                           int activeMode);
    bool SaveLogin(const QString &file);
    // Sets the fields and the two path boxes; does not connect. False when the file is missing.
    bool LoadLogin(const QString &file);
    // Where login files keep their passwords; null keeps them encoded in the files.
    void setPasswordPlace(const PasswordPlace *place) { m_passwordPlace = place; }
    // The last loaded login keeps its password in a keyring that could not give it.
    bool passwordUnavailable() const { return m_passwordUnavailable; }
    // The connection data's password is in this keyring entry, which could not be read (the
    // keyring is locked); empty: the password is the one set. Connect never logs in without it:
    // it asks the user to unlock the keyring or to type the password for this connection.
    void setPasswordInLockedKeyring(const QString &entry);
    QString lockedPasswordEntry() const { return m_passwordUnavailable ? m_lockedPasswordEntry : QString(); }
    bool Connect(bool clearQueueGrid);
    // How many failed attempts Connect makes before it refuses (MaximumRetries in the window).
    // Nobody waits on an unattended job: it gives up on a silent server after one attempt.
    void setMaximumAttempts(int attempts) { m_maximumAttempts = attempts; }
    int maximumAttempts() const { return m_maximumAttempts; }
    void Disconnect();
    // Sends PWD: true when the server answers, false on any error. Also the keep-alive command.
    bool CheckConnection();
    // Connects again (silently, as far as the connection works) when CheckConnection fails.
    void EnsureConnected();

    // Reads a remote folder (empty means "/") into sorted listing records. On failure the
    // records are left as they were and the protocol says "Failed to retrieve directory listing".
    bool GetListing(const QString &path, QStringList &records);
    // The same listing as entries, in the same order.
    bool GetListing(const QString &path, QList<ListingEntry> &entries);
    // True when the listing of the path's parent holds an entry whose name, appended to the
    // parent and "/", is the path exactly.
    bool RemoteFileExists(const QString &path);

    // One tick of the keep-alive timer at the time 'now'.
    void KeepAliveTick(const QDateTime &now);
    QTimer &keepAliveTimer() { return m_keepAliveTimer; }
    // The status handler: rewrites the client's status text and writes it to the protocol.
    void handleStatusText(const QString &text);
    // Called by the application-wide error handler: connects again when not connected.
    void handleUnexpectedError();
    // The clock for the last activity (tests drive time through it).
    void setClock(std::function<QDateTime()> clock);

    static inline const QString LoginFileName = QStringLiteral("last-login.ini");
    static inline const QString ListingFailedText = QStringLiteral("Failed to retrieve directory listing");
    static constexpr int MaximumRetries = 3;
    static constexpr int KeepAliveIntervalMs = 100;

Q_SIGNALS:
    void connectionChanged(bool connected);

private:
    void log(int kind, const QString &text);
    QString text(const QString &english, const QString &german) const;
    // The protocol line's start for a listed name that is left out.
    QString unsafeNameText() const;
    void setConnected(bool connected);
    // Before a connect: the password, when it is in a locked keyring. False when there is none.
    bool obtainLockedPassword();
    void updateKeepAliveTimer();
    void noteActivity();
    // The sorted listing records of entries a client read as such.
    QStringList entryRecords(const QList<ListingEntry> &entries, bool logfiles);
    // Makes the client of the current protocol the one in use.
    void selectClient();
    SftpSessionClient &sftpClient();

    ProtocolLog &m_log;
    Options &m_options;
    UserPrompts &m_prompts;
    const AppFolders &m_folders;
    Language &m_language;
    std::unique_ptr<FtpClient> m_ftpClient;
    std::unique_ptr<SftpSessionClient> m_sftpClient; // made when the first SFTP site is chosen
    FtpClient *m_client = nullptr;                    // one of the two
    std::unique_ptr<SessionHostKeyTrust> m_hostKeyTrust;
    QString m_keyFile;
    NullSessionHost m_nullHost;
    SessionHost *m_host = &m_nullHost;
    std::function<QDateTime()> m_clock;

    QString m_hostName;
    QString m_port;
    QString m_user;
    QString m_password;
    const PasswordPlace *m_passwordPlace = nullptr;
    bool m_passwordUnavailable = false;
    QString m_lockedPasswordEntry;
    bool m_passwordTypedForConnection = false; // for the locked keyring's password, kept nowhere
    bool m_passwordDeclined = false;           // the user would not give it: no more questions
    int m_activeMode = 0;
    FtpEncryption m_encryption = FtpEncryption::Plain;
    std::unique_ptr<SessionCertificateTrust> m_certificateTrust;
    bool m_connected = false;
    bool m_connectFailed = false;
    int m_retryCounter = 0;
    int m_maximumAttempts = MaximumRetries;
    QDateTime m_lastActivity;
    QString m_lastStatusText;
    QString m_currentItem;

    QTimer m_keepAliveTimer;
    bool m_inKeepAlive = false;
    bool m_connecting = false; // Connect processes pending events; nothing may connect meanwhile
    bool m_connectCancelled = false;
};

} // namespace Velmora
