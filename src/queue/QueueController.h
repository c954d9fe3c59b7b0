#pragma once

#include "QueueFile.h"
#include "RunPlan.h"

#include <QList>
#include <QObject>
#include <QString>

namespace Velmora {

class MasterFTP;
class QueueHost;
class QueueRunner;
class QueueTableModel;
struct AppContext;
struct WorkControl;

// The queue bar's actions on the queue grid: load and save queue files with their connection
// side files, run, pause and clear the queue, delete lines, switch automatic running, and the
// last queue of the previous session. Every change of the grid is written to "lastqueue.ini" at
// once, so the file always holds what the grid shows.
class QueueController : public QObject {
    Q_OBJECT
public:
    QueueController(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueTableModel &model, QueueHost &host,
                    QueueRunner &runner, QObject *parent = nullptr);

    QString savedQueuesFolder() const;
    QString lastQueuePath() const;

    // "Load queue": the open dialog in "Saved-Queues", then LoadQueueFile.
    void LoadQueue();
    // Reads a queue file into the grid and its side file into the connection. A file that is
    // not a queue file is refused with a message and the grid (and "lastqueue.ini") keep their
    // rows. With needRunnableRow (a queue to run unattended) a file without one row that can
    // run (empty, or text that holds no usable row) counts as damaged too.
    bool LoadQueueFile(const QString &path, bool needRunnableRow = false);
    // Shows a queue file's rows in the grid for a look (the batch-job builder): no login is read
    // and "lastqueue.ini" keeps the queue the user had. A file that is not a queue file is
    // refused with a message and the grid keeps its rows.
    bool ShowQueueFile(const QString &path);
    // "Save queue": nothing with an empty grid; else the save dialog, then SaveQueueFile.
    void SaveQueue();
    bool SaveQueueFile(const QString &path);
    // "Run queue": the grid's rows become the records of a run ("MKD" records derived again for
    // uploads).
    void RunQueueClick();
    // The same for an unattended job, which names its queue file and switch for the batch log.
    // The result says whether the run started and how it went.
    RunResult RunGrid(const std::optional<BatchRunInfo> &batch);
    // "Pause queue": the rows of a search's downloads go, and a running queue stops after its
    // current record.
    void PauseQueue();
    // "Clear queue". Refused while a run is in progress, like every deletion of lines.
    void ClearQueue();
    // "Delete line(s)" for the selected rows, after the question. Refused while a run is in
    // progress (whichever path asks: the Del key, the popup menu, the queue bar).
    void DeleteLines(const QList<int> &selectedRows);
    // The AUTO/MAN button.
    void ToggleAutomaticRun();
    // At start: the last login and the last queue.
    void LoadLastSession();
    // The grid is emptied by another part of the program (a folder change, a new connection).
    void ClearGrid();

    // The connection side file of a queue file: its name with the extension ".ftp".
    static QString sideFilePath(const QString &queueFile);

Q_SIGNALS:
    // ClearGrid emptied the grid.
    void gridCleared();

private:
    // While a run is in progress: a protocol line says why, and true.
    bool refusedWhileRunning();
    QString text(const QString &english, const QString &german) const;
    QString readProblem(const QString &path, int status, int line) const;
    QString runnableRowProblem(const QString &path, const QueueFile::Content &content) const;

    AppContext &m_context;
    MasterFTP &m_ftp;
    WorkControl &m_work;
    QueueTableModel &m_model;
    QueueHost &m_host;
    QueueRunner &m_runner;
};

} // namespace Velmora
