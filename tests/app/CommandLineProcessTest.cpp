// Runs the built program with informational options and unknown options. The environment has
// no display and asks for the X11 platform, so a program that tried to open a window would
// fail instead of answering.
#include "TestEnvironment.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

using Velmora::Testing::TestEnvironment;

namespace {

struct ProgramRun {
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    int exitCode = -1;
    QString out;
    QString err;
};

QString binFolder()
{
    return qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/bin/");
}

ProgramRun runVelmora(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(environment);
    process.start(binFolder() + QStringLiteral("velmora"), arguments);
    ProgramRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitStatus = process.exitStatus();
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

TEST(CommandLineProcess, HelpAndVersionAnswerOnStandardOutputWithoutADisplay)
{
    TestEnvironment env;
    struct Case { QStringList args; QString firstLine; };
    const Case cases[] = {
        {{QStringLiteral("--help")}, QStringLiteral("Usage: velmora [QUEUEFILE -r|-rc|-rs]")},
        {{QStringLiteral("-h")}, QStringLiteral("Usage: velmora [QUEUEFILE -r|-rc|-rs]")},
        {{QStringLiteral("/q/a.queue"), QStringLiteral("--help")}, QStringLiteral("Usage: velmora [QUEUEFILE -r|-rc|-rs]")},
        {{QStringLiteral("--version")}, QStringLiteral("Velmora " VELMORA_VERSION)},
    };
    for (const Case &c : cases) {
        const ProgramRun run = runVelmora(c.args);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << what;
        EXPECT_EQ(run.exitCode, 0) << what << run.err.toStdString();
        EXPECT_EQ(run.out.section(u'\n', 0, 0), c.firstLine) << what;
        EXPECT_TRUE(run.out.endsWith(u'\n')) << what;
        EXPECT_EQ(run.err, QString()) << what;
    }
    EXPECT_TRUE(runVelmora({QStringLiteral("--help")}).out.contains(QStringLiteral("  -rc             run the queue, then close Velmora\n")));
    EXPECT_FALSE(QDir(env.appDataFolder()).exists()); // no start-up happened
}

TEST(CommandLineProcess, UnknownOptionsAreRefusedOnStandardErrorWithStatus2)
{
    TestEnvironment env;
    const QStringList usage = {QStringLiteral("Usage: velmora [QUEUEFILE -r|-rc|-rs]"),
                               QStringLiteral("       velmora --help | --version | --check-files"),
                               QStringLiteral("Try 'velmora --help' for more information."), QString()};
    struct Case { QStringList args; QString option; };
    const Case cases[] = {
        {{QStringLiteral("--verbose")}, QStringLiteral("--verbose")},
        {{QStringLiteral("-r")}, QStringLiteral("-r")},
        {{QStringLiteral("/q/a.queue"), QStringLiteral("-r"), QStringLiteral("-platform")}, QStringLiteral("-platform")},
    };
    for (const Case &c : cases) {
        const ProgramRun run = runVelmora(c.args);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << what;
        EXPECT_EQ(run.exitCode, 2) << what;
        EXPECT_EQ(run.out, QString()) << what;
        EXPECT_EQ(run.err.split(u'\n'), QStringList{QStringLiteral("velmora: unknown option '") + c.option + u'\''} + usage)
            << what << run.err.toStdString();
    }
    EXPECT_FALSE(QDir(env.appDataFolder()).exists());
}

TEST(CommandLineProcess, CheckFilesReportsTheBuildFolder)
{
    TestEnvironment env;
    const ProgramRun run = runVelmora({QStringLiteral("--check-files")});
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(run.out.section(u'\n', 0, 0), QStringLiteral("Program folder:  ") + QDir(binFolder()).canonicalPath() + u'/');
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("All 19 files are there.\n")));
    EXPECT_FALSE(QDir(env.appDataFolder()).exists());
}
