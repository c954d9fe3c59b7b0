#include "app/ProtocolLog.h"
#include "TestEnvironment.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

TEST(ProtocolLog, NumbersLinesFromOneWithFourDigits)
{
    ProtocolLog log(QStringLiteral("/nonexistent/"));
    log.AddProtocolMessage(ProtocolEntry::Status, QStringLiteral("first"));
    log.AddProtocolMessage(ProtocolEntry::Error, QStringLiteral("second"));
    ASSERT_EQ(log.entries().size(), 2);
    EXPECT_EQ(log.entries()[0].numberText(), QStringLiteral("0001"));
    EXPECT_EQ(log.entries()[1].numberText(), QStringLiteral("0002"));
    EXPECT_EQ(log.entries()[1].kind, ProtocolEntry::Error);
    ProtocolEntry big;
    big.number = 10000;
    EXPECT_EQ(big.numberText(), QStringLiteral("10000"));
}

TEST(ProtocolLog, ListingEndIsNotReportedAsFinishedTransfer)
{
    ProtocolLog log(QStringLiteral("/nonexistent/"));
    log.AddProtocolMessage(1, QStringLiteral("Retrieve directory listing /www Transfer completed"));
    log.AddProtocolMessage(1, QStringLiteral("Retrieve directory listing /x TRANSFER COMPLETED."));
    log.AddProtocolMessage(1, QStringLiteral("index.html Transfer completed"));
    EXPECT_EQ(log.entries()[0].text, QStringLiteral("Retrieve directory listing /www "));
    EXPECT_EQ(log.entries()[1].text, QStringLiteral("Retrieve directory listing /x ."));
    EXPECT_EQ(log.entries()[2].text, QStringLiteral("index.html Transfer completed"));
}

TEST(ProtocolLog, WithLoggingOffNoFileIsTouched)
{
    TestEnvironment env;
    ProtocolLog log(env.root());
    log.AddProtocolMessage(1, QStringLiteral("hello"));
    EXPECT_FALSE(QFileInfo::exists(env.root() + ProtocolLog::LogFileName));
}

TEST(ProtocolLog, LogFileAlwaysEqualsAFullRewrite)
{
    TestEnvironment env;
    const QString path = env.root() + ProtocolLog::LogFileName;
    env.writeFile(ProtocolLog::LogFileName, "stale line of an earlier run\r\n");
    ProtocolLog log(env.root());
    log.AddProtocolMessage(0, QStringLiteral("before logging"));
    log.setWriteLogfiles(true);
    log.AddProtocolMessage(1, QStringLiteral("a \u00A7 b"));   // "§" in the text stays as it is
    log.AddProtocolMessage(2, QStringLiteral("umlaut \u00FC"));
    EXPECT_EQ(TestEnvironment::readFile(path),
              QByteArray("0\xA7" "0001\xA7" "before logging\r\n1\xA7" "0002\xA7" "a \xA7 b\r\n2\xA7" "0003\xA7umlaut \xFC\r\n"));

    // A line that needs more than Windows-1252 turns the whole file into UTF-8.
    log.AddProtocolMessage(1, QString::fromUtf16(u"\u0436"));
    QByteArray expected;
    for (const ProtocolEntry &entry : log.entries())
        expected += entry.logLine().toUtf8() + "\r\n";
    EXPECT_EQ(TestEnvironment::readFile(path), expected);

    // Switched off and on again: lines added meanwhile are in the file too.
    log.setWriteLogfiles(false);
    log.AddProtocolMessage(1, QStringLiteral("while off"));
    log.setWriteLogfiles(true);
    log.AddProtocolMessage(1, QStringLiteral("back on"));
    expected.clear();
    for (const ProtocolEntry &entry : log.entries())
        expected += entry.logLine().toUtf8() + "\r\n";
    EXPECT_EQ(TestEnvironment::readFile(path), expected);
}
