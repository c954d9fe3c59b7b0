// Running queues against a real server: transfers in both directions and both modes, the
// overwrite question, failures, Abort, a server that goes away, and what the grid, the last
// queue, the protocol and the progress texts show afterwards.
#include "QueueServerFixture.h"

#include "app/SystemPlatform.h"
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

// In passive mode, and in active mode against a server that refuses passive mode, so a run
// that fell back to passive could not pass. Zero-byte files travel in both directions too.
TEST_F(QueueRunTest, AsciiConvertsLineEndsOfTextFilesAndBinaryKeepsEveryByte)
{
    const QByteArray crlfText = "line one\r\nline two\r\n";
    const QByteArray lfText = "a\nb\n";
    const QByteArray binary("\x89PNG\r\n\x1a\n\r\n\0\r\n", 13);
    for (const bool active : {false, true}) {
        const char *mode = active ? "active" : "passive";
        FtpTestServer::Setup setup;
        setup.refusePassive = active;
        connectToServer(setup, active ? 1 : 0);
        const QString dir = local + QString::fromLatin1(mode) + u'/';
        server->writeFile(QStringLiteral("d/windows.txt"), crlfText);
        server->writeFile(QStringLiteral("d/unix.txt"), lfText);
        server->writeFile(QStringLiteral("d/pic.png"), binary);
        server->writeFile(QStringLiteral("d/empty.txt"), QByteArray());
        server->writeFile(QStringLiteral("d/empty.png"), QByteArray());
        const QString up = env.writeFile(QString::fromLatin1(mode) + QStringLiteral("-up/up.txt"), lfText);
        const QString upCrlf = env.writeFile(QString::fromLatin1(mode) + QStringLiteral("-up/crlf.txt"), crlfText);
        const QString upPng = env.writeFile(QString::fromLatin1(mode) + QStringLiteral("-up/up.png"), binary);
        const QString upEmptyText = env.writeFile(QString::fromLatin1(mode) + QStringLiteral("-up/none.txt"), QByteArray());
        const QString upEmpty = env.writeFile(QString::fromLatin1(mode) + QStringLiteral("-up/none.png"), QByteArray());
        const auto stor = [](const QString &from, const char *to) -> QString {
            return QStringLiteral("STOR|") + from + QStringLiteral("|/d/") + QString::fromLatin1(to);
        };

        run({QStringLiteral("MKLOCALDIR|") + dir, retr(QStringLiteral("/d/windows.txt"), dir + QStringLiteral("windows.txt")),
             retr(QStringLiteral("/d/unix.txt"), dir + QStringLiteral("unix.txt")),
             retr(QStringLiteral("/d/pic.png"), dir + QStringLiteral("pic.png")),
             retr(QStringLiteral("/d/empty.txt"), dir + QStringLiteral("empty.txt")),
             retr(QStringLiteral("/d/empty.png"), dir + QStringLiteral("empty.png")) + QStringLiteral("§1|empty.png|0|d"),
             stor(up, "up.txt"), stor(upCrlf, "crlf.txt"), stor(upPng, "up.png"), stor(upEmptyText, "none.txt"),
             stor(upEmpty, "none.png")});
        ASSERT_TRUE(model.isEmpty()) << mode << ": " << protocol().join(u'\n').toStdString();

        EXPECT_EQ(readLocal(dir + QStringLiteral("windows.txt")), QByteArray("line one\nline two\n")) << mode << ": ASCII: CR LF became LF";
        EXPECT_EQ(readLocal(dir + QStringLiteral("unix.txt")), lfText) << mode;
        EXPECT_EQ(readLocal(dir + QStringLiteral("pic.png")), binary) << mode << ": binary: not a byte changed";
        EXPECT_EQ(server->readFile(QStringLiteral("d/up.png")), binary) << mode;
        // The server stores an ASCII upload with its own line ends: the ".txt" file went as text.
        // (Whether a bare LF left as CR LF only the bytes on the wire show: the scripted client
        // tests check those.)
        EXPECT_EQ(server->readFile(QStringLiteral("d/crlf.txt")), QByteArray("line one\nline two\n")) << mode;
        for (const QString &empty : QStringList{dir + QStringLiteral("empty.txt"), dir + QStringLiteral("empty.png"),
                                                server->localPath(QStringLiteral("d/none.txt")),
                                                server->localPath(QStringLiteral("d/none.png"))}) {
            EXPECT_TRUE(QFileInfo(empty).isFile()) << mode << ": " << empty.toStdString();
            EXPECT_EQ(QFileInfo(empty).size(), 0) << mode << ": " << empty.toStdString();
        }
        // Uploaded in ASCII the text arrives in the network form the server stores.
        run({retr(QStringLiteral("/d/up.txt"), dir + QStringLiteral("back.txt"))});
        EXPECT_EQ(readLocal(dir + QStringLiteral("back.txt")), lfText) << mode << ": a text file comes back unchanged";
    }
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

// Both directions: a download asks about the local file, an upload about the remote one.
TEST_F(QueueRunTest, TheOverwriteQuestionAnsweredEachWay)
{
    connectToServer();
    using Answer = ScriptedQuestion::Answer;
    const struct {
        const char *name;
        QList<Answer> answers;
        int askedThisRun;
        QByteArray first, second; // targets f1 and f2 afterwards
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
    const auto name = [](int i) { return QStringLiteral("f%1.dat").arg(i); };
    for (const bool upload : {false, true}) {
        const char *direction = upload ? "upload" : "download";
        // The sources hold "new1".."new3"; the targets f1 and f2 exist with "old1" and "old2".
        const auto prepare = [&] {
            for (int i = 1; i <= 3; ++i) {
                const QByteArray fresh = "new" + QByteArray::number(i);
                const QByteArray old = "old" + QByteArray::number(i);
                if (upload) {
                    env.writeFile(QStringLiteral("local/") + name(i), fresh);
                    if (i < 3)
                        server->writeFile(name(i), old);
                    else
                        QFile::remove(server->localPath(name(i)));
                } else {
                    server->writeFile(name(i), fresh);
                    if (i < 3)
                        env.writeFile(QStringLiteral("local/") + name(i), old);
                    else
                        QFile::remove(local + name(i));
                }
            }
        };
        const auto target = [&](int i) { return upload ? server->readFile(name(i)) : readLocal(local + name(i)); };
        QStringList queue;
        for (int i = 1; i <= 3; ++i) {
            queue << (upload ? QStringLiteral("STOR|") + local + name(i) + QStringLiteral("|/") + name(i)
                             : retr(u'/' + name(i), local + name(i)));
        }
        const QString firstTarget = upload ? QStringLiteral("/f1.dat") : local + name(1);

        for (const auto &c : cases) {
            resetRunner();
            model.clear();
            prepare();
            question.answers = c.answers;
            question.asked.clear();
            run(queue);
            EXPECT_EQ(question.asked.size(), c.askedThisRun) << direction << ": " << c.name;
            if (!question.asked.isEmpty()) {
                EXPECT_EQ(question.asked.first(), firstTarget) << direction << ": " << c.name;
            }
            EXPECT_EQ(target(1), c.first) << direction << ": " << c.name;
            EXPECT_EQ(target(2), c.second) << direction << ": " << c.name;
            EXPECT_EQ(model.rowCount(), c.rowsLeft) << direction << ": " << c.name;
            EXPECT_EQ(lastQueueSources().size(), c.rowsLeft) << direction << ": " << c.name;
            if (c.rowsLeft == 0)
                EXPECT_EQ(target(3), QByteArray("new3")) << direction << ": " << c.name;
            else
                EXPECT_TRUE(target(3).isNull()) << direction << ": " << c.name << ": the run ended";

            // The next run meets the same two conflicts.
            prepare();
            question.asked.clear();
            question.answers = {Answer{}, Answer{}};
            run(queue);
            EXPECT_EQ(question.asked.size(), c.askedNextRun) << direction << ": " << c.name << " (next run)";
        }
    }
}

// A server link is found by its own name: an upload onto that name asks first, and "Skip" leaves
// the file the link points to as it was (the server writes through a link).
TEST_F(QueueRunTest, AnUploadOntoTheNameOfAServerLinkAsksFirst)
{
    connectToServer();
    server->writeFile(QStringLiteral("target.txt"), "the target's own text");
    ASSERT_TRUE(QFile::link(QStringLiteral("target.txt"), server->localPath(QStringLiteral("link.txt"))));
    env.writeFile(QStringLiteral("local/link.txt"), "uploaded");
    question.answers = {ScriptedQuestion::Answer{true}}; // Skip
    run({QStringLiteral("STOR|") + local + QStringLiteral("link.txt|/link.txt")});
    EXPECT_EQ(question.asked, QStringList{QStringLiteral("/link.txt")});
    EXPECT_EQ(server->readFile(QStringLiteral("target.txt")), QByteArray("the target's own text"));
    EXPECT_TRUE(QFileInfo(server->localPath(QStringLiteral("link.txt"))).isSymLink());
}

TEST_F(QueueRunTest, AFailedRecordKeepsItsRowAndTheOthersGo)
{
    connectToServer();
    server->writeFile(QStringLiteral("a.dat"), "a");
    server->writeFile(QStringLiteral("c.dat"), "c");
    const QString missing = local + QStringLiteral("missing.dat");
    const RunResult result = run({retr(QStringLiteral("/a.dat"), local + QStringLiteral("a.dat")), retr(QStringLiteral("/missing.dat"), missing),
         retr(QStringLiteral("/c.dat"), local + QStringLiteral("c.dat")), QStringLiteral("XYZ|a|b")});

    // The unknown command is not done either: it is named and its row stays.
    EXPECT_EQ(gridSources(), (QStringList{QStringLiteral("/missing.dat"), QStringLiteral("a")}));
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_EQ(readLocal(local + QStringLiteral("c.dat")), QByteArray("c"));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(missing + QStringLiteral(".velmora-part")));
    EXPECT_EQ(protocol().filter(QStringLiteral("2: ")).size(), 2) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: Command unknown: XYZ a b")));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: Command unknown!")});
    EXPECT_EQ(result.succeeded, 2);
    EXPECT_EQ(result.records, 4);

    // Run again: exactly the failed row is tried again.
    server->writeFile(QStringLiteral("missing.dat"), "m");
    run({retr(QStringLiteral("/missing.dat"), missing)});
    EXPECT_TRUE(model.isEmpty());
    EXPECT_EQ(readLocal(missing), QByteArray("m"));
}

