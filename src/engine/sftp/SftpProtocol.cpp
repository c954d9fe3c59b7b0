#include "SftpProtocol.h"

#include "SftpAttributesReader.h"
#include "SftpError.h"
#include "SftpEvents.h"
#include "SftpProgressThrottle.h"
#include "SftpReadPipeline.h"
#include "SftpWritePipeline.h"
#include "SshKnownHostsFile.h"
#include "SshKnownHostsJudge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace Velmora {

namespace {

constexpr int KeyboardInteractiveRounds = 5;

// A local file being downloaded: removed again unless the download completes.
class NewLocalFile {
public:
    explicit NewLocalFile(const QString &path)
        : m_file(path)
    {
    }
    ~NewLocalFile()
    {
        if (m_committed)
            return;
        m_file.close();
        m_file.remove();
    }
    QFile &file() { return m_file; }
    void commit() { m_committed = true; }

private:
    QFile m_file;
    bool m_committed = false;
};

struct SftpFileCloser {
    void operator()(sftp_file file) const { sftp_close(file); }
};
using SftpFile = std::unique_ptr<sftp_file_struct, SftpFileCloser>;

void shutdownSocket(socket_t socket)
{
#ifdef _WIN32
    ::shutdown(socket, SD_BOTH);
#else
    ::shutdown(socket, SHUT_RDWR);
#endif
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith('/'))
        return folder + name;
    return folder + '/' + name;
}

QString keyFingerprint(ssh_key key)
{
    char *base64 = nullptr;
    if (!key || ssh_pki_export_pubkey_base64(key, &base64) != SSH_OK)
        return {};
    const QByteArray blob = QByteArray::fromBase64(QByteArray(base64));
    ssh_string_free_char(base64);
    return SshKnownHostsFile::sha256Fingerprint(blob);
}

} // namespace

SftpProtocol::SftpProtocol(SftpEvents &events, const std::atomic_bool &abortRequested)
    : m_events(events)
    , m_abortRequested(abortRequested)
{
}

SftpProtocol::~SftpProtocol()
{
    closeConnection();
}

void SftpProtocol::closeConnection()
{
    {
        QMutexLocker lock(&m_socketLock);
        m_socket = SSH_INVALID_SOCKET;
    }
    if (m_sftp) {
        sftp_free(m_sftp);
        m_sftp = nullptr;
    }
    if (m_session) {
        ssh_disconnect(m_session);
        ssh_free(m_session);
        m_session = nullptr;
    }
    m_serverKey.reset();
    m_knownHostsFile.clear();
    m_userName.clear();
    m_configIdentityFile.clear();
    m_configNamesIdentity = false;
    m_serverKeyText.clear();
    m_serverBanner.clear();
    m_encryptionText.clear();
    m_lost = false;
}

void SftpProtocol::closeIfLost()
{
    if (m_lost)
        closeConnection();
}

void SftpProtocol::interrupt()
{
    QMutexLocker lock(&m_socketLock);
    if (m_socket != SSH_INVALID_SOCKET)
        shutdownSocket(m_socket);
}

void SftpProtocol::failSession(const QString &what)
{
    const QString reason = m_session ? QString::fromUtf8(ssh_get_error(m_session)) : QString();
    // Closed once the failed call has let go of its file handles (closeIfLost()).
    m_lost = true;
    throw SftpError(reason.isEmpty() ? what : what + QStringLiteral(": ") + reason, SftpError::Kind::Connection);
}

