// The keep-alive: driven through its tick with chosen times, never by waiting.
#include "QtPrinters.h"
#include "SessionFixture.h"

#include <QTemporaryDir>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString keepAliveLine(const QDateTime &now)
{
    return QStringLiteral("3: Send keep alive command at time ") + now.toString(u"hh:mm:ss");
}

TEST_F(SessionTest, KeepAliveGoesOutWhenTheIntervalHasPassed)
{
    connectToServer();
    struct Case {
        const char *interval;
        qint64 quietMs;
        bool sent;
    };
    const QList<Case> cases = {
        {"30", 30'999, false}, {"30", 31'000, true}, {"0", 999, false}, {"0", 1'000, true}, {"5", 6'500, true},
    };
    for (const Case &c : cases) {
        setOptions(true, QString::fromLatin1(c.interval));
        const QDateTime base = master->lastActivity();
        const QDateTime now = base.addMSecs(c.quietMs);
        const qsizetype before = log.entries().size();
        master->KeepAliveTick(now);
        if (c.sent) {
            EXPECT_EQ(log.entries().size(), before + 1) << c.interval << " after " << c.quietMs << " ms";
            EXPECT_EQ(protocol().last(), keepAliveLine(now));
            EXPECT_EQ(master->lastActivity(), now);
        } else {
            EXPECT_EQ(log.entries().size(), before) << c.interval << " after " << c.quietMs << " ms";
            EXPECT_EQ(master->lastActivity(), base);
        }
    }
    EXPECT_TRUE(master->CheckConnection());
}

TEST_F(SessionTest, KeepAliveNeedsTheOptionAndAConnection)
{
    startServer();
    setOptions(true, QStringLiteral("30"));
    const QDateTime later = master->lastActivity().addSecs(3600);
    master->KeepAliveTick(later); // not connected
    EXPECT_TRUE(log.entries().isEmpty());

    ASSERT_TRUE(master->Connect(false));
    setOptions(false, QStringLiteral("30"));
    const qsizetype before = log.entries().size();
    master->KeepAliveTick(later);
    EXPECT_EQ(log.entries().size(), before);
}

TEST_F(SessionTest, KeepAliveTimerRunsWhileTheOptionIsOn)
{
    EXPECT_FALSE(master->keepAliveTimer().isActive());
    setOptions(true, QStringLiteral("30"));
    EXPECT_TRUE(master->keepAliveTimer().isActive());
    EXPECT_EQ(master->keepAliveTimer().interval(), 100);
    setOptions(false, QStringLiteral("30"));
    EXPECT_FALSE(master->keepAliveTimer().isActive());
}

TEST_F(SessionTest, KeepAliveReconnectsADeadConnection)
{
    connectToServer();
    setOptions(true, QStringLiteral("30"));
    ASSERT_TRUE(server->restart());
    const QDateTime now = master->lastActivity().addSecs(31);
    master->KeepAliveTick(now);
    const QStringList lines = protocol();
    EXPECT_EQ(lines.count(QStringLiteral("1: Try to connect: 127.0.0.1")), 2);
    EXPECT_EQ(lines.last(), keepAliveLine(now));
    EXPECT_TRUE(master->CheckConnection());
}

TEST_F(SessionTest, KeepAliveIsSkippedWhileACommandRunsAndTransfersCountAsActivity)
{
    connectToServer();
    setOptions(true, QStringLiteral("30"));
    const QDateTime transferTime(QDate(2030, 1, 1), QTime(12, 0));
    master->setClock([&] { return transferTime; });
    server->writeFile(QStringLiteral("data.bin"), QByteArray(4 * 1024 * 1024, 'x'));

    int ticksDuringTransfer = 0;
    QObject guard;
    QObject::connect(&master->client(), &FtpClient::workProgressed, &guard, [&] {
        ++ticksDuringTransfer;
        master->KeepAliveTick(transferTime.addSecs(3600));
    });
    QTemporaryDir local;
    ASSERT_NO_THROW(master->client().download(QStringLiteral("data.bin"), local.path() + QStringLiteral("/data.bin")));
    EXPECT_GE(ticksDuringTransfer, 1);
    for (const ProtocolEntry &e : log.entries())
        EXPECT_NE(e.kind, int(ProtocolEntry::KeepAlive)) << e.text.toStdString();
    EXPECT_EQ(master->lastActivity(), transferTime);

    QObject::disconnect(&master->client(), nullptr, &guard, nullptr);
    master->KeepAliveTick(transferTime.addSecs(31));
    EXPECT_EQ(protocol().last(), keepAliveLine(transferTime.addSecs(31)));
}

TEST_F(SessionTest, KeepAliveNeverInterruptsAConnect)
{
    connectToServer();
    setOptions(true, QStringLiteral("0"));
    const QDateTime later = master->lastActivity().addSecs(3600);
    // Due right when Connect processes pending events, after it closed the old connection.
    QObject guard;
    QObject::connect(&log, &ProtocolLog::messageAdded, &guard, [&](const ProtocolEntry &entry) {
        if (entry.text.startsWith(QStringLiteral("Try to connect: ")))
            QMetaObject::invokeMethod(master.get(), [&] { master->KeepAliveTick(later); }, Qt::QueuedConnection);
    });
    ASSERT_TRUE(master->Connect(false));
    EXPECT_EQ(protocolCount(QStringLiteral("1: Try to connect: 127.0.0.1")), 2);
    for (const ProtocolEntry &e : log.entries())
        EXPECT_NE(e.kind, int(ProtocolEntry::KeepAlive)) << e.text.toStdString();
}

} // namespace
