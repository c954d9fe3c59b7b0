// Queue runs with several transfers at once ("Simultaneous transfers" 4) against a real server:
// whole trees in both directions in the order folders and deletes need, Abort and Pause of
// transfers running side by side, a server that refuses some of the connections, and the
// overwrite question.
#include "ProftpdTestServer.h"
#include "QueueServerFixture.h"
#include "TlsTestCertificates.h"

#include "engine/ftp/FtpEncryption.h"

#include "queue/QueueRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QByteArray randomBytes(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(quint32(size) + 7);
    for (char &c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

QString retr(const QString &remote, const QString &local, qint64 size)
{
    QueueRecord record(QueueCommand::Retr, remote, local);
    record.size = QString::number(size);
    return record.format();
}

QString stor(const QString &local, const QString &remote)
{
    return QueueRecord(QueueCommand::Stor, local, remote).format();
}

QString command(QueueCommand which, const QString &path)
{
    return QueueRecord(which, path).format();
}

// Every file below a folder, by its path inside it, with its bytes.
QMap<QString, QByteArray> treeOf(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path.mid(folder.size()), TestEnvironment::readFile(path));
    }
    return files;
}

class SimultaneousTransfersTest : public QueueServerTest {
protected:
    static constexpr int Sessions = 4;

    SimultaneousTransfersTest()
    {
        OptionsData data = options.data();
        data.simultaneousTransfers = Sessions;
        options.setData(data);
    }

    void startServer(FtpTestServer::Setup setup = {})
    {
        setup.commandLog = env.root() + QStringLiteral("commands.log");
        connectToServer(setup);
    }

    // How often the server received the command (its verb) so far.
    int received(const char *verb) const
    {
        return int(TestEnvironment::readFile(env.root() + QStringLiteral("commands.log")).split('\n').count(QByteArray(verb)));
    }

    // Many small files and one of several MiB in nested folders, by their paths inside "tree/".
    static QList<QPair<QString, qint64>> treeFiles()
    {
        QList<QPair<QString, qint64>> files;
        const QStringList folders{QStringLiteral(""), QStringLiteral("a/"), QStringLiteral("a/b/"), QStringLiteral("a/b/c/"),
                                  QStringLiteral("d/")};
        for (int i = 0; i < 40; ++i)
            files.append({folders[i % folders.size()] + QStringLiteral("f%1.bin").arg(i), qint64(i) * 331});
        files.append({QStringLiteral("a/b/big.bin"), qint64(5) * 1024 * 1024 + 17});
        return files;
    }
    static QStringList treeFolders() { return {QStringLiteral("a/"), QStringLiteral("a/b/"), QStringLiteral("a/b/c/"), QStringLiteral("d/")}; }

    // Every session is in the middle of a transfer.
    bool allSessionsMoving() { return runner->traffic().movingSessionTransfers() == Sessions; }
};

} // namespace

// Folders are made before files go into them, in both directions; every file arrives whole;
// the grid and the last queue are empty afterwards; the extra connections log in once each and
// log out at the end.
TEST_F(SimultaneousTransfersTest, ANestedTreeGoesDownAndUpOnFourConnections)
{
    startServer();
    for (const auto &[path, size] : treeFiles())
        server->writeFile(QStringLiteral("tree/") + path, randomBytes(size));

    // Download: each folder, then its files, as the download builder writes them.
    const QString down = local + QStringLiteral("down/");
    QStringList records{command(QueueCommand::MkLocalDir, down)};
    for (const QString &folder : QStringList{QString()} + treeFolders()) {
        if (!folder.isEmpty())
            records << command(QueueCommand::MkLocalDir, down + folder);
        for (const auto &[path, size] : treeFiles()) {
            if (path.left(path.lastIndexOf(u'/') + 1) == folder)
                records << retr(QStringLiteral("/tree/") + path, down + path, size);
        }
    }
    RunResult result = run(records);
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(treeOf(down), treeOf(server->localPath(QStringLiteral("tree/"))));
    EXPECT_TRUE(model.isEmpty());
    EXPECT_TRUE(lastQueueSources().isEmpty());
    EXPECT_TRUE(protocol().contains(QStringLiteral("1: Simultaneous transfers on 4 connections"))) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(received("USER"), 1 + Sessions);
    EXPECT_EQ(received("QUIT"), Sessions) << "the extra connections are closed at the end of the run";
    EXPECT_EQ(view.totals.value(view.totals.size() - 2), QStringLiteral("Total files: %1 / %1   (100%)").arg(records.size()));

    // Upload of what came down into a new folder on the server.
    records = {command(QueueCommand::Mkd, QStringLiteral("/up"))};
    for (const QString &folder : treeFolders())
        records << command(QueueCommand::Mkd, QStringLiteral("/up/") + folder.chopped(1));
    // The files in reverse order: the deepest folder's files come first and must still wait
    // for every folder before them.
    QList<QPair<QString, qint64>> files = treeFiles();
    std::reverse(files.begin(), files.end());
    for (const auto &[path, size] : files)
        records << stor(down + path, QStringLiteral("/up/") + path);
    result = run(records);
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(treeOf(server->localPath(QStringLiteral("up/"))), treeOf(down));
    EXPECT_TRUE(model.isEmpty());
    EXPECT_EQ(received("USER"), 1 + 2 * Sessions);
}

