#include "app/CommandLine.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Action = CommandLine::Action;
using Verdict = StartupArguments::Verdict;

TEST(CommandLine, TellsOptionsFromTheQueueFileAndSwitch)
{
    const QString queue = QStringLiteral("/q/site.queue");
    struct Case { QStringList args; Action action; QString unknown; };
    const Case cases[] = {
        {{}, Action::Start, {}},
        {{queue}, Action::Start, {}},
        {{queue, QStringLiteral("-r")}, Action::Start, {}},
        {{queue, QStringLiteral("-rs")}, Action::Start, {}},
        // The switch slot keeps its own check and message, whatever stands there.
        {{queue, QStringLiteral("-R")}, Action::Start, {}},
        {{queue, QStringLiteral("--rc")}, Action::Start, {}},
        {{queue, QStringLiteral("-r"), QStringLiteral("more")}, Action::Start, {}}, // extra words stay ignored
        {{QStringLiteral("--help")}, Action::ShowHelp, {}},
        {{QStringLiteral("-h")}, Action::ShowHelp, {}},
        {{queue, QStringLiteral("--help")}, Action::ShowHelp, {}},
        {{QStringLiteral("--version")}, Action::ShowVersion, {}},
        {{QStringLiteral("--version"), QStringLiteral("--help")}, Action::ShowVersion, {}}, // the first one wins
        {{QStringLiteral("--bogus"), QStringLiteral("--help")}, Action::ShowHelp, {}},
        {{QStringLiteral("--check-files")}, Action::CheckFiles, {}},
        {{QStringLiteral("--bogus")}, Action::RefuseUnknownOption, QStringLiteral("--bogus")},
        {{QStringLiteral("-x")}, Action::RefuseUnknownOption, QStringLiteral("-x")},
        {{QStringLiteral("-")}, Action::RefuseUnknownOption, QStringLiteral("-")},
        {{QStringLiteral("-r")}, Action::RefuseUnknownOption, QStringLiteral("-r")}, // a switch without a queue file
        {{QStringLiteral("-r"), QStringLiteral("-r")}, Action::RefuseUnknownOption, QStringLiteral("-r")},
        {{queue, QStringLiteral("-r"), QStringLiteral("-v")}, Action::RefuseUnknownOption, QStringLiteral("-v")},
        {{QStringLiteral("./-nightly.queue"), QStringLiteral("-r")}, Action::Start, {}},
        {{QStringLiteral("\"/q/a b.queue\" x"), QStringLiteral("-r")}, Action::Start, {}},
    };
    for (const Case &c : cases) {
        const CommandLine line = CommandLine::parse(c.args);
        EXPECT_EQ(line.action(), c.action) << c.args.join(u' ').toStdString();
        EXPECT_EQ(line.unknownOption(), c.unknown) << c.args.join(u' ').toStdString();
    }
}

TEST(CommandLine, RefusalNamesTheOptionAndShowsTheUsage)
{
    const CommandLine line = CommandLine::parse({QStringLiteral("--bogus")});
    EXPECT_EQ(line.refusalText(), QStringLiteral("velmora: unknown option '--bogus'\n"
                                                 "Usage: velmora [QUEUEFILE -r|-rc|-rs]\n"
                                                 "       velmora --help | --version | --check-files\n"
                                                 "Try 'velmora --help' for more information.\n"));
}

TEST(CommandLine, HelpExplainsEverySwitchAndOption)
{
    const QString help = CommandLine::helpText();
    EXPECT_TRUE(help.startsWith(CommandLine::usageText()));
    for (const char *line : {"  -r              run the queue, then stay open\n",
                             "  -rc             run the queue, then close Velmora\n",
                             "  -rs             run the queue, then shut the computer down\n",
                             "  -h, --help      show this help and exit\n", "  --version       show the version and exit\n",
                             "  --check-files   show the folders Velmora uses"})
        EXPECT_TRUE(help.contains(QString::fromLatin1(line))) << line;
    EXPECT_TRUE(help.contains(QStringLiteral("Exit status: 0 success; 1 the queue file")));
    EXPECT_TRUE(help.contains(QStringLiteral("0 2 * * * DISPLAY=:0 velmora ")));
    EXPECT_TRUE(help.endsWith(u'\n'));
}

TEST(CommandLine, VersionLeadsWithTheProjectVersion)
{
    EXPECT_EQ(CommandLine::versionText().section(u'\n', 0, 0), QStringLiteral("Velmora " VELMORA_VERSION));
    EXPECT_EQ(QStringLiteral("Version " VELMORA_VERSION), QStringLiteral(VELMORA_VERSION_TEXT));
    EXPECT_TRUE(CommandLine::versionText().contains(QStringLiteral("GPL-3.0-or-later")));
}

TEST(CommandLine, RefusedBatchStartsEndWithTheirExitStatus)
{
    EXPECT_EQ(CommandLine::exitStatusFor(Verdict::BadMode), 2);
    EXPECT_EQ(CommandLine::exitStatusFor(Verdict::QueueFileMissing), 1);
    EXPECT_EQ(CommandLine::exitStatusFor(Verdict::NoBatch), 0);
    EXPECT_EQ(CommandLine::exitStatusFor(Verdict::Batch), 0);
}
