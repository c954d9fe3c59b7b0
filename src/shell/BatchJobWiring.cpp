#include "BatchJobWiring.h"

#include "MainForm.h"
#include "QueueWiring.h"

#include "app/UnattendedPrompts.h"
#include "queue/BatchJob.h"
#include "queue/BatchJobForm.h"
#include "queue/BatchJobLogForm.h"

#include <QAction>
#include <QCoreApplication>

namespace Velmora {

BatchJobWiring::BatchJobWiring(AppContext &context, MainForm &main, MasterFTP &ftp, QueueWiring &queue,
                               UnattendedPrompts *prompts, const Windows &windows)
    : QObject(&main)
    , m_main(main)
    , m_job(new BatchJob(context, ftp, queue.controller(), queue.runner(), queue.model(), queue.host(), this))
    , m_builder(queue.controller(), queue.model(), QCoreApplication::applicationFilePath())
{
    connect(&main, &MainForm::batchJobStarted, m_job, [this] {
        m_main.batchJobTimer().stop(); // the job runs once
        m_exitStatus = m_job->run({m_main.arguments().queueFile, m_main.arguments().mode});
    });
    // Before the job carries out its switch: a user who goes on after "-r" gets boxes again.
    connect(m_job, &BatchJob::jobFinished, &main, [this, prompts] {
        m_main.leaveBatchMode();
        if (prompts) // after "-r" somebody may use the window: boxes again
            prompts->setUnattended(false);
    });

    windows.builder.setBuilder(&m_builder);
    BatchJobForm *builder = &windows.builder;
    BatchJobLogForm *log = &windows.log;
    connect(&main, &MainForm::createBatchjobRequested, builder, [builder] { builder->exec(); });
    connect(&main, &MainForm::batchjobLogRequested, log, [log] { log->exec(); });
}

} // namespace Velmora
