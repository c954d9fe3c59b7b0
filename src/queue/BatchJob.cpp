#include "BatchJob.h"

#include "BatchJobHost.h"
#include "BatchLog.h"
#include "OverwritePolicy.h"
#include "QueueController.h"
#include "QueueHost.h"
#include "QueueRunner.h"
#include "QueueTableModel.h"

#include "app/AppContext.h"
#include "app/Options.h"
#include "app/UserPrompts.h"
#include "engine/MasterFTP.h"

#include <QDateTime>
#include <QFileInfo>

namespace Velmora {

BatchJob::BatchJob(AppContext &context, MasterFTP &ftp, QueueController &controller, QueueRunner &runner, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_ftp(ftp)
    , m_controller(controller)
    , m_runner(runner)
    , m_question(context)
{
    setObjectName(QStringLiteral("BatchJob"));
}

QString BatchJob::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

void BatchJob::Run(const QString &queueFile, const QString &mode)
{
    if (m_running || m_runner.isRunning())
        return;
    m_running = true;
    QueueHost &host = m_runner.host();
    BatchJobHost jobHost(host, queueFile, mode);
    m_runner.setHost(jobHost);
    OverwriteQuestion *question = m_runner.question();
    m_runner.setQuestion(&m_question);

    // Existing files are overwritten without a question.
    OverwritePolicy &policy = m_runner.overwritePolicy();
    policy.ask = false;
    policy.scope = OverwritePolicy::Scope::Always;
    policy.action = OverwritePolicy::Action::Overwrite;
    // Automatic running for this program run; the option itself stays as it is stored.
    m_context.options.applyUnsaved(&OptionsData::automaticRunQueue, true);
    host.setAutomaticRunButton(true);

    const QDateTime start = QDateTime::currentDateTime();
    const bool queueRead = loadQueue(queueFile);
    // A job never asks: without the password it cannot log in, so it does not try.
    const bool passwordMissing = m_ftp.passwordUnavailable();
    if (passwordMissing)
        reportMissingPassword(queueFile);
    bool ran = false;
    const QMetaObject::Connection finished = connect(&m_runner, &QueueRunner::runFinished, this, [&ran] { ran = true; });
    if (!passwordMissing)
        m_controller.RunQueueClick();
    disconnect(finished);
    // A run writes the log line itself; a queue with nothing to run gets it here.
    if (!ran)
        writeLogLine(start, queueFile, mode);
    m_exitStatus = queueRead && !passwordMissing && (!ran || m_runner.lastRun().allSucceeded()) ? 0 : ExitIncomplete;

    m_runner.setQuestion(question);
    m_runner.setHost(host);
    m_running = false;
    Q_EMIT jobFinished(m_exitStatus);

    const bool shutdown = mode == u"-rs" || jobHost.shutdownRequested();
    if (shutdown)
        host.shutdownComputer();
    if (mode == u"-rc" || mode == u"-rs" || jobHost.endRequested())
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
    m_controller.ClearGrid();
    if (m_controller.LoadQueueFile(queueFile))
        return true;
    // The controller has said why the file cannot be read. The login beside it still names the
    // host of the log line.
    m_ftp.Disconnect();
    m_ftp.LoadLogin(sideFile);
    m_runner.host().listLocalPath();
    m_runner.host().setIdleState();
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
    const QString line = BatchLog::lineFor(start, QDateTime::currentDateTime(), m_runner.model().germanDates(), queueFile,
                                           mode, m_ftp.host(), 0, 0);
    if (!log.append(line)) {
        m_context.prompts.error(text(QStringLiteral("The batch job's line could not be written to %1: %2"),
                                     QStringLiteral("Die Zeile des Batchjobs konnte nicht in %1 geschrieben werden: %2"))
                                    .arg(log.path(), line));
    }
}

} // namespace Velmora
