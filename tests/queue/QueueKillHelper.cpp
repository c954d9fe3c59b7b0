// A queue run that is killed (SIGKILL, no clean-up at all) at a chosen point, for the test that
// restarts after it. Usage:
//   queue_kill_helper HOST PORT USER PASSWORD RECORDS_FILE INDEX record|transfer
// "record" dies just before the record INDEX starts, "transfer" during its first transfer event.
#include "app/AppContext.h"
#include "app/AppFolders.h"
#include "app/DesignState.h"
#include "app/SystemPlatform.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "common/Language.h"
#include "common/TextCodec.h"
#include "engine/MasterFTP.h"
#include "queue/LastQueueStore.h"
#include "queue/QueueHost.h"
#include "queue/QueueProgressView.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

using namespace Velmora;

namespace {

class SilentPrompts : public UserPrompts {
public:
    void information(const QString &text) override { std::fprintf(stderr, "information: %s\n", qPrintable(text)); }
    void error(const QString &text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    bool confirm(const QString &) override { return false; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(const QString &, const QString &, bool) override { return {}; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 8)
        return 2;
    AppFolders folders = AppFolders::detect();
    folders.create();
    ProtocolLog log(folders.appDataFolder);
    Options options(folders.appDataFile(QStringLiteral("options.ini")));
    SilentPrompts prompts;
    Language language;
    WorkControl work;
    SystemPlatform platform;
    DesignState design;
    AppContext context{folders, language, options, log, prompts, platform, design};
    MasterFTP master(log, options, prompts, context.folders, language);
    master.SetConnectionData(args[1], args[2], args[3], args[4], 0);
    if (!master.Connect(false))
        return 3;

    QueueTableModel model;
    LastQueueStore store(context.folders.appDataFile(QStringLiteral("lastqueue.ini")));
    NullQueueHost host;
    NullQueueProgressView view;
    QueueRunner runner(context, master, work, model, store, host, view);
    const int killAt = args[6].toInt();
    const bool duringTransfer = args[7] == u"transfer";
    bool armed = false;
    QObject::connect(&runner, &QueueRunner::recordStarted, &runner, [&](int index) {
        if (index != killAt)
            return;
        if (!duringTransfer)
            std::raise(SIGKILL);
        armed = true;
    });
    QObject::connect(&master.client(), &FtpClient::workProgressed, &runner, [&] {
        if (armed)
            std::raise(SIGKILL);
    });
    RunPlan plan;
    plan.records = TextCodec::ReadLines(args[5]);
    runner.RunQueue(plan);
    return 0;
}
