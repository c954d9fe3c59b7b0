#pragma once

#include "app/CancelToken.h"

#include "TransferStatistics.h"

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <random>

namespace Velmora {

class FtpClient;
class ProtocolLog;
class QueueProgressView;

// Follows the transfers of a queue run: handles the FTP client's work events (byte bar, bytes
// text, Abort during a transfer), takes the traffic ticks of "TrafficTimer" (100 ms) and feeds
// the charts: the traffic line, the cumulative area, the two pies and the four labels.
class TrafficMonitor : public QObject {
    Q_OBJECT
public:
    TrafficMonitor(QueueProgressView &view, ProtocolLog &log, QObject *parent = nullptr);

    TransferStatistics &statistics() { return m_stats; }
    const TransferStatistics &statistics() const { return m_stats; }
    QTimer &timer() { return m_timer; }
    void setView(QueueProgressView &view) { m_view = &view; }

    // The label prefixes in the language of the start: "Traffic:", "Total transfered size:",
    // "Total files:", "Remaining operations:".
    void setLabelPrefixes(const QString &traffic, const QString &fileSize, const QString &files,
                          const QString &operations);
    // The source of the idle values 0 to 4 (tests make it predictable).
    void setRandom(std::function<int()> random) { m_random = std::move(random); }

    // Listens to this client's work events (once per client).
    void attach(FtpClient *client);

    // Also follows these clients, the extra connections of simultaneous transfers: their bytes
    // add up in the traffic line, the area chart, the byte bar and the bytes text, until
    // stopFollowingSessions().
    void followSessions(const QList<FtpClient *> &clients);
    void stopFollowingSessions();
    // How many transfers of the followed clients run now and have moved bytes.
    int movingSessionTransfers() const;

    // cancel: the run's token; Abort during a transfer stops it.
    void startRun(const CancelToken &cancel, bool reset, int records, int files, qint64 totalBytes);
    void beforeRecord();
    void setExpectedSize(qint64 size) { m_stats.expectedSize = size; }
    // Starts the traffic timer (before every transfer and delete).
    void startTimer();
    // One traffic tick: the handler of the timer.
    void tick();
    // The tick of the first record and the one after the last: the traffic label shows 0.
    void idleTick();
    void stopTimer() { m_timer.stop(); }
    // The pies and the files and operations labels.
    void updatePies();

    void handleWorkBegan(qint64 expectedCount);
    void handleWorkProgressed(qint64 bytes);
    void handleWorkEnded();

private:
    void abortIfRequested();
    void sessionProgressed(const FtpClient *client, qint64 bytes);
    void sessionEnded(const FtpClient *client);

    QueueProgressView *m_view;
    CancelToken m_cancel;
    ProtocolLog &m_log;
    TransferStatistics m_stats;
    QTimer m_timer;
    QPointer<FtpClient> m_client;
    QList<QMetaObject::Connection> m_connections;
    QList<QMetaObject::Connection> m_sessionConnections;
    QHash<const FtpClient *, qint64> m_sessionBytes; // what each running session transfer moved
    qint64 m_sessionBytesEnded = 0;                   // what the ended ones moved
    std::mt19937 m_generator{std::random_device{}()};
    std::function<int()> m_random;
    bool m_transferRunning = false;
    bool m_abortSent = false;
    QString m_trafficPrefix = QStringLiteral("Traffic:");
    QString m_fileSizePrefix = QStringLiteral("Total transfered size:");
    QString m_filesPrefix = QStringLiteral("Total files:");
    QString m_operationsPrefix = QStringLiteral("Remaining operations:");
};

} // namespace Velmora
