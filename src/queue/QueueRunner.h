#pragma once

#include "EventPump.h"
#include "OverwritePolicy.h"
#include "QueueRow.h"
#include "RecordExecutor.h"
#include "TrafficMonitor.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

namespace Velmora {

class LastQueueStore;
class OverwriteQuestion;
class QueueHost;
class QueueProgressView;
class QueueTableModel;
class MasterFTP;
struct AppContext;
struct WorkControl;

// Runs the queue list: shows its records in the queue grid, keeps "lastqueue.ini" equal to the
// grid, carries the records out one after the other, follows them with the progress texts and
// charts, and ends the run as the user asked (close the program, shut the computer down, the
// batch log). Also the single operations other parts of the program use.
class QueueRunner : public QObject {
    Q_OBJECT
public:
    QueueRunner(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueTableModel &model, LastQueueStore &store,
                QueueHost &host, QueueProgressView &view, QObject *parent = nullptr);
    ~QueueRunner() override;

    // The queue list: the records the next run carries out. Builders replace it or add to it.
    QStringList &queueList() { return m_queueList; }
    void setQueueList(const QStringList &records) { m_queueList = records; }

    OverwritePolicy &overwritePolicy() { return m_policy; }
    TrafficMonitor &traffic() { return m_traffic; }
    RecordExecutor &executor() { return m_executor; }
    MasterFTP &ftp() const { return m_ftp; }
    WorkControl &work() const { return m_work; }
    QueueTableModel &model() { return m_model; }
    LastQueueStore &lastQueue() { return m_store; }
    // Writes "lastqueue.ini" from the grid. A failure is reported (protocol error line and a
    // message naming the file) and returned.
    bool saveLastQueue();
    QueueHost &host() { return *m_host; }
    QueueProgressView &view() { return *m_view; }
    void setQuestion(OverwriteQuestion *question) { m_executor.setQuestion(question); }
    void setHost(QueueHost &host) { m_host = &host; }
    void setView(QueueProgressView &view);
    bool isRunning() const { return m_running; }
    OverwriteQuestion *question() const { return m_executor.question(); }

    // What the last run that carried records out achieved.
    struct RunResult {
        int records = 0;   // records it was to carry out
        int succeeded = 0; // records carried out successfully
        bool allSucceeded() const { return succeeded == records; }
    };
    const RunResult &lastRun() const { return m_lastRun; }

    // Shows the queue list in the grid and, unless displayOnly, carries it out. With displayOnly
    // (automatic running off) the rows are added to the grid and nothing runs. rowsNotRun are
    // grid rows that cannot become records: they stay in the grid (and in "lastqueue.ini") after
    // the records' rows and count as records that did not succeed.
    void RunQueue(bool displayOnly, const QList<QueueRow> &rowsNotRun = {});
    bool ExecuteRecord(const QueueRecord &record) { return m_executor.ExecuteRecord(record); }
    bool RemoteDirExists(const QString &path) { return m_executor.RemoteDirExists(path); }
    void RenameRemote(const QString &oldPath, const QString &newPath) { m_executor.RenameRemote(oldPath, newPath); }
    void SiteChmod(const QString &mode, const QString &path);
    // The ASCII rule; the file name becomes the engine's current item.
    bool IsAsciiFile(const QString &path);

    // One-record runs: they overwrite without asking and leave the rows the grid already has.
    // Each starts with a clear Abort (an Abort of earlier work never cuts it short) and returns
    // whether its record succeeded.
    bool DownloadFile(const QString &remote, const QString &local, const QString &size);
    bool UploadFile(const QString &local, const QString &remote);
    bool MakeRemoteDir(const QString &path);

Q_SIGNALS:
    // The records are in the grid and begin to run.
    void runStarted();
    // Before the record with this index (0-based, blank records not counted) runs.
    void recordStarted(int index);
    void runFinished();

private:
    void run(bool displayOnly, bool keepRows, const QList<QueueRow> &rowsNotRun = {});
    bool runSingle(const QString &record, bool overwriteWithoutQuestion);
    void reportLastQueueFailure(bool withMessage);
    void writeBatchLog(const QDateTime &start, qint64 totalBytes, int files);
    QString text(const QString &english, const QString &german) const;
    QString operationsText(int count) const;

    AppContext &m_context;
    MasterFTP &m_ftp;
    WorkControl &m_work;
    QueueTableModel &m_model;
    LastQueueStore &m_store;
    QueueHost *m_host;
    QueueProgressView *m_view;
    QStringList m_queueList;
    OverwritePolicy m_policy;
    EventPump m_pump;
    TrafficMonitor m_traffic;
    RecordExecutor m_executor;
    bool m_running = false;
    RunResult m_lastRun;
};

} // namespace Velmora
