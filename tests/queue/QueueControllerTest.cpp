// The queue bar's actions: queue files with their side files, damaged files, the last queue of
// a killed program, Run queue, Pause, Clear, Delete line(s) and the AUTO switch.
#include "QueueServerFixture.h"

#include "common/TextCodec.h"
#include "queue/QueueRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class QueueControllerTest : public QueueServerTest {
protected:
    QueueControllerTest()
        : controller(context, *master, work, model, host, *runner)
    {
    }
    QueueRow row(const QString &source, const QString &cmd, const QString &destination, const QString &size = QStringLiteral("0"))
    {
        return {source, cmd, destination, size, QStringLiteral("01.02.2003 04:05:06")};
    }
    QueueController controller;
};

} // namespace

TEST_F(QueueControllerTest, SavesAQueueWithItsSideFileAndLoadsItBack)
{
    controller.SaveQueue();
    EXPECT_TRUE(prompts.shown.isEmpty()) << "an empty grid saves nothing";

    master->SetConnectionData(QStringLiteral("ftp.example.org"), QStringLiteral("2121"), QStringLiteral("anna"),
                              QStringLiteral("geheim"), 1);
    model.appendRows({row(QStringLiteral("/www/img"), QStringLiteral("MKD"), QString()),
                      row(QStringLiteral("/site/a b.txt"), QStringLiteral("STOR"), QStringLiteral("/www/a b.txt"), QStringLiteral("12"))});
    const QString path = controller.savedQueuesFolder() + QStringLiteral("site.queue");
    prompts.fileAnswers = {path};
    controller.SaveQueue();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("saveFile: Save queue|")});
    EXPECT_EQ(prompts.lastStartFolder, folders.appDataFolder + QStringLiteral("Saved-Queues/"));
    EXPECT_EQ(TestEnvironment::readFile(path), QueueFile::encode(model.rows()));
    const QString side = controller.savedQueuesFolder() + QStringLiteral("site.ftp");
    EXPECT_EQ(QFileInfo(side).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);

    controller.ClearQueue();
    EXPECT_TRUE(model.isEmpty());
    EXPECT_EQ(QFileInfo(store.path()).size(), 0);
    master->SetConnectionData(QString(), QString(), QString(), QString(), 0);

    prompts.fileAnswers = {path};
    controller.LoadQueue();
    EXPECT_EQ(prompts.shown.last(), QStringLiteral("openFile: Load queue"));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.rowAt(0).destination, QStringLiteral(" ")) << "an empty field comes back as one blank";
    EXPECT_EQ(model.rowAt(1).source, QStringLiteral("/site/a b.txt"));
    EXPECT_EQ(master->host(), QStringLiteral("ftp.example.org"));
    EXPECT_EQ(master->password(), QStringLiteral("geheim"));
    EXPECT_EQ(lastQueueSources(), gridSources()) << "the last queue follows the grid";
}

TEST_F(QueueControllerTest, ADamagedQueueFileIsRefusedAndTheGridKeepsItsRows)
{
    model.appendRow(row(QStringLiteral("/keep"), QStringLiteral("DELE"), QString()));
    const QString path = env.writeFile(QStringLiteral("broken.queue"), "a\xA7RETR\xA7" "b\r\n\x7F" "ELF\x02\x01\x01\x00\x00");
    EXPECT_FALSE(controller.LoadQueueFile(path));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: The file ") + path
                                         + QStringLiteral(" is not a queue file: line 2 holds characters a queue file never "
                                                          "has. Nothing was loaded.")});
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/keep")});
}

TEST_F(QueueControllerTest, ADamagedLastQueueIsKeptAsideAndReported)
{
    const QString path = controller.lastQueuePath();
    env.writeFile(path, QByteArray("x\xA7RETR\xA7y\r\n\0\0\0", 14));
    controller.LoadLastSession();
    EXPECT_TRUE(model.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path));
    const QStringList kept = QDir(folders.appDataFolder).entryList({QStringLiteral("lastqueue.ini.damaged-*")});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: The file ") + path
                                         + QStringLiteral(" is not a queue file: line 2 holds characters a queue file never has. "
                                                          "It was kept as ")
                                         + folders.appDataFolder + kept.first() + u'.'});
}

