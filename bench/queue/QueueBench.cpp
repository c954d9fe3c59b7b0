// Queue benchmarks: Velmora's tree walks and queue runs against an FTP server, timed from the
// connect to the last record, and the bookkeeping of a very long queue. Figures only; the
// script bench/queue-bench.sh runs lftp and curl against the same server for comparison.
//
//   queue_bench download-tree HOST PORT USER PASSWORD REMOTE_FOLDER LOCAL_FOLDER
//   queue_bench upload-tree   HOST PORT USER PASSWORD LOCAL_FOLDER REMOTE_FOLDER
//   queue_bench download-file HOST PORT USER PASSWORD REMOTE_FILE LOCAL_FILE
//   queue_bench local-records HOST PORT USER PASSWORD COUNT FOLDER [core|window] [new|same]
//
// "window" runs the long queue inside the whole program offscreen (queue grid, protocol grid,
// progress panel, charts), "core" with the queue's core objects alone. "new" makes every record
// create a folder of its own (the file system's cost included); "same" lets the records name
// 100 folders over and over, so that after the first 100 records only the queue's bookkeeping
// is left to measure.
#include "app/AppContext.h"
#include "app/DesignState.h"
#include "app/AppFolders.h"
#include "shell/AppStarter.h"
#include "shell/MainForm.h"
#include "app/Options.h"
#include "app/Platform.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "common/Language.h"
#include "common/RemotePath.h"
#include "engine/MasterFTP.h"
#include "queue/LastQueueStore.h"
#include "queue/QueueHost.h"
#include "queue/QueueProgressView.h"
#include "queue/QueueRecord.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "shell/QueueWiring.h"
#include "queue/TreeWalker.h"

#include "BenchDoubles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

using namespace Velmora;

namespace {

using Bench::QuietPlatform;
using Bench::SilentPrompts;

// CPU time of this thread: unlike the wall clock it does not depend on what else the machine does.
qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

long peakResidentKB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The queue's core objects around one engine, without a window.
struct CoreQueue {
    CoreQueue()
        : log(folders().appDataFolder)
        , options(folders().appDataFile(QStringLiteral("options.ini")))
        , context{appFolders, language, options, log, prompts, platform, design}
        , store(folders().appDataFile(QStringLiteral("lastqueue.ini")))
    {
        master = std::make_unique<MasterFTP>(log, options, prompts, context.folders, language);
        runner = std::make_unique<QueueRunner>(context, *master, work, model, store, host, view);
        OptionsData data = options.data();
        data.allwaysOverwrite = true;
        options.setData(data);
        runner->overwritePolicy().applyAllwaysOverwrite(true);
    }
    static const AppFolders &folders()
    {
        static AppFolders f = [] {
            AppFolders detected = AppFolders::detect();
            detected.create();
            return detected;
        }();
        return f;
    }
    bool connect(const QStringList &args)
    {
        master->SetConnectionData(args[2], args[3], args[4], args[5], 0);
        return master->Connect(false);
    }

    AppFolders appFolders = folders();
    ProtocolLog log;
    Options options;
    SilentPrompts prompts;
    Language language;
    WorkControl work;
    QuietPlatform platform;
    DesignState design;
    AppContext context;
    QueueTableModel model;
    LastQueueStore store;
    NullQueueHost host;
    NullQueueProgressView view;
    std::unique_ptr<MasterFTP> master;
    std::unique_ptr<QueueRunner> runner;
};

int fail(const char *what)
{
    std::fprintf(stderr, "failed: %s\n", what);
    return 1;
}

int downloadTree(const QStringList &args)
{
    CoreQueue q;
    QElapsedTimer timer;
    timer.start();
    if (!q.connect(args))
        return fail("connect");
    TreeWalker walker(q.context, *q.master, q.work, q.host, *q.runner);
    QStringList retr;
    QStringList folders;
    walker.CollectDownload(retr, folders, args[7], args[6]);
    const double walked = timer.nsecsElapsed() / 1e9;
    RunPlan plan;
    plan.records = folders + retr;
    q.runner->RunQueue(plan);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%.3f s  (walk %.3f s)  %lld files  %d rows left\n", seconds, walked, static_cast<long long>(retr.size()),
                q.model.rowCount());
    return q.model.rowCount() == 0 ? 0 : 1;
}

int uploadTree(const QStringList &args)
{
    CoreQueue q;
    QElapsedTimer timer;
    timer.start();
    if (!q.connect(args))
        return fail("connect");
    TreeWalker walker(q.context, *q.master, q.work, q.host, *q.runner);
    QStringList collected;
    const QString localFolder = IncludeTrailingBackslash(args[6]);
    walker.CollectLocal(localFolder + QStringLiteral("*.*"), collected);
    // The records the upload builder makes of the collected files.
    QStringList records;
    records.reserve(collected.size());
    for (const QString &entry : std::as_const(collected)) {
        const QString path = entry.section(QueueRecord::CollectedFileSeparator, 0, 0);
        records << QStringLiteral("STOR|") + path + u'|' + args[7] + u'/' + path.mid(localFolder.size())
                + QueueRecord::EntrySeparator + entry.section(QueueRecord::CollectedFileSeparator, 1);
    }
    q.host.serverPath = QStringLiteral("/");
    RunPlan plan;
    plan.records = DeriveMkdRecords(records, q.host.serverPath) + records;
    q.runner->RunQueue(plan);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("%.3f s  %lld files  %d rows left\n", seconds, static_cast<long long>(records.size()), q.model.rowCount());
    return q.model.rowCount() == 0 ? 0 : 1;
}

