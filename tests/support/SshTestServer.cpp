#include "SshTestServer.h"

#include "ServedFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace Velmora::Testing {

namespace {

const QString Sshd = QStringLiteral("/usr/sbin/sshd");

quint16 freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

// The processes below pid, deepest first.
QList<qint64> descendants(qint64 pid)
{
    QList<qint64> result;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks.filePath(task + QStringLiteral("/children")));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &child : children.readAll().split(' ')) {
            const qint64 childPid = child.trimmed().toLongLong();
            if (childPid <= 0)
                continue;
            result += descendants(childPid);
            result.append(childPid);
        }
    }
    return result;
}

} // namespace

SshTestServer::SshTestServer()
    : SshTestServer(Setup())
{
}

SshTestServer::SshTestServer(Setup setup)
    : m_setup(std::move(setup))
{
}

SshTestServer::~SshTestServer()
{
    stop();
}

bool SshTestServer::isAvailable()
{
    return QFileInfo::exists(Sshd) && QFileInfo::exists(QStringLiteral("/usr/bin/ssh-keygen"));
}

QByteArray SshTestServer::runTool(const QString &program, const QStringList &arguments, bool *ok,
                                  const QStringList &environment)
{
    QProcess process;
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &pair : environment)
            env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        process.setProcessEnvironment(env);
    }
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    const bool finished = process.waitForFinished(60000);
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return process.readAllStandardOutput();
}

QString SshTestServer::makeUserKey(const QString &name, const QString &type, const QString &passphrase, bool authorize)
{
    const QString file = m_keys.filePath(name);
    QFile::remove(file);
    QFile::remove(file + QStringLiteral(".pub"));
    bool ok = false;
    runTool(QStringLiteral("/usr/bin/ssh-keygen"),
            {QStringLiteral("-q"), QStringLiteral("-t"), type, QStringLiteral("-N"), passphrase, QStringLiteral("-C"),
             QStringLiteral("velmora-test"), QStringLiteral("-f"), file},
            &ok);
    if (!ok)
        return {};
    if (authorize) {
        QFile keys(m_keys.filePath(QStringLiteral("authorized_keys")));
        QFile publicKey(file + QStringLiteral(".pub"));
        if (!keys.open(QIODevice::Append) || !publicKey.open(QIODevice::ReadOnly))
            return {};
        keys.write(publicKey.readAll());
    }
    return file;
}

