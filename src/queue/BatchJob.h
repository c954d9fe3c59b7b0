#pragma once

#include "UnattendedOverwriteQuestion.h"

#include "app/CommandLine.h"

#include <QObject>
#include <QString>

namespace Velmora {

class BatchJobHost;
class MasterFTP;
class QueueHost;
class QueueController;
class QueueRunner;
class QueueTableModel;
struct AppContext;

// The batch job: a saved queue run once without a user, as the command line asks. It
// overwrites without asking, runs with automatic running on (for this program run only),
// loads the queue and the login saved beside it, runs the queue, leaves one line in
// "Lastbatchjob.log" and ends as its switch says: "-r" stays open, "-rc" ends the program,
// "-rs" shuts the computer down and ends the program.
//
// Nobody answers questions during the job: the overwrite question takes the answer that loses
// nothing. A queue file that cannot be read, a server that is down or a login that fails still
// gives the log line and the end the switch asks for. While the job runs, the runner sees a
// host in batch mode; once it is over, batch mode is gone, so a later run by the user never
// writes a log line, closes the program or powers the machine off.
// A batch job as the command line names it: the queue file and the switch as typed.
struct BatchRequest {
    QString queueFile;
    QString switchText; // "-r", "-rc" or "-rs"
};

class BatchJob : public QObject {
    Q_OBJECT
public:
    // The program's exit status after a job that did not carry out every record (or could not
    // read its queue file).
    static constexpr int ExitIncomplete = CommandLine::ExitBatchIncomplete;

    BatchJob(AppContext &context, MasterFTP &ftp, QueueController &controller, QueueRunner &runner,
             QueueTableModel &model, QueueHost &host, QObject *parent = nullptr);

    // Runs the job once and returns the program's exit status: 0 when every record of the
    // queue succeeded, else ExitIncomplete. The end ("-rc", "-rs") comes after everything the
    // run does, when this call returns to the event loop that started it.
    int run(const BatchRequest &request);
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // The job is over and its log line written; the program is about to end as the switch says.
    void jobFinished(int exitStatus);

private:
    int execute(const QString &queueFile, const QString &mode, BatchJobHost &jobHost);
    void finish(int exitStatus, const QString &mode, const BatchJobHost &jobHost, QueueHost &host);
    bool loadQueue(const QString &queueFile);
    void reportMissingPassword(const QString &queueFile);
    void writeLogLine(const QDateTime &start, const QString &queueFile, const QString &mode);
    QString text(const QString &english, const QString &german) const;

    AppContext &m_context;
    MasterFTP &m_ftp;
    QueueController &m_controller;
    QueueRunner &m_runner;
    QueueTableModel &m_model;
    QueueHost &m_host;
    UnattendedOverwriteQuestion m_question;
    bool m_running = false;
};

} // namespace Velmora