TEST_F(QueueControllerTest, DeleteLinesAsksWithTheNumberOfEntries)
{
    model.appendRows({row(QStringLiteral("/a"), QStringLiteral("DELE"), {}), row(QStringLiteral("/b"), QStringLiteral("DELE"), {}),
                      row(QStringLiteral("/c"), QStringLiteral("DELE"), {})});
    store.save(model);
    const struct {
        QList<int> selected;
        bool answer;
        const char *question;
        QStringList left;
    } cases[] = {
        {{1}, false, "Really delete 1 entry?", {QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c")}},
        {{}, true, "Really delete 0 entry?", {QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c")}},
        {{0, 2}, true, "Really delete 2 entries?", {QStringLiteral("/b")}},
    };
    for (const auto &c : cases) {
        prompts.shown.clear();
        prompts.confirmAnswers = {c.answer};
        controller.DeleteLines(c.selected);
        EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("confirm: ") + QString::fromLatin1(c.question)});
        EXPECT_EQ(gridSources(), c.left) << c.question;
        EXPECT_EQ(lastQueueSources(), c.left) << c.question;
    }
    language.setCurrent(Language::German);
    prompts.shown.clear();
    controller.DeleteLines({0});
    EXPECT_EQ(prompts.shown, QStringList{QString::fromUtf8("confirm:  1 Eintrag löschen?")});
}

TEST_F(QueueControllerTest, PauseDropsTheRowsOfSearchDownloadsAndStopsTheRun)
{
    const QString downloads = folders.downloadFolder();
    model.appendRows({row(QStringLiteral("/a.txt"), QStringLiteral("RETR"), downloads + QStringLiteral("a.txt")),
                      row(QStringLiteral("/b.txt"), QStringLiteral("RETR"), local + QStringLiteral("b.txt")),
                      row(QStringLiteral("/c.txt"), QStringLiteral("RETR"), downloads + QStringLiteral("sub/c.txt"))});
    controller.PauseQueue();
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/b.txt")});
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_TRUE(work.cancel.isPauseRequested());
    EXPECT_FALSE(work.cancel.isCancelled()) << "Pause lets the running transfer finish";
}

// Pause while a large download runs: the download finishes whole, then the run stops and the
// rows after it wait for the next Run. The server holds the transfer half way until the test
// has pressed Pause, so the transfer is surely running when Pause comes.
TEST_F(QueueControllerTest, PauseLetsTheRunningTransferFinishThenStops)
{
    const QString release = env.root() + QStringLiteral("release");
    FtpTestServer::Setup setup;
    setup.holdTransfersAfter = HeldAfter;
    setup.releaseFile = release;
    connectToServer(setup);
    QByteArray big(3 * HeldAfter + 12345, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 7 % 251);
    server->writeFile(QStringLiteral("big.dat"), big);
    server->writeFile(QStringLiteral("small.dat"), "small");
    model.appendRows({row(QStringLiteral("/big.dat"), QStringLiteral("RETR"), local + QStringLiteral("big.dat"), QString::number(big.size())),
                      row(QStringLiteral("/small.dat"), QStringLiteral("RETR"), local + QStringLiteral("small.dat"), QStringLiteral("5"))});
    const QString part = local + QStringLiteral("big.dat.velmora-part");
    bool paused = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (paused || QFileInfo(part).size() < HeldAfter)
            return;
        paused = true;
        controller.PauseQueue(); // as the button does, in the run's message processing
        env.writeFile(QStringLiteral("release"), "go");
    });
    watch.start(5);
    controller.RunQueueClick();
    watch.stop();
    ASSERT_TRUE(paused) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(readLocal(local + QStringLiteral("big.dat")), big) << protocol().join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("small.dat"))) << "the run stops after the running record";
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/small.dat")});
    EXPECT_EQ(lastQueueSources(), gridSources());

    // Run continues with what is left.
    controller.RunQueueClick();
    EXPECT_EQ(readLocal(local + QStringLiteral("small.dat")), QByteArray("small"));
    EXPECT_TRUE(model.isEmpty());
}

