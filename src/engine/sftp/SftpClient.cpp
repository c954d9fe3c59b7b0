#include "SftpClient.h"

#include "SftpError.h"
#include "SftpProtocol.h"
#include "SftpWorker.h"
#include "SshHostKeyRefusal.h"
#include "SshKeyFile.h"

#include "common/Language.h"

#include "common/WorkerCall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <exception>

namespace Velmora {

namespace {

QString siteText(const SftpSettings &settings)
{
    return settings.host + u':' + QString::number(settings.port);
}

} // namespace

SftpClient::SftpClient(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<SftpClient::Direction>();
    m_worker = new SftpWorker(m_abortRequested);
    m_worker->moveToThread(&m_thread);
    connect(m_worker, &SftpWorker::statusReported, this, &SftpClient::statusReported, Qt::QueuedConnection);
    connect(m_worker, &SftpWorker::workBegan, this, &SftpClient::workBegan, Qt::QueuedConnection);
    connect(m_worker, &SftpWorker::workProgressed, this, &SftpClient::workProgressed, Qt::QueuedConnection);
    connect(m_worker, &SftpWorker::workEnded, this, &SftpClient::workEnded, Qt::QueuedConnection);
    m_thread.setObjectName(QStringLiteral("SftpClient"));
    m_thread.start();
    // After the main event loop has ended nothing may wait on the server any more.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &SftpClient::stopForQuit);
}

SftpClient::~SftpClient()
{
    m_abortRequested = true;
    // A call still waiting (the client is destroyed from an event handler) ends at once;
    // otherwise the connection is closed politely.
    if (m_busy)
        m_worker->protocol().interrupt();
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker] { worker->protocol().closeConnection(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void SftpClient::stopForQuit()
{
    m_quitting = true;
    m_abortRequested = true;
    m_worker->protocol().interrupt();
}

void SftpClient::run(const std::function<void(SftpProtocol &)> &work)
{
    if (m_quitting || QCoreApplication::closingDown())
        throw SftpError(QStringLiteral("The program is closing."), SftpError::Kind::Aborted);
    if (m_busy)
        throw SftpError(QStringLiteral("Another SFTP command is still running."), SftpError::Kind::Connection);
    m_busy = true;
    m_cancelled = false;
    // libssh waits for SFTP answers without a limit: a server that falls silent is cut off
    // here once nothing has happened for the reply time-out (progress counts as an answer).
    const int timeoutMs = m_connected ? m_settings.timeouts.replyMs
                                      : qMax(m_settings.timeouts.connectMs, m_settings.timeouts.replyMs);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    watchdog.setInterval(timeoutMs);
    bool timedOut = false;
    connect(&watchdog, &QTimer::timeout, this, [&] {
        timedOut = true;
        m_worker->protocol().interrupt();
    });
    const auto keepAlive = [&] { watchdog.start(); };
    const QMetaObject::Connection progressed = connect(this, &SftpClient::workProgressed, &watchdog, keepAlive);
    const QMetaObject::Connection began = connect(this, &SftpClient::workBegan, &watchdog, keepAlive);
    watchdog.start();
    bool connected = false;
    std::exception_ptr failure;
    SftpWorker *worker = m_worker;
    // Once the application quits the work is stopped instead of waited for.
    RunOnWorker(
        worker,
        [&] {
            SftpProtocol &protocol = worker->protocol();
            try {
                work(protocol);
            } catch (...) {
                failure = std::current_exception();
            }
            protocol.closeIfLost();
            connected = protocol.isConnected();
        },
        [this] { stopForQuit(); });
    watchdog.stop();
    disconnect(progressed);
    disconnect(began);
    m_busy = false;
    m_connected = connected && !m_cancelled && !m_quitting && !timedOut;
    if (!failure)
        return;
    if (m_quitting)
        throw SftpError(QStringLiteral("The program is closing."), SftpError::Kind::Aborted);
    if (m_cancelled)
        throw SftpError(QStringLiteral("Disconnected."), SftpError::Kind::Aborted);
    if (timedOut)
        throw SftpError(QStringLiteral("%1 did not answer within %2 s; the connection was closed.")
                            .arg(siteText(m_settings), QString::number(timeoutMs / 1000.0)),
                        SftpError::Kind::Connection);
    std::rethrow_exception(failure);
}

SftpSettings SftpClient::effectiveSettings() const
{
    SftpSettings settings = m_settings;
    if (settings.sshFolder.isEmpty())
        settings.sshFolder = QDir::homePath() + QStringLiteral("/.ssh");
    return settings;
}

void SftpClient::connectAndLogin()
{
    const SftpSettings settings = effectiveSettings();
    m_connected = false;
    m_loginMethod.clear();
    m_currentDirectory.clear();
    SshHostKey key;
    QString banner;
    QString encryption;
    SftpSettings login = settings;
    run([&](SftpProtocol &p) {
        key = p.connect(settings);
        banner = p.serverBanner();
        encryption = p.encryptionText();
        login.user = p.userName();
        m_configIdentityFile = p.configIdentityFile();
    });
    m_hostKey = key;
    m_serverBanner = banner;
    m_encryptionText = encryption;
    try {
        judgeHostKey(settings);
        authenticate(login);
        QString home;
        run([&](SftpProtocol &p) { home = p.openSftp(); });
        m_currentDirectory = home;
    } catch (...) {
        if (!m_busy && !m_quitting) {
            try {
                run([](SftpProtocol &p) { p.closeConnection(); });
            } catch (const SftpError &) {
                // The failure that brought us here is the one to report.
            }
        }
        m_connected = false;
        throw;
    }
    Q_EMIT statusReported(QStringLiteral("Logged in to %1 (%2)").arg(siteText(settings), m_loginMethod));
    Q_EMIT connected();
}

void SftpClient::judgeHostKey(const SftpSettings &settings)
{
    SshHostKey &key = m_hostKey;
    const QString site = siteText(settings);
    // A key trusted "this time" stands for the host until the program ends: another key in its
    // place is a changed key, as if it were in known_hosts.
    const QString trustedThisRun = m_acceptedThisRun.value(site);
    if (key.status == SshHostKey::Status::Unknown && !trustedThisRun.isEmpty()) {
        if (trustedThisRun == key.fingerprint)
            return;
        key.status = SshHostKey::Status::Changed;
        key.knownKeyType = m_acceptedTypesThisRun.value(site);
        key.knownFingerprint = trustedThisRun;
        key.trustedThisRunOnly = true;
    }
    const Language english;
    switch (key.status) {
    case SshHostKey::Status::Known:
        return;
    case SshHostKey::Status::Changed:
    case SshHostKey::Status::OtherType:
    case SshHostKey::Status::Revoked:
        throw SftpError(SshHostKeyRefusal::text(key, english), SftpError::Kind::HostKey);
    case SshHostKey::Status::Unknown:
        break;
    }
    const SshHostKeyTrust::Answer answer = m_trust ? m_trust->decide(key) : SshHostKeyTrust::Answer::Cancel;
    switch (answer) {
    case SshHostKeyTrust::Answer::TrustAlways:
        run([&](SftpProtocol &p) { p.trustHostKey(settings); });
        return;
    case SshHostKeyTrust::Answer::TrustOnce:
        m_acceptedThisRun.insert(site, key.fingerprint);
        m_acceptedTypesThisRun.insert(site, key.keyType);
        return;
    case SshHostKeyTrust::Answer::Cancel:
        break;
    }
    throw SftpError(SshHostKeyRefusal::text(key, english), SftpError::Kind::HostKey);
}

bool SftpClient::tryKeyFile(const QString &file, QStringList *problems)
{
    const SshKeyFile keyFile(file);
    const QString shown = QDir::toNativeSeparators(file);
    if (!keyFile.exists()) {
        problems->append(QStringLiteral("the key file %1 does not exist").arg(shown));
        return false;
    }
    // Only a key the server would take is unlocked: no passphrase question for keys in vain.
    if (SshKey publicKey = keyFile.publicKey()) {
        bool accepted = false;
        run([&](SftpProtocol &p) { accepted = p.acceptsPublicKey(publicKey.get()); });
        if (!accepted) {
            problems->append(QStringLiteral("the key %1 was refused").arg(shown));
            return false;
        }
    }
    QString error;
    bool cancelled = false;
    SshKey privateKey = keyFile.privateKey(m_passphrasePrompt, &error, &cancelled);
    if (!privateKey) {
        problems->append(error);
        return false;
    }
    bool loggedIn = false;
    run([&](SftpProtocol &p) { loggedIn = p.authenticatePublicKey(privateKey.get()); });
    if (loggedIn)
        m_loginMethod = QStringLiteral("public key %1").arg(shown);
    else
        problems->append(QStringLiteral("the key %1 was refused").arg(shown));
    return loggedIn;
}

void SftpClient::authenticate(const SftpSettings &settings)
{
    int methods = 0;
    run([&](SftpProtocol &p) { methods = p.authenticationMethods(settings); });
    if (methods == 0) {
        m_loginMethod = QStringLiteral("no authentication");
        return;
    }
    QStringList problems;
    if (methods & SSH_AUTH_METHOD_PUBLICKEY) {
        if (!settings.keyFile.isEmpty() && tryKeyFile(settings.keyFile, &problems))
            return;
        // Without a key file of the site's own, the IdentityFile of ~/.ssh/config takes its place.
        const QString configKey = settings.keyFile.isEmpty() ? m_configIdentityFile : QString();
        if (!configKey.isEmpty() && tryKeyFile(configKey, &problems))
            return;
        if (settings.useAgent) {
            bool loggedIn = false;
            run([&](SftpProtocol &p) { loggedIn = p.authenticateAgent(settings); });
            if (loggedIn) {
                m_loginMethod = QStringLiteral("ssh-agent");
                return;
            }
        }
        if (settings.useDefaultKeys) {
            for (const char *name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
                const QString file = settings.sshFolder + u'/' + QLatin1String(name);
                if (file != configKey && QFileInfo::exists(file) && tryKeyFile(file, &problems))
                    return;
            }
        }
    } else if (!settings.keyFile.isEmpty()) {
        problems.append(QStringLiteral("the server takes no keys"));
    }
    if (!settings.password.isEmpty()) {
        if (methods & (SSH_AUTH_METHOD_PASSWORD | SSH_AUTH_METHOD_INTERACTIVE)) {
            bool loggedIn = false;
            run([&](SftpProtocol &p) { loggedIn = p.authenticatePassword(settings); });
            if (loggedIn) {
                m_loginMethod = QStringLiteral("password");
                return;
            }
            problems.append(QStringLiteral("the password was refused"));
        } else {
            problems.append(QStringLiteral("the server takes no passwords"));
        }
    }
    QString text = QStringLiteral("The login of %1 at %2 failed").arg(settings.user, siteText(settings));
    text += problems.isEmpty() ? QStringLiteral(": no key or password was accepted.")
                               : QStringLiteral(": ") + problems.join(QStringLiteral("; "));
    if (!text.endsWith(u'.'))
        text += u'.';
    throw SftpError(text, SftpError::Kind::Authentication);
}

void SftpClient::closeConnection()
{
    run([](SftpProtocol &p) { p.closeConnection(); });
    m_connected = false;
}

QString SftpClient::absolutePath(const QString &path) const
{
    if (path.startsWith(u'/') || m_currentDirectory.isEmpty())
        return path;
    if (path.isEmpty() || path == u".")
        return m_currentDirectory;
    if (m_currentDirectory.endsWith(u'/'))
        return m_currentDirectory + path;
    return m_currentDirectory + u'/' + path;
}

void SftpClient::changeDirectory(const QString &path)
{
    const QString target = absolutePath(path);
    QString resolved;
    SftpEntry entry;
    run([&](SftpProtocol &p) {
        resolved = p.realPath(target);
        entry = p.entry(resolved);
    });
    if (!entry.isFolderLike())
        throw SftpError(QStringLiteral("%1 is no folder.").arg(target), SftpError::Kind::Refused);
    m_currentDirectory = resolved;
}

QString SftpClient::realPath(const QString &path)
{
    const QString target = absolutePath(path);
    QString resolved;
    run([&](SftpProtocol &p) { resolved = p.realPath(target); });
    return resolved;
}

QList<SftpEntry> SftpClient::list(const QString &folder)
{
    const QString target = absolutePath(folder);
    QList<SftpEntry> entries;
    run([&](SftpProtocol &p) { entries = p.list(target); });
    return entries;
}

SftpEntry SftpClient::entry(const QString &path)
{
    const QString target = absolutePath(path);
    SftpEntry result;
    run([&](SftpProtocol &p) { result = p.entry(target); });
    return result;
}

SftpTransferResult SftpClient::download(const QString &remotePath, const QString &localPath)
{
    const QFileInfo local(localPath);
    if (local.exists() || local.isSymLink())
        throw SftpError(QStringLiteral("The local file %1 exists already.").arg(QDir::toNativeSeparators(localPath)),
                        SftpError::Kind::Local);
    const QString target = absolutePath(remotePath);
    SftpTransferResult result;
    m_abortRequested = false;
    run([&](SftpProtocol &p) { result = p.download(target, localPath); });
    return result;
}

SftpTransferResult SftpClient::upload(const QString &localPath, const QString &remotePath)
{
    const QString target = absolutePath(remotePath);
    SftpTransferResult result;
    m_abortRequested = false;
    run([&](SftpProtocol &p) { result = p.upload(localPath, target); });
    return result;
}

void SftpClient::deleteFile(const QString &path)
{
    const QString target = absolutePath(path);
    run([&](SftpProtocol &p) { p.deleteFile(target); });
}

void SftpClient::makeDirectory(const QString &path)
{
    const QString target = absolutePath(path);
    run([&](SftpProtocol &p) { p.makeDirectory(target); });
}

void SftpClient::removeDirectory(const QString &path)
{
    const QString target = absolutePath(path);
    run([&](SftpProtocol &p) { p.removeDirectory(target); });
}

void SftpClient::rename(const QString &from, const QString &to)
{
    const QString source = absolutePath(from);
    const QString target = absolutePath(to);
    run([&](SftpProtocol &p) { p.rename(source, target); });
}

void SftpClient::setPermissions(const QString &path, int mode)
{
    const QString target = absolutePath(path);
    run([&](SftpProtocol &p) { p.setPermissions(target, mode); });
}

qint64 SftpClient::size(const QString &path)
{
    const QString target = absolutePath(path);
    qint64 result = -1;
    run([&](SftpProtocol &p) { result = p.size(target); });
    return result;
}

void SftpClient::abort()
{
    if (m_busy && m_connected)
        m_abortRequested = true;
}

void SftpClient::cancel()
{
    m_connected = false;
    if (!m_busy) {
        run([](SftpProtocol &p) { p.closeConnection(); });
        return;
    }
    // The call in flight fails at once on the shut socket; the session is closed behind it.
    m_cancelled = true;
    m_worker->protocol().interrupt();
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker] { worker->protocol().closeConnection(); }, Qt::QueuedConnection);
}

} // namespace Velmora
