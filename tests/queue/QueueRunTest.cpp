// Running queues against a real server: transfers in both directions and both modes, the
// overwrite question, failures, Abort, a server that goes away, and what the grid, the last
// queue, the protocol and the progress texts show afterwards.
#include "QueueServerFixture.h"

#include "common/TextCodec.h"
#include "queue/QueueRecord.h"
#include "queue/UnattendedOverwriteQuestion.h"

#include <QDir>
#include <QFile>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString retr(const QString &remote, const QString &local)
{
    return QStringLiteral("RETR|") + remote + u'|' + local;
}

class QueueRunTest : public QueueServerTest {};

} // namespace

TEST_F(QueueRunTest, AsciiConvertsLineEndsOfTextFilesAndBinaryKeepsEveryByte)
{
    connectToServer();
    const QByteArray crlfText = "line one\r\nline two\r\n";
    const QByteArray lfText = "a\nb\n";
    const QByteArray binary("\x89PNG\r\n\x1a\n\r\n\0\r\n", 13);
    server->writeFile(QStringLiteral("d/windows.txt"), crlfText);
    server->writeFile(QStringLiteral("d/unix.txt"), lfText);
    server->writeFile(QStringLiteral("d/pic.png"), binary);
    const QString up = env.writeFile(QStringLiteral("local/up.txt"), lfText);
    const QString upPng = env.writeFile(QStringLiteral("local/up.png"), binary);

    run({retr(QStringLiteral("/d/windows.txt"), local + QStringLiteral("windows.txt")),
         retr(QStringLiteral("/d/unix.txt"), local + QStringLiteral("unix.txt")),
         retr(QStringLiteral("/d/pic.png"), local + QStringLiteral("pic.png")),
         QStringLiteral("STOR|") + up + QStringLiteral("|/d/up.txt"), QStringLiteral("STOR|") + upPng + QStringLiteral("|/d/up.png")});
    ASSERT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();

    EXPECT_EQ(readLocal(local + QStringLiteral("windows.txt")), QByteArray("line one\nline two\n")) << "ASCII: CR LF became LF";
    EXPECT_EQ(readLocal(local + QStringLiteral("unix.txt")), lfText);
    EXPECT_EQ(readLocal(local + QStringLiteral("pic.png")), binary) << "binary: not a byte changed";
    EXPECT_EQ(server->readFile(QStringLiteral("d/up.png")), binary);
    // Uploaded in ASCII the text arrives in the network form the server stores.
    run({retr(QStringLiteral("/d/up.txt"), local + QStringLiteral("back.txt"))});
    EXPECT_EQ(readLocal(local + QStringLiteral("back.txt")), lfText) << "a text file comes back unchanged";
}

TEST_F(QueueRunTest, UploadOfATreeCreatesItsFoldersAndCopiesItsFiles)
{
    connectToServer();
    env.writeFile(QStringLiteral("local/site/index.html"), "<html>\n");
    env.writeFile(QStringLiteral("local/site/a/b.dat"), QByteArray(70000, '\r'));
    env.writeFile(QStringLiteral("local/site/a/c/d.txt"), "d\n");
    QDir().mkpath(server->localPath(QStringLiteral("pub")));
    host.serverPath = QStringLiteral("/pub");

    // What the upload builder makes of a collected tree.
    QStringList collected;
    walker->CollectLocal(local + QStringLiteral("site/*.*"), collected);
    QStringList records;
    for (const QString &entry : std::as_const(collected)) {
        const QString path = entry.section(QueueRecord::CollectedFileSeparator, 0, 0);
        const QString relative = path.mid(local.size());
        records << QStringLiteral("STOR|") + path + QStringLiteral("|/pub/") + relative + QueueRecord::EntrySeparator
                + entry.section(QueueRecord::CollectedFileSeparator, 1);
    }
    run(DeriveMkdRecords(records, host.serverPath) + records);
    ASSERT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (const char *file : {"site/index.html", "site/a/b.dat", "site/a/c/d.txt"})
        EXPECT_EQ(server->readFile(QStringLiteral("pub/") + QString::fromLatin1(file)), readLocal(local + QString::fromLatin1(file)))
            << file;
    EXPECT_TRUE(protocol().contains(QStringLiteral("0: MKD /pub/site/a/c")));
    EXPECT_TRUE(view.totals.contains(QStringLiteral("Total files: 6 / 6   (100%)")));
    EXPECT_EQ(view.totals.last(), QStringLiteral("Total files: 0 / 0"));
}