void SftpProtocol::failRequest(const QString &what)
{
    const bool lost = !m_session || !ssh_is_connected(m_session) || !m_sftp || !m_sftp->channel
                      || !ssh_channel_is_open(m_sftp->channel) || ssh_get_error_code(m_session) == SSH_FATAL;
    if (lost)
        failSession(what + QStringLiteral(" (connection lost)"));
    QString reason;
    switch (sftp_get_error(m_sftp)) {
    case SSH_FX_NO_SUCH_FILE:
    case SSH_FX_NO_SUCH_PATH:
        reason = QStringLiteral("no such file or folder");
        break;
    case SSH_FX_PERMISSION_DENIED:
        reason = QStringLiteral("permission denied");
        break;
    case SSH_FX_FILE_ALREADY_EXISTS:
        reason = QStringLiteral("it exists already");
        break;
    case SSH_FX_OP_UNSUPPORTED:
        reason = QStringLiteral("the server does not support this");
        break;
    default:
        reason = QString::fromUtf8(ssh_get_error(m_session));
        reason.remove(QStringLiteral("SFTP server: "));
        break;
    }
    throw SftpError(what + QStringLiteral(": ") + reason, SftpError::Kind::Refused);
}

void SftpProtocol::requireSftp() const
{
    if (!m_sftp)
        throw SftpError(QStringLiteral("Not connected."), SftpError::Kind::Connection);
}

QByteArray SftpProtocol::option(ssh_options_e type) const
{
    char *value = nullptr;
    if (!m_session || ssh_options_get(m_session, type, &value) != SSH_OK || !value)
        return {};
    const QByteArray text(value);
    ssh_string_free_char(value);
    return text;
}

unsigned int SftpProtocol::portInUse() const
{
    unsigned int port = SftpClient::DefaultPort;
    ssh_options_get_port(m_session, &port);
    return port;
}

void SftpProtocol::readSshConfig(const SftpSettings &settings, const QString &sshFolder)
{
    // As ssh reads them: the user's "config" in the SSH folder, then the system's ssh_config, for
    // the host as the site names it (an alias may give HostName, Port, User, IdentityFile,
    // UserKnownHostsFile, ProxyJump). Read once here, not again inside ssh_connect(), so that the
    // site's own fields set afterwards stay.
    bool processAgain = false;
    ssh_options_set(m_session, SSH_OPTIONS_PROCESS_CONFIG, &processAgain);
    const QByteArray identityBefore = option(SSH_OPTIONS_IDENTITY);
    if (ssh_options_parse_config(m_session, nullptr) < 0) {
        const QString reason = QString::fromUtf8(ssh_get_error(m_session));
        const QString file = QDir::toNativeSeparators(sshFolder + QStringLiteral("/config"));
        m_lost = true; // the session is closed behind the failed call
        throw SftpError(reason.isEmpty() ? QStringLiteral("The SSH configuration %1 (or the system's ssh_config) has a line "
                                                          "that cannot be used; no connection was made.")
                                               .arg(file)
                                         : QStringLiteral("The SSH configuration %1 (or the system's ssh_config) cannot be "
                                                          "used: %2; no connection was made.")
                                               .arg(file, reason),
                        SftpError::Kind::Connection);
    }
    // IdentityFile lines go in front of libssh's default key files.
    m_configNamesIdentity = option(SSH_OPTIONS_IDENTITY) != identityBefore;

    // The site's own fields win. Port 22 is every SFTP site's default, so it leaves the
    // configuration's Port in force, as "ssh alias" does.
    if (settings.port != SftpClient::DefaultPort) {
        const unsigned int port = settings.port;
        ssh_options_set(m_session, SSH_OPTIONS_PORT, &port);
    }
    if (!settings.knownHostsFile.isEmpty()) {
        const QByteArray knownHosts = QFile::encodeName(settings.knownHostsFile);
        ssh_options_set(m_session, SSH_OPTIONS_KNOWNHOSTS, knownHosts.constData());
    }
}