// One plan uploads into new folders and then deletes all of it again: each delete waits for
// the end of the transfer of its file (the server's log of commands and transfer ends shows the
// order), each folder's removal for what is in it.
TEST_F(SimultaneousTransfersTest, ATreeIsDeletedAfterTheTransfersIntoIt)
{
    FtpTestServer::Setup setup;
    setup.orderLog = env.root() + QStringLiteral("order.log");
    startServer(setup);
    QStringList records{command(QueueCommand::Mkd, QStringLiteral("/t")), command(QueueCommand::Mkd, QStringLiteral("/t/x")),
                        command(QueueCommand::Mkd, QStringLiteral("/t/x/y"))};
    QStringList deletes;
    for (int i = 0; i < 24; ++i) {
        const QString folder = i % 3 == 0 ? QStringLiteral("/t/") : i % 3 == 1 ? QStringLiteral("/t/x/") : QStringLiteral("/t/x/y/");
        const QString name = QStringLiteral("u%1.bin").arg(i);
        // The last upload is the big one: it still runs when the deletes are next.
        const qint64 size = i == 23 ? 8 * 1024 * 1024 : 1000 + i;
        records << stor(env.writeFile(QStringLiteral("src/") + name, randomBytes(size)), folder + name);
        deletes << command(QueueCommand::Dele, folder + name);
    }
    records << deletes << command(QueueCommand::Rmd, QStringLiteral("/t/x/y")) << command(QueueCommand::Rmd, QStringLiteral("/t/x"))
            << command(QueueCommand::Rmd, QStringLiteral("/t"));

    const RunResult result = run(records);
    EXPECT_TRUE(result.allSucceeded()) << protocol().filter(QStringLiteral("2: ")).join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(server->localPath(QStringLiteral("t")))) << "the tree is gone";
    EXPECT_TRUE(model.isEmpty());
    EXPECT_EQ(received("STOR"), 24);
    EXPECT_EQ(received("DELE"), 24);
    EXPECT_EQ(received("USER"), 1 + Sessions) << "the uploads ran on the extra connections";
    const QStringList order = QString::fromUtf8(TestEnvironment::readFile(setup.orderLog)).split(u'\n');
    for (const QString &line : order.filter(QRegularExpression(QStringLiteral("^DELE ")))) {
        const QString path = line.mid(5);
        const qsizetype done = order.indexOf(QStringLiteral("DONE ") + server->localPath(path.mid(1)));
        EXPECT_GE(done, 0) << path.toStdString();
        EXPECT_LT(done, order.indexOf(line)) << path.toStdString() << ": deleted before its upload ended";
    }
}

// The server holds every transfer after its first MiB: Abort once all four run at once ends all
// four as aborted, starts nothing more and leaves every row; what arrived stays for the next run.
TEST_F(SimultaneousTransfersTest, AbortEndsEveryRunningTransferAndStartsNoMore)
{
    FtpTestServer::Setup setup;
    setup.holdTransfersAfter = HeldAfter;
    startServer(setup);
    QStringList records;
    QStringList sources;
    for (int i = 0; i < Sessions + 2; ++i) {
        const bool big = i < Sessions;
        const QString name = QStringLiteral("/f%1.bin").arg(i);
        server->writeFile(name.mid(1), QByteArray(big ? 3 * HeldAfter : 100, 'a' + char(i)));
        records << retr(name, local + name.mid(1), big ? 3 * HeldAfter : 100);
        sources << name;
    }
    view.onBytes = [this] {
        if (allSessionsMoving())
            work.cancel.cancel();
    };
    const RunResult result = run(records);
    view.onBytes = nullptr;

    EXPECT_EQ(result.succeeded, 0);
    EXPECT_EQ(gridSources(), sources);
    EXPECT_EQ(lastQueueSources(), sources);
    EXPECT_GE(protocol().filter(QStringLiteral("2: Transfer aborted")).size(), Sessions) << protocol().join(u'\n').toStdString();
    for (int i = 0; i < Sessions + 2; ++i) {
        const QString target = local + QStringLiteral("f%1.bin").arg(i);
        EXPECT_FALSE(QFileInfo::exists(target)) << i;
        if (i < Sessions) {
            const qint64 kept = QFileInfo(target + QStringLiteral(".velmora-part")).size();
            EXPECT_GT(kept, 0) << i << ": what arrived stays for the next run";
            EXPECT_LE(kept, HeldAfter) << i;
        }
    }
    EXPECT_EQ(received("RETR"), Sessions) << "nothing started after Abort";
    EXPECT_EQ(received("QUIT"), Sessions);
}