TEST_F(QueueRunTest, TheOverwriteQuestionAnsweredEachWay)
{
    connectToServer();
    using Answer = ScriptedQuestion::Answer;
    const struct {
        const char *name;
        QList<Answer> answers;
        int askedThisRun;
        QByteArray first, second; // local f1 and f2 afterwards
        int rowsLeft;
        int askedNextRun;
    } cases[] = {
        {"overwrite", {Answer{}, Answer{}}, 2, "new1", "new2", 0, 2},
        {"skip", {Answer{true}, Answer{true}}, 2, "old1", "old2", 0, 2},
        {"overwrite always", {Answer{false, true}}, 1, "new1", "new2", 0, 0},
        {"skip always", {Answer{true, true}}, 1, "old1", "old2", 0, 0},
        {"overwrite for this queue", {Answer{false, false, true}}, 1, "new1", "new2", 0, 2},
        {"skip for this queue", {Answer{true, false, true}}, 1, "old1", "old2", 0, 2},
        {"abort", {Answer{false, false, false, false}}, 1, "old1", "old2", 3, 2},
    };
    server->writeFile(QStringLiteral("f1.dat"), "new1");
    server->writeFile(QStringLiteral("f2.dat"), "new2");
    server->writeFile(QStringLiteral("f3.dat"), "new3");
    for (const auto &c : cases) {
        resetRunner();
        model.clear();
        env.writeFile(QStringLiteral("local/f1.dat"), "old1");
        env.writeFile(QStringLiteral("local/f2.dat"), "old2");
        QFile::remove(local + QStringLiteral("f3.dat"));
        question.answers = c.answers;
        question.asked.clear();
        const QStringList queue = {retr(QStringLiteral("/f1.dat"), local + QStringLiteral("f1.dat")),
                                   retr(QStringLiteral("/f2.dat"), local + QStringLiteral("f2.dat")),
                                   retr(QStringLiteral("/f3.dat"), local + QStringLiteral("f3.dat"))};
        run(queue);
        EXPECT_EQ(question.asked.size(), c.askedThisRun) << c.name;
        if (!question.asked.isEmpty())
            EXPECT_EQ(question.asked.first(), local + QStringLiteral("f1.dat")) << c.name;
        EXPECT_EQ(readLocal(local + QStringLiteral("f1.dat")), c.first) << c.name;
        EXPECT_EQ(readLocal(local + QStringLiteral("f2.dat")), c.second) << c.name;
        EXPECT_EQ(model.rowCount(), c.rowsLeft) << c.name;
        EXPECT_EQ(lastQueueSources().size(), c.rowsLeft) << c.name;
        if (c.rowsLeft == 0)
            EXPECT_EQ(readLocal(local + QStringLiteral("f3.dat")), QByteArray("new3")) << c.name;
        else
            EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("f3.dat"))) << c.name << ": the run ended";

        // The next run meets the same two conflicts.
        env.writeFile(QStringLiteral("local/f1.dat"), "old1");
        env.writeFile(QStringLiteral("local/f2.dat"), "old2");
        QFile::remove(local + QStringLiteral("f3.dat"));
        question.asked.clear();
        question.answers = {Answer{}, Answer{}};
        run(queue);
        EXPECT_EQ(question.asked.size(), c.askedNextRun) << c.name << " (next run)";
    }
}

