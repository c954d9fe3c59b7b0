// Quitting while the program waits on the server: the wait ends, the call is aborted and the
// process ends, with the close question and its clean-up as always.
#include "ScriptedFtpServer.h"
#include "SilentListener.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace Velmora::Testing;

TEST(QuitWhileWaiting, ExitWhileTheProgramWaitsOnTheServerEndsIt)
{
    // "silent-host": a host that drops every SYN, the connect started by "Run queue", whose run
    // must not try again after Exit cut the attempt off.
    const struct {
        const char *mode;
        bool greets;
    } cases[] = {{"connect", false}, {"listing", true}, {"download", true}, {"silent-host", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        TestEnvironment env;
        ScriptedFtpServer server;
        SilentListener silent;
        if (!c.greets)
            server.setGreeting({});
        server.addStallingRule("LIST", "150 Here it comes.", "-rw-r--r-- 1 u g 1 Mar  5  2009 a.txt\r\n");
        server.addStallingRule("RETR /big.bin", "150 Opening BINARY mode data connection (1000000 bytes).", QByteArray(100000, 'b'));
        ASSERT_TRUE(server.start());
        const bool silentHost = QLatin1String(c.mode) == QLatin1String("silent-host");
        const quint16 port = silentHost ? silent.port() : server.port();
        ASSERT_NE(port, 0);
        QDir().mkpath(env.tempFolder());
        const QString leftover = env.writeFile(env.tempFolder() + QStringLiteral("leftover.tmp"), "x");
        const QString local = env.root() + QStringLiteral("down");
        QDir().mkpath(local);

        QProcess program;
        program.start(QCoreApplication::applicationDirPath() + QStringLiteral("/app_quit_helper"),
                      {QString::number(port), QString::fromLatin1(c.mode), local});
        ASSERT_TRUE(program.waitForStarted(10000));
        const bool ended = program.waitForFinished(10000); // a bound below the 20 s connect time-out, not a pause
        if (!ended) {
            program.kill();
            program.waitForFinished(10000);
        }
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        ASSERT_TRUE(ended) << "the program still ran 10 s after Exit:\n" << out.toStdString();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << out.toStdString() << program.readAllStandardError().toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("exit chosen while waiting\n"))) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("the call returned\n"))) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("confirm: Do you really want to exit the program?\n"))) << out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(leftover)) << "the clean-up after the close question ran";
        EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("/big.bin"))) << "no partial download is left";
        EXPECT_FALSE(out.contains(QStringLiteral("error: "))) << "no box after Exit: " << out.toStdString();
    }
}
