#include "filter/FilterMatching.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {
QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}
} // namespace

TEST(LowerAscii, FoldsOnlyTheLettersAToZ)
{
    EXPECT_EQ(LowerAscii(u"ABC xyz 09 *.TXT"), s(u"abc xyz 09 *.txt"));
    EXPECT_EQ(LowerAscii(u"\u00C4NDERUNG \u00D6\u00DC"), s(u"\u00C4nderung \u00D6\u00DC")); // umlauts stay
}

struct ContainsCase {
    const char16_t *list; // lower-cased by the caller
    const char16_t *text;
    bool any;
};

class ContainsAnyTable : public ::testing::TestWithParam<ContainsCase> {};

TEST_P(ContainsAnyTable, FindsAnyTrimmedWordAsASubstring)
{
    const ContainsCase &c = GetParam();
    EXPECT_EQ(ContainsAny(c.list, c.text), c.any) << QString::fromUtf16(c.list).toStdString();
    // ContainsNone is its exact opposite, also for empty lists and blank words.
    EXPECT_EQ(ContainsNone(c.list, c.text), !c.any);
}

INSTANTIATE_TEST_SUITE_P(Table, ContainsAnyTable, ::testing::Values(
    ContainsCase{u"index|home", u"Home.HTM", true},          // the text is lower-cased
    ContainsCase{u"index|home", u"about.htm", false},
    ContainsCase{u" index ", u"index.htm", true},            // words are trimmed
    ContainsCase{u"INDEX", u"index.htm", false},             // the list is not lower-cased here
    ContainsCase{u"", u"anything", false},                   // empty list: nothing occurs
    ContainsCase{u"   ", u"a b c", false},                   // a blank word never occurs
    ContainsCase{u"|  |", u"a b", false},
    ContainsCase{u"*.txt", u"a.txt", false},                 // no wildcards: "*" is a character
    ContainsCase{u"a?c", u"abc", false},
    ContainsCase{u"a?c", u"xa?c", true},
    ContainsCase{u".jpg|png", u".apng", true},               // only the first word carries the dot
    ContainsCase{u".jpg|png", u".jpeg", false},
    ContainsCase{u"\u00E4nderung", u"\u00C4NDERUNG.txt", false}, // umlauts compare exactly
    ContainsCase{u"\u00C4nderung", u"\u00C4NDERUNG.txt", true}));

struct SizeCase {
    const char16_t *list;
    const char16_t *size;
    SizeComparison comparison;
    bool matches;
};

class SizeMatchesTable : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeMatchesTable, ComparesWithEachLimitUpToTheFirstNonNumber)
{
    const SizeCase &c = GetParam();
    EXPECT_EQ(SizeMatches(c.list, c.size, c.comparison), c.matches)
        << QString::fromUtf16(c.list).toStdString() << " / " << QString::fromUtf16(c.size).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, SizeMatchesTable, ::testing::Values(
    SizeCase{u"1000|5000", u"3000", SizeComparison::Less, true},      // any limit may match
    SizeCase{u"1000|5000", u"5000", SizeComparison::Less, false},
    SizeCase{u"1000|x|5000", u"3000", SizeComparison::Less, false},   // the test ends at x
    SizeCase{u"1000|x|5000", u"500", SizeComparison::Less, true},
    SizeCase{u"x|1000", u"5", SizeComparison::Less, false},
    SizeCase{u" 1000 ", u"1000", SizeComparison::Equal, true},        // words are trimmed
    SizeCase{u"1000", u"999", SizeComparison::Equal, false},
    SizeCase{u"1000", u"1000", SizeComparison::GreaterOrEqual, true},
    SizeCase{u"1000", u"4111215", SizeComparison::GreaterOrEqual, true}, // what folders compare with
    SizeCase{u"5000000", u"4111215", SizeComparison::Less, true},
    SizeCase{u"1000", u"2147483647", SizeComparison::GreaterOrEqual, true},
    SizeCase{u"1000", u"2147483648", SizeComparison::GreaterOrEqual, true}, // files of 2 GiB and more
    SizeCase{u"3000000000", u"5368709120", SizeComparison::GreaterOrEqual, true},
    SizeCase{u"3000000000", u"2147483648", SizeComparison::Less, true},
    SizeCase{u"1000", u"", SizeComparison::Less, false},
    SizeCase{u"1000", u"1.204", SizeComparison::Less, false},
    SizeCase{u"", u"5", SizeComparison::Less, false},
    SizeCase{u"-1|10", u"0", SizeComparison::Less, true}));

