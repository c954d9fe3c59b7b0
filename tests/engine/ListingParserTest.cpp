#include "engine/ftp/ListingDate.h"
#include "engine/ftp/ListingLine.h"
#include "engine/ftp/ListingRecord.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QList>

using namespace Velmora;

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(ListingColumns, SplitAtRunsOfBlanksAndKeepTheNameWhole)
{
    struct Case {
        const char *line;
        QStringList columns; // 1 to 9
    };
    const QList<Case> cases = {
        {"drwxr-xr-x   2 user group 4096 Dec  8 10:30 My Folder",
         {s("drwxr-xr-x"), s("2"), s("user"), s("group"), s("4096"), s("Dec"), s("8"), s("10:30"), s("My Folder")}},
        // Blanks at the end belong to the name ("a.txt " is not "a.txt"); the line end does not.
        {"-rw-r--r-- 1 u g 1 Mar 5 2009 a b  c.txt  ",
         {s("-rw-r--r--"), s("1"), s("u"), s("g"), s("1"), s("Mar"), s("5"), s("2009"), s("a b  c.txt  ")}},
        {"-rw-r--r-- 1 u g 12 Mar 5 2009 a.txt \r\n",
         {s("-rw-r--r--"), s("1"), s("u"), s("g"), s("12"), s("Mar"), s("5"), s("2009"), s("a.txt ")}},
        {"drwxr-xr-x 2 u g 0 Dec 8 10:30 site ", {s("drwxr-xr-x"), s("2"), s("u"), s("g"), s("0"), s("Dec"), s("8"), s("10:30"), s("site ")}},
        // One blank ends the time or year column; further blanks start the name.
        {"-rw-r--r-- 1 u g 1 Mar 5 2009   two blanks first.txt",
         {s("-rw-r--r--"), s("1"), s("u"), s("g"), s("1"), s("Mar"), s("5"), s("2009"), s("  two blanks first.txt")}},
        {"drwxr-xr-x 2 u g 0 Dec 8 10:30  x", {s("drwxr-xr-x"), s("2"), s("u"), s("g"), s("0"), s("Dec"), s("8"), s("10:30"), s(" x")}},
        {"-rw-r--r-- 1 u g 1 Mar 5 2009    \r", {s("-rw-r--r--"), s("1"), s("u"), s("g"), s("1"), s("Mar"), s("5"), s("2009"), {}}},
        // Tabs are no separators.
        {"-rw-r--r-- 1 u\tg 1 Mar 5 2009 x",
         {s("-rw-r--r--"), s("1"), s("u\tg"), s("1"), s("Mar"), s("5"), s("2009"), s("x"),
          s("-rw-r--r-- 1 u\tg 1 Mar 5 2009 x")}},
        // Fewer than eight runs of blanks: the whole line, trimmed, is the name.
        {"  total 12 ", {s("total"), s("12"), {}, {}, {}, {}, {}, {}, s("total 12")}},
        {"-rw-r--r-- 1 u g 1 Mar 5 2009", {s("-rw-r--r--"), s("1"), s("u"), s("g"), s("1"), s("Mar"), s("5"), s("2009"),
                                             s("-rw-r--r-- 1 u g 1 Mar 5 2009")}},
        {"", {{}, {}, {}, {}, {}, {}, {}, {}, {}}},
    };
    for (const Case &c : cases) {
        const QString line = s(c.line);
        const ListingColumns columns = SplitListingLine(line);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(columns.column[i].toString(), c.columns[i]) << c.line << " column " << i + 1;
    }
}

TEST(ListingColumns, MonthNames)
{
    EXPECT_EQ(ListingMonth(u"Jan"), s("01"));
    EXPECT_EQ(ListingMonth(u"MAY"), s("05"));
    EXPECT_EQ(ListingMonth(u"dec"), s("12"));
    EXPECT_EQ(ListingMonth(u"Foo"), QString());
    EXPECT_EQ(ListingMonth(u"Janu"), QString());
    EXPECT_EQ(ListingMonth(u""), QString());
}