SshHostKey SftpProtocol::connect(const SftpSettings &settings)
{
    closeConnection();
    SshHostKey key;
    const QString sshFolder = settings.sshFolder.isEmpty() ? QDir::homePath() + QStringLiteral("/.ssh") : settings.sshFolder;
    key.knownHostsFile = settings.knownHostsFile.isEmpty() ? sshFolder + QStringLiteral("/known_hosts") : settings.knownHostsFile;

    m_session = ssh_new();
    if (!m_session)
        throw SftpError(QStringLiteral("No SSH session could be made."), SftpError::Kind::Connection);
    const QByteArray host = settings.host.toUtf8();
    const QByteArray user = settings.user.toUtf8();
    const QByteArray folder = QFile::encodeName(sshFolder);
    long seconds = settings.timeouts.connectMs / 1000;
    long microseconds = (settings.timeouts.connectMs % 1000) * 1000;
    int noDelay = 1;
    ssh_options_set(m_session, SSH_OPTIONS_HOST, host.constData());
    // libssh keeps a user name set before the configuration is read.
    if (!user.isEmpty())
        ssh_options_set(m_session, SSH_OPTIONS_USER, user.constData());
    ssh_options_set(m_session, SSH_OPTIONS_SSH_DIR, folder.constData());
    readSshConfig(settings, sshFolder);
    const QString site = QString::fromUtf8(option(SSH_OPTIONS_HOST)) + u':' + QString::number(portInUse());
    key.host = QString::fromUtf8(option(SSH_OPTIONS_HOST));
    key.port = quint16(portInUse());
    if (key.host != settings.host || key.port != settings.port)
        m_events.reportStatus(QStringLiteral("Connecting to %1 (%2 in %3)")
                                  .arg(site, settings.host, QDir::toNativeSeparators(sshFolder + QStringLiteral("/config"))));
    else
        m_events.reportStatus(QStringLiteral("Connecting to %1").arg(site));
    if (!settings.globalKnownHostsFile.isEmpty()) {
        const QByteArray global = QFile::encodeName(settings.globalKnownHostsFile);
        ssh_options_set(m_session, SSH_OPTIONS_GLOBAL_KNOWNHOSTS, global.constData());
    }
    if (!settings.agentSocket.isEmpty()) {
        const QByteArray agent = QFile::encodeName(settings.agentSocket);
        ssh_options_set(m_session, SSH_OPTIONS_IDENTITY_AGENT, agent.constData());
    }
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT, &seconds);
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT_USEC, &microseconds);
    ssh_options_set(m_session, SSH_OPTIONS_NODELAY, &noDelay);

    if (ssh_connect(m_session) != SSH_OK)
        failSession(QStringLiteral("The connection to %1 failed").arg(site));
    {
        QMutexLocker lock(&m_socketLock);
        m_socket = ssh_get_fd(m_session);
    }
    // libssh expands the paths ("~", "%d") as it connects.
    if (const QByteArray knownHosts = option(SSH_OPTIONS_KNOWNHOSTS); !knownHosts.isEmpty())
        key.knownHostsFile = QFile::decodeName(knownHosts);
    m_knownHostsFile = key.knownHostsFile;
    m_userName = QString::fromUtf8(option(SSH_OPTIONS_USER));
    if (m_configNamesIdentity)
        m_configIdentityFile = QFile::decodeName(option(SSH_OPTIONS_IDENTITY));
    m_replyTimeoutMs = settings.timeouts.replyMs;
    seconds = settings.timeouts.replyMs / 1000;
    microseconds = (settings.timeouts.replyMs % 1000) * 1000;
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT, &seconds);
    ssh_options_set(m_session, SSH_OPTIONS_TIMEOUT_USEC, &microseconds);

    m_serverBanner = QString::fromUtf8(ssh_get_serverbanner(m_session));
    m_encryptionText = QString::fromLatin1(ssh_get_cipher_out(m_session)) + QStringLiteral(", ")
                       + QString::fromLatin1(ssh_get_kex_algo(m_session));
    ssh_key serverKey = nullptr;
    if (ssh_get_server_publickey(m_session, &serverKey) != SSH_OK)
        failSession(QStringLiteral("The server %1 showed no host key").arg(site));
    m_serverKey.reset(serverKey);
    key.keyType = QString::fromLatin1(ssh_key_type_to_char(ssh_key_type(serverKey)));
    key.fingerprint = keyFingerprint(serverKey);
    char *base64 = nullptr;
    if (ssh_pki_export_pubkey_base64(serverKey, &base64) == SSH_OK) {
        m_serverKeyText = key.keyType + u' ' + QString::fromLatin1(base64);
        ssh_string_free_char(base64);
    }

    judgeHostKey(&key, settings);
    return key;
}