bool SshTestServer::writeConfig()
{
    QFile config(m_keys.filePath(QStringLiteral("sshd_config")));
    if (!config.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QString text = QStringLiteral("Port %1\n"
                                        "ListenAddress 127.0.0.1\n"
                                        "HostKey %2\n"
                                        "AuthorizedKeysFile %3\n"
                                        "UsePAM no\n"
                                        "PidFile none\n"
                                        "StrictModes no\n"
                                        "PermitRootLogin prohibit-password\n"
                                        "PasswordAuthentication yes\n"
                                        "KbdInteractiveAuthentication no\n"
                                        "MaxAuthTries 20\n"
                                        "Subsystem sftp internal-sftp\n")
                             .arg(m_port)
                             .arg(m_hostKey, m_keys.filePath(QStringLiteral("authorized_keys")));
    return config.write(text.toUtf8()) > 0;
}

bool SshTestServer::start()
{
    stop();
    m_error.clear();
    if (!isAvailable()) {
        m_error = QStringLiteral("OpenSSH's sshd is not installed");
        return false;
    }
    if (!m_keys.isValid() || !m_files.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    bool ok = false;
    m_user = QString::fromLocal8Bit(runTool(QStringLiteral("/usr/bin/id"), {QStringLiteral("-un")}, &ok)).trimmed();
    if (!ok || m_user.isEmpty()) {
        m_error = QStringLiteral("the user name is unknown");
        return false;
    }
    m_hostKeyType = m_setup.hostKeyType;
    m_hostKey = m_keys.filePath(QStringLiteral("host_key"));
    QFile::remove(m_hostKey);
    runTool(QStringLiteral("/usr/bin/ssh-keygen"),
            {QStringLiteral("-q"), QStringLiteral("-t"), m_hostKeyType, QStringLiteral("-N"), QString(),
             QStringLiteral("-f"), m_hostKey},
            &ok);
    if (!ok) {
        m_error = QStringLiteral("ssh-keygen made no host key");
        return false;
    }
    m_userKey = makeUserKey(QStringLiteral("user_key"), QStringLiteral("ed25519"), QString(), true);
    if (m_userKey.isEmpty()) {
        m_error = QStringLiteral("ssh-keygen made no user key");
        return false;
    }
    // Run as root, sshd needs its privilege separation folder.
    if (::geteuid() == 0)
        QDir().mkpath(QStringLiteral("/run/sshd"));
    m_port = freePort();
    return launch();
}

bool SshTestServer::launch()
{
    if (m_port == 0 || !writeConfig()) {
        m_error = QStringLiteral("no free port or no configuration");
        return false;
    }
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardInputFile(QProcess::nullDevice());
    // sshd does not end with its standard input: it is told to end when the test process dies.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process.start(Sshd, {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"),
                           m_keys.filePath(QStringLiteral("sshd_config"))});
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("sshd did not start: ") + m_process.errorString();
        return false;
    }
    QByteArray output;
    QDeadlineTimer deadline(15000);
    while (!output.contains("Server listening on") && !deadline.hasExpired()
           && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(100);
        output += m_process.readAllStandardError();
    }
    if (!output.contains("Server listening on")) {
        m_error = QStringLiteral("sshd did not start: ") + QString::fromLocal8Bit(output);
        stop();
        return false;
    }
    return true;
}

void SshTestServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    dropConnections();
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool SshTestServer::changeHostKey(const QString &type)
{
    stop();
    m_hostKeyType = type;
    QFile::remove(m_hostKey);
    QFile::remove(m_hostKey + QStringLiteral(".pub"));
    bool ok = false;
    runTool(QStringLiteral("/usr/bin/ssh-keygen"),
            {QStringLiteral("-q"), QStringLiteral("-t"), type, QStringLiteral("-N"), QString(), QStringLiteral("-f"),
             m_hostKey},
            &ok);
    return ok && launch();
}

void SshTestServer::dropConnections()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    for (const qint64 pid : descendants(m_process.processId()))
        ::kill(pid_t(pid), SIGKILL);
}

void SshTestServer::pauseConnections(bool paused)
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    for (const qint64 pid : descendants(m_process.processId()))
        ::kill(pid_t(pid), paused ? SIGSTOP : SIGCONT);
}

QByteArray SshTestServer::hostPublicKey() const
{
    QFile file(m_hostKey + QStringLiteral(".pub"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().trimmed();
}

QString SshTestServer::fingerprintOf(const QString &publicKeyFile)
{
    // "256 SHA256:... comment (ED25519)"
    const QByteArray line = runTool(QStringLiteral("/usr/bin/ssh-keygen"),
                                    {QStringLiteral("-l"), QStringLiteral("-E"), QStringLiteral("sha256"),
                                     QStringLiteral("-f"), publicKeyFile});
    return QString::fromLatin1(line.split(' ').value(1));
}

QString SshTestServer::writeFileUnder(const QString &root, const QString &relativePath, const QByteArray &content)
{
    return WriteServedFile(root, relativePath, content);
}

QByteArray SshTestServer::readFileUnder(const QString &root, const QString &relativePath)
{
    return ReadServedFile(root, relativePath);
}

QString SshTestServer::hostKeyFingerprint() const
{
    return fingerprintOf(m_hostKey + QStringLiteral(".pub"));
}

QString SshTestServer::writeFile(const QString &relativePath, const QByteArray &content) const
{
    return writeFileUnder(root(), relativePath, content);
}

QByteArray SshTestServer::readFile(const QString &relativePath) const
{
    return readFileUnder(root(), relativePath);
}

} // namespace Velmora::Testing
