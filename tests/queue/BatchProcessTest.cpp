// Batch jobs as a scheduler starts them: the real program with a queue file and a switch,
// offscreen, against a real FTP server. Nobody answers a box, so every job must end as its
// switch says; the waits are bounded and a job that hung would fail the test instead.
#include "FtpTestServer.h"
#include "TestEnvironment.h"
#include "TlsTestCertificates.h"

#include "common/SizeText.h"
#include "common/TextCodec.h"
#include "engine/LoginFile.h"
#include "queue/QueueFile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

constexpr int FinishTimeoutMs = 60000;

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    return bytes + QByteArray("\r\n\r\0\n", 5); // line ends a text transfer would change
}

QueueRow row(const QString &source, const QString &cmd, const QString &destination, qint64 size)
{
    return {source, cmd, destination, QString::number(size), QStringLiteral("05/20/2010 10:12:00")};
}

struct ProgramRun {
    bool finished = false;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    int exitCode = -1;
    QStringList messages; // the program's own lines on standard error ("velmora: ...")
    QString errorText;    // all of standard error
};

class BatchProcessTest : public ::testing::Test {
protected:
    BatchProcessTest()
    {
        local = env.root() + QStringLiteral("local/");
        QDir().mkpath(local);
    }

    void startServer()
    {
        server = std::make_unique<FtpTestServer>();
        ASSERT_TRUE(server->start()) << server->errorText().toStdString();
    }

    // A saved queue as "Save queue" leaves it: the queue file and the login beside it.
    QString saveJob(const QString &name, const QList<QueueRow> &rows, const QString &password, quint16 port)
    {
        const QString path = env.root() + QStringLiteral("jobs/") + name + QStringLiteral(".queue");
        QDir().mkpath(env.root() + QStringLiteral("jobs"));
        EXPECT_TRUE(QueueFile::write(path, rows));
        LoginData login;
        login.host = QStringLiteral("127.0.0.1");
        login.user = server ? server->user() : QStringLiteral("velmora");
        login.password = password;
        login.port = QString::number(port);
        login.localPath = local;
        EXPECT_TRUE(WriteLoginFile(env.root() + QStringLiteral("jobs/") + name + QStringLiteral(".ftp"), login));
        return path;
    }

    QProcessEnvironment environment(const QStringList &extra = {}) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const QString &setting : extra)
            environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        return environment;
    }

    static QString program() { return qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/bin/velmora"); }

    static ProgramRun finish(QProcess &process)
    {
        ProgramRun run;
        run.finished = process.waitForFinished(FinishTimeoutMs);
        if (!run.finished) {
            process.kill();
            process.waitForFinished();
        }
        run.exitStatus = process.exitStatus();
        run.exitCode = process.exitCode();
        run.errorText = QString::fromLocal8Bit(process.readAllStandardError());
        for (const QString &line : run.errorText.split(u'\n')) {
            if (line.startsWith(QStringLiteral("velmora: ")))
                run.messages << line;
        }
        return run;
    }

    ProgramRun runVelmora(const QStringList &arguments, const QStringList &extraEnvironment = {})
    {
        QProcess process;
        process.setProcessEnvironment(environment(extraEnvironment));
        process.start(program(), arguments);
        return finish(process);
    }

    QString batchLogPath() const { return env.appDataFolder() + QStringLiteral("Lastbatchjob.log"); }
    QStringList batchLog() const { return TextCodec::ReadLines(batchLogPath()); }

    // The nine fields of a log line (the first three are the date and the two times), then the
    // job's exit status.
    void expectLogLine(const QString &line, const QString &queueFile, const QString &mode, const QString &host,
                       const QString &size, int files, int exitStatus)
    {
        const QStringList fields = line.split(u'|');
        ASSERT_EQ(fields.size(), 10) << line.toStdString();
        EXPECT_EQ(fields[9], QStringLiteral("exit status ") + QString::number(exitStatus));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d[./]\\d\\d[./]\\d{4}$")).match(fields[0]).hasMatch()) << line.toStdString();
        const QRegularExpression time(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
        EXPECT_TRUE(time.match(fields[1]).hasMatch() && time.match(fields[2]).hasMatch()) << line.toStdString();
        EXPECT_EQ(fields.mid(3, 6), (QStringList{QFileInfo(queueFile).absolutePath() + u'/', QFileInfo(queueFile).fileName(),
                                                 mode, host, size, QString::number(files)}));
    }

    TestEnvironment env;
    std::unique_ptr<FtpTestServer> server;
    QString local;
};

} // namespace