QString SftpProtocol::sessionOption(int option, const QString &fallback) const
{
    char *value = nullptr;
    if (ssh_options_get(m_session, ssh_options_e(option), &value) != SSH_OK || !value)
        return fallback;
    const QString text = QFile::decodeName(value);
    ssh_string_free_char(value);
    return text.isEmpty() ? fallback : text;
}

void SftpProtocol::judgeHostKey(SshHostKey *key, const SftpSettings &settings)
{
    // The files libssh was set up with (the site's settings, or what its configuration chose).
    key->knownHostsFile = sessionOption(SSH_OPTIONS_KNOWNHOSTS, key->knownHostsFile);
    const QString global = sessionOption(
        SSH_OPTIONS_GLOBAL_KNOWNHOSTS,
        settings.globalKnownHostsFile.isEmpty() ? QStringLiteral("/etc/ssh/ssh_known_hosts") : settings.globalKnownHostsFile);
    QList<QByteArray> contents;
    for (const QString &path : {key->knownHostsFile, global}) {
        QFile file(path);
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly)) {
            failSession(QStringLiteral("The known-hosts file %1 cannot be read (%2)")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
        }
        contents.append(file.readAll());
    }
    const QByteArray blob = QByteArray::fromBase64(m_serverKeyText.section(u' ', 1, 1).toLatin1());
    const SshKnownHostsJudge::Verdict verdict = SshKnownHostsJudge::judge(contents, key->hostPattern(), key->keyType, blob);
    key->status = verdict.status;
    key->knownKeyType = verdict.knownKeyType;
    key->knownFingerprint = verdict.knownFingerprint;
}

void SftpProtocol::trustHostKey(const SftpSettings &)
{
    if (!m_session || m_serverKeyText.isEmpty())
        throw SftpError(QStringLiteral("Not connected."), SftpError::Kind::Connection);
    // The host as libssh looks it up ("name", or "[name]:port" on other ports than 22).
    char *entry = nullptr;
    if (ssh_session_export_known_hosts_entry(m_session, &entry) != SSH_OK)
        failSession(QStringLiteral("The host key cannot be written"));
    const QString line = QString::fromUtf8(entry);
    ssh_string_free_char(entry);
    const QString hostPattern = line.section(u' ', 0, 0);
    const QString file = m_knownHostsFile;
    QString error;
    if (!SshKnownHostsFile::appendEntry(file, hostPattern, m_serverKeyText, &error))
        throw SftpError(error, SftpError::Kind::Local);
    m_events.reportStatus(QStringLiteral("Host key of %1 added to %2").arg(hostPattern, QDir::toNativeSeparators(file)));
}

int SftpProtocol::authenticationMethods(const SftpSettings &settings)
{
    if (!m_session)
        throw SftpError(QStringLiteral("Not connected."), SftpError::Kind::Connection);
    const int rc = ssh_userauth_none(m_session, nullptr);
    if (rc == SSH_AUTH_SUCCESS)
        return 0;
    if (rc == SSH_AUTH_ERROR)
        failSession(QStringLiteral("The login of %1 failed").arg(settings.user));
    return ssh_userauth_list(m_session, nullptr);
}

bool SftpProtocol::acceptsPublicKey(ssh_key publicKey)
{
    const int rc = ssh_userauth_try_publickey(m_session, nullptr, publicKey);
    if (rc == SSH_AUTH_ERROR)
        failSession(QStringLiteral("The login failed"));
    return rc == SSH_AUTH_SUCCESS;
}

bool SftpProtocol::authenticatePublicKey(ssh_key privateKey)
{
    const int rc = ssh_userauth_publickey(m_session, nullptr, privateKey);
    if (rc == SSH_AUTH_ERROR)
        failSession(QStringLiteral("The login failed"));
    return rc == SSH_AUTH_SUCCESS;
}

