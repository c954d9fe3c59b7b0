#include "ProftpdTestServer.h"

#include "ServedFolder.h"

#include "PortAnnouncingServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace Velmora::Testing {

ProftpdTestServer::ProftpdTestServer()
    : ProftpdTestServer(Setup())
{
}

ProftpdTestServer::ProftpdTestServer(Setup setup)
    : m_setup(std::move(setup))
{
}

ProftpdTestServer::~ProftpdTestServer()
{
    stop();
}

bool ProftpdTestServer::needsRoot()
{
    return ::getuid() != 0;
}

bool ProftpdTestServer::start()
{
    stop();
    m_error.clear();
    if (needsRoot()) {
        m_error = QStringLiteral("proftpd needs root to change its user and chroot");
        return false;
    }
    // The served folder must be reachable for the user proftpd runs as.
    QFile::setPermissions(m_root.path(), QFile::Permissions(0x7755));
    QStringList arguments{QStringLiteral(VELMORA_TEST_SOURCE_DIR "/tests/support/proftpd_test_server.py"),
                          QStringLiteral("--root"), m_root.path(), QStringLiteral("--work"), m_work.path(),
                          QStringLiteral("--user"), m_setup.user, QStringLiteral("--password"), m_setup.password};
    if (m_setup.idleTimeoutSeconds > 0)
        arguments << QStringLiteral("--idle-timeout") << QString::number(m_setup.idleTimeoutSeconds);
    if (m_setup.allowStoreRestart)
        arguments << QStringLiteral("--allow-store-restart");
    if (m_setup.rateKiB > 0)
        arguments << QStringLiteral("--rate-kib") << QString::number(m_setup.rateKiB);
    if (!m_setup.commandLog.isEmpty())
        arguments << QStringLiteral("--command-log") << m_setup.commandLog;
    if (m_fixedPort != 0)
        arguments << QStringLiteral("--port") << QString::number(m_fixedPort);
    m_port = StartPortAnnouncingServer(m_process, arguments, QStringLiteral("proftpd"), m_error);
    return m_port != 0;
}

void ProftpdTestServer::stop()
{
    StopPortAnnouncingServer(m_process);
}

bool ProftpdTestServer::restart()
{
    m_fixedPort = m_port;
    const bool started = start();
    m_fixedPort = 0;
    return started;
}

QString ProftpdTestServer::localPath(const QString &relativePath) const
{
    return m_root.path() + u'/' + relativePath;
}

QString ProftpdTestServer::writeFile(const QString &relativePath, const QByteArray &content) const
{
    return WriteServedFile(m_root.path(), relativePath, content);
}

QByteArray ProftpdTestServer::readFile(const QString &relativePath) const
{
    return ReadServedFile(m_root.path(), relativePath);
}

} // namespace Velmora::Testing