TEST_F(QueueRunTest, RecordsThatCountAsDoneWithoutTransferringAndAnUploadOfAMissingFileThatDoesNot)
{
    connectToServer();
    server->writeFile(QStringLiteral("BACKUP001/BACKUPINFO.VELMORA"), "index");
    QDir().mkpath(server->localPath(QStringLiteral("exists")));
    const QString gone = local + QStringLiteral("gone.txt");
    const RunResult result = run({retr(QStringLiteral("/BACKUP001/BACKUPINFO.VELMORA"), local + QStringLiteral("BACKUPINFO.VELMORA")),
         QStringLiteral("STOR|") + gone + QStringLiteral("|/gone.txt"), QStringLiteral("MKD|/exists"),
         QStringLiteral("MKLOCALDIR|") + local + QStringLiteral("new/deeper")});
    // Nothing was sent for the missing file: its record failed and its row stays.
    EXPECT_EQ(gridSources(), QStringList{gone});
    EXPECT_FALSE(result.allSucceeded());
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

// The server holds every transfer after its first MiB until the client aborts it, so the abort
// on the first progress always lands mid-transfer, however busy the machine is.
TEST_F(QueueRunTest, AbortDuringATransferFailsItsRecordEndsTheRunAndLeavesNoTruncatedFile)
{
    connectToHoldingServer();
    server->writeFile(QStringLiteral("big.dat"), QByteArray(4 * HeldAfter, 'b'));
    server->writeFile(QStringLiteral("small.dat"), "s");
    const QString big = local + QStringLiteral("big.dat");
    // Far larger than every buffer between client and server: the upload cannot leave the
    // client whole while the server holds it. Sparse, so it costs no disk space.
    const QString upload = local + QStringLiteral("up.dat");
    {
        QFile file(upload);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(1) << 30));
    }
    const struct {
        const char *name;
        QString record;
        QString source;
    } cases[] = {
        {"download", retr(QStringLiteral("/big.dat"), big), QStringLiteral("/big.dat")},
        {"upload", QStringLiteral("STOR|") + upload + QStringLiteral("|/up.dat"), upload},
    };
    for (const auto &c : cases) {
        model.clear();
        const qsizetype errorsBefore = protocol().filter(QStringLiteral("2: Transfer aborted")).size();
        QObject::connect(&master->client(), &FtpClient::workProgressed, &master->client(), [this] { work.cancel.cancel(); });
        run({c.record, retr(QStringLiteral("/small.dat"), local + QStringLiteral("small.dat"))});
        QObject::disconnect(&master->client(), &FtpClient::workProgressed, &master->client(), nullptr);

        EXPECT_EQ(gridSources(), (QStringList{c.source, QStringLiteral("/small.dat")})) << c.name;
        EXPECT_EQ(lastQueueSources(), gridSources()) << c.name;
        EXPECT_GT(protocol().filter(QStringLiteral("2: Transfer aborted")).size(), errorsBefore)
            << c.name << ": " << protocol().join(u'\n').toStdString();
        EXPECT_FALSE(QFileInfo::exists(big)) << c.name;
        // What arrived of the download stays under the partial name for the next run to go on
        // from (the upload leaves it alone).
        const QByteArray kept = readLocal(big + QStringLiteral(".velmora-part"));
        EXPECT_GT(kept.size(), 0) << c.name;
        EXPECT_LE(kept.size(), HeldAfter) << c.name;
        EXPECT_TRUE(kept == QByteArray(kept.size(), 'b')) << c.name;
        EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("small.dat"))) << c.name << ": the run ended";
        EXPECT_LE(QFileInfo(server->localPath(QStringLiteral("up.dat"))).size(), HeldAfter) << c.name;

        // The connection is still good for the next run.
        run({retr(QStringLiteral("/small.dat"), local + QStringLiteral("small.dat"))});
        EXPECT_EQ(readLocal(local + QStringLiteral("small.dat")), QByteArray("s")) << c.name;
        QFile::remove(local + QStringLiteral("small.dat"));
    }
}

