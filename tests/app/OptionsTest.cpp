#include "app/Options.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

TEST(Options, WritesFourteenKeysInOrderWithTheCrosswisePairing)
{
    OptionsData d;
    d.startWithSystemExtension = true; // "Start with system extension" chosen
    d.internalEditor = false;
    d.keepaliveTime = QStringLiteral("45");
    EXPECT_EQ(Options::toIniText(d),
              QStringLiteral("[SETTINGS]\r\nLogfiles=0\r\nFTPConnections=1\r\nAllwaysOverwrite=0\r\n"
                             "AutomaticRunQueue=1\r\nInternalEditor=0\r\nExternalEditor=1\r\nExtensionEditor=0\r\n"
                             "ExternalEditorExe=\r\nKeepalive=0\r\nKeepaliveTime=45\r\nFilterON=0\r\n"
                             "ShowCharts=1\r\nCloseCharts=1\r\nResetCharts=1\r\n\r\n"));
}

TEST(Options, RoundTripsEveryField)
{
    TestEnvironment env;
    Options options(env.root() + QStringLiteral("options.ini"));
    OptionsData d;
    d.logfiles = true;
    d.ftpConnections = false;
    d.allwaysOverwrite = true;
    d.automaticRunQueue = false;
    d.internalEditor = false;
    d.externalEditor = true;
    d.externalEditorExe = QStringLiteral("/usr/bin/gedit --new-window");
    d.keepalive = true;
    d.keepaliveTime = QStringLiteral("030");
    d.filterOn = true;
    d.showCharts = false;
    d.closeCharts = false;
    d.resetCharts = false;
    d.simultaneousTransfers = 6;
    options.setData(d);
    ASSERT_TRUE(options.save());
    Options back(env.root() + QStringLiteral("options.ini"));
    EXPECT_TRUE(back.load());
    EXPECT_EQ(back.data(), d);
    EXPECT_EQ(back.keepaliveSeconds(), 30);
}

TEST(Options, MissingFileGivesDefaults)
{
    TestEnvironment env;
    Options options(env.root() + QStringLiteral("none.ini"));
    EXPECT_TRUE(options.load());
    EXPECT_EQ(options.data(), OptionsData{});
    EXPECT_EQ(options.keepaliveSeconds(), 30);
}

TEST(Options, HandEditedIntervalFallsBackToThirtyWithAReason)
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("options.ini"), "[SETTINGS]\r\nKeepalive=1\r\nKeepaliveTime=abc\r\nLogfiles=5\r\n");
    Options options(env.root() + QStringLiteral("options.ini"));
    QString problem;
    EXPECT_FALSE(options.load(&problem));
    EXPECT_EQ(options.keepaliveSeconds(), 30);
    EXPECT_TRUE(options.data().keepalive);
    EXPECT_TRUE(options.data().logfiles); // any non-zero number reads true
    EXPECT_TRUE(problem.contains(QStringLiteral("KeepaliveTime"))) << problem.toStdString();
}

TEST(Options, IntervalMustBeDigitsOnly)
{
    struct Case { const char *text; bool valid; };
    for (const Case &c : {Case{"030", true}, Case{"30", true}, Case{"0", true}, Case{" 30", false}, Case{"3a", false},
                          Case{"", false}, Case{"-1", false}, Case{"30 ", false}})
        EXPECT_EQ(Options::isValidInterval(QString::fromLatin1(c.text)), c.valid) << c.text;
}

TEST(Options, APartialChangeSavesOneValueAndNeverAValueThatIsOnlyInEffect)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("options.ini");
    Options options(path);
    const auto stored = [&path] {
        Options back(path);
        back.load();
        return back.data();
    };

    options.change(&OptionsData::automaticRunQueue, false); // the AUTO/MAN button
    EXPECT_FALSE(stored().automaticRunQueue);

    // The options dialog's immediate effect (or a batch job's automatic running): in effect,
    // not stored, and a later partial save of another option does not store it either.
    options.applyUnsaved(&OptionsData::automaticRunQueue, true);
    options.applyUnsaved(&OptionsData::allwaysOverwrite, true);
    EXPECT_TRUE(options.data().automaticRunQueue);
    EXPECT_FALSE(options.storedValue(&OptionsData::automaticRunQueue));
    options.change(&OptionsData::closeCharts, false); // the charts panel's box
    OptionsData expected;
    expected.automaticRunQueue = false;
    expected.closeCharts = false;
    EXPECT_EQ(stored(), expected);
    EXPECT_TRUE(options.data().automaticRunQueue) << "still in effect";

    // Changing a value that was only in effect stores the new value.
    options.change(&OptionsData::automaticRunQueue, false);
    EXPECT_FALSE(options.data().automaticRunQueue);
    EXPECT_FALSE(stored().automaticRunQueue);
    EXPECT_FALSE(stored().allwaysOverwrite);

    // Reading the file again ends every value that was only in effect.
    options.load();
    EXPECT_FALSE(options.data().allwaysOverwrite);
    EXPECT_TRUE(options.save());
    EXPECT_EQ(stored(), options.data());
}

TEST(Options, SimultaneousTransfersAreStoredOnlyWhenNotOneAndReadBackWithinOneToEight)
{
    OptionsData d;
    EXPECT_FALSE(Options::toIniText(d).contains(QStringLiteral("SimultaneousTransfers")));
    d.simultaneousTransfers = 4;
    EXPECT_TRUE(Options::toIniText(d).contains(QStringLiteral("\r\nSimultaneousTransfers=4\r\n")));
    EXPECT_EQ(Options::parse(Options::toIniText(d)).simultaneousTransfers, 4);

    struct Case { const char *stored; int read; bool fine; };
    for (const Case &c : {Case{"1", 1, true}, Case{"8", 8, true}, Case{"3", 3, true}, Case{"0", 1, false},
                          Case{"9", 8, false}, Case{"-2", 1, false}, Case{"many", 1, false}, Case{"", 1, false}}) {
        bool ok = true;
        const OptionsData read = Options::parse(QStringLiteral("[SETTINGS]\r\nSimultaneousTransfers=") + QLatin1String(c.stored)
                                                    + QStringLiteral("\r\n"),
                                                nullptr, &ok);
        EXPECT_EQ(read.simultaneousTransfers, c.read) << c.stored;
        EXPECT_EQ(ok, c.fine) << c.stored;
    }
}

TEST(Options, HandEditedSimultaneousTransfersAreReportedAndTheOtherValuesKept)
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("options.ini"), "[SETTINGS]\r\nSimultaneousTransfers=12\r\nLogfiles=1\r\nKeepaliveTime=45\r\n");
    Options options(env.root() + QStringLiteral("options.ini"));
    QString problem;
    EXPECT_FALSE(options.load(&problem));
    EXPECT_EQ(problem, QStringLiteral("options.ini: SimultaneousTransfers \"12\" is not a whole number from 1 to 8; 8 is used."));
    EXPECT_EQ(options.data().simultaneousTransfers, 8);
    EXPECT_TRUE(options.data().logfiles);
    EXPECT_EQ(options.keepaliveSeconds(), 45);
}
