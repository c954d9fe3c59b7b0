#include "QueueController.h"

#include "BusyScope.h"
#include "LastQueueStore.h"
#include "QueueFile.h"
#include "QueueHost.h"
#include "QueueProgressView.h"
#include "QueueRecord.h"
#include "QueueRunner.h"
#include "QueueTableModel.h"

#include "app/AppContext.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Velmora {

QueueController::QueueController(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueTableModel &model,
                                 QueueHost &host, QueueRunner &runner, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_ftp(ftp)
    , m_work(work)
    , m_model(model)
    , m_host(host)
    , m_runner(runner)
{
    setObjectName(QStringLiteral("QueueController"));
}

QString QueueController::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

QString QueueController::savedQueuesFolder() const
{
    return m_context.folders.appDataFolder + QStringLiteral("Saved-Queues/");
}

QString QueueController::lastQueuePath() const
{
    return m_context.folders.appDataFile(QStringLiteral("lastqueue.ini"));
}

QString QueueController::sideFilePath(const QString &queueFile)
{
    const QFileInfo info(queueFile);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    return queueFile.left(queueFile.size() - name.size()) + base + QStringLiteral(".ftp");
}

QString QueueController::readProblem(const QString &path, int status, int line) const
{
    if (status == int(QueueFile::Status::NotText)) {
        return text(QStringLiteral("The file %1 is not a queue file: line %2 holds characters a queue file never has."),
                    QString::fromUtf8("Die Datei %1 ist keine Warteschlangendatei: Zeile %2 enthält Zeichen, die "
                                      "eine Warteschlangendatei nie enthält."))
            .arg(path)
            .arg(line);
    }
    return text(QStringLiteral("The queue file %1 cannot be read."),
                QStringLiteral("Die Warteschlangendatei %1 kann nicht gelesen werden."))
        .arg(path);
}

QString QueueController::runnableRowProblem(const QString &path, const QueueFile::Content &content) const
{
    if (content.rows.isEmpty())
        return text(QStringLiteral("The queue file %1 holds no rows."), QStringLiteral("Die Warteschlangendatei %1 enthält keine Zeilen."))
            .arg(path);
    int firstUnusable = -1;
    for (int i = 0; i < content.rows.size(); ++i) {
        if (RecordFromRow(content.rows[i]))
            return {};
        if (firstUnusable < 0 && !RowNotRunProblem(content.rows[i]).isEmpty())
            firstUnusable = i;
    }
    const int index = firstUnusable < 0 ? 0 : firstUnusable;
    const QueueRow &row = content.rows[index];
    return text(QStringLiteral("The queue file %1 holds no row that can run: line %2 (%3) cannot run."),
                QString::fromUtf8("Die Warteschlangendatei %1 enthält keine ausführbare Zeile: Zeile %2 (%3) kann nicht ausgeführt werden."))
        .arg(path)
        .arg(content.rowLines.value(index, index + 1))
        .arg(RowText(row));
}

void QueueController::LoadQueue()
{
    QDir().mkpath(savedQueuesFolder());
    const QString path = m_context.prompts.openFile(text(QStringLiteral("Load queue"), QString::fromUtf8("Warteschlange öffnen")),
                                                     savedQueuesFolder(), QStringLiteral("Queue (*.queue)"));
    if (!path.isEmpty())
        LoadQueueFile(path);
}

bool QueueController::LoadQueueFile(const QString &path, bool needRunnableRow)
{
    if (refusedWhileRunning()) // a loaded queue replaces every line
        return false;
    const QueueFile::Content content = QueueFile::read(path);
    QString problem;
    if (content.status != QueueFile::Status::Ok)
        problem = readProblem(path, int(content.status), content.badLine);
    else if (needRunnableRow)
        problem = runnableRowProblem(path, content);
    if (!problem.isEmpty()) {
        m_context.prompts.error(problem + u' '
                                 + text(QStringLiteral("Nothing was loaded."), QStringLiteral("Es wurde nichts geladen.")));
        return false;
    }
    m_runner.view().hideCharts();
    QueueTableModel &model = m_model;
    m_runner.forgetPausedRows();
    model.setRows(content.rows);
    m_runner.saveLastQueue();
    m_ftp.Disconnect();
    m_ftp.LoadLogin(sideFilePath(path));
    m_host.listLocalPath();
    m_host.setIdleState();
    return true;
}

bool QueueController::ShowQueueFile(const QString &path)
{
    if (refusedWhileRunning())
        return false;
    const QueueFile::Content content = QueueFile::read(path);
    if (content.status != QueueFile::Status::Ok) {
        m_context.prompts.error(readProblem(path, int(content.status), content.badLine));
        return false;
    }
    m_model.setRows(content.rows);
    return true;
}

void QueueController::SaveQueue()
{
    if (m_model.isEmpty())
        return;
    QDir().mkpath(savedQueuesFolder());
    const QString path = m_context.prompts.saveFile(
        text(QStringLiteral("Save queue"), QStringLiteral("Warteschlange speichern")), savedQueuesFolder(), QString(),
        QStringLiteral("queue"), QStringLiteral("Queue (*.queue)"));
    if (path.isEmpty())
        return;
    SaveQueueFile(path);
    m_host.setIdleState();
}

bool QueueController::SaveQueueFile(const QString &path)
{
    if (m_model.isEmpty())
        return false;
    if (!QueueFile::write(path, m_model.rows())) {
        m_context.prompts.error(text(QStringLiteral("The queue could not be saved as %1."),
                                      QStringLiteral("Die Warteschlange konnte nicht als %1 gespeichert werden."))
                                     .arg(path));
        return false;
    }
    m_ftp.SaveLogin(sideFilePath(path));
    return true;
}

void QueueController::RunQueueClick()
{
    RunGrid(std::nullopt);
}

RunResult QueueController::RunGrid(const std::optional<BatchRunInfo> &batch)
{
    QueueTableModel &model = m_model;
    if (model.isEmpty() || m_runner.refusesNewWork())
        return {};
    m_runner.forgetPausedRows(); // the rows a Pause left run now
    QueueHost &host = m_host;
    // A connect the user cut off (Disconnect, or the program closing) runs nothing: the rows stay.
    if (!m_ftp.isConnected() && !m_ftp.Connect(false) && m_ftp.connectCancelled())
        return {};
    host.listLocalPath();
    host.listServerPath();
    BusyScope busy(host, m_work);

    QStringList records;
    records.reserve(model.rowCount());
    QList<QueueRow> rowsNotRun;
    QStringList notRunLines;
    for (int i = 0; i < model.rowCount(); ++i) {
        const QueueRow &row = model.rowAt(i);
        if (const auto record = RecordFromRow(row)) {
            records.append(*record);
        } else if (const QString problem = RowNotRunProblem(row); !problem.isEmpty()) {
            // Work that cannot be done is said and kept, never dropped in silence.
            notRunLines << RowNotRunText(row, problem);
            m_context.protocol.AddProtocolMessage(ProtocolEntry::Error, notRunLines.last());
            rowsNotRun.append(row);
        }
    }
    const QString lastCommand = model.rowAt(model.rowCount() - 1).cmd;
    if (lastCommand == u"STOR" || lastCommand == u"RETR")
        records = DeriveMkdRecords(records, host.serverPathText()) + records;
    // Rows of local folders ("MKLOCALDIR") never run again: the downloads' folders are created
    // here, so a queue that was interrupted before its folders existed can still be finished.
    for (const QString &folder : LocalFoldersToCreate(records))
        QDir().mkpath(folder);
    RunPlan plan;
    plan.records = records;
    plan.rowsNotRun = rowsNotRun;
    plan.batch = batch;
    RunResult result = m_runner.RunQueue(plan);
    result.failures = notRunLines + result.failures;

    if (lastCommand == u"STOR" || lastCommand == u"DELE")
        host.listServerPath();
    else if (lastCommand == u"RETR")
        host.listLocalPath();
    return result;
}

// Pause may come while a record runs and remove rows in front of it or its own row. The grid
// and the run stay in step because every row carries an id: the run removes the row of the
// record it has carried out by that id, never by position, so a row Pause removed is simply
// no longer there, and the record that was running finishes before the run stops.
void QueueController::PauseQueue()
{
    QueueTableModel &model = m_model;
    if (model.isEmpty())
        return;
    const QString downloads = m_context.folders.downloadFolder();
    bool removed = false;
    for (int row = model.rowCount() - 1; row >= 0; --row) {
        if (model.rowAt(row).destination.contains(downloads)) {
            model.removeRowAt(row);
            removed = true;
        }
    }
    if (removed)
        m_runner.saveLastQueue();
    m_work.cancel.requestPause();
    m_host.setIdleState();
    m_runner.pauseRequested();
}

void QueueController::ClearQueue()
{
    QueueTableModel &model = m_model;
    if (model.isEmpty() || refusedWhileRunning())
        return;
    m_runner.forgetPausedRows();
    model.clear();
    m_runner.saveLastQueue();
    m_host.setIdleState();
}

void QueueController::ClearGrid()
{
    // A run that is still finishing keeps its rows, and so does the work a Pause left on this
    // site (a folder change must not throw it away); the rows of another site go.
    if (m_runner.isRunning() || m_runner.keepsPausedRows())
        return;
    m_runner.forgetPausedRows();
    m_model.clear();
    m_runner.saveLastQueue();
    Q_EMIT gridCleared();
}

void QueueController::DeleteLines(const QList<int> &selectedRows)
{
    QueueTableModel &model = m_model;
    if (model.isEmpty() || refusedWhileRunning())
        return;
    const qsizetype n = selectedRows.size();
    const QString question = text(QStringLiteral("Really delete"), QString()) + u' ' + QString::number(n) + u' '
        + (n < 2 ? text(QStringLiteral("entry?"), QString::fromUtf8("Eintrag löschen?"))
                 : text(QStringLiteral("entries?"), QString::fromUtf8("Einträge löschen?")));
    if (!m_context.prompts.confirm(question))
        return;
    QList<int> rows = selectedRows;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : std::as_const(rows))
        model.removeRowAt(row);
    m_runner.saveLastQueue();
    m_host.setIdleState();
}

