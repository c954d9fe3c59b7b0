#include "SftpPasswordServer.h"

#include "PortAnnouncingServer.h"
#include "SshTestServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Velmora::Testing {

namespace {

const QString Python = QStringLiteral("/usr/bin/python3");
const QString KeyGen = QStringLiteral("/usr/bin/ssh-keygen");

QString scriptPath()
{
    return QStringLiteral(VELMORA_TEST_SOURCE_DIR "/tests/support/sftp_password_server.py");
}

} // namespace

SftpPasswordServer::SftpPasswordServer(Method method)
    : m_method(method)
{
}

SftpPasswordServer::~SftpPasswordServer()
{
    stop();
}

bool SftpPasswordServer::isAvailable()
{
    if (!QFileInfo::exists(Python) || !QFileInfo::exists(KeyGen))
        return false;
    bool ok = false;
    SshTestServer::runTool(Python, {QStringLiteral("-c"), QStringLiteral("import asyncssh")}, &ok);
    return ok;
}

bool SftpPasswordServer::start()
{
    stop();
    m_error.clear();
    if (!m_keys.isValid() || !m_files.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    m_hostKey = m_keys.filePath(QStringLiteral("host_key"));
    QFile::remove(m_hostKey);
    QFile::remove(m_hostKey + QStringLiteral(".pub"));
    bool ok = false;
    SshTestServer::runTool(KeyGen,
                           {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("ed25519"), QStringLiteral("-N"),
                            QString(), QStringLiteral("-f"), m_hostKey},
                           &ok);
    if (!ok) {
        m_error = QStringLiteral("ssh-keygen made no host key");
        return false;
    }
    QStringList arguments{scriptPath(),           QStringLiteral("--root"),     root(),
                          QStringLiteral("--host-key"), m_hostKey,              QStringLiteral("--user"),
                          user(),                 QStringLiteral("--password"), password(),
                          QStringLiteral("--host"),     host()};
    if (m_method == Method::KeyboardInteractive)
        arguments << QStringLiteral("--keyboard-interactive");
    m_port = StartPortAnnouncingServer(m_process, arguments, QStringLiteral("SFTP"), m_error);
    return m_port != 0;
}

void SftpPasswordServer::stop()
{
    StopPortAnnouncingServer(m_process);
}

QString SftpPasswordServer::hostKeyFingerprint() const
{
    return SshTestServer::fingerprintOf(m_hostKey + QStringLiteral(".pub"));
}

QString SftpPasswordServer::writeFile(const QString &relativePath, const QByteArray &content) const
{
    return SshTestServer::writeFileUnder(root(), relativePath, content);
}

QByteArray SftpPasswordServer::readFile(const QString &relativePath) const
{
    return SshTestServer::readFileUnder(root(), relativePath);
}

} // namespace Velmora::Testing