bool SftpProtocol::authenticateAgent(const SftpSettings &settings)
{
    if (settings.agentSocket.isEmpty() && qEnvironmentVariableIsEmpty("SSH_AUTH_SOCK"))
        return false;
    const int rc = ssh_userauth_agent(m_session, nullptr);
    if (rc == SSH_AUTH_ERROR && !ssh_is_connected(m_session))
        failSession(QStringLiteral("The login failed"));
    return rc == SSH_AUTH_SUCCESS;
}

bool SftpProtocol::authenticatePassword(const SftpSettings &settings)
{
    const QByteArray password = settings.password.toUtf8();
    const int methods = ssh_userauth_list(m_session, nullptr);
    if (methods & SSH_AUTH_METHOD_PASSWORD) {
        const int rc = ssh_userauth_password(m_session, nullptr, password.constData());
        if (rc == SSH_AUTH_ERROR)
            failSession(QStringLiteral("The login failed"));
        if (rc == SSH_AUTH_SUCCESS)
            return true;
    }
    if (!(methods & SSH_AUTH_METHOD_INTERACTIVE))
        return false;
    // Keyboard-interactive: the password answers the server's password question.
    int rc = ssh_userauth_kbdint(m_session, nullptr, nullptr);
    for (int round = 0; rc == SSH_AUTH_INFO && round < KeyboardInteractiveRounds; ++round) {
        const int prompts = ssh_userauth_kbdint_getnprompts(m_session);
        for (int i = 0; i < prompts; ++i) {
            char echo = 0;
            ssh_userauth_kbdint_getprompt(m_session, unsigned(i), &echo);
            ssh_userauth_kbdint_setanswer(m_session, unsigned(i), echo ? "" : password.constData());
        }
        rc = ssh_userauth_kbdint(m_session, nullptr, nullptr);
    }
    if (rc == SSH_AUTH_ERROR)
        failSession(QStringLiteral("The login failed"));
    return rc == SSH_AUTH_SUCCESS;
}

QString SftpProtocol::openSftp()
{
    m_sftp = sftp_new(m_session);
    if (!m_sftp)
        failSession(QStringLiteral("The server offers no SFTP"));
    if (sftp_init(m_sftp) != SSH_OK)
        failSession(QStringLiteral("The SFTP channel could not be started"));
    return realPath(QStringLiteral("."));
}

SftpEntry SftpProtocol::entryFrom(sftp_attributes attributes, const QByteArray &rawName, const QByteArray &folder)
{
    SftpEntry entry = SftpAttributesReader::entry(*attributes, rawName);
    if (entry.kind == SftpEntry::Kind::Link) {
        const QByteArray path = joined(folder, entry.rawName);
        if (char *target = sftp_readlink(m_sftp, path.constData())) {
            entry.linkTarget = QString::fromUtf8(target);
            ssh_string_free_char(target);
        }
        if (SftpAttributes reached{sftp_stat(m_sftp, path.constData())})
            entry.linkTargetKind = SftpAttributesReader::kindOf(*reached);
        else if (!ssh_is_connected(m_session))
            failRequest(QStringLiteral("The link %1 cannot be followed").arg(entry.name));
    }
    return entry;
}

QList<SftpEntry> SftpProtocol::list(const QString &folder)
{
    requireSftp();
    const QByteArray path = folder.toUtf8();
    sftp_dir dir = sftp_opendir(m_sftp, path.constData());
    if (!dir)
        failRequest(QStringLiteral("The folder %1 cannot be listed").arg(folder));
    QList<SftpEntry> entries;
    try {
        while (SftpAttributes attributes{sftp_readdir(m_sftp, dir)}) {
            const QByteArray name(attributes->name);
            if (name == "." || name == "..")
                continue;
            entries.append(entryFrom(attributes.get(), name, path));
        }
    } catch (...) {
        if (m_sftp)
            sftp_closedir(dir);
        throw;
    }
    const bool complete = sftp_dir_eof(dir);
    sftp_closedir(dir);
    if (!complete)
        failRequest(QStringLiteral("The listing of %1 broke off").arg(folder));
    return entries;
}