TEST_F(QueueRunTest, AnOverwrittenFileStaysWholeWhenItsDownloadFails)
{
    connectToHoldingServer();
    server->writeFile(QStringLiteral("big.dat"), QByteArray(4 * HeldAfter, 'n'));
    const QString target = env.writeFile(QStringLiteral("local/big.dat"), "the old, complete file");
    runner->overwritePolicy().applyAllwaysOverwrite(true);
    QObject::connect(&master->client(), &FtpClient::workProgressed, &master->client(), [this] { work.cancel.cancel(); });
    run({retr(QStringLiteral("/big.dat"), target)});
    EXPECT_EQ(readLocal(target), QByteArray("the old, complete file"));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: Transfer aborted")));
}

// The server goes away as the second record starts. The client learns of it only when that
// record's first command fails, so that record fails whatever the timing; the run connects again
// once before the next record.
TEST_F(QueueRunTest, AServerThatGoesAwayLeavesTheRowsNotDone)
{
    const struct {
        const char *name;
        bool comesBack;
        QStringList rowsLeft;
    } cases[] = {
        {"goes away", false, {QStringLiteral("/b.dat"), QStringLiteral("/c.dat")}},
        {"drops and comes back", true, {QStringLiteral("/b.dat")}},
    };
    for (const auto &c : cases) {
        connectToServer();
        model.clear();
        prompts.shown.clear();
        for (const char *name : {"a.dat", "b.dat", "c.dat"}) {
            server->writeFile(QString::fromLatin1(name), name);
            QFile::remove(local + QString::fromLatin1(name));
        }
        const QMetaObject::Connection drop =
            QObject::connect(runner.get(), &QueueRunner::recordStarted, runner.get(), [&](int index) {
                if (index != 1)
                    return;
                if (c.comesBack)
                    ASSERT_TRUE(server->restart()) << server->errorText().toStdString();
                else
                    server->stop();
            });
        run({retr(QStringLiteral("/a.dat"), local + QStringLiteral("a.dat")), retr(QStringLiteral("/b.dat"), local + QStringLiteral("b.dat")),
             retr(QStringLiteral("/c.dat"), local + QStringLiteral("c.dat"))});
        QObject::disconnect(drop);
        EXPECT_EQ(gridSources(), c.rowsLeft) << c.name << ": " << protocol().join(u'\n').toStdString();
        EXPECT_EQ(lastQueueSources(), gridSources()) << c.name;
        EXPECT_EQ(readLocal(local + QStringLiteral("a.dat")), QByteArray("a.dat")) << c.name;
        EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("b.dat"))) << c.name;
        EXPECT_EQ(QFileInfo::exists(local + QStringLiteral("c.dat")), c.comesBack) << c.name;
        EXPECT_LE(prompts.shown.size(), 1) << c.name << ": at most one reconnect attempt is reported: "
                                           << prompts.shown.join(u'\n').toStdString();
        if (c.comesBack) {
            EXPECT_TRUE(prompts.shown.isEmpty()) << c.name << ": reconnected silently";
            EXPECT_TRUE(master->isConnected()) << c.name;
        }
    }
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