struct NormaliseCase {
    const char16_t *text;
    const char16_t *expected;
};

class NormaliseDateTable : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(NormaliseDateTable, PadsDayAndMonth)
{
    EXPECT_EQ(NormaliseDate(GetParam().text), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, NormaliseDateTable, ::testing::Values(
    NormaliseCase{u"5.7.2010 9:03", u"05.07.2010 9:03"},
    NormaliseCase{u"20.05.2010 10:12", u"20.05.2010 10:12"},
    NormaliseCase{u"5.03.2009", u"05.03.2009 "},              // without time: a trailing blank
    NormaliseCase{u"5/7/2010 10:16:40", u"05/07/2010 10:16:40"},
    NormaliseCase{u"5/7/2010 1:02:03 PM", u"05/07/2010 1:02:03"}, // only the first two words stay
    NormaliseCase{u"2010-05-20 10:00", u"2010-05-20 10:00"},  // neither "." nor "/": unchanged
    NormaliseCase{u"", u""},
    NormaliseCase{u"yesterday", u"yesterday"}));

struct DayCase {
    const char16_t *text;
    int year; // 0: cannot be read
    int month;
    int day;
};

class ReadDayTable : public ::testing::TestWithParam<DayCase> {};

TEST_P(ReadDayTable, ReadsTheDayByItsSeparator)
{
    const DayCase &c = GetParam();
    const QDate day = ReadDay(c.text);
    if (c.year == 0)
        EXPECT_FALSE(day.isValid()) << day.toString().toStdString();
    else
        EXPECT_EQ(day, QDate(c.year, c.month, c.day));
}

INSTANTIATE_TEST_SUITE_P(Table, ReadDayTable, ::testing::Values(
    DayCase{u"20.05.2010", 2010, 5, 20},
    DayCase{u"20.05.2010 23:59", 2010, 5, 20},   // the time is ignored
    DayCase{u" 5.7.2010 ", 2010, 7, 5},
    DayCase{u"05/20/2010 10:16:40", 2010, 5, 20}, // month first with "/"
    DayCase{u"2010-05-20", 2010, 5, 20},
    DayCase{u"20.05.10", 2010, 5, 20},           // two-digit years: 1950 to 2049
    DayCase{u"20.05.99", 1999, 5, 20},
    DayCase{u"31.02.2010", 0, 0, 0},             // no such day
    DayCase{u"20/05/2010", 0, 0, 0},             // month 20
    DayCase{u"20.05", 0, 0, 0},
    DayCase{u"20.05.2010.1", 0, 0, 0},
    DayCase{u"2o.05.2010", 0, 0, 0},
    DayCase{u"+5.7.2010", 0, 0, 0},
    DayCase{u"yesterday", 0, 0, 0},
    DayCase{u"", 0, 0, 0}));

TEST(DateMatches, ComparesCalendarDaysOnly)
{
    EXPECT_TRUE(DateMatches(u"20.05.2010", u"20.05.2010 23:59", DateComparison::SinceOrOn));
    EXPECT_FALSE(DateMatches(u"20.05.2010", u"19.05.2010 23:59", DateComparison::SinceOrOn));
    EXPECT_TRUE(DateMatches(u"20.05.2010", u"19.05.2010 23:59", DateComparison::Before));
    EXPECT_FALSE(DateMatches(u"20.05.2010", u"20.05.2010 00:00", DateComparison::Before));
    // The filter date's first word by "|", then by " ".
    EXPECT_TRUE(DateMatches(u"20.05.2010 12:00|01.01.2000", u"20.05.2010 08:00", DateComparison::SinceOrOn));
    // Both date forms the program writes compare with each other.
    EXPECT_TRUE(DateMatches(u"05/20/2010", u"21.05.2010 08:00", DateComparison::SinceOrOn));
    // A date that cannot be read matches neither way.
    for (DateComparison comparison : {DateComparison::SinceOrOn, DateComparison::Before}) {
        EXPECT_FALSE(DateMatches(u"20.05.2010", u"gestern", comparison));
        EXPECT_FALSE(DateMatches(u"20.05.2010", u"", comparison));
        EXPECT_FALSE(DateMatches(u"xx", u"20.05.2010 10:00", comparison));
    }
}
