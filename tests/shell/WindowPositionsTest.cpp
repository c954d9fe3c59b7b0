#include "TestEnvironment.h"
#include "shell/WindowPositions.h"

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString positionsFile(const TestEnvironment &env, const QByteArray &content)
{
    return env.writeFile(QStringLiteral("positions.ini"), content);
}

} // namespace

TEST(WindowPositions, MissingFileGivesTheDefaults)
{
    TestEnvironment env;
    QStringList damaged{QStringLiteral("stale")};
    const WindowPositions positions = WindowPositions::read(env.root() + QStringLiteral("positions.ini"), &damaged);
    EXPECT_EQ(positions, WindowPositions());
    EXPECT_TRUE(damaged.isEmpty());
    EXPECT_TRUE(positions.protocolGrid && positions.localButtonsPanel && positions.serverButtonsPanel
                && positions.queueGrid && positions.queuePanel && positions.queueSplitter && positions.filterPanel);
    EXPECT_EQ(positions.protocolHeight, 70);
    EXPECT_EQ(positions.queueHeight, 100);
    EXPECT_EQ(positions.design, QStringLiteral("Office2003Blue"));
}

TEST(WindowPositions, WritesTheTenKeysInOrderAndReadsThemBack)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("positions.ini");
    WindowPositions written;
    written.protocolGrid = false;
    written.serverButtonsPanel = false;
    written.queueSplitter = false;
    written.filterPanel = false;
    written.protocolHeight = 133;
    written.queueHeight = 241;
    written.design = QStringLiteral("Aluminium");
    ASSERT_TRUE(written.write(path));
    EXPECT_EQ(TestEnvironment::readFile(path),
              QByteArray("[SETTINGS]\r\nProtocolNextGrid=0\r\nLocalButtonsPanel=1\r\nServerButtonsPanel=0\r\n"
                         "QueueNextGrid=1\r\nQueuePanel=1\r\nQueueSplitter=0\r\nFilterPanel=0\r\n"
                         "StatusNextGridHeight=133\r\nQueueNextGridHeight=241\r\nDesign=Aluminium\r\n\r\n"));
    QStringList damaged;
    EXPECT_EQ(WindowPositions::read(path, &damaged), written);
    EXPECT_TRUE(damaged.isEmpty());
}

TEST(WindowPositions, KeysMissingFromTheFileKeepTheirDefaults)
{
    TestEnvironment env;
    WindowPositions expected;
    expected.queueGrid = false;
    expected.design = QStringLiteral("Gold");
    QStringList damaged;
    EXPECT_EQ(WindowPositions::read(positionsFile(env, "[settings]\r\nQueueNextGrid=0\r\nDesign=Gold\r\n"), &damaged), expected);
    EXPECT_TRUE(damaged.isEmpty());
}

TEST(WindowPositions, DamagedValuesGiveTheDefaultsAndAreNamed)
{
    struct Case {
        const char *content;
        QStringList damaged;
        WindowPositions expected;
    };
    WindowPositions tallProtocol;
    tallProtocol.protocolHeight = 52; // never lower than the grid's minimum
    WindowPositions anyNumberIsTrue;
    anyNumberIsTrue.filterPanel = true;
    WindowPositions hiddenProtocol;
    hiddenProtocol.protocolGrid = false;
    const Case cases[] = {
        {"\x89PNG\r\n\x1a\n\xff\xfe=\x01\r\n[", {QStringLiteral("SETTINGS")}, {}},
        {"ProtocolNextGrid=0\r\n", {QStringLiteral("SETTINGS")}, {}}, // no section: nothing is read
        {"[SETTINGS]\r\nStatusNextGridHeight=abc\r\n", {QStringLiteral("StatusNextGridHeight")}, {}},
        {"[SETTINGS]\r\nQueueNextGridHeight=-5\r\n", {QStringLiteral("QueueNextGridHeight")}, {}},
        {"[SETTINGS]\r\nQueueNextGridHeight=99999999999999999999\r\n", {QStringLiteral("QueueNextGridHeight")}, {}},
        {"[SETTINGS]\r\nProtocolNextGrid=yes\r\n", {QStringLiteral("ProtocolNextGrid")}, {}},
        {"[SETTINGS]\r\nDesign=Purple\r\n", {QStringLiteral("Design")}, {}},
        {"[SETTINGS]\r\nProtocolNextGrid=\r\nDesign=\r\n", {QStringLiteral("ProtocolNextGrid")}, {}},
        {"[SETTINGS]\r\nStatusNextGridHeight=30\r\n", {}, tallProtocol},
        {"[SETTINGS]\r\nFilterPanel=7\r\n", {}, anyNumberIsTrue},
        {"[SETTINGS]\r\nProtocolNextGrid=0\r\nQueueNextGridHeight=x\r\n", {QStringLiteral("QueueNextGridHeight")}, hiddenProtocol},
    };
    for (const Case &c : cases) {
        TestEnvironment env;
        QStringList damaged;
        EXPECT_EQ(WindowPositions::read(positionsFile(env, c.content), &damaged), c.expected) << c.content;
        EXPECT_EQ(damaged, c.damaged) << c.content;
    }
}