TEST(MsDosLines, BecomeUnixLines)
{
    const QList<std::pair<const char *, const char *>> cases = {
        {"12-08-26  10:30AM       <DIR>          Data", "d--------- 1 ---------- ---------- 0 12-08-26 1 10:30AM Data"},
        // The name is everything after the size or <DIR> column, blanks and all.
        {"12-08-2026  10:31AM  1024 my file.txt", "---------- 1 ---------- ---------- 1024 12-08-2026 1 10:31AM my file.txt"},
        {"12-08-26  10:30AM       <DIR>          My  Documents  \r",
         "d--------- 1 ---------- ---------- 0 12-08-26 1 10:30AM My  Documents  "},
        {"12-08-26  10:30AM  5  leading.txt", "---------- 1 ---------- ---------- 5 12-08-26 1 10:30AM leading.txt"},
        {"12-08-26  10:30AM  5", "---------- 1 ---------- ---------- 5 12-08-26 1 10:30AM "},
        {"drwxr-xr-x 2 u g 0 Dec 8 10:30 12-08-26", "drwxr-xr-x 2 u g 0 Dec 8 10:30 12-08-26"},
        {"1-08-26  10:30AM  1 x", "1-08-26  10:30AM  1 x"},
        {"12/08/26  10:30AM  1 x", "12/08/26  10:30AM  1 x"},
        {"12-08-2", "12-08-2"},
    };
    for (const auto &[line, converted] : cases)
        EXPECT_EQ(ConvertMsDosLine(s(line)), s(converted)) << line;
}

TEST(SummaryLines, AreRecognised)
{
    EXPECT_TRUE(IsListingSummaryLine(u"total 12"));
    EXPECT_TRUE(IsListingSummaryLine(u"Total 0"));
    EXPECT_TRUE(IsListingSummaryLine(u"  total   4096 "));
    EXPECT_FALSE(IsListingSummaryLine(u"total"));
    EXPECT_FALSE(IsListingSummaryLine(u"total 12 x"));
    EXPECT_FALSE(IsListingSummaryLine(u"totally 1"));
    EXPECT_FALSE(IsListingSummaryLine(u"-rw-r--r-- 1 u g 1 Mar 5 2009 total 12"));
}

TEST(EntryTypes, ByTheFirstCharacter)
{
    const QList<std::pair<const char *, EntryKind>> cases = {
        {"drwxr-xr-x 2 u g", EntryKind::Folder}, {"D", EntryKind::Folder},     {"0|dir|0|", EntryKind::Folder},
        {"lrwxrwxrwx 1 u g", EntryKind::Link},   {"L", EntryKind::Link},       {"-rw-r--r--", EntryKind::File},
        {"1|a.txt|1|", EntryKind::File},         {"2|www -> x|7|", EntryKind::File}, {"", EntryKind::File},
    };
    for (const auto &[text, type] : cases)
        EXPECT_EQ(EntryType(s(text)), type) << text;
}

struct DateCase {
    const char *line;
    QDateTime expected;
};

