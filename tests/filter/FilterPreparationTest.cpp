#include "filter/FilterPreparation.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

struct PreparationCase {
    const char *what;
    // Typed by the user
    const char16_t *term;
    const char16_t *without;
    const char16_t *date;
    const char16_t *extension;
    const char16_t *fileSize;
    int joiners; // AndDate, AndExtension and AndFileSize all set to this
    bool searchesInFiles;
    // After the preparation: the visible criteria ...
    const char16_t *termAfter;
    const char16_t *dateAfter;
    int andDate;
    int andExtension;
    int andFileSize;
    // ... and the working values
    const char16_t *extList;
    const char *active; // "T", "W", "D", "E", "S" for each group marked active
};

class PrepareFilterTable : public ::testing::TestWithParam<PreparationCase> {};

} // namespace

TEST_P(PrepareFilterTable, ChangesTheCriteriaAsTheWindowShowsThem)
{
    const PreparationCase &c = GetParam();
    FilterCriteria criteria;
    criteria.term = s(c.term);
    criteria.withoutTerm = s(c.without);
    criteria.date = s(c.date);
    criteria.extension = s(c.extension);
    criteria.fileSize = s(c.fileSize);
    criteria.andDate = criteria.andExtension = criteria.andFileSize = c.joiners;

    const PreparedFilter p = PrepareFilter(criteria, c.searchesInFiles);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(criteria.term, s(c.termAfter));
    EXPECT_EQ(criteria.date, s(c.dateAfter));
    EXPECT_EQ(criteria.andDate, c.andDate);
    EXPECT_EQ(criteria.andExtension, c.andExtension);
    EXPECT_EQ(criteria.andFileSize, c.andFileSize);
    EXPECT_EQ(p.extList, s(c.extList));
    EXPECT_EQ(p.term, LowerAscii(criteria.term));
    EXPECT_EQ(p.sizeList, criteria.fileSize); // as typed
    QString active;
    for (auto [on, letter] : {std::pair{p.termActive, u'T'}, {p.withoutActive, u'W'}, {p.dateActive, u'D'},
                              {p.extensionActive, u'E'}, {p.sizeActive, u'S'}}) {
        if (on)
            active += QChar(letter);
    }
    EXPECT_EQ(active, QString::fromLatin1(c.active));
    EXPECT_TRUE(p.notes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Table, PrepareFilterTable, ::testing::Values(
    PreparationCase{"nothing typed: every file", u"", u"", u"", u"", u"", 1, false,
                    u"*.*", u"", 0, 0, 0, u"", ""},
    PreparationCase{"a term of blanks counts as nothing", u"  ", u"", u"", u"", u"", 0, false,
                    u"*.*", u"", 0, 0, 0, u"", ""},
    PreparationCase{"a without-term alone keeps *.*", u"", u"tmp", u"", u"", u"", 0, false,
                    u"*.*", u"", 0, 0, 0, u"", "W"},
    PreparationCase{"*.* gives way to an extension", u"*.*", u"", u"", u"jpg", u"", 1, false,
                    u"", u"", 0, 1, 0, u".jpg", "E"},
    PreparationCase{"*.* gives way to a size", u"*.*", u"", u"", u"", u"100", 1, false,
                    u"", u"", 0, 0, 1, u"", "S"},
    PreparationCase{"*.* taken out of a longer term", u"*.*|index", u"", u"", u"", u"", 0, false,
                    u"|index", u"", 0, 0, 0, u"", "T"},
    PreparationCase{"a date is cut at its first |", u"x", u"", u"20.05.2010 | 21.05.2010", u"", u"", 1, false,
                    u"x", u"20.05.2010", 1, 0, 0, u"", "TD"},
    PreparationCase{"stars dropped, one dot in front, letters folded", u"a", u"", u"", u"*.JPG|*.Png", u"", 1, false,
                    u"a", u"", 0, 1, 0, u".jpg|.png", "TE"},
    PreparationCase{"an extension of only dots and stars is empty", u"a", u"", u"", u"*.", u"", 1, false,
                    u"a", u"", 0, 0, 0, u"", "T"},
    PreparationCase{"an extension of blanks is kept, not trimmed", u"a", u"", u"", u"  ", u"", 1, false,
                    u"a", u"", 0, 1, 0, u".  ", "TE"},
    PreparationCase{"no term at all: the date joins with or", u"", u"", u"20.05.2010", u"", u"", 1, false,
                    u"", u"20.05.2010", 0, 0, 0, u"", "D"},
    PreparationCase{"searching in files: a term and an extension join with and", u"index", u"", u"", u"htm", u"", 0, true,
                    u"index", u"", 0, 1, 0, u".htm", "TE"},
    PreparationCase{"searching in files: an extension alone joins with or", u"", u"", u"", u"htm", u"", 1, true,
                    u"", u"", 0, 0, 0, u".htm", "E"},
    PreparationCase{"searching in files: *.* counts as a term", u"*.*", u"", u"", u"", u"", 0, true,
                    u"*.*", u"", 0, 0, 0, u"", ""}));

TEST(PrepareFilter, AnIndexOutsideItsListTakesItsCriterionOutWithANote)
{
    FilterCriteria criteria;
    criteria.term = QStringLiteral("index");
    criteria.termDir = 7;
    criteria.extension = QStringLiteral("htm");
    criteria.extensionIE = -1;
    criteria.fileSize = QStringLiteral("100");
    criteria.andFileSize = 3;
    criteria.dateIE = 9; // no date typed: this index does not matter and gives no note
    const PreparedFilter p = PrepareFilter(criteria, false);
    EXPECT_FALSE(p.termTakesPart);
    EXPECT_FALSE(p.termActive);
    EXPECT_FALSE(p.extensionTakesPart);
    EXPECT_TRUE(p.sizeTakesPart);
    EXPECT_FALSE(p.andFileSize);
    EXPECT_EQ(criteria.termDir, 7); // the criteria keep what the file said
    EXPECT_EQ(criteria.andFileSize, 3);
    ASSERT_EQ(p.notes.size(), 3);
    EXPECT_EQ(p.notes[0].english, QStringLiteral("Filter: \"TermDir\" has the index 7, which is not in its list; "
                                                 "the criterion takes no part in the evaluation."));
    EXPECT_EQ(p.notes[0].german, s(u"Filter: \"TermDir\" hat den Index 7, der nicht in seiner Liste steht; "
                                   u"das Kriterium wird bei der Auswertung nicht ber\u00FCcksichtigt."));
    EXPECT_EQ(p.notes[1].english, QStringLiteral("Filter: \"ExtensionIE\" has the index -1, which is not in its list; "
                                                 "the criterion takes no part in the evaluation."));
    EXPECT_EQ(p.notes[2].english,
              QStringLiteral("Filter: \"AndFileSize\" has the index 3, which is not in its list; it joins with \"or\"."));
}

TEST(PrepareFilter, AFilterDateThatCannotBeReadGivesANote)
{
    FilterCriteria criteria;
    criteria.term = QStringLiteral("a");
    criteria.date = QStringLiteral("31.02.2010");
    criteria.dateIE = FilterCriteria::DateSince;
    const PreparedFilter p = PrepareFilter(criteria, false);
    EXPECT_TRUE(p.dateActive);
    ASSERT_EQ(p.notes.size(), 1);
    EXPECT_EQ(p.notes[0].english,
              QStringLiteral("Filter: the date \"31.02.2010\" cannot be read as a date; no record matches \"Date since\"."));
    EXPECT_EQ(p.notes[0].german, s(u"Filter: das Datum \"31.02.2010\" kann nicht als Datum gelesen werden; "
                                   u"kein Eintrag erf\u00FCllt \"Datum seit\"."));

    criteria.dateIE = FilterCriteria::AllWithDate; // a text test needs no readable date
    EXPECT_TRUE(PrepareFilter(criteria, false).notes.isEmpty());
}