TEST_F(BatchProcessTest, RunAndCloseCarriesTheQueueOutByteForByteAndEndsWithStatus0)
{
    startServer();
    const QByteArray data = randomBytes(200 * 1024);
    const QByteArray deep = randomBytes(3000);
    const QByteArray upload = randomBytes(70 * 1024);
    server->writeFile(QStringLiteral("pub/data.bin"), data);
    server->writeFile(QStringLiteral("pub/sub/deep.dat"), deep);
    const QString uploadSource = env.writeFile(QStringLiteral("local/up/u.bin"), upload);
    env.writeFile(QStringLiteral("local/out/data.bin"), "an older copy"); // overwritten without a question
    const QString queue = saveJob(QStringLiteral("nightly"),
                                  {row(QStringLiteral("/pub/data.bin"), QStringLiteral("RETR"), local + QStringLiteral("out/data.bin"), data.size()),
                                   row(QStringLiteral("/pub/sub/deep.dat"), QStringLiteral("RETR"),
                                       local + QStringLiteral("out/new/deeper/deep.dat"), deep.size()),
                                   row(uploadSource, QStringLiteral("STOR"), QStringLiteral("/pub/up/u.bin"), upload.size())},
                                  server->password(), server->port());

    const ProgramRun run = runVelmora({queue, QStringLiteral("-rc")});
    ASSERT_TRUE(run.finished) << "the program must end by itself";
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0) << run.messages.join(u'\n').toStdString();
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("out/data.bin")), data);
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("out/new/deeper/deep.dat")), deep);
    EXPECT_EQ(server->readFile(QStringLiteral("pub/up/u.bin")), upload);
    EXPECT_TRUE(run.messages.isEmpty()) << run.messages.join(u'\n').toStdString();
    // Nothing but the job's own lines: no complaint of the offscreen platform fills cron logs.
    EXPECT_FALSE(run.errorText.contains(QStringLiteral("does not support"))) << run.errorText.toStdString();
    const QStringList log = batchLog();
    ASSERT_EQ(log.size(), 1);
    expectLogLine(log.first(), queue, QStringLiteral("-rc"), QStringLiteral("127.0.0.1"),
                  FormatSizeKB(QString::number(data.size() + deep.size() + upload.size())), 3, 0);
    EXPECT_EQ(QFileInfo(env.appDataFolder() + QStringLiteral("lastqueue.ini")).size(), 0) << "every row was done";
}

