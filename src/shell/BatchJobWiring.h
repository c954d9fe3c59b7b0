#pragma once

#include "queue/BatchJobBuilder.h"

#include <QObject>

namespace Velmora {

class BatchJob;
class BatchJobForm;
class BatchJobLogForm;
class MainForm;
class MasterFTP;
class QueueWiring;
class UnattendedPrompts;
struct AppContext;

// Puts the batch jobs into the main window: the job the batch-job timer starts, the end of
// batch mode when it is over (its exit status, prompts that show boxes again), and the menu
// items "Create Batchjob" and "Show last batchjobs (Logfile)" with their windows.
class BatchJobWiring : public QObject {
    Q_OBJECT
public:
    struct Windows {
        BatchJobForm &builder;
        BatchJobLogForm &log;
    };

    // prompts: the prompts of a batch run, which are unattended until the job is over; null
    // for a program started without a batch job.
    BatchJobWiring(AppContext &context, MainForm &main, MasterFTP &ftp, QueueWiring &queue, UnattendedPrompts *prompts,
                   const Windows &windows);

    BatchJob &job() { return *m_job; }
    // The exit status of the batch job of this program run: 0 without one.
    int exitStatus() const { return m_exitStatus; }
    BatchJobBuilder &builder() { return m_builder; }

private:
    MainForm &m_main;
    BatchJob *m_job;
    BatchJobBuilder m_builder;
    int m_exitStatus = 0;
};

} // namespace Velmora
