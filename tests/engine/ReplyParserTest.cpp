#include "engine/ftp/FtpReply.h"
#include "engine/ftp/FtpReplyParsers.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QList>

using namespace Velmora;

namespace {

struct ReaderCase {
    const char *name;
    QList<QByteArray> lines;
    FtpReplyReader::State lastState; // after the last line
    int code;
    int lineCount;
    QByteArray text;
};

class ReplyReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReplyReaderTest, CollectsOneReply)
{
    const ReaderCase &c = GetParam();
    FtpReplyReader reader;
    FtpReplyReader::State state = FtpReplyReader::State::NeedMore;
    for (qsizetype i = 0; i < c.lines.size(); ++i) {
        state = reader.addLine(c.lines[i]);
        if (i + 1 < c.lines.size()) {
            ASSERT_EQ(state, FtpReplyReader::State::NeedMore) << "ended early at line " << i;
        }
    }
    ASSERT_EQ(state, c.lastState);
    if (state != FtpReplyReader::State::Complete)
        return;
    const FtpReply reply = reader.take();
    EXPECT_EQ(reply.code, c.code);
    EXPECT_EQ(reply.lines.size(), c.lineCount);
    EXPECT_EQ(reply.text(), c.text);
    EXPECT_FALSE(reader.isInsideReply());
}