TEST_F(BatchProcessTest, AKilledJobRunAgainGoesOnFromWhereItStopped)
{
    // The server holds the transfer after its first MiB, so the kill lands mid-download.
    FtpTestServer::Setup setup;
    setup.holdTransfersAfter = 1024 * 1024;
    setup.commandLog = env.root() + QStringLiteral("commands.log");
    server = std::make_unique<FtpTestServer>(setup);
    ASSERT_TRUE(server->start()) << server->errorText().toStdString();
    const QByteArray data = randomBytes(6 * 1024 * 1024);
    server->writeFile(QStringLiteral("pub/big.bin"), data);
    const QString target = local + QStringLiteral("big.bin");
    const QString part = target + QStringLiteral(".velmora-part");
    const QString queue = saveJob(QStringLiteral("resume"),
                                  {row(QStringLiteral("/pub/big.bin"), QStringLiteral("RETR"), target, data.size())},
                                  server->password(), server->port());

    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program(), {queue, QStringLiteral("-rc")});
    ASSERT_TRUE(process.waitForStarted());
    for (int waited = 0; QFileInfo(part).size() < setup.holdTransfersAfter && waited < FinishTimeoutMs; waited += 20)
        ASSERT_FALSE(process.waitForFinished(20)) << "ended before the transfer was held";
    ASSERT_EQ(QFileInfo(part).size(), setup.holdTransfersAfter);
    process.kill(); // SIGKILL: no clean-up at all
    ASSERT_TRUE(process.waitForFinished());
    EXPECT_FALSE(QFileInfo::exists(target)) << "no truncated file under the real name";
    const QList<QueueRow> left = QueueFile::read(env.appDataFolder() + QStringLiteral("lastqueue.ini")).rows;
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.first().source, QStringLiteral("/pub/big.bin"));

    // The scheduler starts the job again; the server transfers in full now.
    server->setHoldTransfersAfter(0);
    ASSERT_TRUE(server->restart());
    const qsizetype before = TestEnvironment::readFile(setup.commandLog).count('\n');
    const ProgramRun run = runVelmora({queue, QStringLiteral("-rc")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.messages.join(u'\n').toStdString();
    EXPECT_TRUE(TestEnvironment::readFile(target) == data) << "the file is not byte for byte the server's";
    const QList<QByteArray> commands = TestEnvironment::readFile(setup.commandLog).split('\n').mid(before);
    const qsizetype rest = commands.indexOf("REST");
    EXPECT_TRUE(rest >= 0 && commands.value(rest + 1) == "RETR") << "the second run went on with REST";
    EXPECT_FALSE(QFileInfo::exists(part));
    EXPECT_FALSE(QFileInfo::exists(part + QStringLiteral(".info")));
    EXPECT_EQ(QFileInfo(env.appDataFolder() + QStringLiteral("lastqueue.ini")).size(), 0);
}

TEST_F(BatchProcessTest, RunOnlyStaysOpenAfterItsLogLine)
{
    startServer();
    server->writeFile(QStringLiteral("a.dat"), "alpha");
    const QString queue = saveJob(QStringLiteral("stay"), {row(QStringLiteral("/a.dat"), QStringLiteral("RETR"), local + QStringLiteral("a.dat"), 5)},
                                  server->password(), server->port());
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program(), {queue, QStringLiteral("-r")});
    ASSERT_TRUE(process.waitForStarted());
    // Bounded wait for the job's log line, then the program must still be there.
    for (int waited = 0; !batchLog().value(0).contains(QStringLiteral("|exit status ")) && waited < FinishTimeoutMs; waited += 100)
        ASSERT_FALSE(process.waitForFinished(100)) << "ended before its log line";
    ASSERT_EQ(batchLog().size(), 1);
    expectLogLine(batchLog().first(), queue, QStringLiteral("-r"), QStringLiteral("127.0.0.1"), QStringLiteral("0.00 kB"), 1, 0);
    EXPECT_FALSE(process.waitForFinished(1500)) << "-r stays open";
    EXPECT_EQ(process.state(), QProcess::Running);
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("a.dat")), QByteArray("alpha"));
    process.kill();
    process.waitForFinished();
}

TEST_F(BatchProcessTest, RunAndShutdownSavesTheLogLineFirstThenShutsDownAndEnds)
{
    startServer();
    server->writeFile(QStringLiteral("a.dat"), QByteArray(1536, 'a'));
    const QString queue = saveJob(QStringLiteral("off"), {row(QStringLiteral("/a.dat"), QStringLiteral("RETR"), local + QStringLiteral("a.dat"), 1536)},
                                  server->password(), server->port());
    // Stands in for the power-off: records the batch log as it is at that moment.
    const QString record = env.root() + QStringLiteral("shutdown-record.txt");
    const QString command = QStringLiteral("cat '") + batchLogPath() + QStringLiteral("' >> '") + record
        + QStringLiteral("'; echo shutdown >> '") + record + u'\'';
    const ProgramRun run = runVelmora({queue, QStringLiteral("-rs")}, {QStringLiteral("VELMORA_SHUTDOWN_COMMAND=") + command});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.messages.join(u'\n').toStdString();
    const QStringList recorded = TextCodec::ReadLines(record);
    ASSERT_EQ(recorded.size(), 2) << recorded.join(u'\n').toStdString();
    expectLogLine(recorded.first(), queue, QStringLiteral("-rs"), QStringLiteral("127.0.0.1"), QStringLiteral("1.50 kB"), 1, 0);
    EXPECT_EQ(recorded.last(), QStringLiteral("shutdown"));
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("a.dat")), QByteArray(1536, 'a'));
}

