#include "filter/FilterEvaluation.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Velmora;

namespace {

QString s(const char16_t *text)
{
    return QString::fromUtf16(text);
}

// A collected queue list with one record of each kind the filter meets, in queue-list order.
struct Labelled {
    const char *label;
    const char16_t *record;
};
const Labelled Fixture[] = {
    {"mklocal", u"MKLOCALDIR|/l/img"},
    {"index", u"RETR|/www/index.htm|/l/index.htm\u00A71|index.htm|5000|20.05.2010 23:59|-rw-r--r--|ftp ftp"},
    {"homeOld", u"RETR|/www/home_old.htm|/l/home_old.htm\u00A71|home_old.htm|200|19.05.2010 23:59"},
    {"jpg", u"STOR|/l/img/A.Jpg|/www/img/A.Jpg\u00A71|A.Jpg|150000|5.7.2010 9:03"},
    {"tmp", u"DELLOC|/l/notes.tmp| \u00A71|notes.tmp|3000|05/21/2010 10:16:40"},
    {"oldTxt", u"DELE|/www/abc/old.txt\u00A71|old.txt|500|01.01.2009 00:00"},
    {"rmd", u"RMD|/www/abc\u00A70|abc|0|20.05.2010 10:00|drwxr-xr-x|ftp ftp"},
    {"mkd", u"MKD|/www/img"},
    {"chmod", u"CHMOD|/www/index.htm|755"},
    {"bare", u"DELE|/www/plain.txt"}, // rebuilt from a row: no entry part, so no file and no date
    {"big", u"RETR|/www/big.iso|/l/big.iso\u00A71|big.iso|3000000000|20.05.2010 10:00"},
    {"umlaut", u"RETR|/www/\u00C4NDERUNG.txt|/l/\u00C4NDERUNG.txt\u00A71|\u00C4NDERUNG.txt|10|18.05.2010 10:00"},
};

QStringList fixtureList()
{
    QStringList list;
    for (const Labelled &entry : Fixture)
        list.append(s(entry.record));
    return list;
}

// The fixture's records whose labels are named (blank-separated), plus the three records with
// commands the filter never tests, all in queue-list order.
QStringList recordsOf(const QString &labels)
{
    const QStringList wanted = labels.split(u' ', Qt::SkipEmptyParts)
        + QStringList{QStringLiteral("mklocal"), QStringLiteral("mkd"), QStringLiteral("chmod")};
    QStringList list;
    for (const Labelled &entry : Fixture) {
        if (wanted.contains(QString::fromLatin1(entry.label)))
            list.append(s(entry.record));
    }
    return list;
}

struct EvaluationCase {
    const char *what;
    std::function<void(FilterCriteria &)> set;
    const char *passes; // labels of the tested records that pass
    bool searchesInFiles = false;
};

void PrintTo(const EvaluationCase &c, std::ostream *os)
{
    *os << c.what;
}

class EvaluateFilterTable : public ::testing::TestWithParam<EvaluationCase> {};

} // namespace