// Pause while four transfers run: they go on to their end, nothing new starts, and the rows not
// started are what the grid and the last queue hold.
TEST_F(SimultaneousTransfersTest, PauseLetsTheRunningTransfersFinishAndStartsNoMore)
{
    FtpTestServer::Setup setup;
    setup.holdTransfersAfter = HeldAfter;
    setup.releaseFile = env.root() + QStringLiteral("release");
    startServer(setup);
    QStringList records;
    QMap<QString, QByteArray> contents;
    for (int i = 0; i < Sessions + 2; ++i) {
        const bool big = i < Sessions;
        const QString name = QStringLiteral("f%1.bin").arg(i);
        contents.insert(name, randomBytes(big ? 2 * HeldAfter + i : 100 + i));
        server->writeFile(name, contents.value(name));
        records << retr(u'/' + name, local + name, contents.value(name).size());
    }
    view.onBytes = [this] {
        if (!work.cancel.isPauseRequested() && allSessionsMoving()) {
            work.cancel.requestPause();
            QFile release(env.root() + QStringLiteral("release"));
            ASSERT_TRUE(release.open(QIODevice::WriteOnly));
        }
    };
    const RunResult result = run(records);
    view.onBytes = nullptr;

    EXPECT_EQ(result.succeeded, Sessions) << protocol().join(u'\n').toStdString();
    for (int i = 0; i < Sessions; ++i) {
        const QString name = QStringLiteral("f%1.bin").arg(i);
        EXPECT_TRUE(readLocal(local + name) == contents.value(name)) << i << ": a running transfer finished whole";
    }
    const QStringList notStarted{QStringLiteral("/f4.bin"), QStringLiteral("/f5.bin")};
    EXPECT_EQ(gridSources(), notStarted);
    EXPECT_EQ(lastQueueSources(), notStarted);
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("f4.bin")));
    EXPECT_FALSE(work.cancel.isPauseRequested()) << "a Pause ends this run only";

    // The next run carries out the rest.
    model.clear();
    EXPECT_TRUE(run({records[4], records[5]}).allSucceeded());
    EXPECT_TRUE(readLocal(local + QStringLiteral("f5.bin")) == contents.value(QStringLiteral("f5.bin")));
}

// No more extra connections than there are transfers: a job of two files logs in three times.
TEST_F(SimultaneousTransfersTest, NoMoreConnectionsAreOpenedThanThereAreTransfers)
{
    startServer();
    server->writeFile(QStringLiteral("a.bin"), randomBytes(1000));
    server->writeFile(QStringLiteral("b.bin"), randomBytes(2000));
    const RunResult result = run({retr(QStringLiteral("/a.bin"), local + QStringLiteral("a.bin"), 1000),
                                  retr(QStringLiteral("/b.bin"), local + QStringLiteral("b.bin"), 2000)});
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(protocol().contains(QStringLiteral("1: Simultaneous transfers on 2 connections"))) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(received("USER"), 1 + 2);
}

