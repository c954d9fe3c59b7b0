#include "app/StartupArguments.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;
using Verdict = StartupArguments::Verdict;

TEST(StartupArguments, FirstArgumentIsCutToItsFirstStretchWithoutQuotes)
{
    EXPECT_EQ(StartupArguments::cutAtDoubleQuotes(QStringLiteral("/q/a.queue")), QStringLiteral("/q/a.queue"));
    EXPECT_EQ(StartupArguments::cutAtDoubleQuotes(QStringLiteral("\"/q/my queue.queue\" more")),
              QStringLiteral("/q/my queue.queue"));
    EXPECT_EQ(StartupArguments::cutAtDoubleQuotes(QStringLiteral("/q/a\"b")), QStringLiteral("/q/a"));
    EXPECT_EQ(StartupArguments::cutAtDoubleQuotes(QStringLiteral("\"\"x")), QStringLiteral("x"));
}

TEST(StartupArguments, ChecksModeThenQueueFile)
{
    TestEnvironment env;
    const QString queue = env.writeFile(QStringLiteral("saved.queue"), "RETR|/a|/b\r\n");
    struct Case { QStringList args; Verdict verdict; };
    const Case cases[] = {
        {{}, Verdict::NoBatch},
        {{queue}, Verdict::NoBatch},                                   // one argument: normal start
        {{queue, QStringLiteral("-r")}, Verdict::Batch},
        {{queue, QStringLiteral("-rc")}, Verdict::Batch},
        {{queue, QStringLiteral("-rs")}, Verdict::Batch},
        {{queue, QStringLiteral("-R")}, Verdict::BadMode},             // upper case is refused
        {{queue, QStringLiteral("-x")}, Verdict::BadMode},
        {{env.root() + QStringLiteral("none.queue"), QStringLiteral("-r")}, Verdict::QueueFileMissing},
        {{env.root() + QStringLiteral("none.queue"), QStringLiteral("-q")}, Verdict::BadMode}, // mode first
        {{u'"' + queue + QStringLiteral("\" tail"), QStringLiteral("-r")}, Verdict::Batch},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StartupArguments::fromArguments(c.args).check(), c.verdict) << c.args.join(u' ').toStdString();
}
