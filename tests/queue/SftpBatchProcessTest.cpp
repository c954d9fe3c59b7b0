// Batch jobs on an SFTP site as a scheduler starts them: the real program with a queue file
// and "-rc", offscreen, against OpenSSH's sshd. Nobody can answer, so a host key that
// known_hosts does not hold (or holds as another key) fails the job with status 3.
#include "SshTestServer.h"
#include "TestEnvironment.h"

#include "common/TextCodec.h"
#include "engine/LoginFile.h"
#include "queue/QueueFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

constexpr int FinishTimeoutMs = 60000;

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

QueueRow row(const QString &source, const QString &cmd, const QString &destination, qint64 size)
{
    return {source, cmd, destination, QString::number(size), QStringLiteral("05/20/2010 10:12:00")};
}

struct ProgramRun {
    bool finished = false;
    int exitCode = -1;
    QStringList messages; // the program's own lines on standard error
    QString errorText;    // all of standard error
};

class SftpBatchProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ssh.start()) << ssh.errorText().toStdString();
        local = env.root() + QStringLiteral("local/");
        QDir().mkpath(local);
    }

    QString knownHostsFile() const { return QDir::homePath() + QStringLiteral("/.ssh/known_hosts"); }
    QString hostPattern() const { return QStringLiteral("[127.0.0.1]:%1").arg(ssh.port()); }
    // known_hosts holds the server's key as it is now.
    void trustServer() const
    {
        QDir().mkpath(QDir::homePath() + QStringLiteral("/.ssh"));
        QFile file(knownHostsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(hostPattern().toUtf8() + ' ' + ssh.hostPublicKey().trimmed() + '\n');
    }

    // A saved queue of an SFTP site that logs in with the server's user key.
    QString saveJob(const QString &name, const QList<QueueRow> &rows) const
    {
        const QString path = env.root() + QStringLiteral("jobs/") + name + QStringLiteral(".queue");
        QDir().mkpath(env.root() + QStringLiteral("jobs"));
        EXPECT_TRUE(QueueFile::write(path, rows));
        LoginData login;
        login.host = ssh.host();
        login.user = ssh.user();
        login.port = QString::number(ssh.port());
        login.localPath = local;
        login.encryption = FtpEncryption::Sftp;
        login.keyFile = ssh.userKeyFile();
        EXPECT_TRUE(WriteLoginFile(env.root() + QStringLiteral("jobs/") + name + QStringLiteral(".ftp"), login));
        return path;
    }

    ProgramRun runVelmora(const QStringList &arguments) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("SSH_AUTH_SOCK"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/bin/velmora"), arguments);
        ProgramRun run;
        run.finished = process.waitForFinished(FinishTimeoutMs);
        if (!run.finished) {
            process.kill();
            process.waitForFinished();
        }
        run.exitCode = process.exitCode();
        run.errorText = QString::fromLocal8Bit(process.readAllStandardError());
        for (const QString &line : run.errorText.split(u'\n')) {
            if (line.startsWith(QStringLiteral("velmora: ")))
                run.messages << line;
        }
        return run;
    }

    QStringList batchLog() const { return TextCodec::ReadLines(env.appDataFolder() + QStringLiteral("Lastbatchjob.log")); }

    TestEnvironment env;
    SshTestServer ssh;
    QString local;
};

} // namespace

TEST_F(SftpBatchProcessTest, KnownHostRunsTheQueueByteForByteWithStatus0)
{
    trustServer();
    const QByteArray data = randomBytes(300 * 1024);
    const QByteArray upload = randomBytes(40 * 1024);
    ssh.writeFile(QStringLiteral("pub/data.bin"), data);
    ssh.writeFile(QStringLiteral("pub/empty.txt"), QByteArray());
    const QString source = env.writeFile(QStringLiteral("local/up/ü b.bin"), upload);
    const QString queue = saveJob(QStringLiteral("nightly"),
                                  {row(ssh.remotePath(QStringLiteral("pub/data.bin")), QStringLiteral("RETR"), local + QStringLiteral("out/data.bin"), data.size()),
                                   row(ssh.remotePath(QStringLiteral("pub/empty.txt")), QStringLiteral("RETR"), local + QStringLiteral("out/empty.txt"), 0),
                                   row(source, QStringLiteral("STOR"), ssh.remotePath(QStringLiteral("pub/ü b.bin")), upload.size())});

    const ProgramRun run = runVelmora({queue, QStringLiteral("-rc")});
    ASSERT_TRUE(run.finished) << "the program must end by itself";
    EXPECT_EQ(run.exitCode, 0) << run.messages.join(u'\n').toStdString();
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("out/data.bin")), data);
    EXPECT_TRUE(QFileInfo(local + QStringLiteral("out/empty.txt")).isFile());
    EXPECT_EQ(ssh.readFile(QStringLiteral("pub/ü b.bin")), upload);
    EXPECT_TRUE(run.messages.isEmpty()) << run.messages.join(u'\n').toStdString();
    ASSERT_EQ(batchLog().size(), 1);
    EXPECT_TRUE(batchLog().first().endsWith(QStringLiteral("|exit status 0"))) << batchLog().first().toStdString();
}

