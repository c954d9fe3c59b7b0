// Interrupted transfers go on from where they stopped: a download keeps what arrived under its
// partial name with a note of the remote file beside it, an upload remembers that the server's
// copy is its own unfinished work, and the next run of the same record continues with REST when
// the server can and the file is still the same, else starts over. Either way the result is
// checked whole and byte for byte.
#include "ProftpdTestServer.h"
#include "QueueServerFixture.h"

#include "queue/PartialDownload.h"
#include "queue/QueueRecord.h"
#include "queue/RecordExecutor.h"

#include <QDir>
#include <QFile>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

// Bytes that differ from place to place, so a piece sent twice or out of place shows.
QByteArray patterned(qint64 size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 2166136261u ^ quint32(seed);
    for (qint64 i = 0; i < size; ++i) {
        state = state * 16777619u + quint32(i >> 12);
        bytes[i] = char(state >> 24);
    }
    return bytes;
}

// Sets the file's modification time.
void setTime(const QString &path, const QDateTime &time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

// Sets the file's modification time this many seconds from now.
void setAge(const QString &path, int seconds)
{
    setTime(path, QDateTime::currentDateTimeUtc().addSecs(seconds));
}

QString retr(const QString &remote, const QString &local, qint64 size)
{
    return QStringLiteral("RETR|") + remote + u'|' + local + u'|' + QString::number(size);
}

QString stor(const QString &local, const QString &remote)
{
    return QStringLiteral("STOR|") + local + u'|' + remote;
}

class ResumeTest : public QueueServerTest {
protected:
    static constexpr qint64 FileSize = 4 * HeldAfter + 4321;

    // A real server that holds every transfer after its first MiB, and logs the commands.
    void startHoldingServer()
    {
        FtpTestServer::Setup setup;
        setup.holdTransfersAfter = HeldAfter;
        setup.commandLog = commandLog;
        connectToServer(setup);
        runner->overwritePolicy().applyAllwaysOverwrite(true);
    }

    // Runs the records; once 'reached' says so, the server goes away in the middle of the
    // transfer (every connection dropped) and comes back without the hold.
    void runAndDrop(const QStringList &records, const std::function<bool()> &reached)
    {
        bool dropped = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (dropped || !reached())
                return;
            dropped = true;
            server->setHoldTransfersAfter(0);
            ASSERT_TRUE(server->restart()) << server->errorText().toStdString();
        });
        watch.start(5);
        run(records);
        watch.stop();
        ASSERT_TRUE(dropped) << protocol().join(u'\n').toStdString();
    }

    // The commands the server received from the line 'from' of its log on.
    QStringList commandsSince(qsizetype from) const
    {
        const QStringList lines = QString::fromLatin1(TestEnvironment::readFile(commandLog)).split(u'\n', Qt::SkipEmptyParts);
        return lines.mid(from);
    }
    qsizetype commandCount() const { return commandsSince(0).size(); }
    // Whether a transfer command of this verb was restarted (REST right before it).
    static bool restarted(const QStringList &commands, const QString &verb)
    {
        for (qsizetype i = 1; i < commands.size(); ++i) {
            if (commands[i] == verb && commands[i - 1] == u"REST")
                return true;
        }
        return false;
    }

    QStringList errors() const { return protocol().filter(QStringLiteral("2: ")); }
    QStringList continuations() const { return protocol().filter(QStringLiteral("Continuing the")); }

    const QString commandLog = env.root() + QStringLiteral("commands.log");
};