using S = FtpReplyReader::State;
INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyReaderTest,
    ::testing::Values(
        ReaderCase{"single", {"220 Ready."}, S::Complete, 220, 1, "Ready."},
        ReaderCase{"bare_code", {"200"}, S::Complete, 200, 1, ""},
        ReaderCase{"multi", {"220-Welcome", "220-second", "220 Ready."}, S::Complete, 220, 3, "Welcome\nsecond\nReady."},
        // Inner lines may look like other replies; only the own code and a blank end it.
        ReaderCase{"inner_codes", {"123-First", "234 not the end", "123-still inside", " 123 indented", "123 End"},
                   S::Complete, 123, 5, "First\n234 not the end\nstill inside\n 123 indented\nEnd"},
        ReaderCase{"bare_last_line", {"211-Features:", " UTF8", "211"}, S::Complete, 211, 3, "Features:\n UTF8\n"},
        ReaderCase{"unfinished", {"211-Features:", " UTF8"}, S::NeedMore, 0, 0, ""},
        ReaderCase{"no_code", {"hello"}, S::Malformed, 0, 0, ""},
        ReaderCase{"short_code", {"22 x"}, S::Malformed, 0, 0, ""},
        ReaderCase{"four_digits", {"2201 x"}, S::Malformed, 0, 0, ""},
        ReaderCase{"code_out_of_range", {"600 x"}, S::Malformed, 0, 0, ""},
        ReaderCase{"empty_line", {""}, S::Malformed, 0, 0, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ReplyReader, StartsOverAfterEachReply)
{
    FtpReplyReader reader;
    ASSERT_EQ(reader.addLine("150 Opening."), FtpReplyReader::State::Complete);
    EXPECT_EQ(reader.take().code, 150);
    ASSERT_EQ(reader.addLine("226-Done"), FtpReplyReader::State::NeedMore);
    ASSERT_EQ(reader.addLine("226 Bye"), FtpReplyReader::State::Complete);
    const FtpReply reply = reader.take();
    EXPECT_EQ(reply.code, 226);
    EXPECT_EQ(reply.message(), QStringLiteral("226 Done Bye"));
}

TEST(ReplyReader, RefusesEndlessReplies)
{
    FtpReplyReader reader;
    ASSERT_EQ(reader.addLine("211-start"), FtpReplyReader::State::NeedMore);
    const QByteArray line(1000, 'x');
    FtpReplyReader::State state = FtpReplyReader::State::NeedMore;
    for (int i = 0; i < 2000 && state == FtpReplyReader::State::NeedMore; ++i)
        state = reader.addLine(line);
    EXPECT_EQ(state, FtpReplyReader::State::Malformed);
}

TEST(ReplyClasses, FollowTheFirstDigit)
{
    FtpReply r;
    r.code = 150;
    EXPECT_TRUE(r.isPreliminary());
    r.code = 350;
    EXPECT_TRUE(r.isSuccess());
    EXPECT_FALSE(r.isRefusal());
    r.code = 421;
    EXPECT_TRUE(r.isRefusal());
}

struct PasvCase {
    QByteArray text;
    bool ok;
    QString host;
    quint16 port;
};

TEST(PasvReply, ParsesTheSixNumbers)
{
    const QList<PasvCase> cases = {
        {"227 Entering Passive Mode (192,168,1,2,19,137)", true, QStringLiteral("192.168.1.2"), 5001},
        {"227 Entering Passive Mode (127,0,0,1,4,1).", true, QStringLiteral("127.0.0.1"), 1025},
        {"227 =10,0,0,9,0,21", true, QStringLiteral("10.0.0.9"), 21},
        {"227 Mode 1 (10,0,0,1,0,21)", true, QStringLiteral("10.0.0.1"), 21},
        {"227 Entering Passive Mode (256,0,0,1,0,21)", false, {}, 0},
        {"227 Entering Passive Mode (10,0,0,1,21)", false, {}, 0},
        {"227 Entering Passive Mode (10,0,0,1,0,0)", false, {}, 0},
        {"227 Entering Passive Mode (1000,0,0,1,0,21)", false, {}, 0},
        {"227 Entering Passive Mode", false, {}, 0},
        {"", false, {}, 0},
    };
    for (const PasvCase &c : cases) {
        const auto parsed = ParsePasvReply(c.text);
        ASSERT_EQ(parsed.has_value(), c.ok) << c.text.constData();
        if (c.ok) {
            EXPECT_EQ(parsed->host, c.host) << c.text.constData();
            EXPECT_EQ(parsed->port, c.port) << c.text.constData();
        }
    }
}

TEST(EpsvReply, ParsesThePortBetweenDelimiters)
{
    const QList<std::pair<QByteArray, int>> cases = {
        {"229 Entering Extended Passive Mode (|||6446|)", 6446},
        {"229 Extended mode (!!!21!)", 21},
        {"229 (|||65535|)", 65535},
        {"229 (|||0|)", -1},
        {"229 (|||70000|)", -1},
        {"229 (||1.2.3.4|21|)", -1},
        {"229 (|||21)", -1},
        {"229 (|||x|)", -1},
        {"229 Entering Extended Passive Mode", -1},
        {"229 (", -1},
    };
    for (const auto &[text, port] : cases) {
        const auto parsed = ParseEpsvReply(text);
        EXPECT_EQ(parsed ? int(*parsed) : -1, port) << text.constData();
    }
}

TEST(PwdReply, TakesTheQuotedPath)
{
    const QList<std::pair<QByteArray, QByteArray>> cases = {
        {"\"/home/user\" is the current directory.", "/home/user"},
        {"\"/a \"\"b\"\"\" is current", "/a \"b\""},
        {"\"/with blanks/x y\"", "/with blanks/x y"},
        {"\"\"", ""},
        {"/plain is current", "/plain"},
    };
    for (const auto &[text, path] : cases) {
        const auto parsed = ParsePwdReply(text);
        ASSERT_TRUE(parsed.has_value()) << text.constData();
        EXPECT_EQ(*parsed, path) << text.constData();
    }
    EXPECT_FALSE(ParsePwdReply("\"/unterminated").has_value());
    EXPECT_FALSE(ParsePwdReply("   ").has_value());
}

TEST(FeatReply, ListsFeatureNames)
{
    FtpReplyReader reader;
    for (const QByteArray &line :
         {QByteArray("211-Features:"), QByteArray(" UTF8"), QByteArray(" MLST type*;size*;"), QByteArray(" size"),
          QByteArray(" EPSV"), QByteArray("211 End")})
        reader.addLine(line);
    EXPECT_EQ(ParseFeatures(reader.take()),
              (QStringList{QStringLiteral("UTF8"), QStringLiteral("MLST"), QStringLiteral("SIZE"), QStringLiteral("EPSV")}));

    reader.addLine("500 Unknown command.");
    EXPECT_TRUE(ParseFeatures(reader.take()).isEmpty());
}

TEST(TransferReply, AnnouncedSize)
{
    EXPECT_EQ(AnnouncedTransferSize("150 Opening BINARY mode data connection for a.txt (1234 bytes)."), 1234);
    EXPECT_EQ(AnnouncedTransferSize("150 Opening (x bytes) for (a) (55 Bytes)"), 55);
    EXPECT_EQ(AnnouncedTransferSize("150 Opening BINARY mode data connection for empty (0 bytes)."), 0);
    EXPECT_EQ(AnnouncedTransferSize("150 File status okay."), -1);
    EXPECT_EQ(AnnouncedTransferSize("150 (12 files)"), -1);
}

TEST(MdtmReply, TakesTheTimeAsUtc)
{
    const QDateTime noon(QDate(2026, 1, 2), QTime(12, 30, 45), Qt::UTC);
    const struct {
        const char *text;
        QDateTime expected; // invalid: not a time
    } cases[] = {
        {"20260102123045", noon},
        {"20260102123045\r\n", noon},
        {" 20260102123045 ", noon},
        {"20260102123045.5", noon.addMSecs(500)},
        {"20260102123045.123456", noon.addMSecs(123)},
        {"20260102123045.", {}},
        {"20260102123045Z", {}},
        {"2026010212304", {}},
        {"20261302123045", {}}, // month 13
        {"2026-01-02 12:30", {}},
        {"", {}},
    };
    for (const auto &c : cases) {
        const QDateTime parsed = ParseMdtmReply(QByteArray(c.text));
        EXPECT_EQ(parsed.isValid(), c.expected.isValid()) << c.text;
        if (c.expected.isValid()) {
            EXPECT_EQ(parsed, c.expected) << c.text;
            EXPECT_EQ(parsed.timeSpec(), Qt::UTC) << c.text;
        }
    }
}

TEST(ActiveModeArguments, PortAndEprt)
{
    EXPECT_EQ(PortArgument(QStringLiteral("127.0.0.1"), 5001), QByteArray("127,0,0,1,19,137"));
    EXPECT_EQ(PortArgument(QStringLiteral("10.1.2.3"), 21), QByteArray("10,1,2,3,0,21"));
    EXPECT_EQ(EprtArgument(QStringLiteral("::1"), true, 2121), QByteArray("|2|::1|2121|"));
    EXPECT_EQ(EprtArgument(QStringLiteral("127.0.0.1"), false, 21), QByteArray("|1|127.0.0.1|21|"));
}

} // namespace