TEST_F(BatchProcessTest, AJobThatCannotRunStillLogsAndEndsWithoutWaitingOnABox)
{
    startServer();
    server->writeFile(QStringLiteral("a.dat"), "a");
    FtpTestServer stopped;
    ASSERT_TRUE(stopped.start());
    const quint16 downPort = stopped.port();
    stopped.stop();
    const QList<QueueRow> rows = {row(QStringLiteral("/a.dat"), QStringLiteral("RETR"), local + QStringLiteral("a.dat"), 1),
                                  row(QStringLiteral("/b.dat"), QStringLiteral("RETR"), local + QStringLiteral("b.dat"), 2047)};

    struct Case {
        const char *name;
        std::function<QString()> makeJob;
        int exitCode;
        QString host;
        QString size;
        int files;
        QString message; // part of a line on standard error
        QStringList rowsLeft;
        bool keepsPending = false; // a queue file that cannot be used leaves the last queue as it was
    };
    const QString host = QStringLiteral("127.0.0.1");
    const QStringList sources = {QStringLiteral("/a.dat"), QStringLiteral("/b.dat")};
    const QList<QueueRow> pendingRows = {row(QStringLiteral("/pending/one.dat"), QStringLiteral("RETR"), local + QStringLiteral("one.dat"), 10),
                                         row(QStringLiteral("/pending/two.dat"), QStringLiteral("DELE"), QStringLiteral(" "), 0)};
    const QStringList pending = {QStringLiteral("/pending/one.dat"), QStringLiteral("/pending/two.dat")};
    const Case cases[] = {
        {"server down", [&] { return saveJob(QStringLiteral("down"), rows, server->password(), downPort); }, 3, host,
         QStringLiteral("2.00 kB"), 2, QStringLiteral("velmora: error: "), sources},
        {"wrong password", [&] { return saveJob(QStringLiteral("password"), rows, QStringLiteral("wrong"), server->port()); }, 3,
         host, QStringLiteral("2.00 kB"), 2, QStringLiteral("530"), sources},
        {"damaged queue file",
         [&] {
             const QString path = saveJob(QStringLiteral("damaged"), rows, server->password(), server->port());
             env.writeFile(path.mid(env.root().size()), "/a.dat\xA7RETR\xA7x\r\n\x7F" "ELF\x02\x01");
             return path;
         },
         3, host, QStringLiteral("0.00 kB"), 0, QStringLiteral("is not a queue file"), pending, true},
        {"no connection file beside the queue",
         [&] {
             const QString path = saveJob(QStringLiteral("alone"), rows, server->password(), server->port());
             QFile::remove(env.root() + QStringLiteral("jobs/alone.ftp"));
             return path;
         },
         3, QString(), QStringLiteral("2.00 kB"), 2, QStringLiteral("jobs/alone.ftp is missing"), sources},
        {"empty queue file",
         [&] { return saveJob(QStringLiteral("empty"), {}, server->password(), server->port()); }, 3, host,
         QStringLiteral("0.00 kB"), 0, QStringLiteral("empty.queue holds no rows. Nothing was loaded."), pending, true},
        {"text without one usable row",
         [&] {
             const QString path = saveJob(QStringLiteral("garbage"), rows, server->password(), server->port());
             env.writeFile(path.mid(env.root().size()), "\r\nhello world\r\nRETR only\xA7RETR\r\n");
             return path;
         },
         3, host, QStringLiteral("0.00 kB"), 0,
         QStringLiteral("garbage.queue holds no row that can run: line 2 (hello world) cannot run. Nothing was loaded."), pending,
         true},
    };
    const QString lastQueue = env.appDataFolder() + QStringLiteral("lastqueue.ini");
    QDir().mkpath(env.appDataFolder());
    for (const Case &c : cases) {
        QFile::remove(batchLogPath());
        // Rows an earlier session left pending, as the program wrote them.
        ASSERT_TRUE(QueueFile::write(lastQueue, pendingRows));
        const QByteArray pendingBytes = TestEnvironment::readFile(lastQueue);
        const QString queue = c.makeJob();
        const ProgramRun run = runVelmora({queue, QStringLiteral("-rc")});
        ASSERT_TRUE(run.finished) << c.name << ": the program waited for somebody";
        EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << c.name;
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << "\n" << run.messages.join(u'\n').toStdString();
        const QStringList log = batchLog();
        ASSERT_EQ(log.size(), 1) << c.name;
        QString line = log.first();
        expectLogLine(line.replace(QStringLiteral("-rc||"), QStringLiteral("-rc| |")), queue, QStringLiteral("-rc"),
                      c.host.isEmpty() ? QStringLiteral(" ") : c.host, c.size, c.files, c.exitCode);
        if (!c.message.isEmpty())
            EXPECT_TRUE(run.messages.join(u'\n').contains(c.message)) << c.name << "\n" << run.messages.join(u'\n').toStdString();
        EXPECT_FALSE(run.messages.join(u'\n').contains(QStringLiteral("question:"))) << c.name;
        QStringList left;
        for (const QueueRow &r : QueueFile::read(lastQueue).rows)
            left << r.source;
        EXPECT_EQ(left, c.rowsLeft) << c.name << ": failed rows wait for the next interactive start";
        if (c.keepsPending)
            EXPECT_EQ(TestEnvironment::readFile(lastQueue), pendingBytes) << c.name << ": the pending queue is untouched";
    }
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("a.dat")));
}