TEST(ListingDates, FollowTheYearRule)
{
    const QDate today(2026, 3, 15);
    const QList<DateCase> cases = {
        {"drwxr-xr-x 2 u g 0 Dec  8 10:30 a", QDateTime(QDate(2025, 12, 8), QTime(10, 30), Qt::UTC)}, // later month: last year
        {"-rw-r--r-- 1 u g 1 Mar 20 23:59 a", QDateTime(QDate(2026, 3, 20), QTime(23, 59), Qt::UTC)}, // same month: this year
        {"-rw-r--r-- 1 u g 1 Jan  2 09:05 a", QDateTime(QDate(2026, 1, 2), QTime(9, 5), Qt::UTC)},
        {"-rw-r--r-- 1 u g 1 Mar  5  2009 a", QDateTime(QDate(2009, 3, 5), QTime(0, 0), Qt::UTC)},
        {"-rw-r--r-- 1 u g 1 Mar 05  2009 a", QDateTime(QDate(2009, 3, 5), QTime(0, 0), Qt::UTC)},
        {"12-08-26  10:30AM       <DIR>          Data", QDateTime(QDate(2026, 12, 8), QTime(10, 30), Qt::UTC)},
        {"01-02-99  12:00PM  5 x", QDateTime(QDate(1999, 1, 2), QTime(12, 0), Qt::UTC)},
        {"01-02-2001  12:15AM  5 x", QDateTime(QDate(2001, 1, 2), QTime(0, 15), Qt::UTC)},
        {"01-02-01  17:45  5 x", QDateTime(QDate(2001, 1, 2), QTime(17, 45), Qt::UTC)},
        {"-rw-r--r-- 1 u g 1 Foo  5  2009 a", QDateTime()},
        {"-rw-r--r-- 1 u g 1 Feb 30 10:00 a", QDateTime()},
        {"-rw-r--r-- 1 u g 1 Feb  3 25:00 a", QDateTime()},
        {"-rw-r--r-- 1 u g 1 Feb  3 209 a", QDateTime()},
        {"13-40-26  10:30AM  1 x", QDateTime()},
        {"total 12", QDateTime()},
    };
    for (const DateCase &c : cases)
        EXPECT_EQ(ParseListingDate(s(c.line), today), c.expected) << c.line;
}

TEST(ListingDates, FallbackRule)
{
    // Today 15 March 2026: entries on or after 15 March belong to last year.
    const QString today = s("15.03.2026");
    EXPECT_EQ(FallbackEntryDate(u"8", s("12"), today), s("8.12.2025"));
    EXPECT_EQ(FallbackEntryDate(u"5", s("03"), today), s("5.03.2026"));
    EXPECT_EQ(FallbackEntryDate(u"15", s("03"), today), s("15.03.2025"));
    EXPECT_EQ(FallbackEntryDate(u"14", s("03"), today), s("14.03.2026"));
    EXPECT_EQ(FallbackEntryDate(u"1", s("01"), s("15.03.26")), s("1.01.2026"));   // two-digit year
    EXPECT_EQ(FallbackEntryDate(u"5", QString(), today), s("5..2026"));           // unknown month
    EXPECT_EQ(FallbackEntryDate(u"8", s("12"), s("03/15/2026")), s("8.12.2010")); // cannot be split
    EXPECT_EQ(FallbackEntryDate(u"8", s("12"), s("a.b.c")), s("8.12.2010"));
    EXPECT_EQ(RecordDateText(QDate(2026, 12, 8)), s("08.12.2026"));
}

struct RecordCase {
    const char *line;
    QDateTime parsed;
    ListingRecordResult::Outcome outcome;
    const char *record; // or the refused name
};