TEST_F(ResumeTest, AnInterruptedDownloadGoesOnFromWhereItStoppedAndEndsByteForByte)
{
    startHoldingServer();
    const struct {
        const char *name;
        bool abort; // false: the connection drops
    } cases[] = {{"connection dropped", false}, {"Abort", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        server->setHoldTransfersAfter(HeldAfter);
        ASSERT_TRUE(server->restart());
        const QByteArray content = patterned(FileSize, 1);
        server->writeFile(QStringLiteral("pub/big.dat"), content);
        const QString target = local + QStringLiteral("big.dat");
        QFile::remove(target);
        const PartialDownload part(target);
        const QStringList records = {retr(QStringLiteral("/pub/big.dat"), target, content.size())};

        model.clear();
        const qsizetype logMark = log.entries().size();
        const auto reached = [&] { return part.partSize() >= HeldAfter; };
        if (c.abort) {
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                if (reached())
                    work.cancel.cancel(); // as the Abort button does
            });
            watch.start(5);
            run(records);
            watch.stop();
            EXPECT_TRUE(protocol().mid(logMark).contains(QStringLiteral("2: Transfer aborted")));
            server->setHoldTransfersAfter(0);
            ASSERT_TRUE(server->restart());
        } else {
            runAndDrop(records, reached);
        }
        EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/pub/big.dat")});
        EXPECT_EQ(lastQueueSources(), gridSources());
        EXPECT_FALSE(QFileInfo::exists(target)) << "no truncated file under the real name";
        EXPECT_EQ(part.partSize(), HeldAfter);
        EXPECT_TRUE(readLocal(part.partPath()) == content.left(HeldAfter));
        EXPECT_TRUE(QFileInfo::exists(PartialDownload::infoName(target))) << "the note stays beside the partial file";

        // Run queue again: only the rest travels.
        const qsizetype mark = commandCount();
        const qsizetype secondMark = log.entries().size();
        model.clear();
        run(records);
        const QStringList lines = protocol().mid(secondMark);
        EXPECT_TRUE(model.isEmpty()) << lines.join(u'\n').toStdString();
        EXPECT_EQ(QueueFile::read(store.path()).rows.size(), 0);
        EXPECT_TRUE(readLocal(target) == content) << "the file is not byte for byte the server's";
        EXPECT_EQ(lines.filter(QStringLiteral("Continuing the")),
                  QStringList{QStringLiteral("0: Continuing the download at byte 1048576: /pub/big.dat")});
        EXPECT_TRUE(restarted(commandsSince(mark), QStringLiteral("RETR")));
        EXPECT_FALSE(QFileInfo::exists(part.partPath())) << "nothing is left behind";
        EXPECT_FALSE(QFileInfo::exists(PartialDownload::infoName(target))) << "nothing is left behind";
        EXPECT_EQ(QDir(local).entryList(QDir::Files), QStringList{QStringLiteral("big.dat")});
    }
}