// Work that was not done is never reported as done: an upload whose local file is gone, a
// download the server refuses, one the disk cannot hold and a row no record can carry fail the
// job (status 3) and stay for the next start, while the rest of the queue is carried out. A
// scheduler keeps standard error: each of them is named there with its file and the reason, a
// full disk (here: a limit on the size of files) in the system's words.
TEST_F(BatchProcessTest, RowsThatWereNotDoneFailTheJobAndAreNamedOnStandardError)
{
    startServer();
    server->writeFile(QStringLiteral("a.dat"), "alpha");
    const QByteArray big = randomBytes(3 * 1024 * 1024);
    server->writeFile(QStringLiteral("big.bin"), big);
    const QString gone = local + QStringLiteral("gone.dat");
    const QString queue = saveJob(QStringLiteral("partly"),
                                  {row(QStringLiteral("/a.dat"), QStringLiteral("RETR"), local + QStringLiteral("a.dat"), 5),
                                   row(gone, QStringLiteral("STOR"), QStringLiteral("/gone.dat"), 7),
                                   row(QStringLiteral("/big.bin"), QStringLiteral("RETR"), local + QStringLiteral("big.bin"), big.size()),
                                   row(QStringLiteral("/missing.dat"), QStringLiteral("RETR"), local + QStringLiteral("missing.dat"), 4),
                                   row(QStringLiteral("/b.dat"), QStringLiteral("RETR"), local + QStringLiteral("folder/"), 3),
                                   row(QStringLiteral("/c.dat"), QStringLiteral("FROB"), QStringLiteral("/d.dat"), 3)},
                                  server->password(), server->port());
    QProcess process;
    process.setProcessEnvironment(environment());
    // No file may grow past 1 MiB: a write past it fails (EFBIG) as one on a full disk does
    // (ENOSPC), after a short write that reports no error.
    process.setChildProcessModifier([] {
        const struct rlimit limit = {1024 * 1024, 1024 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, SIG_IGN);
    });
    process.start(program(), {queue, QStringLiteral("-rc")});
    const ProgramRun run = finish(process);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3) << run.messages.join(u'\n').toStdString();
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("a.dat")), QByteArray("alpha"));
    EXPECT_FALSE(QFileInfo::exists(server->localPath(QStringLiteral("gone.dat"))));
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("big.bin")));
    QStringList left;
    for (const QueueRow &r : QueueFile::read(env.appDataFolder() + QStringLiteral("lastqueue.ini")).rows)
        left << r.cmd + u' ' + r.source;
    EXPECT_EQ(left, (QStringList{QStringLiteral("STOR ") + gone, QStringLiteral("RETR /big.bin"), QStringLiteral("RETR /missing.dat"),
                                 QStringLiteral("RETR /b.dat"), QStringLiteral("FROB /c.dat")}));
    ASSERT_EQ(batchLog().size(), 1);

    const QString errors = run.messages.join(u'\n');
    const qsizetype summary = run.messages.indexOf(QStringLiteral("velmora: error: Batch job %1: 5 of 6 queue rows were not done:").arg(queue));
    ASSERT_GE(summary, 0) << errors.toStdString();
    const QStringList named = run.messages.mid(summary + 1);
    const auto namedOnce = [&](const QString &file, const QString &reason) {
        const QStringList lines = named.filter(file).filter(reason);
        EXPECT_EQ(lines.size(), 1) << file.toStdString() << " / " << reason.toStdString() << "\n" << errors.toStdString();
    };
    namedOnce(gone, QStringLiteral("File not exists"));
    namedOnce(local + QStringLiteral("big.bin"), QStringLiteral(": File too large"));
    namedOnce(QStringLiteral("/missing.dat: 550 "), QStringLiteral("550"));
    namedOnce(QStringLiteral("RETR /b.dat"), QStringLiteral("It stays in the queue."));
    namedOnce(QStringLiteral("FROB /c.dat"), QStringLiteral("It stays in the queue."));
    EXPECT_FALSE(errors.contains(QStringLiteral("Unknown error"))) << errors.toStdString();
    EXPECT_TRUE(batchLog().first().endsWith(QStringLiteral("|exit status 3"))) << "the failure shows in the log line";
}

