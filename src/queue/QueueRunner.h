#pragma once

#include "EventPump.h"
#include "OverwritePolicy.h"
#include "QueueRow.h"
#include "RecordExecutor.h"
#include "RunPlan.h"
#include "TrafficMonitor.h"
#include "TransferSession.h"

#include "common/QueueRecord.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <vector>

namespace Velmora {

class LastQueueStore;
class OverwriteQuestion;
class QueueHost;
class QueueProgressView;
class QueueTableModel;
class MasterFTP;
struct AppContext;
struct WorkControl;

// Runs a plan: shows its records in the queue grid, keeps "lastqueue.ini" equal to the grid,
// carries the records out, follows them with the progress texts and charts, and ends the run as
// the user asked (close the program, shut the computer down, the batch log). Also the single
// operations other parts of the program use.
//
// With "Simultaneous transfers" above 1 and more than one download or upload in the plan, the
// transfers run side by side on as many extra connections to the site (TransferSessions, each
// logged in like the engine's), in the order TransferScheduler allows: folders are made before
// files go into them, removed after what is in them, and files deleted or changed after their
// transfer. Everything that is no transfer, and what each transfer needs of the user (the
// overwrite question, one at a time), happens on the engine's connection in this thread, which
// waits for the sessions' reports in between. Each finished record leaves the grid and
// "lastqueue.ini" at once. Abort stops every running transfer; Pause lets them finish and starts
// nothing new. A server that refuses some connections leaves the run with those it accepted.
class QueueRunner : public QObject {
    Q_OBJECT
public:
    QueueRunner(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueTableModel &model, LastQueueStore &store,
                QueueHost &host, QueueProgressView &view, QObject *parent = nullptr);
    ~QueueRunner() override;

    OverwritePolicy &overwritePolicy() { return m_policy; }
    TrafficMonitor &traffic() { return m_traffic; }
    RecordExecutor &executor() { return m_executor; }
    MasterFTP &ftp() const { return m_ftp; }
    WorkControl &work() const { return m_work; }
    LastQueueStore &lastQueue() { return m_store; }
    // Writes "lastqueue.ini" from the grid. A failure is reported (protocol error line and a
    // message naming the file) and returned.
    bool saveLastQueue();
    // Empties the grid and "lastqueue.ini": new work does not join what was gathered earlier.
    // Work that is not done and was not given up stays, though: the rows of a run that is still
    // finishing, and the rows a Pause left for this site (see keepsPausedRows).
    void clearQueue();
    // The grid holds rows a Pause left undone on the site the engine is set to: new work and the
    // automatic emptying of the grid keep them until the user runs, clears or deletes them.
    bool keepsPausedRows() const;
    // The user ran, cleared, deleted or replaced the rows a Pause left.
    void forgetPausedRows() { m_pausedSite.clear(); }
    // While a run goes on (after Pause the window is idle while its transfers finish) no new
    // work can start: says so plainly (a box, and a protocol line) and returns true.
    bool refusesNewWork();
    // Pause reached the running work: the queue texts say that its transfers are finishing.
    void pauseRequested();
    QueueProgressView &view() { return *m_view; }
    void setQuestion(OverwriteQuestion *question) { m_executor.setQuestion(question); }
    void setHost(QueueHost &host) { m_host = &host; }
    void setView(QueueProgressView &view);
    bool isRunning() const { return m_running; }
    OverwriteQuestion *question() const { return m_executor.question(); }

    // Shows the plan's records in the grid and, with automatic running, carries them out.
    // A plan that arrives while a run goes on (from inside its message processing) is refused:
    // nothing is shown or done, and the result says it did not run.
    RunResult RunQueue(const RunPlan &plan);
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
    // A plan's records are in the grid; they run next unless automatic running is off.
    void recordsShown(const QStringList &records);
    // The records are in the grid and begin to run.
    void runStarted();
    // Before the record with this index (0-based, blank records not counted) runs.
    void recordStarted(int index);
    void runFinished();

private:
    // The engine's connection, idle this long while the sessions worked, is tested before its
    // next command: a server may have closed it meanwhile.
    static constexpr qint64 IdleTestMs = 1000;
    // A record of the run and the id of its grid row.
    struct RunStep {
        QueueRecord record;
        quint64 rowId = 0;
    };
    // What the records of a run share while they end one by one.
    struct RunState {
        int records = 0;
        int ended = 0;
        RunResult result;
        bool lastQueueFailed = false;
        bool canConnect = false;
        bool reconnectFailed = false;
        bool showCharts = false;
        QString downloadFolder;
        QString totalFiles;
        // The token of the work the run belongs to: Abort and Pause of that work reach it.
        CancelToken cancel;
    };
    // What the user asked of the running work meanwhile.
    enum class StopRequest { None, Pause, Abort };

    RunResult carryOut(const RunPlan &plan);
    void runOneByOne(const std::vector<RunStep> &steps, RunState &state);
    // False when no extra connection could be made: nothing ran.
    bool runSimultaneously(const std::vector<RunStep> &steps, RunState &state, int sessions);
    // The figures, the grid and "lastqueue.ini" after a record ended.
    // failure: the protocol line of a record that failed (empty: none was written).
    void recordEnded(const RunStep &step, bool ok, qint64 correctedSize, RunState &state, const QString &failure = {});
    // A connection lost by an earlier record is made again once, silently where it works.
    void reconnectIfLost(RunState &state);
    static StopRequest stopRequested(const RunState &state);
    SessionLogin sessionLogin() const;
    // "user@host:port" of the engine's connection data.
    QString siteText() const;
    bool runSingle(const QString &record, bool overwriteWithoutQuestion);
    void reportLastQueueFailure(bool withMessage);
    void writeBatchLog(const BatchRunInfo &batch, const QDateTime &start, qint64 totalBytes, int files);
    QString text(const QString &english, const QString &german) const;
    QString operationsText(int count) const;

    AppContext &m_context;
    MasterFTP &m_ftp;
    WorkControl &m_work;
    QueueTableModel &m_model;
    LastQueueStore &m_store;
    QueueHost *m_host;
    QueueProgressView *m_view;
    OverwritePolicy m_policy;
    EventPump m_pump;
    TrafficMonitor m_traffic;
    RecordExecutor m_executor;
    bool m_running = false;
    // "user@host:port" of the run a Pause stopped while its rows were left in the grid.
    QString m_pausedSite;
};

} // namespace Velmora