TEST_F(ResumeTest, ADownloadStartsOverWhenItCannotGoOnSafely)
{
    struct Case {
        const char *name;
        std::function<void(FtpTestServer &, const QString &target)> between; // what happens between the runs
        QByteArray content; // what the server holds for the second run (empty: unchanged)
        bool keepTime = false; // the new content keeps the old modification time ("rsync -a", "cp -p")
    };
    const QByteArray first = patterned(FileSize, 2);
    QByteArray sameSize = first;
    sameSize[10] = char(sameSize[10] ^ 0x5A); // the part already received differs
    const QList<Case> cases = {
        {"other bytes, same size and time", [](FtpTestServer &, const QString &) {}, patterned(FileSize, 12), true},
        {"other start, same size and time", [](FtpTestServer &, const QString &) {}, sameSize, true},
        {"server without REST",
         [](FtpTestServer &t, const QString &) {
             t.setRefuseRest(true);
             ASSERT_TRUE(t.restart());
         },
         {}},
        {"changed, same size, newer", [](FtpTestServer &, const QString &) {}, sameSize},
        {"changed, longer", [](FtpTestServer &, const QString &) {}, first + patterned(5000, 3)},
        {"changed, shorter than what arrived", [](FtpTestServer &, const QString &) {}, patterned(HeldAfter / 2, 4)},
        {"note lost", [](FtpTestServer &, const QString &target) { QFile::remove(PartialDownload::infoName(target)); }, {}},
        {"note of another file",
         [](FtpTestServer &, const QString &target) {
             QFile note(PartialDownload::infoName(target));
             ASSERT_TRUE(note.open(QIODevice::ReadWrite));
             const QByteArray text = note.readAll().replace("Remote=/pub/big.dat", "Remote=/pub/other.dat");
             note.resize(0);
             note.write(text);
         },
         {}},
    };
    startHoldingServer();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server->setRefuseRest(false);
        server->setHoldTransfersAfter(HeldAfter);
        ASSERT_TRUE(server->restart());
        const QString remote = server->writeFile(QStringLiteral("pub/big.dat"), first);
        setAge(remote, -7200);
        const QString target = local + QStringLiteral("big.dat");
        QFile::remove(target);
        const PartialDownload part(target);
        const QStringList records = {retr(QStringLiteral("/pub/big.dat"), target, first.size())};
        model.clear();
        runAndDrop(records, [&] { return part.partSize() >= HeldAfter; });
        ASSERT_EQ(part.partSize(), HeldAfter);

        c.between(*server, target);
        QByteArray expected = first;
        if (!c.content.isEmpty()) {
            const QDateTime before = QFileInfo(remote).lastModified();
            expected = c.content;
            server->writeFile(QStringLiteral("pub/big.dat"), expected); // written now: a newer time
            if (c.keepTime)
                setTime(remote, before);
        }
        const qsizetype mark = commandCount();
        const qsizetype logMark = log.entries().size();
        model.clear();
        run(records);
        const QStringList lines = protocol().mid(logMark);
        EXPECT_TRUE(model.isEmpty()) << lines.join(u'\n').toStdString();
        EXPECT_TRUE(lines.filter(QStringLiteral("Continuing")).isEmpty()) << lines.join(u'\n').toStdString();
        EXPECT_FALSE(restarted(commandsSince(mark), QStringLiteral("RETR")));
        EXPECT_TRUE(readLocal(target) == expected) << "the file is not byte for byte the server's";
        EXPECT_EQ(QDir(local).entryList(QDir::Files), QStringList{QStringLiteral("big.dat")}) << "nothing is left behind";
    }
}

TEST_F(ResumeTest, AContinuedDownloadTakesItsRealNameOnlyWhenWhole)
{
    // The server ends every transfer after 600000 bytes with a success reply, which a real
    // server does not do: each run continues where the last one stopped (the bytes before that
    // point read back and found the same), and only the whole file takes its real name.
    const QByteArray content = patterned(1500000, 5);
    scripted.addRule("FEAT", "211-Features:\n REST STREAM\n SIZE\n MDTM\n211 End");
    scripted.addRule("SIZE /big.bin", "213 1500000");
    scripted.addRule("MDTM /big.bin", "213 20260102030405");
    scripted.addRule("REST", "350 Restarting.");
    scripted.addRule("RETR /big.bin", "150 Opening BINARY mode data connection.\n226 Transfer complete.", content);
    scripted.setTransferLimit(600000);
    connectToScriptedServer();
    const QString target = local + QStringLiteral("big.bin");
    const QString record = retr(QStringLiteral("/big.bin"), target, content.size());

    for (const qint64 received : {600000, 1200000}) {
        SCOPED_TRACE(received);
        const qsizetype mark = log.entries().size();
        model.clear();
        run({record});
        EXPECT_EQ(protocol().mid(mark).filter(QStringLiteral("2: ")),
                  QStringList{QStringLiteral("2: Transfer incomplete: received %1 of 1500000 bytes: /big.bin").arg(received)});
        EXPECT_FALSE(QFileInfo::exists(target)) << "a file that is not whole never takes the real name";
        EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/big.bin")});
        // What is shorter than the file is kept to go on from.
        EXPECT_TRUE(QFileInfo::exists(PartialDownload::infoName(target)));
        EXPECT_EQ(QFileInfo(RecordExecutor::partialName(target)).size(), received);
    }
    model.clear();
    EXPECT_TRUE(run({record}).allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(readLocal(target) == content) << "the file is not byte for byte the server's";
    EXPECT_EQ(QDir(local).entryList(QDir::Files), QStringList{QStringLiteral("big.bin")}) << "nothing is left behind";
    EXPECT_TRUE(scripted.received("REST 600000"));
    EXPECT_TRUE(scripted.received("REST 1200000"));
}

TEST_F(ResumeTest, AFileThatChangesWhileItsDownloadGoesOnIsNotTaken)
{
    startHoldingServer();
    const QByteArray content = patterned(FileSize, 6);
    const QString remote = server->writeFile(QStringLiteral("big.dat"), content);
    setAge(remote, -7200);
    const QString target = local + QStringLiteral("big.dat");
    const PartialDownload part(target);
    const QStringList records = {retr(QStringLiteral("/big.dat"), target, content.size())};
    runAndDrop(records, [&] { return part.partSize() >= HeldAfter; });

    // While the continuation runs, the file on the server grows.
    bool grown = false;
    QObject::connect(&master->client(), &FtpClient::workProgressed, &master->client(), [&] {
        if (grown)
            return;
        grown = true;
        QFile file(remote);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray(1000, 'x'));
    });
    model.clear();
    const qsizetype mark = log.entries().size();
    run(records);
    QObject::disconnect(&master->client(), &FtpClient::workProgressed, &master->client(), nullptr);
    ASSERT_TRUE(grown);
    const QStringList lines = protocol().mid(mark);
    EXPECT_EQ(lines.filter(QStringLiteral("Continuing")).size(), 1) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral("2: ")).size(), 1) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.filter(QStringLiteral("2: ")).value(0).startsWith(QStringLiteral("2: Transfer incomplete: received ")));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_FALSE(QFileInfo::exists(part.partPath())) << "bytes of two versions are no start of either";
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/big.dat")});

    // The next run starts over and gets the file as it is now.
    model.clear();
    run(records);
    EXPECT_TRUE(model.isEmpty());
    EXPECT_TRUE(readLocal(target) == content + QByteArray(1000, 'x'));
}