TEST_P(EvaluateFilterTable, PassesTheExpectedRecordsInQueueOrder)
{
    const EvaluationCase &c = GetParam();
    FilterCriteria criteria;
    c.set(criteria);
    QList<FilterMessage> notes;
    const QStringList filtered = EvaluateFilter(criteria, c.searchesInFiles, fixtureList(), &notes);
    EXPECT_EQ(filtered, recordsOf(QString::fromLatin1(c.passes)));
    EXPECT_TRUE(notes.isEmpty()) << notes.value(0).english.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, EvaluateFilterTable, ::testing::Values(
    EvaluationCase{"the empty filter passes everything, folders included", [](FilterCriteria &) {},
                   "index homeOld jpg tmp oldTxt rmd bare big umlaut"},
    EvaluationCase{"*.* with an extension: only that extension",
                   [](FilterCriteria &c) { c.extension = QStringLiteral("jpg"); }, "jpg"},
    EvaluationCase{"*.* taken out of a longer term",
                   [](FilterCriteria &c) { c.term = QStringLiteral("*.*|index"); }, "index"},
    EvaluationCase{"a term in file names never finds a folder",
                   [](FilterCriteria &c) { c.term = QStringLiteral("abc"); }, ""},
    EvaluationCase{"a folder right after a matching file has no name of its own",
                   [](FilterCriteria &c) { c.term = QStringLiteral("old"); }, "homeOld oldTxt"},
    EvaluationCase{"a term in directory and file name looks at the paths",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("ABC");
                       c.termDir = FilterCriteria::InDirectoryAndFilename;
                   },
                   "oldTxt rmd"},
    EvaluationCase{"a term in the file date",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("2009");
                       c.termDir = FilterCriteria::InFiledate;
                   },
                   "oldTxt"},
    EvaluationCase{"a without-term alone: every other file and every folder",
                   [](FilterCriteria &c) { c.withoutTerm = QStringLiteral("tmp"); },
                   "index homeOld jpg oldTxt rmd bare big umlaut"},
    EvaluationCase{"extensions fold ASCII case and lose their star",
                   [](FilterCriteria &c) { c.extension = QStringLiteral("*.JPG"); }, "jpg"},
    EvaluationCase{"all without an extension",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("t");
                       c.extension = QStringLiteral("htm|txt");
                       c.extensionIE = FilterCriteria::AllWithoutExtension;
                       c.andExtension = FilterCriteria::And;
                   },
                   "tmp"},
    EvaluationCase{"any size limit may match",
                   [](FilterCriteria &c) { c.fileSize = QStringLiteral("1000|5000"); }, "homeOld tmp oldTxt umlaut"},
    EvaluationCase{"a size word that is not a number ends the size test",
                   [](FilterCriteria &c) { c.fileSize = QStringLiteral("1000|x|5000"); }, "homeOld oldTxt umlaut"},
    EvaluationCase{"folders are as large as 4111215 bytes; files of 2 GiB and more compare by their real size",
                   [](FilterCriteria &c) {
                       c.fileSize = QStringLiteral("1000");
                       c.fileSizeIE = FilterCriteria::SizeGreaterOrEqual;
                   },
                   "index jpg tmp rmd bare big"},
    EvaluationCase{"size equal",
                   [](FilterCriteria &c) {
                       c.fileSize = QStringLiteral("3000|10");
                       c.fileSizeIE = FilterCriteria::SizeEqual;
                   },
                   "tmp umlaut"},
    EvaluationCase{"date since: the day counts, not the time, in both date forms",
                   [](FilterCriteria &c) {
                       c.date = QStringLiteral("20.05.2010");
                       c.dateIE = FilterCriteria::DateSince;
                   },
                   "index jpg tmp rmd big"},
    EvaluationCase{"date before",
                   [](FilterCriteria &c) {
                       c.date = QStringLiteral("20.05.2010");
                       c.dateIE = FilterCriteria::DateBefore;
                   },
                   "homeOld oldTxt umlaut"},
    EvaluationCase{"all with the date: a text test on the normalised date",
                   [](FilterCriteria &c) { c.date = QStringLiteral("20.05.2010"); }, "index rmd big"},
    EvaluationCase{"without the date: an empty date holds no date",
                   [](FilterCriteria &c) {
                       c.date = QStringLiteral("20.05.2010");
                       c.dateIE = FilterCriteria::WithoutSpecifiedDate;
                   },
                   "homeOld jpg tmp oldTxt bare umlaut"},
    EvaluationCase{"a padded day is found in a date written without zeros",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("05.07.");
                       c.termDir = FilterCriteria::InFiledate;
                   },
                   "jpg"},
    // A date typed as the grid shows it names a day, in either language's form, whichever form
    // wrote the record (server listings "dd.mm.yyyy", local files the system's form).
    EvaluationCase{"a term in the date typed as the English grid shows it",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("05/20/2010");
                       c.termDir = FilterCriteria::InFiledate;
                   },
                   "index rmd big"},
    EvaluationCase{"a term in the date typed as the German grid shows it finds a local record's day",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("21.05.2010|2009");
                       c.termDir = FilterCriteria::InFiledate;
                   },
                   "tmp oldTxt"},
    EvaluationCase{"all without a date typed as the English grid shows it",
                   [](FilterCriteria &c) {
                       c.withoutTerm = QStringLiteral("05/20/2010");
                       c.withoutTermDir = FilterCriteria::InFiledate;
                   },
                   "homeOld jpg tmp oldTxt bare umlaut"},
    EvaluationCase{"all without a date typed in the German form",
                   [](FilterCriteria &c) {
                       c.withoutTerm = QStringLiteral("5.7.2010");
                       c.withoutTermDir = FilterCriteria::InFiledate;
                   },
                   "index homeOld tmp oldTxt rmd bare big umlaut"},
    EvaluationCase{"no term and an extension joined with and: nothing",
                   [](FilterCriteria &c) {
                       c.term.clear();
                       c.extension = QStringLiteral("jpg");
                       c.andExtension = FilterCriteria::And;
                   },
                   ""},
    EvaluationCase{"the worked reading: ((T and W) and E) and S",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("index|home");
                       c.withoutTerm = QStringLiteral("old");
                       c.extension = QStringLiteral("htm");
                       c.andExtension = FilterCriteria::And;
                       c.fileSize = QStringLiteral("100000");
                       c.andFileSize = FilterCriteria::And;
                   },
                   "index"},
    EvaluationCase{"the worked reading with or before the extension: ((T and W) or E) and S",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("index|home");
                       c.withoutTerm = QStringLiteral("old");
                       c.extension = QStringLiteral("htm");
                       c.fileSize = QStringLiteral("100000");
                       c.andFileSize = FilterCriteria::And;
                   },
                   "index homeOld"},
    EvaluationCase{"left to right: (T or D) and E, not T or (D and E)",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("index|big");
                       c.date = QStringLiteral("01.01.2010");
                       c.dateIE = FilterCriteria::DateSince;
                       c.extension = QStringLiteral("jpg|htm");
                       c.andExtension = FilterCriteria::And;
                   },
                   "index homeOld jpg"},
    EvaluationCase{"a term in the date and a without-term in the paths: T and W",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("2010");
                       c.termDir = FilterCriteria::InFiledate;
                       c.withoutTerm = QStringLiteral(".htm|/l/");
                       c.withoutTermDir = FilterCriteria::InDirectoryAndFilename;
                   },
                   "rmd"},
    EvaluationCase{"only ASCII letters fold: a lower-case umlaut misses",
                   [](FilterCriteria &c) { c.term = s(u"\u00E4nderung"); }, ""},
    EvaluationCase{"only ASCII letters fold: the same umlaut finds",
                   [](FilterCriteria &c) { c.term = s(u"\u00C4NDERUNG"); }, "umlaut"},
    EvaluationCase{"outside a search in files a term and an extension join as chosen",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("index");
                       c.extension = QStringLiteral("htm");
                   },
                   "index homeOld"},
    EvaluationCase{"a search in files joins a term and an extension with and",
                   [](FilterCriteria &c) {
                       c.term = QStringLiteral("index");
                       c.extension = QStringLiteral("htm");
                   },
                   "index", true}));