TEST_F(QueueRunTest, AFailedRecordKeepsItsRowAndTheOthersGo)
{
    connectToServer();
    server->writeFile(QStringLiteral("a.dat"), "a");
    server->writeFile(QStringLiteral("c.dat"), "c");
    const QString missing = local + QStringLiteral("missing.dat");
    run({retr(QStringLiteral("/a.dat"), local + QStringLiteral("a.dat")), retr(QStringLiteral("/missing.dat"), missing),
         retr(QStringLiteral("/c.dat"), local + QStringLiteral("c.dat")), QStringLiteral("XYZ|a|b")});

    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/missing.dat")});
    EXPECT_EQ(lastQueueSources(), QStringList{QStringLiteral("/missing.dat")});
    EXPECT_EQ(readLocal(local + QStringLiteral("c.dat")), QByteArray("c"));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(missing + QStringLiteral(".velmora-part")));
    EXPECT_EQ(protocol().filter(QStringLiteral("2: ")).size(), 1) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: Command unknown!")}) << "and the unknown command counts as done";

    // Run again: exactly the failed row is tried again.
    server->writeFile(QStringLiteral("missing.dat"), "m");
    run({retr(QStringLiteral("/missing.dat"), missing)});
    EXPECT_TRUE(model.isEmpty());
    EXPECT_EQ(readLocal(missing), QByteArray("m"));
}

TEST_F(QueueRunTest, RecordsThatCountAsDoneWithoutTransferring)
{
    connectToServer();
    server->writeFile(QStringLiteral("BACKUP001/BACKUPINFO.VELMORA"), "index");
    QDir().mkpath(server->localPath(QStringLiteral("exists")));
    const QString gone = local + QStringLiteral("gone.txt");
    run({retr(QStringLiteral("/BACKUP001/BACKUPINFO.VELMORA"), local + QStringLiteral("BACKUPINFO.VELMORA")),
         QStringLiteral("STOR|") + gone + QStringLiteral("|/gone.txt"), QStringLiteral("MKD|/exists"),
         QStringLiteral("MKLOCALDIR|") + local + QStringLiteral("new/deeper")});
    EXPECT_TRUE(model.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("BACKUPINFO.VELMORA")));
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: File not exists: ") + gone));
    EXPECT_TRUE(protocol().contains(QStringLiteral("0: MKD /exists")));
    EXPECT_TRUE(QFileInfo(local + QStringLiteral("new/deeper")).isDir());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(QueueRunTest, AnUploadIntoAMissingFolderFailsAfterTheListingDoes)
{
    connectToServer();
    const QString file = env.writeFile(QStringLiteral("local/x.dat"), "x");
    run({QStringLiteral("STOR|") + file + QStringLiteral("|/nowhere/x.dat")});
    EXPECT_EQ(gridSources(), QStringList{file});
    const QStringList lines = protocol();
    const qsizetype listing = lines.indexOf(QStringLiteral("2: Failed to retrieve directory listing"));
    ASSERT_GE(listing, 0) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.mid(listing).contains(QStringLiteral("0: STOR ") + file + QStringLiteral(" /nowhere/x.dat")));
    EXPECT_EQ(lines.last().left(3), QStringLiteral("2: "));
}

TEST_F(QueueRunTest, AbortDuringATransferFailsItsRecordEndsTheRunAndLeavesNoPartialFile)
{
    connectToServer();
    server->writeFile(QStringLiteral("big.dat"), QByteArray(48 * 1024 * 1024, 'b'));
    server->writeFile(QStringLiteral("small.dat"), "s");
    QObject::connect(&master->client(), &FtpClient::workProgressed, &master->client(), [this] { work.abortRequested = true; });
    const QString big = local + QStringLiteral("big.dat");
    run({retr(QStringLiteral("/big.dat"), big), retr(QStringLiteral("/small.dat"), local + QStringLiteral("small.dat"))});

    EXPECT_EQ(gridSources(), (QStringList{QStringLiteral("/big.dat"), QStringLiteral("/small.dat")}));
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: Transfer aborted")));
    EXPECT_FALSE(QFileInfo::exists(big));
    EXPECT_FALSE(QFileInfo::exists(big + QStringLiteral(".velmora-part")));
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("small.dat")));

    // The connection is still good for the next run.
    QObject::disconnect(&master->client(), &FtpClient::workProgressed, &master->client(), nullptr);
    run({retr(QStringLiteral("/small.dat"), local + QStringLiteral("small.dat"))});
    EXPECT_EQ(readLocal(local + QStringLiteral("small.dat")), QByteArray("s"));
}