TEST_F(ResumeTest, ADroppedUploadGoesOnFromWhatTheServerHolds)
{
    startHoldingServer();
    const QByteArray content = patterned(FileSize, 7);
    const QString source = env.writeFile(QStringLiteral("local/up.dat"), content);
    const QString remote = server->localPath(QStringLiteral("up.dat"));
    const QStringList records = {stor(source, QStringLiteral("/up.dat"))};

    runAndDrop(records, [&] { return QFileInfo(remote).size() > 0; });
    const qint64 held = QFileInfo(remote).size();
    ASSERT_GT(held, 0);
    ASSERT_LT(held, content.size());
    EXPECT_EQ(gridSources(), QStringList{source});

    const qsizetype mark = commandCount();
    model.clear();
    run(records);
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(continuations(), QStringList{QStringLiteral("0: Continuing the upload at byte %1: /up.dat").arg(held)});
    const QStringList commands = commandsSince(mark);
    EXPECT_TRUE(restarted(commands, QStringLiteral("STOR")));
    EXPECT_TRUE(server->readFile(QStringLiteral("up.dat")) == content) << "the server's file is not byte for byte the local one";
    EXPECT_TRUE(QDir(folders.appDataFile(QStringLiteral("unfinished-uploads"))).isEmpty()) << "a finished upload is forgotten";
}

