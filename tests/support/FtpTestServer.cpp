#include "FtpTestServer.h"

#include "ServedFolder.h"

#include "PortAnnouncingServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

namespace Velmora::Testing {

FtpTestServer::FtpTestServer()
    : FtpTestServer(Setup())
{
}

FtpTestServer::FtpTestServer(Setup setup)
    : m_setup(std::move(setup))
{
}

FtpTestServer::~FtpTestServer()
{
    stop();
}

QString FtpTestServer::scriptPath()
{
    return QStringLiteral(VELMORA_TEST_SOURCE_DIR "/tests/support/ftp_test_server.py");
}

bool FtpTestServer::hasIpv6Loopback()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHostIPv6, 0);
}

bool FtpTestServer::start(quint16 port)
{
    stop();
    m_error.clear();
    if (!m_root.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    QStringList arguments{scriptPath(),         QStringLiteral("--root"), m_root.path(),
                          QStringLiteral("--user"), m_setup.user,          QStringLiteral("--password"),
                          m_setup.password,      QStringLiteral("--host"), m_setup.host,
                          QStringLiteral("--port"), QString::number(port)};
    if (m_setup.refuseEpsv)
        arguments << QStringLiteral("--no-epsv");
    if (m_setup.refusePassive)
        arguments << QStringLiteral("--no-passive");
    if (m_setup.holdTransfersAfter > 0)
        arguments << QStringLiteral("--hold-after") << QString::number(m_setup.holdTransfersAfter);
    if (!m_setup.releaseFile.isEmpty())
        arguments << QStringLiteral("--release-file") << m_setup.releaseFile;
    if (!m_setup.tls.isEmpty())
        arguments << QStringLiteral("--tls") << m_setup.tls << QStringLiteral("--certificate") << m_setup.certificateFile;
    if (m_setup.requireSessionReuse)
        arguments << QStringLiteral("--require-session-reuse");
    if (m_setup.outdatedTlsOnly)
        arguments << QStringLiteral("--outdated-tls-only");
    if (!m_setup.commandLog.isEmpty())
        arguments << QStringLiteral("--command-log") << m_setup.commandLog;
    if (m_setup.refuseRest)
        arguments << QStringLiteral("--no-rest");
    if (!m_setup.orderLog.isEmpty())
        arguments << QStringLiteral("--order-log") << m_setup.orderLog;
    if (m_setup.maxConnectionsPerIp > 0)
        arguments << QStringLiteral("--max-connections-per-ip") << QString::number(m_setup.maxConnectionsPerIp);
    m_port = StartPortAnnouncingServer(m_process, arguments, QStringLiteral("FTP"), m_error);
    return m_port != 0;
}

void FtpTestServer::stop()
{
    StopPortAnnouncingServer(m_process);
}

bool FtpTestServer::restart()
{
    const quint16 port = m_port;
    stop();
    return start(port);
}

bool FtpTestServer::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

QString FtpTestServer::localPath(const QString &relativePath) const
{
    return m_root.path() + u'/' + relativePath;
}

QString FtpTestServer::writeFile(const QString &relativePath, const QByteArray &content) const
{
    return WriteServedFile(m_root.path(), relativePath, content);
}

QByteArray FtpTestServer::readFile(const QString &relativePath) const
{
    return ReadServedFile(m_root.path(), relativePath);
}

} // namespace Velmora::Testing
