#include "MasterFTP.h"

#include "engine/ftp/FtpError.h"
#include "LockedKeyringPassword.h"
#include "LoginFile.h"
#include "EncryptionChoice.h"
#include "SessionCertificateTrust.h"
#include "SessionHostKeyTrust.h"
#include "SftpSessionClient.h"
#include "engine/ftp/FtpTlsError.h"
#include "engine/ftp/QtFtpClient.h"
#include "StatusText.h"
#include "TlsFailureText.h"

#include "app/AppFolders.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "common/Language.h"

#include <QCoreApplication>

namespace Velmora {

namespace {

// A port text is a whole number from 1 to 65535, blanks around it allowed.
bool parsePort(const QString &text, quint16 *port)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 5)
        return false;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return false;
    }
    const int value = t.toInt();
    if (value < 1 || value > 65535)
        return false;
    *port = quint16(value);
    return true;
}

} // namespace

MasterFTP::MasterFTP(ProtocolLog &log, Options &options, UserPrompts &prompts, const AppFolders &folders,
                     Language &language, std::unique_ptr<FtpClient> client, QObject *parent)
    : QObject(parent)
    , m_log(log)
    , m_options(options)
    , m_prompts(prompts)
    , m_folders(folders)
    , m_language(language)
    , m_ftpClient(client ? std::move(client) : std::make_unique<QtFtpClient>())
    , m_client(m_ftpClient.get())
    , m_clock([] { return QDateTime::currentDateTime(); })
{
    m_lastActivity = m_clock();
    m_certificateTrust = std::make_unique<SessionCertificateTrust>(m_folders, m_prompts, m_language, m_log);
    m_hostKeyTrust = std::make_unique<SessionHostKeyTrust>(m_prompts, m_language);
    m_ftpClient->setCertificateTrust(m_certificateTrust.get());
    connect(m_ftpClient.get(), &FtpClient::statusReported, this, &MasterFTP::handleStatusText);
    connect(m_ftpClient.get(), &FtpClient::warningReported, this,
            [this](const QString &warning) { this->log(ProtocolEntry::Warning, warning); });
    connect(m_ftpClient.get(), &FtpClient::connected, this, [this] { setConnected(true); });
    connect(m_ftpClient.get(), &FtpClient::workProgressed, this, [this] { noteActivity(); });
    connect(m_ftpClient.get(), &FtpClient::workEnded, this, [this] { noteActivity(); });

    m_keepAliveTimer.setInterval(KeepAliveIntervalMs);
    connect(&m_keepAliveTimer, &QTimer::timeout, this, [this] { KeepAliveTick(m_clock()); });
    connect(&m_options, &Options::changed, this, &MasterFTP::updateKeepAliveTimer);
    updateKeepAliveTimer();
}

MasterFTP::~MasterFTP()
{
    m_ftpClient->setCertificateTrust(nullptr);
    if (m_sftpClient) {
        m_sftpClient->sftp().setHostKeyTrust(nullptr);
        m_sftpClient->sftp().setPassphrasePrompt(nullptr);
    }
}

SftpSessionClient &MasterFTP::sftpClient()
{
    if (!m_sftpClient) {
        m_sftpClient = std::make_unique<SftpSessionClient>();
        m_sftpClient->sftp().setHostKeyTrust(m_hostKeyTrust.get());
        m_sftpClient->sftp().setPassphrasePrompt(m_hostKeyTrust.get());
        connect(m_sftpClient.get(), &FtpClient::statusReported, this, &MasterFTP::handleStatusText);
        connect(m_sftpClient.get(), &FtpClient::connected, this, [this] { setConnected(true); });
        connect(m_sftpClient.get(), &FtpClient::workProgressed, this, [this] { noteActivity(); });
        connect(m_sftpClient.get(), &FtpClient::workEnded, this, [this] { noteActivity(); });
    }
    return *m_sftpClient;
}

void MasterFTP::setEncryption(FtpEncryption encryption)
{
    m_encryption = encryption;
    selectClient();
}

void MasterFTP::selectClient()
{
    FtpClient *wanted = m_encryption == FtpEncryption::Sftp ? static_cast<FtpClient *>(&sftpClient()) : m_ftpClient.get();
    if (wanted == m_client)
        return;
    // The connection of the other protocol ends: the session has one connection at a time.
    if (m_client->isBusy()) {
        m_client->cancel();
    } else if (m_client->isConnected()) {
        try {
            m_client->quit();
        } catch (const FtpError &) {
        }
    }
    setConnected(false);
    wanted->setTimeouts(m_client->timeouts());
    m_client = wanted;
}

void MasterFTP::setSessionHost(SessionHost *host)
{
    m_host = host ? host : &m_nullHost;
}

void MasterFTP::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

void MasterFTP::log(int kind, const QString &text)
{
    m_log.AddProtocolMessage(kind, text);
}

QString MasterFTP::text(const QString &english, const QString &german) const
{
    return m_language.text(english, german);
}

void MasterFTP::setConnected(bool connected)
{
    if (m_connected == connected)
        return;
    m_connected = connected;
    Q_EMIT connectionChanged(connected);
}

