#include "QueueRunner.h"

#include "AsciiFileRule.h"
#include "BatchLog.h"
#include "LastQueueStore.h"
#include "QueueHost.h"
#include "QueueProgressView.h"
#include "QueueRecord.h"
#include "QueueTableModel.h"
#include "TransferScheduler.h"
#include "TransferSessions.h"

#include "app/AppContext.h"
#include "app/BatchSwitch.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "common/Language.h"
#include "common/RemotePath.h"
#include "common/SizeText.h"
#include "engine/MasterFTP.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <map>
#include <vector>

namespace Velmora {

namespace {

bool isTransfer(QueueCommand command)
{
    return command == QueueCommand::Retr || command == QueueCommand::Stor;
}

const QString FourBlanks = QStringLiteral("    ");

} // namespace

QueueRunner::QueueRunner(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueTableModel &model, LastQueueStore &store, QueueHost &host,
                         QueueProgressView &view, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_ftp(ftp)
    , m_work(work)
    , m_model(model)
    , m_store(store)
    , m_host(&host)
    , m_view(&view)
    , m_traffic(view, context.protocol)
    , m_executor(context, ftp, m_policy, m_traffic, m_pump)
{
    setObjectName(QStringLiteral("QueueRunner"));
    m_policy.applyAllwaysOverwrite(context.options.data().allwaysOverwrite);
}

QueueRunner::~QueueRunner() = default;

void QueueRunner::setView(QueueProgressView &view)
{
    m_view = &view;
    m_traffic.setView(view);
}

QString QueueRunner::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

bool QueueRunner::saveLastQueue()
{
    if (m_store.save(m_model))
        return true;
    reportLastQueueFailure(true);
    return false;
}

void QueueRunner::reportLastQueueFailure(bool withMessage)
{
    const QString message = text(QStringLiteral("The queue could not be written to %1. After a restart the queue may differ from the grid."),
                                 QString::fromUtf8("Die Warteschlange konnte nicht in %1 geschrieben werden. Nach einem Neustart kann sie vom Raster abweichen."))
                                .arg(m_store.path());
    m_context.protocol.AddProtocolMessage(ProtocolEntry::Error, message);
    if (withMessage && !m_host->isBatchMode())
        m_context.prompts.error(message);
}

QString QueueRunner::operationsText(int count) const
{
    return FourBlanks + QString::number(count) + text(QStringLiteral(" operations"), QStringLiteral(" Operationen"));
}

void QueueRunner::clearQueue()
{
    if (m_running || keepsPausedRows())
        return;
    m_pausedSite.clear();
    m_model.clear();
    saveLastQueue();
}

QString QueueRunner::siteText() const
{
    return m_ftp.user() + u'@' + m_ftp.host() + u':' + m_ftp.port();
}

bool QueueRunner::keepsPausedRows() const
{
    return !m_pausedSite.isEmpty() && !m_model.isEmpty() && m_pausedSite == siteText();
}

bool QueueRunner::refusesNewWork()
{
    if (!m_running)
        return false;
    const QString message =
        m_work.cancel.isPauseRequested()
            ? text(QStringLiteral("Transfers are still finishing after Pause. New work can start when they have ended."),
                   QString::fromUtf8("Nach der Pause laufen noch Übertragungen zu Ende. Neue Arbeit kann beginnen, "
                                     "wenn sie beendet sind."))
            : text(QStringLiteral("The queue is running. New work can start when it has ended."),
                   QString::fromUtf8("Die Warteschlange läuft. Neue Arbeit kann beginnen, wenn sie beendet ist."));
    m_context.protocol.AddProtocolMessage(ProtocolEntry::Status, message);
    if (!m_host->isBatchMode())
        m_context.prompts.information(message);
    return true;
}

void QueueRunner::pauseRequested()
{
    if (m_running)
        m_view->setQueueInfoText(FourBlanks
                                 + text(QStringLiteral("Pause: the running transfers are finishing"),
                                        QString::fromUtf8("Pause: läuft aus")));
}

RunResult QueueRunner::RunQueue(const RunPlan &plan)
{
    if (m_running)
        return {}; // a second run started from inside this one's message processing
    m_running = true;
    const struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_running};
    return carryOut(plan);
}

RunResult QueueRunner::carryOut(const RunPlan &plan)
{
    const QDateTime start = QDateTime::currentDateTime();

    // Without a host there is nothing to connect to; the records then fail without a message.
    const bool canConnect = !m_ftp.host().isEmpty();
    if (canConnect)
        m_ftp.EnsureConnected();
    // New work replaces what the grid held, but never the rows a Pause left on this site.
    if (plan.autoRun && !plan.keepRows && !keepsPausedRows()) {
        m_pausedSite.clear();
        m_model.clear();
    }

    // Grid fill. Blank records get no row and do not run.
    std::vector<RunStep> steps;
    steps.reserve(size_t(plan.records.size()));
    QList<QueueRow> rows;
    rows.reserve(plan.records.size());
    const QString now = m_model.nowText();
    qint64 totalBytes = 0;
    int files = 0;
    for (const QString &record : std::as_const(plan.records)) {
        QueueRecord parsed = QueueRecord::parse(record);
        if (parsed.isBlank())
            continue;
        rows.append(RowFromRecord(record, now));
        totalBytes += rows.last().sizeBytes();
        if (isTransfer(parsed.command))
            ++files;
        steps.push_back({std::move(parsed), 0});
    }
    const quint64 firstId = m_model.appendRows(rows);
    for (size_t i = 0; i < steps.size(); ++i)
        steps[i].rowId = firstId + i;
    // Rows that cannot run keep their place in the queue: they are work not done.
    if (!plan.rowsNotRun.isEmpty())
        m_model.appendRows(plan.rowsNotRun);
    saveLastQueue();
    const int records = int(steps.size());
    m_view->setQueueInfoText(operationsText(records));
    m_view->setQueueSizeText(FourBlanks + FormatSizeLong(totalBytes));

    const QString totalFiles = text(QStringLiteral("Total files: "), QStringLiteral("Dateien gesamt: "));
    m_view->setBytesText(QStringLiteral("Bytes: -"));
    if (m_context.options.data().logfiles)
        m_context.protocol.WriteLogFile(QStringLiteral("ftp_job_list.log"), plan.records);
    m_view->setOverallProgress(0, totalFiles + QStringLiteral("0 / ") + QString::number(records)
                                      + QStringLiteral("   (0%)"));
    m_view->setProgressPanelVisible(true);
    Q_EMIT recordsShown(plan.records);
    RunResult result;
    result.records = records + int(plan.rowsNotRun.size());
    if (!plan.autoRun)
        return result;
    result.ran = true;

    // The run keeps the token of the work it belongs to: Abort and Pause of that work reach it,
    // whatever else starts meanwhile.
    CancelToken cancel = m_work.cancel;
    m_traffic.attach(&m_ftp.client());
    const bool resetCharts = m_context.options.data().resetCharts;
    const bool showCharts = m_context.options.data().showCharts;
    m_traffic.startRun(cancel, resetCharts, records, files, totalBytes);
    TransferStatistics &stats = m_traffic.statistics();
    m_executor.startRun(cancel);
    // Files the user opens or sends back himself are overwritten without the question; the
    // queue's own setting comes back after the run.
    const OverwritePolicy savedPolicy = m_policy;
    if (plan.overwriteWithoutQuestion) {
        m_policy.ask = false;
        m_policy.scope = OverwritePolicy::Scope::Always;
        // A "Skip" remembered from a queue must not keep a file the user opens from being fetched.
        m_policy.action = OverwritePolicy::Action::Overwrite;
    }
    RunState state;
    state.records = records;
    state.result = result;
    state.canConnect = canConnect;
    state.reconnectFailed = canConnect && !m_executor.isConnected();
    state.showCharts = showCharts;
    state.downloadFolder = m_context.folders.downloadFolder();
    state.totalFiles = totalFiles;
    state.cancel = cancel;
    Q_EMIT runStarted();

    const int sessions = m_context.options.data().simultaneousTransfers;
    // No more connections than there are transfers to carry out.
    if (sessions < 2 || files < 2 || !canConnect || !m_executor.isConnected()
        || !runSimultaneously(steps, state, qMin(sessions, files)))
        runOneByOne(steps, state);
    result = state.result;
    const bool paused = state.cancel.isPauseRequested() && !state.cancel.isCancelled();
    state.cancel.endPause(); // a Pause ends this run only

    m_traffic.idleTick();
    m_traffic.stopTimer();
    if (!plan.keepQueueTexts) {
        m_view->setQueueSizeText(QString());
        m_view->setQueueInfoText(QString());
    }
    m_view->setOverallProgress(0, totalFiles + QStringLiteral("0 / 0"));
    m_view->setProgressPanelVisible(false);
    if (plan.overwriteWithoutQuestion)
        m_policy = savedPolicy;
    else
        m_policy.endRun(m_executor.questionAborted());
    if (!m_store.compact(m_model))
        reportLastQueueFailure(false);
    if (paused && !m_model.isEmpty()) {
        m_pausedSite = siteText();
        m_view->setQueueInfoText(operationsText(m_model.rowCount()));
    }
    Q_EMIT runFinished();

    // An unattended job ends itself as its switch says, once what follows the run is done.
    if (plan.batch)
        writeBatchLog(*plan.batch, plan.batch->start.isValid() ? plan.batch->start : start, stats.totalBytesAtStart,
                      stats.filesInQueue);
    if (m_host->closeAfterRunChecked())
        m_host->endProgram();
    else if (m_host->shutdownAfterRunChecked())
        m_host->shutdownComputer();
    QCoreApplication::processEvents();
    return result;
}

QueueRunner::StopRequest QueueRunner::stopRequested(const RunState &state)
{
    if (state.cancel.isCancelled())
        return StopRequest::Abort;
    return state.cancel.isPauseRequested() ? StopRequest::Pause : StopRequest::None;
}

void QueueRunner::reconnectIfLost(RunState &state)
{
    if (state.canConnect && !state.reconnectFailed && !m_executor.isConnected()) {
        m_ftp.EnsureConnected();
        state.reconnectFailed = !m_executor.isConnected();
    }
}

void QueueRunner::runOneByOne(const std::vector<RunStep> &steps, RunState &state)
{
    for (int i = 0; i < state.records; ++i) {
        const RunStep &step = steps[size_t(i)];
        const QueueRecord &r = step.record;
        Q_EMIT recordStarted(i);
        if (i == 0) {
            m_traffic.idleTick();
            m_traffic.updatePies();
        }
        m_traffic.beforeRecord();
        if (state.showCharts && isTransfer(r.command))
            m_view->showCharts();
        reconnectIfLost(state);
        const bool ok = m_executor.ExecuteRecord(r);
        recordEnded(step, ok, m_executor.correctedSize(), state, m_executor.lastFailure());
        m_pump.pump();
        if (stopRequested(state) != StopRequest::None)
            break;
    }
}

SessionLogin QueueRunner::sessionLogin() const
{
    const FtpClient &client = m_ftp.client();
    SessionLogin login;
    login.host = client.host();
    login.port = client.port();
    login.user = m_ftp.user();
    login.password = m_ftp.password();
    login.passive = m_ftp.activeMode() == 0;
    login.encryption = m_ftp.encryption();
    login.timeouts = client.timeouts();
    login.keyFile = m_ftp.keyFile();
    login.appDataFolder = m_context.folders.appDataFolder;
    login.acceptedThisRun = client.acceptedThisRun();
    return login;
}

bool QueueRunner::runSimultaneously(const std::vector<RunStep> &steps, RunState &state, int sessions)
{
    TransferSessions pool;
    connect(&pool, &TransferSessions::logLine, this,
            [this](int kind, const QString &line) { m_context.protocol.AddProtocolMessage(kind, line); });
    const int opened = pool.open(sessions, sessionLogin(), m_executor.moverSetup());
    for (const QString &refusal : pool.refusals()) {
        m_context.protocol.AddProtocolMessage(ProtocolEntry::Error,
                                              text(QStringLiteral("A connection for simultaneous transfers was refused: "),
                                                   QStringLiteral("Eine Verbindung für gleichzeitige Übertragungen wurde abgelehnt: "))
                                                  + refusal);
    }
    if (opened == 0)
        return false;
    m_context.protocol.AddProtocolMessage(ProtocolEntry::Status,
                                          text(QStringLiteral("Simultaneous transfers on %1 connections"),
                                               QStringLiteral("Gleichzeitige Übertragungen auf %1 Verbindungen"))
                                              .arg(opened));

    QList<QueueRecord> records;
    records.reserve(qsizetype(steps.size()));
    for (const RunStep &step : steps)
        records.append(step.record);
    TransferScheduler scheduler(records, opened);

    // This thread waits for the sessions' reports; Abort and Pause end the wait as well (seen
    // at every progress of a session, and every 100 ms for a transfer that has stalled).
    QEventLoop wait;
    struct Report {
        int index;
        TransferOutcome outcome;
    };
    QList<Report> reports;
    bool stopping = false; // Abort or Pause seen: nothing new starts
    connect(&pool, &TransferSessions::finished, &wait, [&](int index, const TransferOutcome &outcome) {
        reports.append({index, outcome});
        wait.quit();
    });
    QList<FtpClient *> clients;
    for (int i = 0; i < pool.count(); ++i) {
        FtpClient *client = pool.at(i).client();
        clients << client;
        connect(client, &FtpClient::workProgressed, &wait, [&] {
            if (!stopping && stopRequested(state) != StopRequest::None)
                wait.quit();
        });
    }
    QTimer stopCheck;
    stopCheck.setInterval(100);
    connect(&stopCheck, &QTimer::timeout, &wait, [&] {
        if (!stopping && stopRequested(state) != StopRequest::None)
            wait.quit();
    });
    m_traffic.followSessions(clients);
    m_traffic.idleTick();
    m_traffic.updatePies();

    std::map<int, TransferJob> running;
    // Transfers that failed for a reason that may pass, given to another session once: the
    // number of the session they failed on.
    std::map<int, int> retried;
    std::map<int, TransferJob> prepared; // their jobs, as decided the first time (no second question)
    QElapsedTimer engineIdle; // since the engine's connection last carried a command
    engineIdle.start();
    const auto checkStop = [&] {
        const StopRequest stop = stopRequested(state);
        if (stopping || stop == StopRequest::None)
            return;
        stopping = true;
        if (stop == StopRequest::Abort)
            pool.abortAll();
    };
    for (;;) {
        while (!reports.isEmpty()) {
            const Report report = reports.takeFirst();
            const TransferJob job = running.at(report.index);
            running.erase(report.index);
            if (report.outcome.isTemporaryFailure() && !retried.count(report.index) && stopRequested(state) == StopRequest::None) {
                m_context.protocol.AddProtocolMessage(
                    ProtocolEntry::Status, text(QStringLiteral("%1 (%2): tried once more on another connection"),
                                                QString::fromUtf8("%1 (%2): wird noch einmal auf einer anderen Verbindung versucht"))
                                               .arg(steps[size_t(report.index)].record.source, report.outcome.error));
                retried.emplace(report.index, report.outcome.session);
                prepared.emplace(report.index, job);
                scheduler.giveBack(report.index);
                continue;
            }
            m_executor.transferEnded(job, report.outcome.ok);
            const RunStep &step = steps[size_t(report.index)];
            if (!report.outcome.ok)
                m_executor.reportFailure(step.record, report.outcome.error);
            scheduler.finished(report.index);
            recordEnded(step, report.outcome.ok, report.outcome.correctedSize, state,
                        report.outcome.ok ? QString() : m_executor.lastFailure());
        }
        checkStop();
        while (!stopping) {
            const std::optional<int> next = scheduler.next();
            if (!next)
                break;
            const int i = *next;
            const QueueRecord &r = steps[size_t(i)].record;
            Q_EMIT recordStarted(i);
            // While the sessions moved the bytes, the engine's connection was idle and the
            // server may have closed it (its idle time-out): its "connected" is then only
            // what it was. After a wait it is tested (PWD) and made again when dead.
            if (engineIdle.isValid() && engineIdle.elapsed() >= IdleTestMs)
                m_ftp.EnsureConnected();
            reconnectIfLost(state);
            if (!isTransfer(r.command)) {
                // Runs alone, on the engine's connection.
                const bool ok = m_executor.ExecuteRecord(r);
                engineIdle.start();
                scheduler.finished(i);
                recordEnded(steps[size_t(i)], ok, m_executor.correctedSize(), state, m_executor.lastFailure());
                m_pump.pump();
                checkStop();
                continue;
            }
            const auto again = retried.find(i);
            TransferSession *session = pool.freeSession(again == retried.end() ? 0 : again->second);
            if (!session) {
                // Cannot happen while the scheduler counts the sessions' transfers; waiting for
                // the next report is the safe way out should it ever.
                scheduler.giveBack(i);
                break;
            }
            if (state.showCharts)
                m_view->showCharts();
            // What needs this thread (the ASCII rule, the overwrite question, the remote
            // listing) is decided here; the bytes move on a session.
            std::optional<TransferJob> job;
            bool failed = !m_executor.isConnected();
            if (const auto known = prepared.find(i); known != prepared.end()) {
                job = known->second;
                failed = false;
            } else if (!failed) {
                try {
                    job = m_executor.prepareTransfer(r);
                } catch (const FtpError &error) {
                    failed = true;
                    m_executor.reportFailure(r, error.message());
                }
                engineIdle.start();
            } else {
                m_executor.reportFailure(r, text(QStringLiteral("Not connected."), QStringLiteral("Nicht verbunden.")));
            }
            if (!job) {
                scheduler.finished(i);
                QString reason;
                if (failed)
                    reason = m_executor.lastFailure();
                else if (m_executor.recordAborted())
                    reason = RecordExecutor::failureText(r, text(QStringLiteral("Aborted at the overwrite question."),
                                                                 QString::fromUtf8("Bei der Überschreiben-Frage abgebrochen.")));
                recordEnded(steps[size_t(i)], !failed && !m_executor.recordAborted(), -1, state, reason);
                checkStop();
                continue;
            }
            m_traffic.startTimer();
            running.emplace(i, *job);
            session->start(i, *job);
        }
        if (reports.isEmpty() && running.empty())
            break; // everything ended, or nothing more starts after Abort or Pause
        if (reports.isEmpty()) {
            stopCheck.start();
            wait.exec();
            stopCheck.stop();
        }
    }
    pool.closeAll();
    m_traffic.stopFollowingSessions();
    return true;
}

void QueueRunner::recordEnded(const RunStep &step, bool ok, qint64 correctedSize, RunState &state, const QString &failure)
{
    const int ended = ++state.ended;
    if (!ok) {
        // Every row that is not done is named with its reason (a batch job repeats them on
        // standard error).
        state.result.failures << (failure.isEmpty() ? RecordExecutor::failureText(step.record, text(QStringLiteral("Not done."),
                                                                                                    QStringLiteral("Nicht ausgeführt.")))
                                                    : failure);
        return;
    }
    const QueueRecord &r = step.record;
    TransferStatistics &stats = m_traffic.statistics();
    const int records = state.records;
    ++state.result.succeeded;
    state.result.succeededRecords.append(r);
    if (isTransfer(r.command))
        ++stats.filesDone;
    else if (r.command == QueueCommand::MkLocalDir || r.command == QueueCommand::Mkd)
        ++stats.directoriesMade;
    const int percent = int((qint64(ended) * 200 + records) / (qint64(records) * 2));
    m_view->setOverallProgress(percent, state.totalFiles + QString::number(ended) + QStringLiteral(" / ")
                                            + QString::number(records) + QStringLiteral("   (") + QString::number(percent)
                                            + QStringLiteral("%)"));
    const int row = m_model.indexOfId(step.rowId);
    if (row >= 0) {
        const qint64 listed = m_model.rowAt(row).sizeBytes();
        if (correctedSize >= 0 && correctedSize != listed) {
            // The file had changed since it was listed: its row and the figures take the size
            // it really had.
            m_model.setFilesize(row, QString::number(correctedSize));
            stats.bytesToGo += correctedSize - listed;
        }
        stats.bytesToGo -= m_model.rowAt(row).sizeBytes();
        m_view->setQueueSizeText(FourBlanks + FormatSizeLong(stats.bytesToGo));
        stats.recordsDone = ended;
        const int remaining = records - ended;
        if (r.target.contains(state.downloadFolder))
            m_view->setQueueInfoText(FourBlanks + QStringLiteral("Load files to tempdir ") + QString::number(remaining));
        else if (r.source.contains(state.downloadFolder))
            m_view->setQueueInfoText(FourBlanks + QStringLiteral("Load files back to server ") + QString::number(remaining));
        else
            m_view->setQueueInfoText(operationsText(remaining));
        m_model.removeRowAt(row);
        if (!m_store.rowRemoved(step.rowId, m_model) && !state.lastQueueFailed) {
            reportLastQueueFailure(false);
            state.lastQueueFailed = true; // one line per run, not one per record
        }
    }
    m_traffic.updatePies();
}

void QueueRunner::writeBatchLog(const BatchRunInfo &batch, const QDateTime &start, qint64 totalBytes, int files)
{
    const BatchLog log(m_context.folders.appDataFile(BatchLog::FileName));
    const QString line = BatchLog::lineFor(start, QDateTime::currentDateTime(), m_model.germanDates(),
                                           batch.queueFile, batch.switchText, m_ftp.host(), totalBytes,
                                           files);
    if (!log.append(line)) {
        const QString message = text(QStringLiteral("The batch job's line could not be written to %1: %2"),
                                     QStringLiteral("Die Zeile des Batchjobs konnte nicht in %1 geschrieben werden: %2"))
                                    .arg(log.path(), line);
        m_context.protocol.AddProtocolMessage(ProtocolEntry::Error, message);
        m_context.prompts.error(message);
    }
}

bool QueueRunner::runSingle(const QString &record, bool overwriteWithoutQuestion)
{
    if (m_running)
        return false; // another run is going on; nothing was done
    // A single record is work of its own: an Abort or Pause of earlier work (a closed progress
    // window, say) must not cut it short, and Abort during it stops it.
    m_work.cancel = CancelToken();
    m_ftp.EnsureConnected();
    RunPlan plan;
    plan.records = {record};
    plan.keepRows = true;
    plan.overwriteWithoutQuestion = overwriteWithoutQuestion;
    const RunResult result = RunQueue(plan);
    m_view->hideCharts();
    return result.records == 1 && result.allSucceeded();
}

bool QueueRunner::DownloadFile(const QString &remote, const QString &local, const QString &size)
{
    QueueRecord record(QueueCommand::Retr, remote, NormaliseRemotePath(local));
    record.size = size;
    return runSingle(record.format(), true);
}

bool QueueRunner::UploadFile(const QString &local, const QString &remote)
{
    return runSingle(QueueRecord(QueueCommand::Stor, local, NormaliseRemotePath(remote)).format(), true);
}

bool QueueRunner::MakeRemoteDir(const QString &path)
{
    return runSingle(QueueRecord(QueueCommand::Mkd, NormaliseRemotePath(path)).format(), false);
}

void QueueRunner::SiteChmod(const QString &mode, const QString &path)
{
    m_executor.SiteChmod(mode, path);
}

bool QueueRunner::IsAsciiFile(const QString &path)
{
    m_ftp.setCurrentItem(AsciiRuleFileName(path));
    return Velmora::IsAsciiFile(path);
}

} // namespace Velmora