TEST_F(ResumeTest, AnUploadStartsOverWhenTheServersCopyMayNotBeItsOwn)
{
    struct Case {
        const char *name;
        // Between the runs; gets the local source.
        std::function<void(FtpTestServer &, const QString &source)> between;
        bool interrupt = true; // false: no earlier upload at all
    };
    const QByteArray content = patterned(FileSize, 8);
    const QList<Case> cases = {
        {"server without REST",
         [](FtpTestServer &t, const QString &) {
             t.setRefuseRest(true);
             ASSERT_TRUE(t.restart());
         }},
        {"someone replaced the server's copy",
         [](FtpTestServer &t, const QString &) {
             t.writeFile(QStringLiteral("up.dat"), patterned(HeldAfter / 2, 99));
         }},
        {"the local file changed",
         [](FtpTestServer &, const QString &source) {
             QFile file(source);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.seek(file.size() - 1);
             file.write("!");
             file.close();
             setAge(source, 3600);
         }},
        // Its size and time kept, as "cp -p" or "rsync -a" leave them: the server's copy holds
        // the old start, which the rest must not be glued to.
        {"the local file's start changed, its size and time kept",
         [](FtpTestServer &, const QString &source) {
             const QDateTime before = QFileInfo(source).lastModified();
             QFile file(source);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.seek(4096);
             file.write(patterned(HeldAfter / 2, 42));
             file.close();
             setTime(source, before);
         }},
        // A shorter file of the same name that this program never sent, although it is the
        // start of the local file, is not continued: it is the user's.
        {"never sent from here",
         [&content](FtpTestServer &t, const QString &) { t.writeFile(QStringLiteral("up.dat"), content.left(HeldAfter)); },
         false},
    };
    startHoldingServer();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folders.appDataFile(QStringLiteral("unfinished-uploads"))).removeRecursively();
        QFile::remove(server->localPath(QStringLiteral("up.dat")));
        server->setRefuseRest(false);
        server->setHoldTransfersAfter(HeldAfter);
        ASSERT_TRUE(server->restart());
        const QString source = env.writeFile(QStringLiteral("local/up.dat"), content);
        const QString remote = server->localPath(QStringLiteral("up.dat"));
        const QStringList records = {stor(source, QStringLiteral("/up.dat"))};
        if (c.interrupt) {
            model.clear();
            runAndDrop(records, [&] { return QFileInfo(remote).size() > 0; });
            ASSERT_LT(QFileInfo(remote).size(), content.size());
        } else {
            server->setHoldTransfersAfter(0);
            ASSERT_TRUE(server->restart());
        }
        c.between(*server, source);
        const QByteArray expected = TestEnvironment::readFile(source);

        const qsizetype mark = commandCount();
        const qsizetype logMark = log.entries().size();
        model.clear();
        run(records);
        const QStringList lines = protocol().mid(logMark);
        EXPECT_TRUE(model.isEmpty()) << lines.join(u'\n').toStdString();
        EXPECT_TRUE(lines.filter(QStringLiteral("Continuing")).isEmpty()) << lines.join(u'\n').toStdString();
        EXPECT_FALSE(restarted(commandsSince(mark), QStringLiteral("STOR")));
        EXPECT_TRUE(server->readFile(QStringLiteral("up.dat")) == expected) << "the server's file is not the local one";
    }
}