TEST_F(BatchProcessTest, AnUntrustedCertificateFailsTheJobWithoutAWindow)
{
    TlsTestCertificates certificates; // the program trusts the test authority only
    ASSERT_TRUE(certificates.isValid()) << certificates.errorText().toStdString();
    FtpTestServer::Setup setup;
    setup.tls = QStringLiteral("explicit");
    setup.certificateFile = certificates.file(QStringLiteral("self-signed.pem"));
    setup.commandLog = env.root() + QStringLiteral("commands.log");
    server = std::make_unique<FtpTestServer>(setup);
    ASSERT_TRUE(server->start()) << server->errorText().toStdString();
    server->writeFile(QStringLiteral("a.dat"), "secret data");
    const QString queue = saveJob(QStringLiteral("secure"),
                                  {row(QStringLiteral("/a.dat"), QStringLiteral("RETR"), local + QStringLiteral("a.dat"), 11)},
                                  server->password(), server->port());
    const QString loginPath = env.root() + QStringLiteral("jobs/secure.ftp");
    LoginData login = ReadLoginFile(loginPath);
    login.encryption = FtpEncryption::ExplicitRequired;
    ASSERT_TRUE(WriteLoginFile(loginPath, login));

    const ProgramRun run = runVelmora({queue, QStringLiteral("-rc")});
    ASSERT_TRUE(run.finished) << "the program waited for somebody to answer the certificate window";
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 3) << run.messages.join(u'\n').toStdString();
    const QString messages = run.messages.join(u'\n');
    const QString fingerprint = certificates.fingerprint(QStringLiteral("self-signed.pem"));
    EXPECT_TRUE(messages.contains(QStringLiteral("The certificate of 127.0.0.1:%1 is not trusted (SHA-256 %2): The "
                                                 "certificate is self-signed, and untrusted")
                                      .arg(server->port())
                                      .arg(fingerprint)))
        << messages.toStdString();
    EXPECT_TRUE(messages.contains(QStringLiteral("Not trusted: nobody can answer during a batch job."))) << messages.toStdString();
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("a.dat")));
    EXPECT_FALSE(QFileInfo::exists(env.appDataFolder() + QStringLiteral("trusted-certificates.txt")));
    EXPECT_FALSE(TestEnvironment::readFile(env.root() + QStringLiteral("commands.log")).contains("USER"));
}

TEST_F(BatchProcessTest, AWrongSwitchOrAMissingQueueFileIsRefusedOnStandardError)
{
    const QString queue = env.writeFile(QStringLiteral("jobs/a.queue"), "");
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
    } cases[] = {
        {{queue, QStringLiteral("-R")}, 2, QStringLiteral("velmora: Parameter format not correct!")},
        {{queue, QStringLiteral("rc")}, 2, QStringLiteral("velmora: Parameter format not correct!")},
        {{env.root() + QStringLiteral("jobs/none.queue"), QStringLiteral("-rc")}, 1,
         QStringLiteral("velmora: Queue file not found: ") + env.root() + QStringLiteral("jobs/none.queue")},
    };
    for (const auto &c : cases) {
        const ProgramRun run = runVelmora(c.arguments);
        ASSERT_TRUE(run.finished) << c.message.toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message.toStdString();
        EXPECT_EQ(run.messages, QStringList{c.message});
        EXPECT_TRUE(batchLog().isEmpty());
    }
}

