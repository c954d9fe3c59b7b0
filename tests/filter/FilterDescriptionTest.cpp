#include "filter/FilterDescription.h"
#include "filter/FilterPreparation.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Velmora;

namespace {

struct DescriptionCase {
    const char *what;
    std::function<void(FilterCriteria &)> set;
    const char16_t *english;
    const char16_t *german;
};

void PrintTo(const DescriptionCase &c, std::ostream *os)
{
    *os << c.what;
}

class DescribeFilterTable : public ::testing::TestWithParam<DescriptionCase> {};

} // namespace

TEST_P(DescribeFilterTable, ReadsTheCriteriaInBothLanguages)
{
    const DescriptionCase &c = GetParam();
    FilterCriteria criteria;
    c.set(criteria);
    PrepareFilter(criteria, false); // the window describes the criteria as prepared
    EXPECT_EQ(DescribeFilter(criteria, Language::English), QString::fromUtf16(c.english));
    EXPECT_EQ(DescribeFilter(criteria, Language::German), QString::fromUtf16(c.german));
}

INSTANTIATE_TEST_SUITE_P(Table, DescribeFilterTable, ::testing::Values(
    DescriptionCase{"the empty filter", [](FilterCriteria &) {},
                    u"('*.*' in Filename) ", u"('*.*' im Dateinamen) "},
    DescriptionCase{"only an extension: the leading joiner goes",
                    [](FilterCriteria &c) { c.extension = QStringLiteral("jpg"); },
                    u"(Extension='jpg') ", u"(Erweiterung='jpg') "},
    DescriptionCase{"the worked reading",
                    [](FilterCriteria &c) {
                        c.term = QStringLiteral("index|home");
                        c.withoutTerm = QStringLiteral("old");
                        c.extension = QStringLiteral("htm");
                        c.andExtension = FilterCriteria::And;
                        c.fileSize = QStringLiteral("100000");
                        c.andFileSize = FilterCriteria::And;
                    },
                    u"('index|home' in Filename) and ('old' in Filename) and (Extension='htm') and (Filesize<'100000') ",
                    u"('index|home' im Dateinamen) und('old' im Dateinamen) und (Erweiterung='htm') "
                    u"und (Dateigr\u00F6\u00DFe<'100000') "},
    DescriptionCase{"texts are trimmed; each date test has its sign",
                    [](FilterCriteria &c) {
                        c.term = QStringLiteral("  abc ");
                        c.termDir = FilterCriteria::InFiledate;
                        c.date = QStringLiteral(" 20.05.2010 ");
                        c.dateIE = FilterCriteria::DateSince;
                        c.andDate = FilterCriteria::And;
                    },
                    u"('abc' in Filedate) and (Date>='20.05.2010') ", u"('abc' im Dateidatum) und (Datum>='20.05.2010') "},
    DescriptionCase{"date before, all without an extension, size greater or equal shown as >",
                    [](FilterCriteria &c) {
                        c.term = QStringLiteral("a");
                        c.termDir = FilterCriteria::InDirectoryAndFilename;
                        c.date = QStringLiteral("20.05.2010");
                        c.dateIE = FilterCriteria::DateBefore;
                        c.extension = NonTextExtensions;
                        c.extensionIE = FilterCriteria::AllWithoutExtension;
                        c.fileSize = QStringLiteral("10");
                        c.fileSizeIE = FilterCriteria::SizeGreaterOrEqual;
                    },
                    u"('a' in Directory and Filename) or (Date<'20.05.2010') or (Extension<>'"
                    u"jpg|jpeg|bmp|png|gif|exe|swf|doc|pdf|zip|gz|mp3|mp4|wav|mov|avi|mpeg|wmv|wma|mpg|rar|tar|flv|rm|asx|mkv|flm"
                    u"') or (Filesize>'10') ",
                    u"('a' im Ordner und Dateinamen) oder (Datum<'20.05.2010') oder (Erweiterung<>'"
                    u"jpg|jpeg|bmp|png|gif|exe|swf|doc|pdf|zip|gz|mp3|mp4|wav|mov|avi|mpeg|wmv|wma|mpg|rar|tar|flv|rm|asx|mkv|flm"
                    u"') oder (Dateigr\u00F6\u00DFe>'10') "},
    DescriptionCase{"without the specified date, size equal",
                    [](FilterCriteria &c) {
                        c.date = QStringLiteral("20.05.2010");
                        c.dateIE = FilterCriteria::WithoutSpecifiedDate;
                        c.fileSize = QStringLiteral("5");
                        c.fileSizeIE = FilterCriteria::SizeEqual;
                    },
                    u"(Date<>'20.05.2010') or (Filesize='5') ", u"(Datum<>'20.05.2010') oder (Dateigr\u00F6\u00DFe='5') "},
    // The German without-piece has no blank after "und"; first, it still loses its joining word.
    DescriptionCase{"a without-term first",
                    [](FilterCriteria &c) {
                        c.term.clear();
                        c.withoutTerm = QStringLiteral("tmp");
                        c.extension = QStringLiteral("txt");
                    },
                    u"('tmp' in Filename) or (Extension='txt') ", u"('tmp' im Dateinamen) oder (Erweiterung='txt') "}));

TEST(DescribeFilter, AnIndexOutsideItsListLeavesItsWordsOut)
{
    FilterCriteria criteria;
    criteria.term = QStringLiteral("a");
    criteria.termDir = 5;
    criteria.extension = QStringLiteral("txt");
    criteria.extensionIE = -1;
    EXPECT_EQ(DescribeFilter(criteria, Language::English), QStringLiteral("('a' ) or (Extension'txt') "));
}

TEST(FilterLabelFont, ShrinksAsTheDescriptionGrows)
{
    const struct {
        int length;
        FilterLabelFont font;
    } cases[] = {{0, {12, true}},   {50, {12, true}},  {51, {11, true}},  {80, {11, true}},  {81, {10, true}},
                 {120, {10, true}}, {121, {8, false}}, {150, {8, false}}, {151, {7, false}}, {400, {7, false}}};
    for (const auto &c : cases) {
        const FilterLabelFont font = FilterLabelFontFor(QString(c.length, u'x'));
        EXPECT_EQ(font.pointSize, c.font.pointSize) << c.length;
        EXPECT_EQ(font.bold, c.font.bold) << c.length;
    }
}