// The shutdown goes through the system platform, which runs the recording shutdown command
// that every test has in place of powering off.
TEST_F(QueueRunTest, ABatchRunWritesItsLogLineAndEndsAsTheBoxesSay)
{
    connectToServer();
    server->writeFile(QStringLiteral("a.dat"), QByteArray(1536, 'a'));
    const QString batchLog = folders.appDataFile(QStringLiteral("Lastbatchjob.log"));
    const QString record = env.root() + QStringLiteral("shutdown-record.txt");
    qputenv("VELMORA_SHUTDOWN_RECORD", record.toUtf8());
    QStringList logAtShutdown;
    host.onShutdown = [&] {
        logAtShutdown = TextCodec::ReadLines(batchLog);
        // Never the real power-off: the command is set for every test.
        ASSERT_FALSE(qEnvironmentVariable("VELMORA_SHUTDOWN_COMMAND").isEmpty());
        SystemPlatform platform;
        EXPECT_TRUE(platform.shutdownComputer());
    };
    host.queueFile = env.root() + QStringLiteral("jobs/nightly.queue");

    const struct {
        const char *name;
        bool batch;
        const char *mode;
        bool closeChecked;
        bool shutdownChecked;
        QStringList calls;
    } cases[] = {
        // A job's switch is carried out by the job once the run is over, never by the run.
        {"-r", true, "-r", false, false, {}},
        {"-rc", true, "-rc", false, false, {}},
        {"-rs", true, "-rs", false, false, {}},
        {"-rs and the shutdown box", true, "-rs", false, true, {QStringLiteral("shutdown")}},
        {"Close program after transfer", false, "", true, false, {QStringLiteral("endProgram")}},
        {"Shutdown PC after transfer", false, "", false, true, {QStringLiteral("shutdown")}},
    };
    for (const auto &c : cases) {
        QFile::remove(batchLog);
        QFile::remove(record);
        QFile::remove(local + QStringLiteral("a.dat"));
        logAtShutdown.clear();
        host.calls.clear();
        host.batch = c.batch;
        host.mode = QString::fromLatin1(c.mode);
        host.closeChecked = c.closeChecked;
        host.shutdownChecked = c.shutdownChecked;
        RunPlan plan;
        plan.records = {retr(QStringLiteral("/a.dat"), local + QStringLiteral("a.dat")) + QStringLiteral("§1|a.dat|1536|d")};
        if (c.batch)
            plan.batch = BatchRunInfo{host.queueFile, host.mode};
        work.startWork();
        runner->RunQueue(plan);
        EXPECT_EQ(host.calls, c.calls) << c.name;
        EXPECT_EQ(readLocal(local + QStringLiteral("a.dat")), QByteArray(1536, 'a')) << c.name;

        const QStringList log = TextCodec::ReadLines(batchLog);
        if (!c.batch) {
            EXPECT_TRUE(log.isEmpty()) << c.name << ": only batch runs write the log";
        } else {
            ASSERT_EQ(log.size(), 1) << c.name;
            const QStringList fields = log.first().split(u'|');
            ASSERT_EQ(fields.size(), 9) << log.first().toStdString();
            EXPECT_EQ(fields.mid(3), (QStringList{env.root() + QStringLiteral("jobs/"), QStringLiteral("nightly.queue"),
                                                  host.mode, QStringLiteral("127.0.0.1"), QStringLiteral("1.50 kB"),
                                                  QStringLiteral("1")}))
                << c.name;
        }
        const bool shutdown = c.calls.contains(QStringLiteral("shutdown"));
        EXPECT_EQ(TestEnvironment::readFile(record), shutdown ? QByteArray("shutdown\n") : QByteArray()) << c.name;
        if (shutdown && c.batch) {
            EXPECT_EQ(logAtShutdown, log) << c.name << ": the log line is saved before the computer shuts down";
        }
    }
    qunsetenv("VELMORA_SHUTDOWN_RECORD");
}

TEST_F(QueueRunTest, WithNobodyToAnswerTheOverwriteQuestionTakesSkipAndTheRunGoesOn)
{
    connectToServer();
    server->writeFile(QStringLiteral("f1.dat"), "new1");
    server->writeFile(QStringLiteral("f2.dat"), "new2");
    env.writeFile(QStringLiteral("local/f1.dat"), "old1");
    UnattendedOverwriteQuestion unattended(context);
    runner->setQuestion(&unattended);
    const RunResult result = run({retr(QStringLiteral("/f1.dat"), local + QStringLiteral("f1.dat")), retr(QStringLiteral("/f2.dat"), local + QStringLiteral("f2.dat"))});
    EXPECT_EQ(readLocal(local + QStringLiteral("f1.dat")), QByteArray("old1")) << "nothing is lost";
    EXPECT_EQ(readLocal(local + QStringLiteral("f2.dat")), QByteArray("new2")) << "the run went on";
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("information: The target file allready exists: ") + local
                                         + QStringLiteral("f1.dat. Skipped: nobody can answer during a batch job.")});
    EXPECT_TRUE(model.isEmpty());
    EXPECT_FALSE(work.cancel.isCancelled());
    EXPECT_TRUE(result.allSucceeded());
}
