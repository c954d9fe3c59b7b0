#include "common/Word.h"

#include <gtest/gtest.h>

using namespace Velmora;

struct WordCase {
    const char16_t *text;
    const char16_t *delimiters;
    int n;
    const char16_t *expected;
};

class WordRule : public ::testing::TestWithParam<WordCase> {};

TEST_P(WordRule, PicksTheNthRunOfNonDelimiters)
{
    const WordCase &c = GetParam();
    EXPECT_EQ(Word(c.n, QStringView(c.text), QStringView(c.delimiters)), QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, WordRule, ::testing::Values(
    WordCase{u"a||b", u"|", 2, u"b"},                 // runs of delimiters give no empty word
    WordCase{u"a||b", u"|", 1, u"a"},
    WordCase{u"a||b", u"|", 3, u""},                  // a word that does not exist is empty
    WordCase{u"|lead|trail|", u"|", 1, u"lead"},      // leading delimiters skipped
    WordCase{u"|lead|trail|", u"|", 2, u"trail"},
    WordCase{u"RETR|/a b|/x\u00A7y|1", u"|\u00A7", 3, u"/x"},
    WordCase{u"one two", u" ", 0, u""},
    WordCase{u"", u"|", 1, u""},
    WordCase{u"drwxr-xr-x   2 user", u" ", 2, u"2"}));

TEST(WordCount, CountsOnlyNonEmptyWords)
{
    EXPECT_EQ(WordCount(u"a||b", u"|"), 2);
    EXPECT_EQ(WordCount(u"||", u"|"), 0);
    EXPECT_EQ(WordCount(u"", u"|"), 0);
    EXPECT_EQ(WordCount(u" x y  z ", u" "), 3);
    EXPECT_EQ(Words(u"/a//b/", u"/"), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}