// proftpd names "REST STREAM" in FEAT but by default refuses a STOR after REST ("451
// Append/Restart not permitted"). The upload it interrupted starts over, ends whole, and its
// journal entry goes: it never fails the same way run after run.
TEST_F(ResumeTest, AnUploadTheServerRefusesToContinueStartsOver)
{
    if (ProftpdTestServer::needsRoot())
        GTEST_SKIP() << "proftpd needs root";
    ProftpdTestServer::Setup setup;
    setup.rateKiB = 1024; // long enough to be stopped half way
    setup.commandLog = commandLog;
    ProftpdTestServer proftpd(setup);
    ASSERT_TRUE(proftpd.start()) << proftpd.errorText().toStdString();
    master->SetConnectionData(proftpd.host(), QString::number(proftpd.port()), proftpd.user(), proftpd.password(), 0);
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    runner->overwritePolicy().applyAllwaysOverwrite(true);

    const QByteArray content = patterned(HeldAfter + 300000, 21);
    const QString source = env.writeFile(QStringLiteral("local/up.dat"), content);
    const QString remote = proftpd.localPath(QStringLiteral("up.dat"));
    const QStringList records = {stor(source, QStringLiteral("/up.dat"))};
    bool dropped = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (dropped || QFileInfo(remote).size() == 0)
            return;
        dropped = true; // the server goes away half way and comes back
        ASSERT_TRUE(proftpd.restart()) << proftpd.errorText().toStdString();
    });
    watch.start(5);
    run(records);
    watch.stop();
    ASSERT_TRUE(dropped);
    ASSERT_GT(QFileInfo(remote).size(), 0);
    ASSERT_LT(QFileInfo(remote).size(), content.size());
    const QDir journal(folders.appDataFile(QStringLiteral("unfinished-uploads")));
    ASSERT_FALSE(journal.isEmpty(QDir::Files)) << "the interrupted upload is remembered";

    for (int again = 0; again < 2; ++again) { // and once more with the file already whole
        SCOPED_TRACE(again);
        const qsizetype logMark = log.entries().size();
        model.clear();
        const RunResult result = run(records);
        const QStringList lines = protocol().mid(logMark);
        EXPECT_TRUE(result.allSucceeded()) << lines.join(u'\n').toStdString();
        EXPECT_TRUE(model.isEmpty());
        EXPECT_TRUE(proftpd.readFile(QStringLiteral("up.dat")) == content) << "the server's file is not the local one";
        EXPECT_TRUE(journal.isEmpty(QDir::Files)) << "a finished upload is forgotten";
        if (again == 0) {
            EXPECT_EQ(lines.filter(QStringLiteral("The server refused to continue the upload (451 ")).size(), 1)
                << lines.join(u'\n').toStdString();
            EXPECT_TRUE(lines.filter(QStringLiteral(": it starts over: /up.dat")).size() == 1) << lines.join(u'\n').toStdString();
        }
    }
}

// A server that refuses REST before RETR: the partial file is no help, the download starts over
// and ends whole.
TEST_F(ResumeTest, ADownloadTheServerRefusesToContinueStartsOver)
{
    const QByteArray content = patterned(1500000, 22);
    scripted.addRule("FEAT", "211-Features:\n REST STREAM\n SIZE\n MDTM\n211 End");
    scripted.addRule("SIZE /big.bin", "213 1500000");
    scripted.addRule("MDTM /big.bin", "213 20260102030405");
    scripted.addRule("REST", "502 REST not implemented.");
    scripted.addRule("RETR /big.bin", "150 Opening BINARY mode data connection.\n226 Transfer complete.", content);
    connectToScriptedServer();
    const QString target = local + QStringLiteral("big.bin");
    // What an earlier, interrupted run of this very download left.
    PartialDownload part(target);
    PartialDownload::Origin origin;
    origin.site = master->user() + u'@' + master->host() + u':' + master->port();
    origin.remote = QStringLiteral("/big.bin");
    origin.size = content.size();
    origin.modified = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
    ASSERT_TRUE(part.start(origin));
    {
        QFile partial(part.partPath());
        ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
        partial.write(content.left(600000));
    }
    ASSERT_EQ(part.continuationOffset(origin), 600000);

    const RunResult result = run({retr(QStringLiteral("/big.bin"), target, content.size())});
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(readLocal(target) == content) << "the file is not byte for byte the server's";
    EXPECT_TRUE(continuations().isEmpty()) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(QDir(local).entryList(QDir::Files), QStringList{QStringLiteral("big.bin")}) << "nothing is left behind";
}

TEST_F(ResumeTest, AnUploadOfAFolderLeavesDownloadsInProgressBehind)
{
    connectToServer();
    env.writeFile(QStringLiteral("local/site/index.html"), "<p>hi</p>");
    env.writeFile(QStringLiteral("local/site/big.dat.velmora-part"), "half");
    env.writeFile(QStringLiteral("local/site/big.dat.velmora-part.info"), "Site=x\n");
    env.writeFile(QStringLiteral("local/site/notes.velmora-part.txt"), "a user's file"); // only the end counts
    QStringList collected;
    walker->CollectLocal(local + QStringLiteral("site/*.*"), collected);
    QStringList names;
    for (const QString &line : collected)
        names << QFileInfo(CollectedFile::parse(line).path).fileName();
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("index.html"), QStringLiteral("notes.velmora-part.txt")}));
}

} // namespace