void MasterFTP::noteActivity()
{
    m_lastActivity = m_clock();
}

void MasterFTP::updateKeepAliveTimer()
{
    if (m_options.data().keepalive) {
        if (!m_keepAliveTimer.isActive())
            m_keepAliveTimer.start();
    } else {
        m_keepAliveTimer.stop();
    }
}

void MasterFTP::SetConnectionData(const QString &host, const QString &port, const QString &user,
                                  const QString &password, int activeMode)
{
    m_hostName = host.trimmed();
    m_port = port;
    m_user = user;
    m_password = password;
    setPasswordInLockedKeyring(QString());
    m_activeMode = activeMode;
}

void MasterFTP::setPasswordInLockedKeyring(const QString &entry)
{
    m_passwordUnavailable = !entry.isEmpty();
    m_lockedPasswordEntry = entry;
    m_passwordTypedForConnection = false;
    m_passwordDeclined = false;
}

bool MasterFTP::obtainLockedPassword()
{
    if (!m_passwordUnavailable || m_passwordTypedForConnection)
        return true;
    const QString site = m_user + u'@' + m_hostName + u':' + m_port;
    if (!m_passwordDeclined) {
        LockedKeyringPassword question(m_prompts, m_language);
        const std::optional<LockedKeyringPassword::Password> password =
            question.obtain(m_passwordPlace ? m_passwordPlace->vault : nullptr, m_lockedPasswordEntry, site);
        if (password) {
            m_password = password->text;
            if (password->fromKeyring)
                m_passwordUnavailable = false;
            else
                m_passwordTypedForConnection = true;
            return true;
        }
        m_passwordDeclined = true;
    }
    log(ProtocolEntry::Error, LockedKeyringPassword::NotConnectedText(site, m_language));
    return false;
}

bool MasterFTP::SaveLogin(const QString &file)
{
    LoginData data;
    data.host = m_hostName;
    data.user = m_user;
    data.password = m_password;
    data.port = m_port;
    data.activeMode = m_activeMode;
    data.encryption = m_encryption;
    data.keyFile = m_keyFile;
    data.localPath = m_host->localPathText();
    data.serverPath = m_host->serverPathText();
    data.passwordUnavailable = m_passwordUnavailable;
    QString keyringProblem;
    const bool written = WriteLoginFile(file, data, m_passwordPlace, &keyringProblem);
    if (!keyringProblem.isEmpty()) {
        log(ProtocolEntry::Error, text(QStringLiteral("The desktop keyring refused the password (%1); it is kept in the file %2."),
                                       QStringLiteral("Der Schlüsselbund des Desktops hat das Passwort abgelehnt (%1); es bleibt in der Datei %2."))
                                      .arg(keyringProblem, file));
    }
    return written;
}

bool MasterFTP::LoadLogin(const QString &file)
{
    bool exists = false;
    const LoginData data = ReadLoginFile(file, &exists, m_passwordPlace);
    m_hostName = data.host;
    m_user = data.user;
    m_password = data.password;
    setPasswordInLockedKeyring(data.passwordUnavailable ? LoginKeyringKey(data) : QString());
    m_port = data.port;
    m_activeMode = data.activeMode;
    setEncryption(data.encryption);
    m_keyFile = data.keyFile;
    m_host->setLocalPathText(data.localPath);
    m_host->setServerPathText(data.serverPath);
    // A login file written before the user moved the passwords follows them when it is next used.
    const bool toKeyring = m_passwordPlace && m_passwordPlace->writesToKeyring();
    if (exists && !data.passwordUnavailable && !data.password.isEmpty() && data.passwordInKeyring != toKeyring)
        WriteLoginFile(file, data, m_passwordPlace);
    return exists;
}

