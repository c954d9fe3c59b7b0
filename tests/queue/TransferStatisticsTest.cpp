// The figures behind the byte bar, the traffic chart and the pies, driven by work events and
// ticks exactly as a transfer drives them.
#include "queue/TransferStatistics.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

// Idle ticks draw from this sequence instead of a random generator.
struct Sequence {
    std::vector<int> values;
    size_t next = 0;
    int operator()() { return values[next++ % values.size()]; }
};

} // namespace

TEST(TransferStatistics, ASmallDownloadWithoutWorkEventsIsCountedWholeByTheNextTick)
{
    TransferStatistics s;
    s.startRun(true, 1, 1, 5000);
    s.beforeRecord();
    s.expectedSize = 5000;
    s.workBegan(0);
    EXPECT_EQ(s.pendingBytes, 5000);
    EXPECT_EQ(s.barMaximum, 5000);
    s.workEnded();
    EXPECT_EQ(s.pendingBytes, 5000) << "no work event: the tick still has to count it";

    Sequence idle{{3}};
    const TransferStatistics::Tick t = s.tick(std::ref(idle));
    EXPECT_EQ(t.label, 1);
    EXPECT_EQ(s.samples.back(), 4); // 5000 / 1024
    EXPECT_EQ(t.rate, 0);           // (0 + 4) / 6
    EXPECT_EQ(t.cumulativeKB, 4);
    EXPECT_EQ(s.pendingBytes, 0);
}

TEST(TransferStatistics, WorkEventsMoveTheByteBarTheTextAndTheTickAmounts)
{
    TransferStatistics s;
    s.startRun(true, 2, 2, 20971520);
    s.beforeRecord();
    s.expectedSize = 10485760;
    s.workBegan(0);
    EXPECT_EQ(s.workProgressed(1048576), QStringLiteral("Bytes: 1.048.576 / 10.485.760   (10%)"));
    EXPECT_EQ(s.barPosition, 1048576);
    Sequence idle{{0}};
    EXPECT_EQ(s.tick(std::ref(idle)).rate, 170); // (1024) / 6
    EXPECT_EQ(s.workProgressed(3145728), QStringLiteral("Bytes: 3.145.728 / 10.485.760   (30%)"));
    EXPECT_EQ(s.tick(std::ref(idle)).rate, 512); // (1024 + 2048) / 6
    EXPECT_EQ(s.samples[3], 1024);
    EXPECT_EQ(s.samples[4], 2048);
    s.workEnded();
    EXPECT_EQ(s.pendingBytes, 0);
    EXPECT_EQ(s.barMaximum, 100);
    EXPECT_EQ(s.barPosition, 100);
}

TEST(TransferStatistics, UnknownAndUnderstatedSizes)
{
    TransferStatistics s;
    s.beforeRecord();
    s.expectedSize = -1; // SIZE not supported
    s.workBegan(0);
    EXPECT_EQ(s.workProgressed(4096), QStringLiteral("Bytes: -"));
    EXPECT_FALSE(s.workSeen);

    s.beforeRecord();
    s.expectedSize = 1000;
    s.workBegan(0);
    EXPECT_EQ(s.workProgressed(1500), QStringLiteral("Bytes: 1.500 / 1.000   (100%)"));
    EXPECT_EQ(s.barPosition, s.barMaximum) << "a larger file keeps the bar at its maximum";
}

TEST(TransferStatistics, AnUploadsAnnouncedCountSetsTheBarAndTheAreaChart)
{
    TransferStatistics s;
    s.startRun(true, 1, 1, 8192);
    s.beforeRecord();
    s.expectedSize = 8192;
    s.workBegan(8192);
    EXPECT_EQ(s.barMaximum, 8192);
    EXPECT_EQ(s.pendingBytes, 0);
    EXPECT_EQ(s.cumulativeBytes, 8192);
}

TEST(TransferStatistics, IdleTicksStayBetweenZeroAndFour)
{
    TransferStatistics s;
    Sequence idle{{4, 0, 3, 4, 1, 2, 4, 4, 4, 4}};
    for (int i = 0; i < 30; ++i) {
        const TransferStatistics::Tick t = s.tick(std::ref(idle));
        EXPECT_GE(t.rate, 0);
        EXPECT_LE(t.rate, 4);
        EXPECT_EQ(t.cumulativeKB, 1) << "nothing transferred still draws the area at 1";
    }
    EXPECT_EQ(s.tickCounter, 30);
}

TEST(TransferStatistics, ARunWithoutResetContinuesAfterAOneTickGap)
{
    TransferStatistics s;
    Sequence idle{{2}};
    s.startRun(true, 1, 1, 100);
    s.tick(std::ref(idle));
    s.tick(std::ref(idle));
    s.cumulativeBytes = 4096;
    s.startRun(false, 1, 1, 100);
    EXPECT_EQ(s.tick(std::ref(idle)).label, 4);
    EXPECT_EQ(s.cumulativeBytes, 4096);
    s.startRun(true, 1, 1, 100);
    EXPECT_EQ(s.tick(std::ref(idle)).label, 1);
    EXPECT_EQ(s.cumulativeBytes, 0);
}

TEST(TransferStatistics, LabelTexts)
{
    TransferStatistics s;
    s.startRun(true, 5, 3, 3072);
    s.bytesToGo = 1536;
    s.filesDone = 1;
    s.recordsDone = 2;
    EXPECT_EQ(TransferStatistics::trafficText(QStringLiteral("Traffic:"), 12), QStringLiteral("Traffic: 12 (kB/s)"));
    EXPECT_EQ(s.fileSizeText(QStringLiteral("Total transfered size:")),
              QStringLiteral("Total transfered size: 1.50 kB / 3.00 kB"));
    EXPECT_EQ(s.filesText(QStringLiteral("Total files:")), QStringLiteral("Total files: 1 / 3"));
    EXPECT_EQ(s.operationsText(QStringLiteral("Remaining operations:")), QStringLiteral("Remaining operations: 3"));
    s.totalBytesAtStart = Q_INT64_C(5368709120);
    s.bytesToGo = 0;
    EXPECT_EQ(s.fileSizeText(QStringLiteral("T:")), QStringLiteral("T: 5,242,880.00 kB / 5,242,880.00 kB"));
}
