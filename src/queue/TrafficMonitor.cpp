#include "TrafficMonitor.h"

#include "QueueProgressView.h"

#include "app/ProtocolLog.h"
#include "engine/ftp/FtpClient.h"

#include <algorithm>

namespace Velmora {

TrafficMonitor::TrafficMonitor(QueueProgressView &view, ProtocolLog &log, QObject *parent)
    : QObject(parent)
    , m_view(&view)
    , m_log(log)
{
    m_timer.setObjectName(QStringLiteral("TrafficTimer"));
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &TrafficMonitor::tick);
    m_random = [this] { return std::uniform_int_distribution<int>(0, 4)(m_generator); };
}

void TrafficMonitor::setLabelPrefixes(const QString &traffic, const QString &fileSize, const QString &files,
                                      const QString &operations)
{
    m_trafficPrefix = traffic;
    m_fileSizePrefix = fileSize;
    m_filesPrefix = files;
    m_operationsPrefix = operations;
}

void TrafficMonitor::attach(FtpClient *client)
{
    if (client == m_client)
        return;
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_client = client;
    if (!client)
        return;
    m_connections << connect(client, &FtpClient::workBegan, this,
                             [this](FtpClient::Direction, qint64 expected) { handleWorkBegan(expected); });
    m_connections << connect(client, &FtpClient::workProgressed, this,
                             [this](FtpClient::Direction, qint64 bytes) { handleWorkProgressed(bytes); });
    m_connections << connect(client, &FtpClient::workEnded, this, [this](FtpClient::Direction) { handleWorkEnded(); });
}

void TrafficMonitor::followSessions(const QList<FtpClient *> &clients)
{
    stopFollowingSessions();
    m_stats.beforeRecord();
    for (FtpClient *client : clients) {
        m_sessionConnections << connect(client, &FtpClient::workBegan, this, [this, client](FtpClient::Direction, qint64 expected) {
            m_sessionBytes.insert(client, 0);
            m_stats.sessionWorkBegan(expected);
        });
        m_sessionConnections << connect(client, &FtpClient::workProgressed, this,
                                        [this, client](FtpClient::Direction, qint64 bytes) { sessionProgressed(client, bytes); });
        m_sessionConnections << connect(client, &FtpClient::workEnded, this, [this, client] { sessionEnded(client); });
    }
}

void TrafficMonitor::stopFollowingSessions()
{
    for (const QMetaObject::Connection &c : std::as_const(m_sessionConnections))
        disconnect(c);
    m_sessionConnections.clear();
    m_sessionBytes.clear();
    m_sessionBytesEnded = 0;
}

int TrafficMonitor::movingSessionTransfers() const
{
    return int(std::count_if(m_sessionBytes.cbegin(), m_sessionBytes.cend(), [](qint64 moved) { return moved > 0; }));
}

void TrafficMonitor::sessionProgressed(const FtpClient *client, qint64 bytes)
{
    m_sessionBytes.insert(client, bytes);
    qint64 total = m_sessionBytesEnded;
    for (const qint64 moved : std::as_const(m_sessionBytes))
        total += moved;
    const QString text = m_stats.sessionsProgressed(total);
    m_view->setByteBar(m_stats.barMaximum, m_stats.barPosition);
    m_view->setBytesText(text);
}

void TrafficMonitor::sessionEnded(const FtpClient *client)
{
    m_sessionBytesEnded += m_sessionBytes.take(client);
}

void TrafficMonitor::startRun(const CancelToken &cancel, bool reset, int records, int files, qint64 totalBytes)
{
    m_cancel = cancel;
    m_view->clearPies();
    m_stats.startRun(reset, records, files, totalBytes);
    if (reset)
        m_view->clearTrafficSeries();
}

void TrafficMonitor::beforeRecord()
{
    m_stats.beforeRecord();
    m_abortSent = false;
}

void TrafficMonitor::startTimer()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void TrafficMonitor::tick()
{
    const TransferStatistics::Tick t = m_stats.tick(m_random);
    m_view->addTrafficPoint(t.label, t.rate, t.cumulativeKB);
    m_view->setTrafficLabel(TransferStatistics::trafficText(m_trafficPrefix, t.rate));
    m_view->setFileSizeLabel(m_stats.fileSizeText(m_fileSizePrefix));
    // A transfer that has stalled sends no work events; Abort still reaches it here.
    if (m_transferRunning)
        abortIfRequested();
}

void TrafficMonitor::idleTick()
{
    tick();
    m_view->setTrafficLabel(TransferStatistics::trafficText(m_trafficPrefix, 0));
}

void TrafficMonitor::updatePies()
{
    m_view->setPies(m_stats.filesInQueue - m_stats.filesDone, m_stats.filesDone,
                    m_stats.recordsInQueue - m_stats.recordsDone, m_stats.recordsDone);
    m_view->setFilesLabel(m_stats.filesText(m_filesPrefix));
    m_view->setOperationsLabel(m_stats.operationsText(m_operationsPrefix));
}

void TrafficMonitor::handleWorkBegan(qint64 expectedCount)
{
    m_transferRunning = true;
    m_stats.workBegan(expectedCount);
    m_view->setByteBar(m_stats.barMaximum, m_stats.barPosition);
}

void TrafficMonitor::handleWorkProgressed(qint64 bytes)
{
    const QString text = m_stats.workProgressed(bytes);
    m_view->setByteBar(m_stats.barMaximum, m_stats.barPosition);
    m_view->setBytesText(text);
    abortIfRequested();
}

void TrafficMonitor::handleWorkEnded()
{
    m_transferRunning = false;
    m_stats.workEnded();
    m_view->setByteBar(m_stats.barMaximum, m_stats.barPosition);
}

void TrafficMonitor::abortIfRequested()
{
    if (!m_cancel.isCancelled() || m_abortSent || !m_client)
        return;
    m_abortSent = true;
    m_log.AddProtocolMessage(ProtocolEntry::Error, QStringLiteral("Transfer aborted"));
    m_client->abort();
}

} // namespace Velmora
