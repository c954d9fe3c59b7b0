// The text engine of search and replace: byte-exact results over small working copies.
#include "TestEnvironment.h"
#include "common/Language.h"
#include "replace/ByteLines.h"
#include "replace/ReplaceMode.h"
#include "replace/SearchReplaceEngine.h"
#include "replace/SearchReplaceError.h"
#include "common/TextCodec.h"

#include <QDateTime>
#include <cctype>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

// ---- the line model ------------------------------------------------------------------------

struct SplitCase {
    QByteArray bytes;
    QList<QByteArray> lines;
};

class LineModel : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineModel, SplitsAtCrLfAndCrLfAndStopsAtNul)
{
    EXPECT_EQ(ByteLines::Split(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Table, LineModel, ::testing::Values(
    SplitCase{"", {}},
    SplitCase{"abc", {"abc"}},
    SplitCase{"abc\r\n", {"abc"}},                       // a final break makes no empty line
    SplitCase{"a\nb\rc\r\nd", {"a", "b", "c", "d"}},      // all three line ends
    SplitCase{"a\n\r\nb", {"a", "", "b"}},                // LF then CR LF: one empty line between
    SplitCase{"a\r\rb", {"a", "", "b"}},                  // two CRs: two line ends
    SplitCase{"a\n\rb", {"a", "", "b"}},                  // LF CR is two line ends, not one
    SplitCase{"\r\n", {""}},
    SplitCase{QByteArray("ab\0cd\r\nef", 9), {"ab"}},     // NUL ends the text
    SplitCase{QByteArray("\0abc", 4), {}},
    SplitCase{"\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}}));     // a byte-order mark is ordinary bytes

TEST(LineModel, JoinEndsEveryLineWithCrLf)
{
    EXPECT_EQ(ByteLines::Join({"a", "", "b"}), QByteArray("a\r\n\r\nb\r\n"));
    EXPECT_EQ(ByteLines::Join({}), QByteArray());
}

// ---- the umlaut rule -----------------------------------------------------------------------

TEST(LineModel, SplitKeepingEndsGivesTheBytesBack)
{
    for (const QByteArray &bytes : {QByteArray("a\r\nb\nc\rd"), QByteArray("\n\n"), QByteArray("x\r"), QByteArray()}) {
        const QList<QByteArray> lines = ByteLines::SplitKeepingEnds(bytes);
        EXPECT_EQ(lines.join(), bytes);
    }
    EXPECT_EQ(ByteLines::SplitKeepingEnds("a\r\nb"), (QList<QByteArray>{"a\r\n", "b"}));
    EXPECT_EQ(ByteLines::UsualLineEnd("a\nb\r\n"), QByteArray("\n"));
    EXPECT_EQ(ByteLines::UsualLineEnd("abc"), QByteArray("\r\n"));
}

// The last line break of a box of lines to insert ends its last line; it adds no empty line.
TEST(LinesOfBox, AFinalLineBreakAddsNoEmptyLine)
{
    EXPECT_EQ(ReplaceJob::LinesOfBox(u""_s), QStringList());
    EXPECT_EQ(ReplaceJob::LinesOfBox(u"a"_s), QStringList{u"a"_s});
    EXPECT_EQ(ReplaceJob::LinesOfBox(u"a\n"_s), QStringList{u"a"_s});
    EXPECT_EQ(ReplaceJob::LinesOfBox(u"a\n\n"_s), (QStringList{u"a"_s, u""_s}));
    EXPECT_EQ(ReplaceJob::LinesOfBox(u"\n"_s), QStringList{u""_s});
}

// ---- the operations over one file ----------------------------------------------------------

struct FileCase {
    const char *name;
    ReplaceJob job;
    QByteArray before;
    bool write;
    int mark;
    QByteArray after; // the file after the run
};

void PrintTo(const FileCase &c, std::ostream *os) { *os << c.name; }

// The texts of a job as the user types them; the tables write them as Windows-1252 bytes
// ("f\xFCr" is "für") or, with u8"", as UTF-8 (for characters that Windows-1252 lacks).
QString typed(const QByteArray &windows1252) { return TextCodec::DecodeWindows1252(windows1252); }
QString typed(const char8_t *utf8) { return QString::fromUtf8(reinterpret_cast<const char *>(utf8)); }
QStringList typed(const QList<QByteArray> &lines)
{
    QStringList texts;
    for (const QByteArray &line : lines)
        texts << typed(line);
    return texts;
}

template <typename Term = QByteArray, typename Replacement = QByteArray>
ReplaceJob term(ReplaceMode mode, Term t, Replacement replacement = {}, bool wholeLine = false)
{
    ReplaceJob job;
    job.mode = mode;
    job.term = typed(t);
    job.replacement = typed(replacement);
    job.replaceWholeLine = wholeLine;
    return job;
}

ReplaceJob insertAround(ReplaceMode mode, QByteArray t, QList<QByteArray> lines)
{
    ReplaceJob job = term(mode, std::move(t));
    job.termLines = typed(lines);
    return job;
}

ReplaceJob edges(ReplaceMode mode, QList<QByteArray> lines)
{
    ReplaceJob job;
    job.mode = mode;
    job.edgeLines = typed(lines);
    return job;
}

ReplaceJob edgesTyped(ReplaceMode mode, QStringList lines)
{
    ReplaceJob job;
    job.mode = mode;
    job.edgeLines = std::move(lines);
    return job;
}

constexpr auto Term = ReplaceMode::ReplaceTerm;
constexpr auto After = ReplaceMode::InsertAfterTerm;
constexpr auto Before = ReplaceMode::InsertBeforeTerm;
constexpr auto AtBeginning = ReplaceMode::InsertAtBeginning;
constexpr auto AtEnd = ReplaceMode::InsertAtEnd;

class OneFile : public ::testing::TestWithParam<FileCase> {
protected:
    TestEnvironment env;
};

TEST_P(OneFile, GivesTheMarkAndTheExactBytes)
{
    const FileCase &c = GetParam();
    const QString path = env.writeFile(u"download/f.txt"_s, c.before);
    QList<SearchEntry> entries(1);
    entries[0].workingCopyPath = path;
    entries[0].hitMark = 7; // a stale mark is always replaced for a selected entry
    bool written = false;
    SearchReplaceEngine().RunSearchReplace(c.job, entries, c.write, written);
    EXPECT_EQ(entries[0].hitMark, c.mark);
    EXPECT_EQ(TestEnvironment::readFile(path), c.after);
    EXPECT_EQ(written, c.write && c.after != c.before) << "only a rewritten file sets the flag here";
}

INSTANTIATE_TEST_SUITE_P(Table, OneFile, ::testing::Values(
    FileCase{"matches never overlap", term(Term, "aa", "b"), "aaaa\r\naaa\r\n", true, 1, "bb\r\nba\r\n"},
    FileCase{"replacement is not rescanned", term(Term, "a", "aa"), "a-a\r\n", true, 1, "aa-aa\r\n"},
    FileCase{"search is case-sensitive", term(Term, "Foo", "x"), "foo FOO\r\n", true, 0, "foo FOO\r\n"},
    FileCase{"whole line replaced", term(Term, "x", "NEW", true), "1x2\r\nabc\r\nx\r\n", true, 1,
             "NEW\r\nabc\r\nNEW\r\n"},
    FileCase{"no hit keeps LF file byte for byte", term(Term, "zz", "y"), "a\nb\n", true, 0, "a\nb\n"},
    FileCase{"one hit changes only the matched bytes", term(Term, "b", "B"), "a\nb\rc", true, 1, "a\nB\rc"},
    FileCase{"CR LF stays CR LF", term(Term, "b", "B"), "a\r\nb\r\n", true, 1, "a\r\nB\r\n"},
    FileCase{"mixed line ends and no final break stay", term(Term, "b", "B"), "a\r\nb\nc\rbb", true, 1,
             "a\r\nB\nc\rBB"},
    FileCase{"a file with NUL bytes is binary and never changed", term(Term, "a", "A"),
             QByteArray("a\r\n\0tail\r\n", 10), true, 0, QByteArray("a\r\n\0tail\r\n", 10)},
    FileCase{"a binary file without an extension is not cut", term(Term, "OLD", "NEW"),
             QByteArray("OLD\r\n\0\x01\x02 binary OLD data\xFF", 22), true, 0,
             QByteArray("OLD\r\n\0\x01\x02 binary OLD data\xFF", 22)},
    FileCase{"term in a binary file is not found", term(Term, "tail", "T"), QByteArray("a\0tail", 6), true, 0,
             QByteArray("a\0tail", 6)},
    FileCase{"search only changes nothing", term(Term, "a", "b"), "a\n", false, 1, "a\n"},
    FileCase{"empty term finds nothing", term(Term, "", "b"), "a\n", true, 0, "a\n"},
    FileCase{"term never spans two lines", term(Term, "a\r\nb", "x"), "a\r\nb\r\n", false, 0, "a\r\nb\r\n"},
    FileCase{"UTF-8 line matched with single-byte term, written in UTF-8",
             term(Term, "f\xFCr", "\xFC" "ber"), "f\xC3\xBCr alle\r\nf\xFCr\r\n", true, 1,
             "\xC3\xBC" "ber alle\r\n\xFC" "ber\r\n"},
    FileCase{"single-byte term finds UTF-8 line when searching", term(Term, "gr\xF6\xDF" "e", ""),
             "Gr\xC3\xB6\xC3\x9F" "e\r\ngr\xC3\xB6\xC3\x9F" "e\r\n", false, 1,
             "Gr\xC3\xB6\xC3\x9F" "e\r\ngr\xC3\xB6\xC3\x9F" "e\r\n"},
    FileCase{"UTF-8 line without umlaut is searched as typed", term(Term, "f\xFCr", "x"),
             "caf\xC3\xA9 f\xFCr\r\n", true, 1, "caf\xC3\xA9 x\r\n"},
    FileCase{"insert after every matching line", insertAround(After, "x", {"1", "2"}), "ax\nb\nxc\n", true, 1,
             "ax\n1\n2\nb\nxc\n1\n2\n"},
    FileCase{"insert before a matching line", insertAround(Before, "b", {"1"}), "a\nb\n", true, 1,
             "a\n1\nb\n"},
    FileCase{"insert after a last line without break", insertAround(After, "b", {"1"}), "a\r\nb", true, 1,
             "a\r\nb\r\n1\r\n"},
    FileCase{"insert modes search a UTF-8 file in UTF-8", insertAround(After, "f\xFCr", {"\xFC"}), "f\xC3\xBCr\n", true, 1,
             "f\xC3\xBCr\n\xC3\xBC\n"},
    FileCase{"insert modes search as typed", insertAround(After, "f\xFCr", {"1"}), "f\xFCr\n", false, 1,
             "f\xFCr\n"},
    FileCase{"insert with no hit writes nothing", insertAround(Before, "q", {"1"}), "a\n", true, 0, "a\n"},
    FileCase{"lines at the end of a file without final break", edges(AtEnd, {"x"}), "abc", true, 1,
             "abc\r\nx\r\n"},
    FileCase{"lines at the beginning", edges(AtBeginning, {"x", "y"}), "abc\n", true, 1, "x\ny\nabc\n"},
    FileCase{"no edge lines change nothing", edges(AtBeginning, {}), "a\nb", true, 1, "a\nb"},
    FileCase{"edge lines into an empty file", edges(AtEnd, {"x"}), "", true, 1, "x\r\n"},
    FileCase{"edge modes mark without changing when searching", edges(AtEnd, {"x"}), "a\n", false, 1, "a\n"},
    // Each file gets the texts in its own encoding; a character it cannot hold leaves it alone.
    FileCase{"a term beyond Windows-1252 is found in a UTF-8 file", term(Term, u8"\u2192", "->"),
             "index.php?id=1 \xE2\x86\x92 next\n", true, 1, "index.php?id=1 -> next\n"},
    FileCase{"a term beyond Windows-1252 never matches a question mark", term(Term, u8"\u2192", "->"),
             "index.php?id=1 f\xFCr\n", true, 0, "index.php?id=1 f\xFCr\n"},
    FileCase{"a replacement beyond Windows-1252 leaves a Windows-1252 file alone", term(Term, "f\xFCr", u8"\u2192"),
             "f\xFCr\n", true, 0, "f\xFCr\n"},
    FileCase{"a replacement beyond Windows-1252 goes into a UTF-8 file in UTF-8", term(Term, "a", u8"\u2192"),
             "a b\n", true, 1, "\xE2\x86\x92 b\n"},
    FileCase{"umlauts go into a UTF-8 file in UTF-8", term(Term, "x", "\xE4"), "x \xC3\xB6\n", true, 1,
             "\xC3\xA4 \xC3\xB6\n"},
    FileCase{"umlauts go into a Windows-1252 file as single bytes", term(Term, "x", "\xE4"), "x \xF6\n", true, 1,
             "\xE4 \xF6\n"},
    FileCase{"lines beyond Windows-1252 at the end of a UTF-8 file", edgesTyped(AtEnd, {u"\u2192"_s}), "a\n", true, 1,
             "a\n\xE2\x86\x92\n"},
    FileCase{"lines beyond Windows-1252 leave a Windows-1252 file alone", edgesTyped(AtEnd, {u"\u2192"_s}), "\xFC\n", true,
             0, "\xFC\n"},
    FileCase{"a UTF-16 file is binary and never changed", term(Term, "a", "b"), QByteArray("\xFF\xFE" "a\0\n\0", 6),
             true, 0, QByteArray("\xFF\xFE" "a\0\n\0", 6)},
    FileCase{"a UTF-8 byte order mark stays", term(Term, "a", "b"), "\xEF\xBB\xBF" "a\r\n", true, 1,
             "\xEF\xBB\xBF" "b\r\n"}),
    [](const ::testing::TestParamInfo<FileCase> &info) {
        std::string name;
        for (const char *p = info.param.name; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

// ---- the run over a list -------------------------------------------------------------------

class RecordingObserver : public SearchReplaceObserver {
public:
    void progressChanged(const QString &text) override { progress.append(text); }
    void fileFinished() override { ++pumps; }
    QStringList progress;
    int pumps = 0;
};

class EngineRun : public ::testing::Test {
protected:
    SearchEntry entry(const QString &name, const QByteArray &content, bool selected = true, int mark = 0)
    {
        SearchEntry e;
        e.workingCopyPath = env.writeFile(u"download/"_s + name, content);
        e.selected = selected;
        e.hitMark = mark;
        return e;
    }
    TestEnvironment env;
    RecordingObserver observer;
    SearchReplaceEngine engine{&observer};
};

TEST_F(EngineRun, UnselectedEntryKeepsItsMarkAndIsNeitherReadNorWritten)
{
    QList<SearchEntry> entries{entry(u"a.txt"_s, "x\n"), entry(u"b.txt"_s, "x\n", false, 1), entry(u"c.txt"_s, "y\n")};
    entries[1].workingCopyPath = env.root() + u"missing.txt"_s; // reading it would fail the run
    bool written = false;
    engine.RunSearchReplace(term(Term, "x", "z"), entries, true, written);
    EXPECT_EQ(entries[0].hitMark, 1);
    EXPECT_EQ(entries[1].hitMark, 1);
    EXPECT_EQ(entries[2].hitMark, 0);
    EXPECT_TRUE(written);
    EXPECT_EQ(TestEnvironment::readFile(entries[0].workingCopyPath), QByteArray("z\n"));
    EXPECT_EQ(TestEnvironment::readFile(entries[2].workingCopyPath), QByteArray("y\n"));
}

TEST_F(EngineRun, SearchOnlyWithEveryFileModeMarksEverySelectedEntryAndWritesNothing)
{
    for (ReplaceMode mode : {ReplaceMode::ReplaceFile, AtBeginning, AtEnd}) {
        QList<SearchEntry> entries{entry(u"a.txt"_s, "a\n"), entry(u"b.txt"_s, "b\n", false, 0)};
        ReplaceJob job = edges(mode, {"x"});
        job.sourceFile = env.writeFile(u"source.txt"_s, "S");
        bool written = false;
        engine.RunSearchReplace(job, entries, false, written);
        EXPECT_EQ(entries[0].hitMark, 1);
        EXPECT_EQ(entries[1].hitMark, 0);
        EXPECT_FALSE(written);
        EXPECT_EQ(TestEnvironment::readFile(entries[0].workingCopyPath), QByteArray("a\n"));
    }
}

// A file whose encoding cannot hold the search or replacement text is listed as such, in the
// search-only run that shows it before the apply as in the apply itself, and never changed.
TEST_F(EngineRun, AFileThatCannotHoldTheTextsIsListedAndLeftAlone)
{
    QList<SearchEntry> entries{entry(u"ansi.txt"_s, "f\xFCr ->\n"), entry(u"utf8.txt"_s, "f\xC3\xBCr ->\n")};
    const ReplaceJob job = term(Term, "->", u8"\u2192");
    for (bool write : {false, true}) {
        bool written = false;
        engine.RunSearchReplace(job, entries, write, written);
        EXPECT_TRUE(entries[0].unfit);
        EXPECT_EQ(entries[0].hitMark, 0);
        EXPECT_FALSE(entries[1].unfit);
        EXPECT_EQ(entries[1].hitMark, 1);
    }
    EXPECT_EQ(TestEnvironment::readFile(entries[0].workingCopyPath), QByteArray("f\xFCr ->\n"));
    EXPECT_EQ(TestEnvironment::readFile(entries[1].workingCopyPath), QByteArray("f\xC3\xBCr \xE2\x86\x92\n"));
    // A later run with texts that fit clears the listing.
    bool written = false;
    engine.RunSearchReplace(term(Term, "f\xFCr"), entries, false, written);
    EXPECT_FALSE(entries[0].unfit);
    EXPECT_EQ(entries[0].hitMark, 1);
}

TEST_F(EngineRun, EmptyTermMarksNothingAndWritesNothing)
{
    QList<SearchEntry> entries{entry(u"a.txt"_s, "a\n", true, 1), entry(u"b.txt"_s, "\n", true, 1)};
    bool written = false;
    engine.RunSearchReplace(term(Term, "", "x"), entries, true, written);
    EXPECT_EQ(entries[0].hitMark, 0);
    EXPECT_EQ(entries[1].hitMark, 0);
    EXPECT_FALSE(written);
}

TEST_F(EngineRun, ReplaceFileCopiesTheSourceAndTouchesTheCopy)
{
    QList<SearchEntry> entries{entry(u"a.txt"_s, "old contents\n")};
    QFile old(entries[0].workingCopyPath);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QDateTime past = QDateTime::currentDateTime().addDays(-3);
    ASSERT_TRUE(old.setFileTime(past, QFileDevice::FileModificationTime));
    old.close();
    ReplaceJob job;
    job.mode = ReplaceMode::ReplaceFile;
    job.sourceFile = env.writeFile(u"source.bin"_s, QByteArray("new\nbytes\0!", 11));
    bool written = false;
    engine.RunSearchReplace(job, entries, true, written);
    EXPECT_EQ(TestEnvironment::readFile(entries[0].workingCopyPath), QByteArray("new\nbytes\0!", 11)); // a copy, not a rewrite
    EXPECT_GT(QFileInfo(entries[0].workingCopyPath).lastModified(), past.addDays(1));
    EXPECT_EQ(entries[0].hitMark, 1);
    EXPECT_TRUE(written);
    EXPECT_EQ(observer.pumps, 0) << "copies do not stop for events";
}

TEST_F(EngineRun, ReplaceFileWithMissingSourceIsNotReportedAndStillCounts)
{
    QList<SearchEntry> entries{entry(u"a.txt"_s, "keep\n")};
    ReplaceJob job;
    job.mode = ReplaceMode::ReplaceFile;
    job.sourceFile = env.root() + u"gone.txt"_s;
    bool written = false;
    EXPECT_NO_THROW(engine.RunSearchReplace(job, entries, true, written));
    EXPECT_EQ(entries[0].hitMark, 1);
    EXPECT_TRUE(written);
    EXPECT_EQ(TestEnvironment::readFile(entries[0].workingCopyPath), QByteArray("keep\n"));
}

TEST_F(EngineRun, UnreadableCopyEndsTheRunAndEarlierFilesKeepTheirChanges)
{
    QList<SearchEntry> entries{entry(u"a.txt"_s, "x\n"), entry(u"b.txt"_s, "x\n"), entry(u"c.txt"_s, "x\n")};
    entries[1].workingCopyPath = env.root() + u"download/vanished.txt"_s;
    bool written = false;
    try {
        engine.RunSearchReplace(term(Term, "x", "y"), entries, true, written);
        FAIL() << "expected an error";
    } catch (const SearchReplaceError &e) {
        EXPECT_EQ(e.kind(), SearchReplaceError::Read);
        EXPECT_EQ(e.text(false), u"The file cannot be read: "_s + entries[1].workingCopyPath);
        EXPECT_EQ(e.text(true), u"Die Datei kann nicht gelesen werden: "_s + entries[1].workingCopyPath);
    }
    EXPECT_TRUE(written);
    EXPECT_EQ(entries[0].hitMark, 1);
    EXPECT_EQ(TestEnvironment::readFile(entries[0].workingCopyPath), QByteArray("y\n"));
    EXPECT_EQ(entries[2].hitMark, 0);
    EXPECT_EQ(TestEnvironment::readFile(entries[2].workingCopyPath), QByteArray("x\n"));
}

TEST_F(EngineRun, UnwritableCopyEndsTheRunAndKeepsTheOldFile)
{
    // A name at the length limit can be read, but the temporary file written beside it (the
    // name plus a suffix) cannot be created, whatever the rights of the user.
    QList<SearchEntry> entries{entry(QString(250, u'n'), "x\n")};
    ASSERT_EQ(TestEnvironment::readFile(entries[0].workingCopyPath), QByteArray("x\n"));
    bool written = false;
    try {
        engine.RunSearchReplace(term(Term, "x", "y"), entries, true, written);
        FAIL() << "expected an error";
    } catch (const SearchReplaceError &e) {
        EXPECT_EQ(e.kind(), SearchReplaceError::Write);
        EXPECT_EQ(e.text(false), u"The file cannot be written: "_s + entries[0].workingCopyPath);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(entries[0].hitMark, 0);
    EXPECT_EQ(TestEnvironment::readFile(entries[0].workingCopyPath), QByteArray("x\n"));
}

TEST_F(EngineRun, ReportsProgressAfterEveryEntryAndPumpsAfterEveryReadFile)
{
    QList<SearchEntry> entries;
    for (int i = 0; i < 8; ++i)
        entries.append(entry(u"f%1.txt"_s.arg(i), "a\n", i != 3));
    bool written = false;
    engine.RunSearchReplace(term(Term, "a", "b"), entries, false, written);
    EXPECT_EQ(observer.progress, (QStringList{u"0%"_s, u"12%"_s, u"25%"_s, u"38%"_s, u"50%"_s, u"62%"_s, u"75%"_s,
                                              u"88%"_s, QString()}));
    EXPECT_EQ(observer.pumps, 7);
}

struct ProgressCase {
    qsizetype index, count;
    const char16_t *text;
};

class ProgressRounding : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressRounding, RoundsHalvesToEven)
{
    EXPECT_EQ(SearchReplaceEngine::ProgressText(GetParam().index, GetParam().count), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Table, ProgressRounding, ::testing::Values(
    ProgressCase{0, 1, u"0%"},       // a single entry shows 0%
    ProgressCase{1, 3, u"33%"},
    ProgressCase{2, 3, u"67%"},
    ProgressCase{1, 8, u"12%"},      // 12.5 goes down to the even 12
    ProgressCase{3, 8, u"38%"},      // 37.5 goes up to the even 38
    ProgressCase{1, 200, u"0%"},     // 0.5 goes to 0
    ProgressCase{3, 200, u"2%"},     // 1.5 goes to 2
    ProgressCase{199, 200, u"100%"}, // 99.5 goes to the even 100
    ProgressCase{998, 1000, u"100%"}));

// ---- the captions of the operations --------------------------------------------------------

TEST(ReplaceModes, CaptionsInBothLanguages)
{
    EXPECT_EQ(ReplaceModeCaption(ReplaceMode::ReplaceTerm, false), u"Search and replace a term"_s);
    EXPECT_EQ(ReplaceModeCaption(ReplaceMode::InsertAtBeginning, false), u"Insert lines at the beginning of the files"_s);
    EXPECT_EQ(ReplaceModeCaption(ReplaceMode::ReplaceFile, true), u"Suchen und Ersetzen durch eine andere Datei"_s);
    Language german;
    german.setCurrent(Language::German);
    EXPECT_EQ(ReplaceModeCaption(ReplaceMode::InsertAfterTerm, german), u"Zeilen nach dem Suchbegriff einfügen"_s);
    EXPECT_EQ(ReplaceModeCaption(ReplaceMode::InsertAtEnd, german), u"Zeilen am Ende der Datei einfügen"_s);
    EXPECT_EQ(static_cast<int>(ReplaceMode::InsertAtEnd), 5);
}

} // namespace
