#include "BatchJob.h"

#include "BatchJobHost.h"
#include "BatchLog.h"
#include "OverwritePolicy.h"
#include "QueueController.h"
#include "QueueHost.h"
#include "QueueRunner.h"
#include "QueueTableModel.h"

#include "app/AppContext.h"
#include "app/BatchSwitch.h"
#include "app/Options.h"
#include "app/UserPrompts.h"
#include "engine/MasterFTP.h"

#include <QDateTime>
#include <QFileInfo>

namespace Velmora {

BatchJob::BatchJob(AppContext &context, MasterFTP &ftp, QueueController &controller, QueueRunner &runner,
                   QueueTableModel &model, QueueHost &host, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_ftp(ftp)
    , m_controller(controller)
    , m_runner(runner)
    , m_model(model)
    , m_host(host)
    , m_question(context)
{
    setObjectName(QStringLiteral("BatchJob"));
}

QString BatchJob::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

int BatchJob::run(const BatchRequest &request)
{
    if (m_running || m_runner.isRunning())
        return ExitIncomplete;
    BatchJobHost jobHost(m_host, request.queueFile, request.switchText);
    const int exitStatus = execute(request.queueFile, request.switchText, jobHost);
    // The run has written the job's line; how the job ended is added to it.
    BatchLog(m_context.folders.appDataFile(BatchLog::FileName))
        .recordExitStatus(request.queueFile, request.switchText, exitStatus);
    finish(exitStatus, request.switchText, jobHost, m_host);
    return exitStatus;
}

int BatchJob::execute(const QString &queueFile, const QString &mode, BatchJobHost &jobHost)
{
    m_running = true;
    QueueHost &host = m_host;

    // What the job changes for itself comes back when it ends, whichever way it ends: a user
    // who goes on in the window after "-r" finds the overwrite question, the automatic run
    // switch and the window as they were (the options file never sees the job's values).
    const OverwritePolicy policyBefore = m_runner.overwritePolicy();
    const bool automaticBefore = m_context.options.data().automaticRunQueue;
    OverwriteQuestion *const questionBefore = m_runner.question();
    const int attemptsBefore = m_ftp.maximumAttempts();
    const struct Restore {
        BatchJob &job;
        QueueHost &host;
        const OverwritePolicy &policy;
        bool automatic;
        OverwriteQuestion *question;
        int attempts;
        ~Restore()
        {
            job.m_ftp.setMaximumAttempts(attempts);
            job.m_runner.setQuestion(question);
            job.m_runner.setHost(host);
            job.m_runner.overwritePolicy() = policy;
            job.m_context.options.applyUnsaved(&OptionsData::automaticRunQueue, automatic);
            host.setAutomaticRunButton(automatic);
            job.m_running = false;
        }
    } restore{*this, host, policyBefore, automaticBefore, questionBefore, attemptsBefore};

    // A server that does not answer is given up after one time-out, not three.
    m_ftp.resetRetryCounter();
    m_ftp.setMaximumAttempts(1);

    m_runner.setHost(jobHost);
    m_runner.setQuestion(&m_question);
    // Existing files are overwritten without a question.
    OverwritePolicy &policy = m_runner.overwritePolicy();
    policy.ask = false;
    policy.scope = OverwritePolicy::Scope::Always;
    policy.action = OverwritePolicy::Action::Overwrite;
    // Automatic running for this job only.
    m_context.options.applyUnsaved(&OptionsData::automaticRunQueue, true);
    host.setAutomaticRunButton(true);

    const QDateTime start = QDateTime::currentDateTime();
    const bool queueRead = loadQueue(queueFile);
    // A job never asks: without the password it cannot log in, so it does not try.
    const bool passwordMissing = m_ftp.passwordUnavailable();
    if (passwordMissing)
        reportMissingPassword(queueFile);
    RunResult result;
    if (queueRead && !passwordMissing)
        result = m_controller.RunGrid(BatchRunInfo{queueFile, mode, start});
    // A scheduler sees the exit status; its log gets the reason of every row not done
    // (unattended, an error goes to standard error and the protocol).
    if (!result.failures.isEmpty()) {
        m_context.prompts.error(text(QStringLiteral("Batch job %1: %2 of %3 queue rows were not done:"),
                                     QStringLiteral("Batchjob %1: %2 von %3 Zeilen der Warteschlange wurden nicht ausgeführt:"))
                                    .arg(queueFile)
                                    .arg(result.failed())
                                    .arg(result.records));
        for (const QString &failure : std::as_const(result.failures))
            m_context.prompts.error(failure);
    }
    // A run writes the log line itself; a job that ran nothing gets it here.
    if (!result.ran)
        writeLogLine(start, queueFile, mode);
    return queueRead && !passwordMissing && result.ran && result.allSucceeded() ? 0 : ExitIncomplete;
}

void BatchJob::finish(int exitStatus, const QString &mode, const BatchJobHost &jobHost, QueueHost &host)
{
    Q_EMIT jobFinished(exitStatus);
    const std::optional<BatchSwitch> batchSwitch = BatchSwitchFromText(mode);
    const bool shutdown = batchSwitch == BatchSwitch::RunAndShutdown || jobHost.shutdownRequested();
    if (shutdown)
        host.shutdownComputer();
    if ((batchSwitch && BatchSwitchEnds(*batchSwitch)) || jobHost.endRequested())
        host.endProgram();
}

bool BatchJob::loadQueue(const QString &queueFile)
{
    const QString sideFile = QueueController::sideFilePath(queueFile);
    if (!QFileInfo::exists(sideFile)) {
        m_context.prompts.error(text(QStringLiteral("The connection file %1 is missing: the queue runs without a server."),
                                     QStringLiteral("Die Verbindungsdatei %1 fehlt: die Warteschlange läuft ohne Server."))
                                    .arg(sideFile));
    }
    // The file is read and checked before anything changes: a queue file that cannot run
    // leaves the rows an earlier session left pending (and "lastqueue.ini") as they were.
    if (m_controller.LoadQueueFile(queueFile, true))
        return true;
    // The controller has said why the file cannot be used. The login beside it still names the
    // host of the log line.
    m_ftp.Disconnect();
    m_ftp.LoadLogin(sideFile);
    m_host.listLocalPath();
    m_host.setIdleState();
    return false;
}

void BatchJob::reportMissingPassword(const QString &queueFile)
{
    const QString site = m_ftp.user() + u'@' + m_ftp.host() + u':' + m_ftp.port();
    // Unattended, this error goes to the protocol and to standard error, never into a box.
    m_context.prompts.error(
        text(QStringLiteral("Batch job %1: the password of the site %2 is kept in the desktop keyring, which cannot be reached. The queue was not run."),
             QStringLiteral("Batchjob %1: Das Passwort der Seite %2 liegt im Schlüsselbund des Desktops, der nicht erreichbar ist. Die Warteschlange wurde nicht ausgeführt."))
            .arg(queueFile, site));
}

void BatchJob::writeLogLine(const QDateTime &start, const QString &queueFile, const QString &mode)
{
    const BatchLog log(m_context.folders.appDataFile(BatchLog::FileName));
    const QString line = BatchLog::lineFor(start, QDateTime::currentDateTime(), m_model.germanDates(), queueFile,
                                           mode, m_ftp.host(), 0, 0);
    if (!log.append(line)) {
        m_context.prompts.error(text(QStringLiteral("The batch job's line could not be written to %1: %2"),
                                     QStringLiteral("Die Zeile des Batchjobs konnte nicht in %1 geschrieben werden: %2"))
                                    .arg(log.path(), line));
    }
}

} // namespace Velmora