TEST_F(QueueControllerTest, RunQueueDerivesTheUploadFoldersAgainAndKeepsRowsItCannotRun)
{
    connectToServer();
    QDir().mkpath(server->localPath(QStringLiteral("pub")));
    host.serverPath = QStringLiteral("/pub");
    const QString a = env.writeFile(QStringLiteral("local/site/a.txt"), "a\n");
    const QString b = env.writeFile(QStringLiteral("local/site/x/b.dat"), "b");
    model.appendRows({row(QStringLiteral("/pub/site"), QStringLiteral("MKD"), QStringLiteral(" ")),
                      row(QStringLiteral("/pub/site"), QStringLiteral("CHMOD"), QStringLiteral("777")),
                      row(a, QStringLiteral("STOR"), QStringLiteral("/pub/site/a.txt"), QStringLiteral("2")),
                      row(b, QStringLiteral("STOR"), QStringLiteral("/pub/site/x/b.dat"), QStringLiteral("1"))});
    const RunResult result = controller.RunGrid(std::nullopt);
    EXPECT_EQ(server->readFile(QStringLiteral("pub/site/x/b.dat")), QByteArray("b"));
    EXPECT_EQ(protocol().filter(QRegularExpression(QStringLiteral("^0: (MKD|CHMOD) "))),
              (QStringList{QStringLiteral("0: MKD /pub/site"), QStringLiteral("0: MKD /pub/site/x")}));
    // The "MKD" row was made again from the uploads; the "CHMOD" row was not done: it is named
    // and stays, in the grid and in the last queue.
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/pub/site")});
    EXPECT_EQ(model.rowAt(0).cmd, QStringLiteral("CHMOD"));
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_EQ(protocol().filter(QStringLiteral("2: Not done")),
              QStringList{QStringLiteral("2: Not done: the queue row CHMOD /pub/site 777 has a command the queue cannot run. It stays in the queue.")});
    EXPECT_FALSE(result.allSucceeded());
}

// A queue file edited by hand: "DELE /pub/keep|x.txt" must not become "DELE /pub/keep".
TEST_F(QueueControllerTest, RunQueueSkipsRowsThatNoRecordCanCarryAndSaysSo)
{
    connectToServer();
    server->writeFile(QStringLiteral("pub/keep"), "keep");
    server->writeFile(QStringLiteral("pub/a.dat"), "a");
    model.appendRows({row(QStringLiteral("/pub/keep|x.txt"), QStringLiteral("DELE"), QStringLiteral(" ")),
                      row(QStringLiteral("/pub/a.dat"), QStringLiteral("RETR"), local + QStringLiteral(".."), QStringLiteral("1")),
                      row(QStringLiteral("/pub/a.dat"), QStringLiteral("RETR"), local + QStringLiteral("a.dat"), QStringLiteral("1"))});
    const RunResult result = controller.RunGrid(std::nullopt);
    EXPECT_EQ(server->readFile(QStringLiteral("pub/keep")), QByteArray("keep"));
    EXPECT_EQ(readLocal(local + QStringLiteral("a.dat")), QByteArray("a"));
    EXPECT_EQ(protocol().filter(QStringLiteral("2: Not done")),
              (QStringList{QStringLiteral("2: Not done: the queue row DELE /pub/keep|x.txt contains a character that records cannot hold. It stays in the queue."),
                           QStringLiteral("2: Not done: the queue row RETR /pub/a.dat ") + local
                               + QStringLiteral(".. names a parent or current folder. It stays in the queue.")}));
    // Both rows are work not done: they stay, and the run says it did not do everything.
    EXPECT_EQ(gridSources(), (QStringList{QStringLiteral("/pub/keep|x.txt"), QStringLiteral("/pub/a.dat")}));
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_EQ(result.records, 3);
    EXPECT_EQ(result.succeeded, 1);
}

TEST_F(QueueControllerTest, ClearQueueAndTheAutomaticRunSwitch)
{
    controller.ClearQueue();
    EXPECT_FALSE(QFileInfo::exists(store.path())) << "an empty grid leaves the last queue alone";

    const bool before = options.data().automaticRunQueue;
    controller.ToggleAutomaticRun();
    EXPECT_EQ(options.data().automaticRunQueue, !before);
    Options reread(folders.appDataFile(QStringLiteral("options.ini")));
    reread.load();
    EXPECT_EQ(reread.data().automaticRunQueue, !before);
}