// The server goes away while two transfers run (every connection dropped) and comes back: each
// transfer is tried once more on another connection and ends whole; the rows are done.
TEST_F(SimultaneousTransfersTest, ATransferThatFailsForAPassingReasonIsTriedOnceMore)
{
    FtpTestServer::Setup setup;
    setup.holdTransfersAfter = HeldAfter;
    startServer(setup);
    QStringList records;
    QMap<QString, QByteArray> contents;
    for (int i = 0; i < 2; ++i) {
        const QString name = QStringLiteral("d%1.bin").arg(i);
        contents.insert(name, randomBytes(2 * HeldAfter + i));
        server->writeFile(name, contents.value(name));
        records << retr(u'/' + name, local + name, contents.value(name).size());
    }
    bool dropped = false;
    view.onBytes = [&] {
        if (dropped || runner->traffic().movingSessionTransfers() < 2)
            return;
        dropped = true;
        server->setHoldTransfersAfter(0);
        ASSERT_TRUE(server->restart()) << server->errorText().toStdString();
    };
    const RunResult result = run(records);
    view.onBytes = nullptr;
    ASSERT_TRUE(dropped);
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(model.isEmpty());
    EXPECT_EQ(protocol().filter(QStringLiteral("tried once more on another connection")).size(), 2) << protocol().join(u'\n').toStdString();
    for (const QString &name : contents.keys())
        EXPECT_TRUE(readLocal(local + name) == contents.value(name)) << name.toStdString();
}

// While four sessions carry out long downloads, the first connection waits, and the server
// closes it after its idle time-out. The rows after the downloads (DELE) still run on it: it is
// found dead and made again, instead of failing with "Not connected.".
TEST_F(SimultaneousTransfersTest, TheFirstConnectionIdledOutMeanwhileIsMadeAgainForTheRowsAfter)
{
    if (ProftpdTestServer::needsRoot())
        GTEST_SKIP() << "proftpd needs root";
    ProftpdTestServer::Setup setup;
    setup.idleTimeoutSeconds = 1;
    setup.rateKiB = 256; // each download lasts about two seconds
    ProftpdTestServer proftpd(setup);
    QStringList records;
    QMap<QString, QByteArray> contents;
    for (int i = 0; i < Sessions; ++i) {
        const QString name = QStringLiteral("long%1.bin").arg(i);
        contents.insert(name, randomBytes(512 * 1024 + i));
        proftpd.writeFile(name, contents.value(name));
        records << retr(u'/' + name, local + name, contents.value(name).size());
    }
    for (int i = 0; i < Sessions; ++i) {
        proftpd.writeFile(QStringLiteral("old%1.txt").arg(i), "old");
        records << command(QueueCommand::Dele, QStringLiteral("/old%1.txt").arg(i));
    }
    ASSERT_TRUE(proftpd.start()) << proftpd.errorText().toStdString();
    master->SetConnectionData(proftpd.host(), QString::number(proftpd.port()), proftpd.user(), proftpd.password(), 0);
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();

    const RunResult result = run(records);
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(model.isEmpty());
    for (const QString &name : contents.keys())
        EXPECT_TRUE(readLocal(local + name) == contents.value(name)) << name.toStdString();
    for (int i = 0; i < Sessions; ++i)
        EXPECT_FALSE(QFileInfo::exists(proftpd.localPath(QStringLiteral("old%1.txt").arg(i)))) << i;
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

// Three connections from one address at most: two of the four extra ones get 421, and the run
// goes on with the two it got.
TEST_F(SimultaneousTransfersTest, AServerThatRefusesConnectionsLeavesTheRunWithThoseItAccepted)
{
    FtpTestServer::Setup setup;
    setup.maxConnectionsPerIp = 3;
    startServer(setup);
    QStringList records;
    for (int i = 0; i < 12; ++i) {
        server->writeFile(QStringLiteral("p/f%1.txt").arg(i), randomBytes(5000 + i));
        records << retr(QStringLiteral("/p/f%1.txt").arg(i), local + QStringLiteral("f%1.txt").arg(i), 5000 + i);
    }
    const RunResult result = run(records);
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(readLocal(local + QStringLiteral("f%1.txt").arg(i)) == randomBytes(5000 + i)) << i;
    EXPECT_TRUE(protocol().contains(QStringLiteral("1: Simultaneous transfers on 2 connections"))) << protocol().join(u'\n').toStdString();
    const QStringList refused = protocol().filter(QStringLiteral("A connection for simultaneous transfers was refused: "));
    EXPECT_EQ(refused.size(), 2);
    EXPECT_TRUE(refused.join(u'\n').contains(QStringLiteral("421"))) << refused.join(u'\n').toStdString();
    EXPECT_TRUE(model.isEmpty());
}

// The question comes one at a time, in the order of the records, even though the window's
// messages (and the sessions' reports) are processed while it is open; the answers hold.
TEST_F(SimultaneousTransfersTest, TheOverwriteQuestionIsAskedOneAtATime)
{
    startServer();
    QStringList records;
    QStringList targets;
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("q%1.bin").arg(i);
        server->writeFile(name, randomBytes(20000 + i));
        const QString target = env.writeFile(QStringLiteral("local/") + name, "old");
        records << retr(u'/' + name, target, 20000 + i);
        targets << target;
    }
    // Skip the third file; overwrite the others, each asked for.
    for (int i = 0; i < 8; ++i)
        question.answers << ScriptedQuestion::Answer{i == 2, false, false, true};
    int open = 0;
    int mostOpen = 0;
    class ProcessingQuestion : public OverwriteQuestion {
    public:
        ProcessingQuestion(ScriptedQuestion &inner, int &open, int &mostOpen)
            : m_inner(inner)
            , m_open(open)
            , m_mostOpen(mostOpen)
        {
        }
        bool askOverwrite(const QString &target, OverwritePolicy &policy) override
        {
            m_mostOpen = std::max(m_mostOpen, ++m_open);
            // A window's own event loop runs while it is open.
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            const bool ok = m_inner.askOverwrite(target, policy);
            --m_open;
            return ok;
        }

    private:
        ScriptedQuestion &m_inner;
        int &m_open;
        int &m_mostOpen;
    } processing(question, open, mostOpen);
    runner->setQuestion(&processing);

    const RunResult result = run(records);
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(question.asked, targets);
    EXPECT_EQ(mostOpen, 1);
    EXPECT_EQ(received("USER"), 1 + Sessions) << "the downloads ran on the extra connections";
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            EXPECT_EQ(readLocal(targets[i]), QByteArray("old"));
        else
            EXPECT_TRUE(readLocal(targets[i]) == randomBytes(20000 + i)) << i;
    }
}