int downloadFile(const QStringList &args)
{
    CoreQueue q;
    QElapsedTimer timer;
    timer.start();
    if (!q.connect(args))
        return fail("connect");
    const qint64 size = q.master->client().size(args[6]);
    RunPlan plan;
    plan.records = {QStringLiteral("RETR|") + args[6] + u'|' + args[7] + u'|' + QString::number(size)};
    q.runner->RunQueue(plan);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const qint64 bytes = QFileInfo(args[7]).size();
    std::printf("%.3f s  %lld bytes  %.0f MB/s  %d rows left\n", seconds, static_cast<long long>(bytes), bytes / seconds / 1e6,
                q.model.rowCount());
    return q.model.rowCount() == 0 ? 0 : 1;
}

// Times every record of a long queue of local folder creations.
int localRecords(const QStringList &args)
{
    const int count = args[6].toInt();
    const QString folder = IncludeTrailingBackslash(args[7]);
    const bool window = args.size() > 8 && args[8] == u"window";
    const bool sameFolders = args.size() > 9 && args[9] == u"same";

    std::unique_ptr<CoreQueue> core;
    std::unique_ptr<AppStarter> starter;
    SilentPrompts prompts;
    QuietPlatform platform;
    std::unique_ptr<MasterFTP> master;
    QueueRunner *runner = nullptr;
    QueueTableModel *model = nullptr;
    MasterFTP *engine = nullptr;
    if (window) {
        AppStarter::Seams seams;
        seams.prompts = &prompts;
        seams.platform = &platform;
        seams.programFolder = qEnvironmentVariable("VELMORA_PROGRAM_FOLDER");
        starter = std::make_unique<AppStarter>(StartupArguments(), seams);
        starter->start();
        engine = &starter->ftp();
        runner = &starter->queue().runner();
        model = &starter->queue().model();
    } else {
        core = std::make_unique<CoreQueue>();
        runner = core->runner.get();
        model = &core->model;
        engine = core->master.get();
    }
    engine->SetConnectionData(args[2], args[3], args[4], args[5], 0);
    if (!engine->Connect(false))
        return fail("connect");

    QStringList records;
    records.reserve(count);
    for (int i = 0; i < count; ++i)
        records << QStringLiteral("MKLOCALDIR|") + folder
                + (sameFolders ? QStringLiteral("d%1").arg(i % 100, 3, 10, QChar(u'0'))
                               : QStringLiteral("d%1/e%2").arg(i / 1000, 3, 10, QChar(u'0')).arg(i, 6, 10, QChar(u'0')));
    std::vector<qint64> started(size_t(count) + 1, 0);
    std::vector<qint64> cpu(size_t(count) + 1, 0);
    QElapsedTimer timer;
    QObject::connect(runner, &QueueRunner::recordStarted, runner, [&](int index) {
        started[size_t(index)] = timer.nsecsElapsed();
        cpu[size_t(index)] = threadCpuNs();
    });
    QObject::connect(runner, &QueueRunner::runFinished, runner, [&] {
        started[size_t(count)] = timer.nsecsElapsed();
        cpu[size_t(count)] = threadCpuNs();
    });
    RunPlan plan;
    plan.records = records;
    timer.start();
    runner->RunQueue(plan);
    const double seconds = timer.nsecsElapsed() / 1e9;

    const int block = std::min(1000, count);
    const double first = (started[size_t(block)] - started[0]) / 1e3 / block;
    const double last = (started[size_t(count)] - started[size_t(count - block)]) / 1e3 / block;
    const qint64 lastQueue = QFileInfo(CoreQueue::folders().appDataFile(QStringLiteral("lastqueue.ini"))).size();
    std::printf("%.3f s for %d records (%s, %s)  grid fill %.3f s\n", seconds, count, window ? "whole window" : "core",
                sameFolders ? "100 folders again and again" : "a new folder each", started[0] / 1e9);
    const double firstCpu = (cpu[size_t(block)] - cpu[0]) / 1e3 / block;
    const double lastCpu = (cpu[size_t(count)] - cpu[size_t(count - block)]) / 1e3 / block;
    std::printf("  per record, wall clock: first %d %.1f us, last %d %.1f us (ratio %.2f)\n", block, first, block, last,
                last / first);
    std::printf("  per record, CPU of the run's thread: first %d %.1f us, last %d %.1f us (ratio %.2f)\n", block, firstCpu,
                block, lastCpu, lastCpu / firstCpu);
    std::printf("  per record in tenths of the run, wall / CPU (us):");
    for (int part = 0; part < 10; ++part) {
        const size_t from = size_t(qint64(count) * part / 10);
        const size_t to = size_t(qint64(count) * (part + 1) / 10);
        std::printf(" %.0f/%.0f", (started[to] - started[from]) / 1e3 / double(to - from),
                    (cpu[to] - cpu[from]) / 1e3 / double(to - from));
    }
    std::printf("\n");
    std::printf("  rows left %d, lastqueue.ini %lld bytes, peak resident %ld MB\n", model->rowCount(),
                static_cast<long long>(lastQueue), peakResidentKB() / 1024);
    if (starter)
        starter->mainForm()->endFromRun();
    return model->rowCount() == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const bool window = argc > 8 && QByteArray(argv[1]) == "local-records" && QByteArray(argv[8]) == "window";
    if (window)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (window)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = app->arguments();
    if (args.size() < 8) {
        std::fprintf(stderr, "usage: see the head of QueueBench.cpp\n");
        return 2;
    }
    const QString mode = args[1];
    if (mode == u"download-tree")
        return downloadTree(args);
    if (mode == u"upload-tree")
        return uploadTree(args);
    if (mode == u"download-file")
        return downloadFile(args);
    if (mode == u"local-records")
        return localRecords(args);
    return 2;
}