TEST(EvaluateFilter, RecordsTheFilterDoesNotTestPassAndKeepTheirPlace)
{
    FilterCriteria criteria;
    criteria.term = QStringLiteral("nothing has this name");
    const QStringList list = {s(u"CHMOD|/www/a|755"), s(u"DELE|/www/a\u00A71|a|1|20.05.2010"), s(u"MKD|/www/b"),
                              s(u"SITE|whatever"), s(u"RETR|/www/c|/l/c\u00A71|c|1|20.05.2010")};
    EXPECT_EQ(EvaluateFilter(criteria, false, list),
              (QStringList{s(u"CHMOD|/www/a|755"), s(u"MKD|/www/b"), s(u"SITE|whatever")}));
}

TEST(EvaluateFilter, AnIndexOutsideItsListIgnoresThatCriterionAndGoesOn)
{
    struct Case {
        std::function<void(FilterCriteria &)> set;
        const char *passes;
    };
    const Case cases[] = {
        // The term cannot be looked for: like an empty term, it finds nothing; the extension still does.
        {[](FilterCriteria &c) { c.term = QStringLiteral("index"); c.termDir = 7; c.extension = QStringLiteral("jpg"); },
         "jpg"},
        // The extension takes no part, even though it was joined with "and".
        {[](FilterCriteria &c) {
             c.term = QStringLiteral("index");
             c.extension = QStringLiteral("jpg");
             c.extensionIE = 9;
             c.andExtension = FilterCriteria::And;
         },
         "index"},
        // The without-term takes no part: only the term counts.
        {[](FilterCriteria &c) { c.term = QStringLiteral("htm"); c.withoutTerm = QStringLiteral("old"); c.withoutTermDir = -1; },
         "index homeOld"},
        // A joiner outside its list joins with "or".
        {[](FilterCriteria &c) { c.term = QStringLiteral("index"); c.extension = QStringLiteral("jpg"); c.andExtension = 4; },
         "index jpg"},
    };
    for (const Case &c : cases) {
        FilterCriteria criteria;
        c.set(criteria);
        QList<FilterMessage> notes;
        EXPECT_EQ(EvaluateFilter(criteria, false, fixtureList(), &notes), recordsOf(QString::fromLatin1(c.passes)));
        EXPECT_EQ(notes.size(), 1);
    }
}