TEST_F(QueueControllerTest, AProgramKilledAtAnyPointKeepsExactlyTheRowsNotDone)
{
    connectToServer();
    server->writeFile(QStringLiteral("q/a.dat"), "a");
    server->writeFile(QStringLiteral("q/b.dat"), "b");
    server->writeFile(QStringLiteral("q/big.dat"), QByteArray(4 * HeldAfter, 'g'));
    server->writeFile(QStringLiteral("q/c.dat"), "c");
    const QString target = local + QStringLiteral("k/");
    const QStringList records = {QStringLiteral("MKLOCALDIR|") + target,
                                 QStringLiteral("RETR|/q/a.dat|") + target + QStringLiteral("a.dat"),
                                 QStringLiteral("RETR|/q/b.dat|") + target + QStringLiteral("b.dat"),
                                 QStringLiteral("RETR|/q/big.dat|") + target + QStringLiteral("big.dat"),
                                 QStringLiteral("RETR|/q/c.dat|") + target + QStringLiteral("c.dat")};
    const QString recordsFile = env.root() + QStringLiteral("records.txt");
    TextCodec::WriteLines(recordsFile, records);
    const QStringList sources = {target, QStringLiteral("/q/a.dat"), QStringLiteral("/q/b.dat"), QStringLiteral("/q/big.dat"),
                                 QStringLiteral("/q/c.dat")};

    const struct {
        int killAt;
        const char *when;
    } cases[] = {{0, "record"}, {2, "record"}, {3, "transfer"}};
    for (const auto &c : cases) {
        QDir(target).removeRecursively();
        // While the helper runs the server holds big.dat after its first MiB, so the kill on its
        // first progress always lands mid-transfer; the restarted program gets it whole.
        server->setHoldTransfersAfter(HeldAfter);
        ASSERT_TRUE(server->restart()) << server->errorText().toStdString();
        QProcess helper;
        helper.start(QCoreApplication::applicationDirPath() + QStringLiteral("/queue_kill_helper"),
                     {server->host(), QString::number(server->port()), server->user(), server->password(), recordsFile,
                      QString::number(c.killAt), QString::fromLatin1(c.when)});
        ASSERT_TRUE(helper.waitForFinished(30000));
        ASSERT_EQ(helper.exitStatus(), QProcess::CrashExit) << helper.readAllStandardError().toStdString();
        EXPECT_EQ(lastQueueSources(), sources.mid(c.killAt)) << c.killAt << c.when;
        EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("big.dat"))) << "no truncated file under the real name";
        if (c.killAt == 3)
            EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("big.dat.velmora-part"))) << "killed half-way";

        // The next start shows the rows, and Run queue finishes them.
        server->setHoldTransfersAfter(0);
        ASSERT_TRUE(server->restart()) << server->errorText().toStdString();
        controller.LoadLastSession();
        EXPECT_EQ(gridSources(), sources.mid(c.killAt));
        controller.RunQueueClick();
        EXPECT_TRUE(model.isEmpty()) << c.killAt << protocol().join(u'\n').toStdString();
        EXPECT_EQ(QFileInfo(store.path()).size(), 0);
        for (const char *name : {"a.dat", "b.dat", "big.dat", "c.dat"})
            EXPECT_EQ(readLocal(target + QString::fromLatin1(name)), server->readFile(QStringLiteral("q/") + QString::fromLatin1(name)))
                << name;
        EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("big.dat.velmora-part")));
    }
}

TEST_F(QueueControllerTest, PauseDuringARunRemovesTheRightRows)
{
    connectToServer();
    const QString downloads = folders.downloadFolder();
    // X and T fail (no such remote files) and keep their rows; Pause comes while B runs and
    // removes T, the row of a search download, from in front of B.
    const QStringList records = {QStringLiteral("RETR|/x.txt|") + local + QStringLiteral("x.txt"),
                                 QStringLiteral("RETR|/t.txt|") + downloads + QStringLiteral("t.txt"),
                                 QStringLiteral("MKLOCALDIR|") + local + QStringLiteral("b"),
                                 QStringLiteral("MKLOCALDIR|") + local + QStringLiteral("c")};
    QObject::connect(runner.get(), &QueueRunner::recordStarted, runner.get(), [this](int index) {
        if (index == 2)
            controller.PauseQueue();
    });
    run(records);
    EXPECT_EQ(gridSources(), (QStringList{QStringLiteral("/x.txt"), local + QStringLiteral("c")}));
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_TRUE(QFileInfo(local + QStringLiteral("b")).isDir());
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("c"))) << "the run stopped after B";
}

TEST_F(QueueControllerTest, ShowingOnlyAddsTheRowsAndRunsNothing)
{
    connectToServer();
    RunPlan plan;
    plan.autoRun = false;
    plan.records = {QStringLiteral("MKLOCALDIR|") + local + QStringLiteral("one")};
    runner->RunQueue(plan);
    plan.records = {QStringLiteral("MKLOCALDIR|") + local + QStringLiteral("two"), QStringLiteral("  ")};
    runner->RunQueue(plan);
    EXPECT_EQ(gridSources(), (QStringList{local + QStringLiteral("one"), local + QStringLiteral("two")}));
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("one")));
    EXPECT_EQ(view.info, QStringLiteral("    1 operations"));
}