// The job never asks: an unknown key and a changed key each end it with status 3 and say why
// on standard error; nothing is transferred and known_hosts is left as it was.
TEST_F(SftpBatchProcessTest, UntrustedHostKeyFailsTheJobWithStatus3)
{
    ssh.writeFile(QStringLiteral("a.dat"), "alpha");
    const QList<QueueRow> rows = {row(ssh.remotePath(QStringLiteral("a.dat")), QStringLiteral("RETR"), local + QStringLiteral("a.dat"), 5)};

    // Unknown.
    const QString unknown = saveJob(QStringLiteral("unknown"), rows);
    ProgramRun run = runVelmora({unknown, QStringLiteral("-rc")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3);
    const QString all = run.messages.join(u'\n');
    EXPECT_TRUE(all.contains(QStringLiteral("velmora: Unknown host key: The host key of %1 is not known. | Key type: ssh-ed25519 | "
                                            "Fingerprint (SHA-256): %2")
                                 .arg(hostPattern(), ssh.hostKeyFingerprint())))
        << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("velmora: Not trusted: nobody can answer during a batch job."))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("The host key of %1 is not known (ssh-ed25519 %2); no connection was made.")
                                 .arg(hostPattern(), ssh.hostKeyFingerprint())))
        << all.toStdString();
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("a.dat")));
    EXPECT_FALSE(QFileInfo::exists(knownHostsFile()));
    ASSERT_EQ(batchLog().size(), 1) << "the job's log line is written all the same";
    EXPECT_TRUE(batchLog().first().endsWith(QStringLiteral("|exit status 3"))) << "and shows the failure";

    // Changed.
    trustServer();
    const QString known = ssh.hostKeyFingerprint();
    ASSERT_TRUE(ssh.changeHostKey(QStringLiteral("ed25519"))) << ssh.errorText().toStdString();
    const QByteArray before = TestEnvironment::readFile(knownHostsFile());
    const QString changed = saveJob(QStringLiteral("changed"), rows);
    run = runVelmora({changed, QStringLiteral("-rc")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.messages.join(u'\n').contains(QStringLiteral("velmora: error: WARNING: THE HOST KEY OF %1 HAS CHANGED!").arg(hostPattern())))
        << run.messages.join(u'\n').toStdString();
    EXPECT_TRUE(run.errorText.contains(QStringLiteral("Known key: ssh-ed25519 ") + known)) << run.errorText.toStdString();
    EXPECT_TRUE(run.errorText.contains(QStringLiteral("Offered key: ssh-ed25519 ") + ssh.hostKeyFingerprint()));
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("a.dat")));
    EXPECT_EQ(TestEnvironment::readFile(knownHostsFile()), before);

    // Revoked: known_hosts trusts the key and also marks it "@revoked".
    trustServer();
    QFile knownHosts(knownHostsFile());
    ASSERT_TRUE(knownHosts.open(QIODevice::Append));
    knownHosts.write("@revoked * " + ssh.hostPublicKey().trimmed() + '\n');
    knownHosts.close();
    const QByteArray withRevoked = TestEnvironment::readFile(knownHostsFile());
    const QString revoked = saveJob(QStringLiteral("revoked"), rows);
    run = runVelmora({revoked, QStringLiteral("-rc")});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.messages.join(u'\n').contains(
        QStringLiteral("velmora: error: WARNING: THE HOST KEY OF %1 HAS BEEN REVOKED!").arg(hostPattern())))
        << run.messages.join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("a.dat")));
    EXPECT_EQ(TestEnvironment::readFile(knownHostsFile()), withRevoked);
    EXPECT_TRUE(batchLog().last().endsWith(QStringLiteral("|exit status 3")));
}
