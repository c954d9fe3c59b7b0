// A batch job started by a scheduler where no desktop keyring answers (no session bus), while
// the saved queue's login keeps its password in the keyring: the real program must fail the
// job with a line naming the site and status 3, without asking and without logging in.
#include "FtpTestServer.h"
#include "MemoryVault.h"
#include "TestEnvironment.h"

#include "common/TextCodec.h"
#include "engine/LoginFile.h"
#include "queue/QueueFile.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

TEST(KeyringBatchProcess, AJobWhosePasswordIsOnlyInAnUnreachableKeyringFailsWithStatus3)
{
    TestEnvironment env;
    FtpTestServer server;
    ASSERT_TRUE(server.start()) << server.errorText().toStdString();
    server.writeFile(QStringLiteral("a.dat"), "alpha");
    const QString local = env.root() + QStringLiteral("local/");
    QDir().mkpath(local);

    const QString queue = env.root() + QStringLiteral("jobs/nightly.queue");
    QDir().mkpath(env.root() + QStringLiteral("jobs"));
    ASSERT_TRUE(QueueFile::write(queue, {{QStringLiteral("/a.dat"), QStringLiteral("RETR"), local + QStringLiteral("a.dat"),
                                          QStringLiteral("5"), QStringLiteral("05/20/2010 10:12:00")}}));
    // The side file as a run with the keyring wrote it: no password in it, only the marker.
    MemoryVault keyringOfThatRun;
    const PasswordPlace place{&keyringOfThatRun, true};
    LoginData login;
    login.host = QStringLiteral("127.0.0.1");
    login.user = server.user();
    login.password = server.password();
    login.port = QString::number(server.port());
    login.localPath = local;
    const QString sideFile = env.root() + QStringLiteral("jobs/nightly.ftp");
    ASSERT_TRUE(WriteLoginFile(sideFile, login, &place));
    ASSERT_FALSE(TextCodec::ReadLines(sideFile).join(u'\n').contains(QStringLiteral("Password=1"))); // not the encoded one

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + env.root() + QStringLiteral("no-bus"));
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/bin/velmora"), {queue, QStringLiteral("-rc")});
    const bool finished = process.waitForFinished(60000);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    ASSERT_TRUE(finished) << "a job never waits for an answer";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 3);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    const QString expected = QStringLiteral("velmora: error: Batch job ") + queue + QStringLiteral(": the password of the site ") + server.user()
        + QStringLiteral("@127.0.0.1:") + QString::number(server.port())
        + QStringLiteral(" is kept in the desktop keyring, which cannot be reached. The queue was not run.");
    EXPECT_TRUE(errors.contains(expected)) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("a.dat"))) << "nothing was transferred";
    const QStringList batchLog = TextCodec::ReadLines(env.appDataFolder() + QStringLiteral("Lastbatchjob.log"));
    ASSERT_EQ(batchLog.size(), 1);
    EXPECT_TRUE(batchLog.first().contains(QStringLiteral("|nightly.queue|-rc|127.0.0.1|"))) << batchLog.first().toStdString();
    // The refused job's line does not look like a success.
    EXPECT_TRUE(batchLog.first().endsWith(QStringLiteral("|exit status 3"))) << batchLog.first().toStdString();
    // The side file still points at the keyring: the job lost nothing.
    EXPECT_TRUE(TextCodec::ReadLines(sideFile).contains(QStringLiteral("PasswordInKeyring=1")));
}