// A job of downloads and deletes on four connections ("Simultaneous transfers" 4 in
// options.ini), killed while four big downloads are held by the server: the last queue holds
// exactly the rows not done, and a job of those rows finishes them without doing anything twice
// (a repeated DELE, or a download of a file already deleted, would fail the job).
TEST_F(BatchProcessTest, AJobOnFourConnectionsKilledMidRunGoesOnWithExactlyWhatWasNotDone)
{
    constexpr qint64 Held = 1024 * 1024;
    FtpTestServer::Setup setup;
    setup.holdTransfersAfter = Held;
    setup.commandLog = env.root() + QStringLiteral("commands.log");
    server = std::make_unique<FtpTestServer>(setup);
    ASSERT_TRUE(server->start()) << server->errorText().toStdString();
    env.writeFile(env.appDataFolder() + QStringLiteral("options.ini"), "[SETTINGS]\r\nSimultaneousTransfers=4\r\n");

    QMap<QString, QByteArray> contents;
    QList<QueueRow> rows;
    QList<QueueRow> deletes;
    QStringList notDone;
    const auto add = [&](const QString &name, int size, QList<QueueRow> *into) {
        contents.insert(name, randomBytes(size));
        server->writeFile(QStringLiteral("pub/") + name, contents.value(name));
        into->append(row(QStringLiteral("/pub/") + name, QStringLiteral("RETR"), local + name, contents.value(name).size()));
    };
    for (int i = 0; i < 8; ++i) {
        add(QStringLiteral("s%1.bin").arg(i), 4096, &rows);
        deletes.append(row(QStringLiteral("/pub/s%1.bin").arg(i), QStringLiteral("DELE"), QString(), 0));
    }
    rows << deletes;
    QList<QueueRow> rest;
    for (int i = 0; i < 4; ++i)
        add(QStringLiteral("big%1.bin").arg(i), int(3 * Held), &rest);
    for (int i = 8; i < 12; ++i)
        add(QStringLiteral("s%1.bin").arg(i), 4096, &rest);
    rows << rest;
    for (const QueueRow &r : std::as_const(rest))
        notDone << r.source;
    const QString queue = saveJob(QStringLiteral("parallel"), rows, server->password(), server->port());

    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(program(), {queue, QStringLiteral("-rc")});
    ASSERT_TRUE(process.waitForStarted());
    const auto allHeld = [&] {
        for (int i = 0; i < 4; ++i) {
            if (QFileInfo(local + QStringLiteral("big%1.bin.velmora-part").arg(i)).size() < Held)
                return false;
        }
        return true;
    };
    for (int waited = 0; !allHeld() && waited < FinishTimeoutMs; waited += 20)
        ASSERT_FALSE(process.waitForFinished(20)) << "ended before the four transfers were held";
    ASSERT_TRUE(allHeld());
    process.kill(); // SIGKILL: no clean-up at all
    ASSERT_TRUE(process.waitForFinished());

    const QList<QueueRow> leftRows = QueueFile::read(env.appDataFolder() + QStringLiteral("lastqueue.ini")).rows;
    QStringList left;
    for (const QueueRow &r : leftRows)
        left << r.source;
    EXPECT_EQ(left, notDone);
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("s%1.bin").arg(i);
        EXPECT_TRUE(TestEnvironment::readFile(local + name) == contents.value(name)) << i;
        EXPECT_FALSE(QFileInfo::exists(server->localPath(QStringLiteral("pub/") + name))) << i;
    }
    const QList<QByteArray> firstRun = TestEnvironment::readFile(setup.commandLog).split('\n');
    EXPECT_EQ(firstRun.count("USER"), 5) << "the engine's connection and four more";

    // What was left is the job run next.
    server->setHoldTransfersAfter(0);
    ASSERT_TRUE(server->restart());
    const QString restJob = saveJob(QStringLiteral("rest"), leftRows, server->password(), server->port());
    const ProgramRun run = runVelmora({restJob, QStringLiteral("-rc")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.messages.join(u'\n').toStdString();
    for (auto it = contents.cbegin(); it != contents.cend(); ++it)
        EXPECT_TRUE(TestEnvironment::readFile(local + it.key()) == it.value()) << it.key().toStdString();
    const QList<QByteArray> secondRun = TestEnvironment::readFile(setup.commandLog).split('\n').mid(firstRun.size() - 1);
    EXPECT_EQ(secondRun.count("DELE"), 0);
    // Each big download reads back a stretch at the start (RETR) and one before the point it
    // stopped (REST, RETR) of what it has, then goes on from there (REST, RETR).
    EXPECT_EQ(secondRun.count("RETR"), 8 + 4 * 2);
    EXPECT_EQ(secondRun.count("REST"), 4 * 2) << "the big downloads went on where they stopped";
    EXPECT_EQ(QFileInfo(env.appDataFolder() + QStringLiteral("lastqueue.ini")).size(), 0);
}