TEST(ListingRecords, BuiltFromLines)
{
    using O = ListingRecordResult::Outcome;
    const QString today = s("15.03.2026");
    const QList<RecordCase> cases = {
        {"drwxr-xr-x   2 user group 4096 Dec  8 10:30 My Folder", QDateTime(QDate(2025, 12, 8), QTime(10, 30)), O::Record,
         "0|My Folder|0|08.12.2025 10:30|drwxr-xr-x|user group"},
        {"-rw-r--r-- 1 u g 1234 Mar  5  2009 a.txt", {}, O::Record, "1|a.txt|1234|5.03.2009|-rw-r--r--|u g"},
        {"lrwxrwxrwx 1 u g 7 Jan 1 2010 www -> public", {}, O::Record, "2|www -> public|7|1.01.2010|lrwxrwxrwx|u g"},
        {"lrwxrwxrwx 1 u g 7 Jan 1 2010 up -> ../shared/x", {}, O::Record,
         "2|up -> ../shared/x|7|1.01.2010|lrwxrwxrwx|u g"},
        {"d--------- 1 ---------- ---------- 0 12-08-26 1 10:30AM Data", QDateTime(QDate(2026, 12, 8), QTime(10, 30)),
         O::Record, "0|Data|0|08.12.2026 10:30AM|d---------|---------- ----------"},
        {"---------- 1 ---------- ---------- 1024 12-08-26 1 10:31AM my file.txt", QDateTime(QDate(2026, 12, 8), QTime(10, 31)),
         O::Record, "1|my file.txt|1024|08.12.2026 10:31AM|----------|---------- ----------"},
        {"-rw-r--r-- 1 u g 5 Foo  5  2009 f", {}, O::Record, "1|f|5|5..2009|-rw-r--r--|u g"},
        // A time without a parsed date: the fallback rule.
        {"-rw-r--r-- 1 u g 1 Dec  8 10:30 f", {}, O::Record, "1|f|1|8.12.2025 10:30|-rw-r--r--|u g"},
        {"-rw-r--r-- 1 u g 9 Mar  5  2009 a b  c.txt", {}, O::Record, "1|a b  c.txt|9|5.03.2009|-rw-r--r--|u g"},
        {"-rw-r--r-- 1 u g 9 Mar  5  2009 .hidden", {}, O::Record, "1|.hidden|9|5.03.2009|-rw-r--r--|u g"},
        {"drwxr-xr-x 2 u g 0 Mar  5  2009 .", {}, O::Excluded, ""},
        {"drwxr-xr-x 2 u g 0 Mar  5  2009 ..", {}, O::Excluded, ""},
        {"-rw-r--r-- 1 u g 0 Mar  5  2009 x/../../y", {}, O::Excluded, ""},
        {"-rw-r--r-- 1 u g 0 Mar  5  2009 ../../etc", {}, O::Excluded, ""},
        // No name: no record, whose later fields would move into the name's place.
        {"drwxr-xr-x 2 u g 4096 Jan  1  2020 ", {}, O::Excluded, ""},
        {"   ", {}, O::Excluded, ""},
        {"-rw-r--r-- 1 u g 0 Mar  5  2009 sub/file", {}, O::Refused, "sub/file"},
        {"-rw-r--r-- 1 u g 0 Mar  5  2009 back\\slash", {}, O::Refused, "back\\slash"},
        {"-rw-r--r-- 1 u g 0 Mar  5  2009 pipe|name", {}, O::Refused, "pipe|name"},
        {"-rw-r--r-- 1 u g 0 Mar  5  2009 para\u00A7graph", {}, O::Refused, "para\u00A7graph"},
        {"lrwxrwxrwx 1 u g 0 Mar  5  2009 .. -> /etc", {}, O::Refused, ".. -> /etc"},
        {"lrwxrwxrwx 1 u g 0 Mar  5  2009 a/b -> c", {}, O::Refused, "a/b -> c"},
        {"-rw-r--r-- 1 own|er g 0 Mar  5  2009 plain", {}, O::Refused, "plain"},
        {"-rw-r--r-- 1 u g 0 Mar  5  20\r09 plain", {}, O::Refused, "plain"},
    };
    for (const RecordCase &c : cases) {
        const ListingRecordResult result = BuildListingRecord(s(c.line), c.parsed, today);
        ASSERT_EQ(result.outcome, c.outcome) << c.line;
        if (c.outcome == O::Record) {
            EXPECT_EQ(result.record, s(c.record)) << c.line;
        } else if (c.outcome == O::Refused) {
            EXPECT_EQ(result.name, s(c.record)) << c.line;
        }
    }
}

TEST(ListingRecords, MsDosNamesWithBlanksStayWhole)
{
    const QList<std::pair<const char *, const char *>> cases = {
        {"12-08-26  10:31AM  1024 my file.txt", "1|my file.txt|1024|08.12.2026 10:31AM|----------|---------- ----------"},
        {"12-08-26  10:31AM  <DIR>  Program Files (x86)",
         "0|Program Files (x86)|0|08.12.2026 10:31AM|d---------|---------- ----------"},
        {"12-08-26  10:31AM  7 a  b", "1|a  b|7|08.12.2026 10:31AM|----------|---------- ----------"},
    };
    for (const auto &[line, record] : cases) {
        const QString converted = ConvertMsDosLine(s(line));
        const ListingRecordResult result =
            BuildListingRecord(converted, QDateTime(QDate(2026, 12, 8), QTime(10, 31)), s("15.03.2026"));
        EXPECT_EQ(result.record, s(record)) << line;
    }
}

} // namespace