// FTP over TLS with a certificate the system does not trust: the extra connections take what
// the user accepted on the first one (for this program run, or always) without a second
// question, and each data connection reuses its own control connection's TLS session.
TEST_F(SimultaneousTransfersTest, TheExtraConnectionsTakeTheCertificateTheUserAccepted)
{
    TlsTestCertificates certificates;
    ASSERT_TRUE(certificates.isValid()) << certificates.errorText().toStdString();
    const struct {
        const char *name;
        const char *certificate;
        UserPrompts::CertificateAnswer answer;
    } cases[] = {
        {"trusted this time", "expired.pem", UserPrompts::CertificateAnswer::TrustThisTime},
        {"trusted always", "self-signed.pem", UserPrompts::CertificateAnswer::TrustAlways},
    };
    for (const auto &c : cases) {
        FtpTestServer::Setup setup;
        setup.tls = QStringLiteral("explicit");
        setup.certificateFile = certificates.file(QString::fromLatin1(c.certificate));
        setup.requireSessionReuse = true;
        server = std::make_unique<FtpTestServer>(setup);
        ASSERT_TRUE(server->start()) << server->errorText().toStdString();
        master->SetConnectionData(server->host(), QString::number(server->port()), server->user(), server->password(), 0);
        master->setEncryption(FtpEncryption::ExplicitRequired);
        prompts.clear();
        prompts.certificateAnswers = {c.answer};
        ASSERT_TRUE(master->Connect(false)) << c.name << ": " << prompts.shown.join(u'\n').toStdString();
        const qsizetype runsBefore = protocol().filter(QStringLiteral("1: Simultaneous transfers on 4 connections")).size();

        QStringList records;
        for (int i = 0; i < 8; ++i) {
            server->writeFile(QStringLiteral("t%1.bin").arg(i), randomBytes(30000 + i));
            records << retr(QStringLiteral("/t%1.bin").arg(i), local + QString::fromLatin1(c.name) + QStringLiteral("/t%1.bin").arg(i), 30000 + i);
        }
        QDir().mkpath(local + QString::fromLatin1(c.name));
        EXPECT_TRUE(run(records).allSucceeded()) << c.name << ": " << protocol().join(u'\n').toStdString();
        for (int i = 0; i < 8; ++i)
            EXPECT_TRUE(readLocal(local + QString::fromLatin1(c.name) + QStringLiteral("/t%1.bin").arg(i)) == randomBytes(30000 + i))
                << c.name << ": " << i;
        EXPECT_EQ(protocol().filter(QStringLiteral("1: Simultaneous transfers on 4 connections")).size(), runsBefore + 1)
            << c.name << ": " << protocol().join(u'\n').toStdString();
        EXPECT_EQ(prompts.shown.filter(QStringLiteral("askCertificate: ")).size(), 1) << c.name;
        master->Disconnect();
    }
}