SftpEntry SftpProtocol::entry(const QString &path)
{
    requireSftp();
    const QByteArray bytes = path.toUtf8();
    SftpAttributes attributes{sftp_lstat(m_sftp, bytes.constData())};
    if (!attributes)
        failRequest(QStringLiteral("%1 cannot be read").arg(path));
    const qsizetype slash = bytes.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : (slash == 0 ? QByteArray("/") : bytes.left(slash));
    return entryFrom(attributes.get(), bytes.mid(slash + 1), folder);
}

QString SftpProtocol::realPath(const QString &path)
{
    requireSftp();
    const QByteArray bytes = path.toUtf8();
    char *resolved = sftp_canonicalize_path(m_sftp, bytes.constData());
    if (!resolved)
        failRequest(QStringLiteral("%1 cannot be resolved").arg(path));
    const QString result = QString::fromUtf8(resolved);
    ssh_string_free_char(resolved);
    return result;
}

SftpTransferResult SftpProtocol::download(const QString &remotePath, const QString &localPath)
{
    const QFileInfo local(localPath);
    if (local.exists() || local.isSymLink())
        throw SftpError(QStringLiteral("The local file %1 exists already.").arg(QDir::toNativeSeparators(localPath)),
                        SftpError::Kind::Local);
    requireSftp();
    const QByteArray remote = remotePath.toUtf8();
    SftpFile file{sftp_open(m_sftp, remote.constData(), O_RDONLY, 0)};
    if (!file)
        failRequest(QStringLiteral("%1 cannot be downloaded").arg(remotePath));
    SftpTransferResult result;
    if (SftpAttributes attributes{sftp_fstat(file.get())}) {
        if (SftpAttributesReader::kindOf(*attributes) == SftpEntry::Kind::Folder)
            throw SftpError(QStringLiteral("%1 cannot be downloaded: it is a folder").arg(remotePath),
                            SftpError::Kind::Refused);
        if (attributes->flags & SSH_FILEXFER_ATTR_SIZE)
            result.expectedBytes = qint64(attributes->size);
    }
    NewLocalFile target(localPath);
    if (!target.file().open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw SftpError(QStringLiteral("The local file %1 cannot be created: %2")
                            .arg(QDir::toNativeSeparators(localPath), target.file().errorString()),
                        SftpError::Kind::Local);

    SftpReadPipeline reads(file.get(), ReadChunk, ReadsInFlight, result.expectedBytes);
    SftpProgressThrottle progress(m_events, SftpClient::Direction::Download, result.expectedBytes);
    QFile &out = target.file();
    qint64 bytes = 0;
    qint64 end = 0;
    while (true) {
        if (m_abortRequested) {
            reads.drain();
            throw SftpError(QStringLiteral("Transfer aborted."), SftpError::Kind::Aborted);
        }
        SftpReadPipeline::Piece piece;
        if (!reads.next(&piece))
            failRequest(QStringLiteral("The download of %1 failed").arg(remotePath));
        if (piece.size == 0)
            break;
        if ((out.pos() != qint64(piece.offset) && !out.seek(qint64(piece.offset)))
            || out.write(reads.data(), piece.size) != piece.size)
            throw SftpError(QStringLiteral("The local file %1 cannot be written: %2")
                                .arg(QDir::toNativeSeparators(localPath), out.errorString()),
                            SftpError::Kind::Local);
        bytes += piece.size;
        end = qMax(end, qint64(piece.offset) + piece.size);
        progress.update(bytes);
    }
    if (!target.file().flush() || (target.file().close(), target.file().error() != QFileDevice::NoError))
        throw SftpError(QStringLiteral("The local file %1 cannot be written: %2")
                            .arg(QDir::toNativeSeparators(localPath), target.file().errorString()),
                        SftpError::Kind::Local);
    if (sftp_close(file.release()) != SSH_OK && !ssh_is_connected(m_session))
        failRequest(QStringLiteral("The download of %1 failed").arg(remotePath));
    target.commit();
    result.bytes = end;
    return result;
}

SftpTransferResult SftpProtocol::upload(const QString &localPath, const QString &remotePath)
{
    QFile in(localPath);
    if (!in.open(QIODevice::ReadOnly))
        throw SftpError(QStringLiteral("The local file %1 cannot be read: %2")
                            .arg(QDir::toNativeSeparators(localPath), in.errorString()),
                        SftpError::Kind::Local);
    requireSftp();
    const QByteArray remote = remotePath.toUtf8();
    SftpFile file{sftp_open(m_sftp, remote.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644)};
    if (!file)
        failRequest(QStringLiteral("%1 cannot be uploaded").arg(remotePath));
    SftpTransferResult result;
    result.expectedBytes = in.size();
    SftpProgressThrottle progress(m_events, SftpClient::Direction::Upload, result.expectedBytes);
    SftpWritePipeline pipeline(file.get(), m_replyTimeoutMs);
    while (true) {
        if (m_abortRequested) {
            // What arrived of the file is no file: it goes again.
            if (pipeline.finish() || !pipeline.connectionLost()) {
                sftp_close(file.release());
                sftp_unlink(m_sftp, remote.constData());
            }
            throw SftpError(QStringLiteral("Transfer aborted."), SftpError::Kind::Aborted);
        }
        const qint64 read = in.read(pipeline.pieceBuffer(WriteChunk), WriteChunk);
        if (read < 0) {
            pipeline.finish();
            throw SftpError(QStringLiteral("The local file %1 cannot be read: %2")
                                .arg(QDir::toNativeSeparators(localPath), in.errorString()),
                            SftpError::Kind::Local);
        }
        if (read == 0 || !pipeline.send(quint64(result.bytes), read))
            break;
        result.bytes += read;
        progress.update(result.bytes);
    }
    if (!pipeline.finish()) {
        const QString what = QStringLiteral("The upload of %1 failed").arg(remotePath);
        if (pipeline.connectionLost()) {
            m_lost = true;
            throw SftpError(what + QStringLiteral(" (connection lost): ") + pipeline.failure(), SftpError::Kind::Connection);
        }
        throw SftpError(what + QStringLiteral(": ") + pipeline.failure(), SftpError::Kind::Refused);
    }
    if (sftp_close(file.release()) != SSH_OK)
        failRequest(QStringLiteral("The upload of %1 failed").arg(remotePath));
    return result;
}

void SftpProtocol::deleteFile(const QString &path)
{
    requireSftp();
    if (sftp_unlink(m_sftp, path.toUtf8().constData()) != SSH_OK)
        failRequest(QStringLiteral("%1 cannot be deleted").arg(path));
}

void SftpProtocol::makeDirectory(const QString &path)
{
    requireSftp();
    if (sftp_mkdir(m_sftp, path.toUtf8().constData(), 0777) != SSH_OK)
        failRequest(QStringLiteral("The folder %1 cannot be created").arg(path));
}

void SftpProtocol::removeDirectory(const QString &path)
{
    requireSftp();
    if (sftp_rmdir(m_sftp, path.toUtf8().constData()) != SSH_OK)
        failRequest(QStringLiteral("The folder %1 cannot be removed").arg(path));
}

void SftpProtocol::rename(const QString &from, const QString &to)
{
    requireSftp();
    if (sftp_rename(m_sftp, from.toUtf8().constData(), to.toUtf8().constData()) != SSH_OK)
        failRequest(QStringLiteral("%1 cannot be renamed to %2").arg(from, to));
}

void SftpProtocol::setPermissions(const QString &path, int mode)
{
    requireSftp();
    if (sftp_chmod(m_sftp, path.toUtf8().constData(), mode_t(mode)) != SSH_OK)
        failRequest(QStringLiteral("The permissions of %1 cannot be set").arg(path));
}

qint64 SftpProtocol::size(const QString &path)
{
    requireSftp();
    SftpAttributes attributes{sftp_stat(m_sftp, path.toUtf8().constData())};
    if (!attributes)
        failRequest(QStringLiteral("The size of %1 cannot be read").arg(path));
    return (attributes->flags & SSH_FILEXFER_ATTR_SIZE) ? qint64(attributes->size) : -1;
}

} // namespace Velmora