TEST(EvaluateFilter, RecordDatesThatCannotBeReadFailTheDateTestWithOneNote)
{
    FilterCriteria criteria;
    criteria.date = QStringLiteral("01.01.2010");
    criteria.dateIE = FilterCriteria::DateSince;
    const QStringList list = {s(u"RETR|/www/w.txt|/l/w.txt\u00A71|w.txt|1|gestern 10:00"),
                              s(u"RETR|/www/index.htm|/l/index.htm\u00A71|index.htm|5000|20.05.2010 23:59"),
                              s(u"DELE|/www/v.txt\u00A71|v.txt|1|31.02.2010"),
                              s(u"DELE|/www/plain.txt")}; // no date at all: not matching, but nothing to report
    FilterEvaluation evaluation(PrepareFilter(criteria, false), list);
    evaluation.run();
    EXPECT_EQ(evaluation.filteredList(), QStringList{list[1]});
    const QList<FilterMessage> notes = evaluation.notes();
    ASSERT_EQ(notes.size(), 1);
    EXPECT_EQ(notes[0].english, QStringLiteral("Filter: 2 record(s) with a date that cannot be read (the first: /www/w.txt "
                                               "with \"gestern 10:00\") do not match \"Date since\"."));
    EXPECT_EQ(notes[0].german, s(u"Filter: 2 Eintrag/Eintr\u00E4ge mit einem Datum, das nicht gelesen werden kann (der "
                                 u"erste: /www/w.txt mit \"gestern 10:00\"), erf\u00FCllen \"Datum seit\" nicht."));
}

TEST(FilterEvaluation, ChunksGiveTheSameListAsOneGoAndReportProgress)
{
    QStringList list;
    for (int i = 0; i < 100; ++i)
        list += fixtureList();
    FilterCriteria criteria;
    criteria.term = QStringLiteral("index|home");
    criteria.withoutTerm = QStringLiteral("old");
    criteria.extension = QStringLiteral("htm|jpg");
    criteria.date = QStringLiteral("01.01.2010");
    criteria.dateIE = FilterCriteria::DateSince;
    criteria.andDate = FilterCriteria::And;
    criteria.fileSize = QStringLiteral("100000");
    const PreparedFilter prepared = PrepareFilter(criteria, false);

    FilterEvaluation whole(prepared, list);
    whole.run();
    EXPECT_TRUE(whole.isFinished());

    FilterEvaluation chunked(prepared, list);
    int steps = 0;
    while (!chunked.step(7))
        ++steps;
    EXPECT_EQ(steps, int(list.size() / 7));
    EXPECT_EQ(chunked.filteredList(), whole.filteredList());
    // Per copy: index, homeOld (by extension), jpg, tmp, oldTxt, umlaut (by size) and the three untested.
    EXPECT_EQ(chunked.filteredList().size(), 100 * 9);
}

TEST(FilterEvaluation, ProgressTextIsTheShareOfRecordsDone)
{
    const QStringList list = fixtureList().mid(0, 8);
    FilterCriteria criteria;
    FilterEvaluation evaluation(PrepareFilter(criteria, false), list);
    EXPECT_EQ(evaluation.progressText(), QStringLiteral("Set filters: 0%"));
    EXPECT_FALSE(evaluation.step(3));
    EXPECT_EQ(evaluation.progressText(), QStringLiteral("Set filters: 38%")); // 37.5 rounds up
    EXPECT_FALSE(evaluation.step(3));
    EXPECT_EQ(evaluation.progressText(), QStringLiteral("Set filters: 75%"));
    EXPECT_TRUE(evaluation.step(3));
    EXPECT_EQ(evaluation.position(), 8);
    EXPECT_EQ(evaluation.filteredList(), list);

    FilterEvaluation nothing(PrepareFilter(criteria, false), {});
    EXPECT_TRUE(nothing.isFinished());
    EXPECT_TRUE(nothing.step(10));
    EXPECT_TRUE(nothing.filteredList().isEmpty());
}