TEST_F(QueueRunTest, AnOverwrittenFileStaysWholeWhenItsDownloadFails)
{
    connectToServer();
    server->writeFile(QStringLiteral("big.dat"), QByteArray(48 * 1024 * 1024, 'n'));
    const QString target = env.writeFile(QStringLiteral("local/big.dat"), "the old, complete file");
    runner->overwritePolicy().applyAllwaysOverwrite(true);
    QObject::connect(&master->client(), &FtpClient::workProgressed, &master->client(), [this] { work.abortRequested = true; });
    run({retr(QStringLiteral("/big.dat"), target)});
    EXPECT_EQ(readLocal(target), QByteArray("the old, complete file"));
    EXPECT_EQ(model.rowCount(), 1);
}

TEST_F(QueueRunTest, AServerThatGoesAwayLeavesTheRowsNotDone)
{
    connectToServer();
    for (const char *name : {"a.dat", "b.dat", "c.dat"})
        server->writeFile(QString::fromLatin1(name), name);
    QObject::connect(runner.get(), &QueueRunner::recordStarted, runner.get(), [this](int index) {
        if (index == 1)
            server->stop();
    });
    run({retr(QStringLiteral("/a.dat"), local + QStringLiteral("a.dat")), retr(QStringLiteral("/b.dat"), local + QStringLiteral("b.dat")),
         retr(QStringLiteral("/c.dat"), local + QStringLiteral("c.dat"))});
    EXPECT_EQ(gridSources(), (QStringList{QStringLiteral("/b.dat"), QStringLiteral("/c.dat")}));
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_EQ(readLocal(local + QStringLiteral("a.dat")), QByteArray("a.dat"));
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("b.dat")));
    EXPECT_LE(prompts.shown.size(), 1) << "at most one reconnect attempt is reported: " << prompts.shown.join(u'\n').toStdString();
}

TEST_F(QueueRunTest, ProgressTextsAndChartLabelsFollowTheRun)
{
    connectToServer();
    server->writeFile(QStringLiteral("a.dat"), QByteArray(3000, 'a'));
    server->writeFile(QStringLiteral("b.dat"), QByteArray(2000, 'b'));
    run({retr(QStringLiteral("/a.dat"), local + QStringLiteral("a.dat")) + QStringLiteral("§1|a.dat|3000|01.02.2003 04:05"),
         retr(QStringLiteral("/b.dat"), local + QStringLiteral("b.dat")) + QStringLiteral("§1|b.dat|2000|01.02.2003 04:05"),
         QStringLiteral("MKLOCALDIR|") + local + QStringLiteral("x")});
    EXPECT_EQ(view.totals, (QStringList{QStringLiteral("Total files: 0 / 3   (0%)"), QStringLiteral("Total files: 1 / 3   (33%)"),
                                        QStringLiteral("Total files: 2 / 3   (67%)"), QStringLiteral("Total files: 3 / 3   (100%)"),
                                        QStringLiteral("Total files: 0 / 0")}));
    EXPECT_EQ(view.bytes.first(), QStringLiteral("Bytes: -"));
    EXPECT_TRUE(view.bytes.contains(QStringLiteral("Bytes: 3.000 / 3.000   (100%)"))) << view.bytes.join(u'\n').toStdString();
    EXPECT_EQ(view.info, QStringLiteral("    0 operations"));
    EXPECT_EQ(view.size, QStringLiteral("    0  bytes"));
    EXPECT_EQ(view.traffic, QStringLiteral("Traffic: 0 (kB/s)"));
    EXPECT_EQ(view.chartsShown, 2) << "before each transfer";
    const TransferStatistics &stats = runner->traffic().statistics();
    EXPECT_EQ(stats.filesDone, 2);
    EXPECT_EQ(stats.directoriesMade, 1);
    EXPECT_EQ(stats.totalBytesAtStart, 5000);
    EXPECT_EQ(stats.bytesToGo, 0);
    EXPECT_FALSE(runner->traffic().timer().isActive());
}