void QueueController::ToggleAutomaticRun()
{
    // Only this one option changes and is saved: whatever else a dialog's controls show stays
    // out of it.
    const bool automatic = !m_context.options.data().automaticRunQueue;
    m_context.options.change(&OptionsData::automaticRunQueue, automatic);
    m_host.setAutomaticRunButton(automatic);
}

bool QueueController::refusedWhileRunning()
{
    if (!m_runner.isRunning())
        return false;
    // The rows of a running queue stay until the run is over: a deleted row's record would run
    // all the same. A line in the protocol rather than a box, which would hold the run up.
    m_context.protocol.AddProtocolMessage(
        ProtocolEntry::Status,
        text(QStringLiteral("The queue is running: its lines can be deleted after the run or after Pause."),
             QString::fromUtf8("Die Warteschlange läuft: ihre Zeilen können nach dem Lauf oder nach Pause gelöscht werden.")));
    return true;
}

void QueueController::LoadLastSession()
{
    m_ftp.LoadLogin(m_context.folders.appDataFile(MasterFTP::LoginFileName));
    const QString path = lastQueuePath();
    const QueueFile::Content content = QueueFile::read(path);
    QueueTableModel &model = m_model;
    if (content.status == QueueFile::Status::Ok) {
        model.setRows(content.rows);
        m_runner.saveLastQueue(); // drops the lines a killed run had blanked
    } else if (content.status != QueueFile::Status::Missing) {
        // Kept aside, so the next write of the last queue cannot destroy what it held.
        const QString kept = path + QStringLiteral(".damaged-")
            + QDateTime::currentDateTime().toString(u"yyyyMMdd-hhmmss");
        const bool moved = QFile::rename(path, kept);
        m_context.prompts.error(readProblem(path, int(content.status), content.badLine) + u' '
                                 + (moved ? text(QStringLiteral("It was kept as %1."),
                                                 QStringLiteral("Sie wurde als %1 aufbewahrt."))
                                                .arg(kept)
                                          : QString()));
    }
    m_host.listLocalPath();
}

} // namespace Velmora