bool MasterFTP::Connect(bool clearQueueGrid)
{
    if (m_hostName.isEmpty()) {
        m_prompts.information(text(QStringLiteral("Specify a host!"), QStringLiteral("Bitte einen Host angeben!")));
        return false;
    }
    if (m_retryCounter >= m_maximumAttempts) {
        m_prompts.error(text(QStringLiteral("Maximum number of retries to connect reached!"),
                             QStringLiteral("Maximale Anzahl an Verbindungsversuchen erreicht!")));
        m_host->setIdleState();
        return false;
    }
    if (m_connecting)
        return false;
    // Never a login without the password: one the keyring keeps locked is asked for first.
    if (!obtainLockedPassword()) {
        m_connectFailed = true;
        return false;
    }
    selectClient();
    quint16 port = EncryptionChoice::DefaultPort(m_encryption);
    if (!m_port.trimmed().isEmpty() && !parsePort(m_port, &port)) {
        // No attempt is made with a port that is not a number.
        const QString message = text(QStringLiteral("The port \"%1\" is not a number from 1 to 65535. No connection was attempted."),
                                     QStringLiteral("Der Port \"%1\" ist keine Zahl von 1 bis 65535. Es wurde keine Verbindung versucht."))
                                    .arg(m_port);
        log(ProtocolEntry::Error, message);
        m_prompts.error(message);
        m_connectFailed = true;
        return false;
    }

    m_host->setBusyCursor(true);
    m_connecting = true;
    m_connectCancelled = false;
    m_connectFailed = false;
    if (clearQueueGrid)
        m_host->clearQueueGrid();
    m_client->setHost(m_hostName);
    m_client->setPort(port);
    m_client->setUser(m_user);
    m_client->setPassword(m_password);
    m_client->setPassive(m_activeMode == 0);
    m_client->setEncryption(m_encryption);
    if (m_client == m_sftpClient.get())
        m_sftpClient->sftp().setKeyFile(m_keyFile);

    try {
        m_client->closeConnection();
    } catch (const FtpError &) {
    }
    m_certificateTrust->clearDeclined();
    m_hostKeyTrust->clearDeclined();
    log(ProtocolEntry::Status, QStringLiteral("Try to connect: ") + m_hostName);
    QCoreApplication::processEvents();
    setConnected(false);
    try {
        m_client->connectAndLogin();
        m_retryCounter = 0;
        SaveLogin(m_folders.appDataFile(LoginFileName)); // a failure here does not undo the connection
        log(ProtocolEntry::Status, m_client->systemDescription());
        log(ProtocolEntry::Status, m_client->greeting().split(u'\n').join(u' ').trimmed());
    } catch (const FtpError &error) {
        QString message = error.message();
        QString shown;
        if (m_client == m_sftpClient.get()) {
            if (const std::optional<SshHostKey> key = m_sftpClient->refusedHostKey())
                message = SessionHostKeyTrust::RefusalText(*key, m_language);
        }
        // A failed handshake reads as a sentence; the protocol keeps the TLS library's words.
        if (const auto *tls = dynamic_cast<const FtpTlsError *>(&error)) {
            shown = TlsFailureText::sentence(tls->cause(), m_encryption, port, m_language);
            if (!shown.isEmpty())
                message = TlsFailureText::protocolLine(shown, *tls);
        }
        if (shown.isEmpty())
            shown = message;
        log(ProtocolEntry::Error, message);
        m_connectFailed = true;
        // The certificate or host-key window the user answered "Cancel" has shown the reason: no
        // second box repeats it.
        const bool shownInWindow = m_prompts.isAttended() && (m_certificateTrust->declined() || m_hostKeyTrust->declined());
        // A connect ended by Disconnect or by the program closing is no failed attempt, and
        // the user who cut it off does not want the next step to try again by itself.
        if (error.kind() != FtpError::Kind::Aborted) {
            if (!shownInWindow)
                m_prompts.error(shown);
            ++m_retryCounter;
        } else {
            m_connectCancelled = true;
        }
    }
    m_connecting = false;
    m_host->setBusyCursor(false);
    return !m_connectFailed;
}

void MasterFTP::Disconnect()
{
    m_host->setBusyCursor(true);
    if (m_client->isBusy()) {
        // A command is still in flight (the window lets Disconnect be clicked in the middle of
        // a run): it is ended and its connection dropped, so the session and the client agree.
        m_client->cancel();
    } else {
        try {
            m_client->quit();
        } catch (const FtpError &) {
        }
    }
    setConnected(false);
    m_connectFailed = false;
    m_host->clearServerGrid();
    m_host->setBusyCursor(false);
}

bool MasterFTP::CheckConnection()
{
    try {
        m_client->currentDirectory();
        return true;
    } catch (const FtpError &) {
        return false;
    }
}

void MasterFTP::EnsureConnected()
{
    // A command in flight proves nothing either way, and a second one must not interleave.
    // A connect the user cut off is not made again behind his back.
    if (m_client->isBusy() || m_connectCancelled)
        return;
    if (!CheckConnection())
        Connect(false);
}

void MasterFTP::KeepAliveTick(const QDateTime &now)
{
    if (m_inKeepAlive || m_connecting || !m_options.data().keepalive || !m_connected)
        return;
    if (m_lastActivity.secsTo(now) <= m_options.keepaliveSeconds())
        return;
    if (m_client->isBusy()) // never in the middle of a command
        return;
    m_inKeepAlive = true;
    EnsureConnected();
    log(ProtocolEntry::KeepAlive, QStringLiteral("Send keep alive command at time ") + now.toString(u"hh:mm:ss"));
    m_lastActivity = now;
    QCoreApplication::processEvents();
    m_inKeepAlive = false;
}

void MasterFTP::handleStatusText(const QString &statusText)
{
    const QString rewritten = RewriteStatusText(statusText, m_currentItem);
    if (!IsStatusTextShown(rewritten))
        return;
    const QString trimmed = rewritten.trimmed();
    if (trimmed == m_lastStatusText)
        return;
    log(ProtocolEntry::Status, trimmed);
    m_lastStatusText = trimmed;
}

void MasterFTP::handleUnexpectedError()
{
    // Without a host there is nothing to reconnect to, and no reason to ask for one.
    if (!m_connected && !m_connecting && !m_connectCancelled && !m_hostName.isEmpty() && !m_client->isBusy())
        Connect(false);
}

} // namespace Velmora