TEST_F(QueueRunTest, ASingleDownloadOverwritesWithoutAskingAndLeavesTheQueuedRows)
{
    connectToServer();
    server->writeFile(QStringLiteral("view.txt"), "fresh\n");
    const QString target = env.writeFile(QStringLiteral("local/view.txt"), "stale\n");
    model.appendRow({QStringLiteral("/queued.dat"), QStringLiteral("RETR"), local + QStringLiteral("q.dat"), QStringLiteral("1"),
                     QStringLiteral("d")});
    runner->overwritePolicy().applyQuestionState(false, true, false, false); // "Skip" remembered
    runner->DownloadFile(QStringLiteral("/view.txt"), target, QStringLiteral("6"));
    EXPECT_EQ(readLocal(target), QByteArray("fresh\n"));
    EXPECT_TRUE(question.asked.isEmpty());
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/queued.dat")});
    EXPECT_EQ(runner->overwritePolicy().action, OverwritePolicy::Action::Skip) << "the policy is restored";

    const QString upload = env.writeFile(QStringLiteral("local/up.dat"), "up");
    runner->UploadFile(upload, QStringLiteral("/dir//up.dat"));
    EXPECT_EQ(model.rowCount(), 2) << "the upload failed: no folder /dir";
    runner->MakeRemoteDir(QStringLiteral("/dir/"));
    runner->UploadFile(upload, QStringLiteral("/dir//up.dat"));
    EXPECT_EQ(server->readFile(QStringLiteral("dir/up.dat")), QByteArray("up"));
}

TEST_F(QueueRunTest, ABatchRunWritesItsLogLineAndEndsAsItsModeSays)
{
    connectToServer();
    server->writeFile(QStringLiteral("a.dat"), QByteArray(1536, 'a'));
    host.batch = true;
    host.queueFile = env.root() + QStringLiteral("jobs/nightly.queue");
    host.mode = QStringLiteral("-rc");
    run({retr(QStringLiteral("/a.dat"), local + QStringLiteral("a.dat")) + QStringLiteral("§1|a.dat|1536|d")});
    const QStringList log = TextCodec::ReadLines(folders.appDataFile(QStringLiteral("Lastbatchjob.log")));
    ASSERT_EQ(log.size(), 1);
    const QStringList fields = log.first().split(u'|');
    ASSERT_EQ(fields.size(), 9) << log.first().toStdString();
    EXPECT_EQ(fields.mid(3), (QStringList{env.root() + QStringLiteral("jobs/"), QStringLiteral("nightly.queue"), QStringLiteral("-rc"),
                                          QStringLiteral("127.0.0.1"), QStringLiteral("1.50 kB"), QStringLiteral("1")}));
    EXPECT_EQ(host.calls, QStringList{QStringLiteral("endProgram")});

    host.batch = false;
    host.closeChecked = true;
    host.calls.clear();
    run({});
    EXPECT_EQ(host.calls, QStringList{QStringLiteral("endProgram")}) << "\"Close program after transfer\"";
}

TEST_F(QueueRunTest, WithNobodyToAnswerTheOverwriteQuestionTakesSkipAndTheRunGoesOn)
{
    connectToServer();
    server->writeFile(QStringLiteral("f1.dat"), "new1");
    server->writeFile(QStringLiteral("f2.dat"), "new2");
    env.writeFile(QStringLiteral("local/f1.dat"), "old1");
    UnattendedOverwriteQuestion unattended(context);
    runner->setQuestion(&unattended);
    run({retr(QStringLiteral("/f1.dat"), local + QStringLiteral("f1.dat")), retr(QStringLiteral("/f2.dat"), local + QStringLiteral("f2.dat"))});
    EXPECT_EQ(readLocal(local + QStringLiteral("f1.dat")), QByteArray("old1")) << "nothing is lost";
    EXPECT_EQ(readLocal(local + QStringLiteral("f2.dat")), QByteArray("new2")) << "the run went on";
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("information: The target file allready exists: ") + local
                                         + QStringLiteral("f1.dat. Skipped: nobody can answer during a batch job.")});
    EXPECT_TRUE(model.isEmpty());
    EXPECT_FALSE(work.abortRequested);
    EXPECT_TRUE(runner->lastRun().allSucceeded());
}
