#include "common/TextReplace.h"

#include <gtest/gtest.h>

using namespace Velmora;

struct ReplaceCase {
    const char16_t *text, *search, *replacement;
    bool all, ignoreCase;
    const char16_t *expected;
};

class ReplaceRule : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceRule, ReplacesLeftToRightWithoutRescanning)
{
    const ReplaceCase &c = GetParam();
    EXPECT_EQ(ReplaceText(QString::fromUtf16(c.text), QString::fromUtf16(c.search),
                          QString::fromUtf16(c.replacement), c.all, c.ignoreCase),
              QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Table, ReplaceRule, ::testing::Values(
    ReplaceCase{u"aaa", u"a", u"aa", true, false, u"aaaaaa"},      // the inserted text is not rescanned
    ReplaceCase{u"aaaa", u"aa", u"b", true, false, u"bb"},          // matches never overlap
    ReplaceCase{u"aXa", u"a", u"b", false, false, u"bXa"},          // only the first without replace-all
    ReplaceCase{u"Hello HELLO", u"hello", u"x", true, true, u"x x"},
    ReplaceCase{u"Hello", u"hello", u"x", true, false, u"Hello"},
    ReplaceCase{u"\u00E4rger \u00C4RGER", u"\u00C4rger", u"z", true, true, u"z z"}, // single-byte upper case
    ReplaceCase{u"", u"x", u"y", true, false, u""},
    ReplaceCase{u"", u"", u"y", true, false, u"y"},
    ReplaceCase{u"C:\\x//y", u"//", u"/", true, false, u"C:\\x/y"}));

TEST(ReplaceText, BlankSearchInNonEmptyTextIsAnError)
{
    try {
        ReplaceText(QStringLiteral("abc"), QString(), QStringLiteral("x"), true, false);
        FAIL() << "expected an error";
    } catch (const ReplaceError &e) {
        EXPECT_STREQ(e.what(), "Search string cannot be blank");
    }
}
