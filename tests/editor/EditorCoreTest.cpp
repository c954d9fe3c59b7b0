// The editor's logic without a window: highlighter choice, line styling, web addresses, the
// settings file and the line ends of loaded and saved text.
#include "TestEnvironment.h"
#include "editor/EditorSettings.h"
#include "editor/EditorText.h"
#include "editor/Highlighter.h"
#include "editor/LineStyler.h"
#include "editor/WebAddresses.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

// ---- highlighter by extension --------------------------------------------------------------

struct ChoiceCase {
    const char16_t *path;
    Highlighter expected;
};

class HighlighterChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(HighlighterChoice, ByExactExtension)
{
    EXPECT_EQ(HighlighterForFile(QString::fromUtf16(GetParam().path)), GetParam().expected)
        << QString::fromUtf16(GetParam().path).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, HighlighterChoice, ::testing::Values(
    ChoiceCase{u"/w/index.html", Highlighter::Html},
    ChoiceCase{u"/w/index.HTML", Highlighter::None},     // case counts
    ChoiceCase{u"/w/page.inc", Highlighter::Pascal},
    ChoiceCase{u"/w/notes.txt", Highlighter::Html},
    ChoiceCase{u"/w/tool.py", Highlighter::Html},
    ChoiceCase{u"/w/site.php5", Highlighter::Html},
    ChoiceCase{u"/w/style.css", Highlighter::Html},
    ChoiceCase{u"/w/app.js", Highlighter::JavaScript},
    ChoiceCase{u"/w/app.jsx", Highlighter::None},
    ChoiceCase{u"/w/q.sql", Highlighter::Sql},
    ChoiceCase{u"/w/form.dfm", Highlighter::Pascal},
    ChoiceCase{u"/w/p.dproj", Highlighter::Pascal},
    ChoiceCase{u"/w/backup.html.pas", Highlighter::Pascal}, // from the last dot
    ChoiceCase{u"/w/README", Highlighter::None},
    ChoiceCase{u"/w/site.html/README", Highlighter::None},  // a dot in a folder is no extension
    ChoiceCase{u"/w/trailing.", Highlighter::None}));

// ---- line styling --------------------------------------------------------------------------

// One letter per byte: D default, C comment, S single-quoted, Q double-quoted, Y symbol,
// N number, 1 2 3 keyword groups.
std::string codes(const QList<StyleRun> &runs)
{
    std::string out;
    for (const StyleRun &run : runs) {
        const char code = "DCSQYN123"[static_cast<int>(run.style)];
        out.append(static_cast<size_t>(run.length), code);
    }
    return out;
}

struct StyleCase {
    Highlighter highlighter;
    const char *line;
    const char *codes;
};

class LineStyling : public ::testing::TestWithParam<StyleCase> {};

TEST_P(LineStyling, StylesEveryByte)
{
    const StyleCase &c = GetParam();
    LineStyler styler(HighlighterDefinition::For(c.highlighter));
    bool inComment = false;
    EXPECT_EQ(codes(styler.styleLine(c.line, inComment)), c.codes) << c.line;
    EXPECT_FALSE(inComment);
}

INSTANTIATE_TEST_SUITE_P(Table, LineStyling, ::testing::Values(
    StyleCase{Highlighter::Html, "<a href=\"x\">", "Y3Y3333YQQQY"},
    StyleCase{Highlighter::Html, "<TABLE width=10>", "Y22222Y22222YNNY"},
    StyleCase{Highlighter::Html, "<Body>&lt", "Y1111Y111"},                 // any case; "&lt" is a word
    StyleCase{Highlighter::Html, "<!-- c --> <p>", "CCCCCCCCCCYY1Y"},
    StyleCase{Highlighter::Html, "x // note", "DYCCCCCCC"},
    StyleCase{Highlighter::Html, "'it' \"<b>\"", "SSSSYQQQQQ"},            // no tags inside strings
    StyleCase{Highlighter::JavaScript, "if (x) { return 'a'; }", "11Y1D1Y1Y111111YSSS1Y1"}, // symbols as keywords
    StyleCase{Highlighter::JavaScript, "y = \"s\"; 42", "DYYYQQQ1YNN"},
    StyleCase{Highlighter::Sql, "select * from t ' note", "111111YYY1111YDYCCCCCC"},
    StyleCase{Highlighter::Sql, "{ c } \"s\" 5", "CCCCCYQQQYN"},
    StyleCase{Highlighter::Sql, "it's", "DDCC"},                             // "'" starts a comment
    StyleCase{Highlighter::Pascal, "x := $FF; {c} 'str'", "DYYYYNNNYYCCCYSSSSS"},
    StyleCase{Highlighter::Pascal, "BEGIN $G1 end.", "11111YDDDY111Y"},     // "$G1" is no number
    StyleCase{Highlighter::None, "if <b> // x", "DDDDDDDDDDD"}));

TEST(LineStyling, BlockCommentsGoOnOverLines)
{
    LineStyler html(HighlighterDefinition::For(Highlighter::Html));
    bool inComment = false;
    EXPECT_EQ(codes(html.styleLine("x <!-- a", inComment)), "DYCCCCCC");
    EXPECT_TRUE(inComment);
    EXPECT_EQ(codes(html.styleLine("<b> still", inComment)), "CCCCCCCCC");
    EXPECT_TRUE(inComment);
    EXPECT_EQ(codes(html.styleLine("b --> <b>", inComment)), "CCCCCYY1Y");
    EXPECT_FALSE(inComment);

    LineStyler pascal(HighlighterDefinition::For(Highlighter::Pascal));
    EXPECT_EQ(codes(pascal.styleLine("{ open", inComment)), "CCCCCC");
    EXPECT_EQ(codes(pascal.styleLine("} end", inComment)), "CY111");
    EXPECT_FALSE(inComment);
}

TEST(HighlighterColours, StylesFollowTheDefinitions)
{
    const HighlighterDefinition html = HighlighterDefinition::For(Highlighter::Html);
    EXPECT_EQ(html.styleOf(StyleId::Comment), (TextStyle{Colour::Silver, false, true}));
    EXPECT_EQ(html.styleOf(StyleId::Keywords1), (TextStyle{Colour::Blue}));
    EXPECT_EQ(html.styleOf(StyleId::Keywords2), (TextStyle{Colour::Olive}));
    EXPECT_EQ(html.styleOf(StyleId::Keywords3), (TextStyle{Colour::Red}));
    EXPECT_EQ(html.styleOf(StyleId::Symbol), (TextStyle{Colour::Teal}));
    EXPECT_EQ(html.keywordGroups[0].words.size(), 107);
    const HighlighterDefinition js = HighlighterDefinition::For(Highlighter::JavaScript);
    EXPECT_EQ(js.styleOf(StyleId::Keywords1), (TextStyle{Colour::Fuchsia, true}));
    EXPECT_EQ(js.styleOf(StyleId::SingleQuoted), (TextStyle{Colour::Green}));
    EXPECT_EQ(js.styleOf(StyleId::DoubleQuoted), (TextStyle{Colour::Teal}));
    EXPECT_EQ(js.styleOf(StyleId::Number), (TextStyle{Colour::Navy, true}));
    const HighlighterDefinition sql = HighlighterDefinition::For(Highlighter::Sql);
    EXPECT_EQ(sql.styleOf(StyleId::Comment), (TextStyle{Colour::Navy, false, true}));
    EXPECT_EQ(sql.styleOf(StyleId::Keywords1), (TextStyle{Colour::Green}));
    EXPECT_EQ(sql.styleOf(StyleId::Number), (TextStyle{Colour::Fuchsia, true}));
    EXPECT_EQ(sql.keywordGroups[0].words.size(), 47);
    const HighlighterDefinition pascal = HighlighterDefinition::For(Highlighter::Pascal);
    EXPECT_EQ(pascal.styleOf(StyleId::Keywords1), (TextStyle{Colour::Green, true}));
    EXPECT_EQ(pascal.styleOf(StyleId::Symbol), (TextStyle{Colour::Red}));
    EXPECT_EQ(pascal.styleOf(StyleId::SingleQuoted), (TextStyle{Colour::Blue}));
    EXPECT_EQ(pascal.keywordGroups[0].words.size(), 43);
}

// ---- web addresses -------------------------------------------------------------------------

TEST(WebAddressMarking, FindsAddressesWithoutTheSentenceAroundThem)
{
    EXPECT_EQ(FindWebAddresses("see http://example.com/x."), (QList<WebAddress>{{4, 20}}));
    EXPECT_EQ(FindWebAddresses("<a href=\"https://a.b/c?d=1\">"), (QList<WebAddress>{{9, 17}}));
    EXPECT_EQ(FindWebAddresses("WWW.Example.org, ftp://h/f"), (QList<WebAddress>{{0, 15}, {17, 9}}));
    EXPECT_EQ(FindWebAddresses("mailto:a@b.c>"), (QList<WebAddress>{{0, 12}}));
    EXPECT_TRUE(FindWebAddresses("xwww.a.com").isEmpty());  // inside a word
    EXPECT_TRUE(FindWebAddresses("www. and http://").isEmpty());
}

// ---- the settings file ---------------------------------------------------------------------

TEST(EditorSettingsFile, LivesBesideTheProgramsFolder)
{
    EXPECT_EQ(EditorSettings::FolderFor(u"/home/u/.local/share/Holmvik/Velmora/"_s),
              u"/home/u/.local/share/Holmvik/HolmvikEditor/"_s);
}

TEST(EditorSettingsFile, MissingFileGivesDefaultsAndCreatesTheFolder)
{
    TestEnvironment env;
    EditorSettings settings(env.root() + u"Holmvik/HolmvikEditor/"_s);
    settings.statusBar = false;
    settings.wordWrap = false;
    settings.load();
    EXPECT_TRUE(settings.statusBar);
    EXPECT_TRUE(settings.wordWrap);
    EXPECT_TRUE(QFileInfo(env.root() + u"Holmvik/HolmvikEditor"_s).isDir());
    EXPECT_FALSE(QFileInfo::exists(settings.filePath()));
}

TEST(EditorSettingsFile, WritesBothKeysAndReadsAnyNumberOtherThanZeroAsTrue)
{
    TestEnvironment env;
    const QString folder = env.root() + u"HolmvikEditor/"_s;
    EditorSettings settings(folder);
    settings.load();
    settings.statusBar = false;
    ASSERT_TRUE(settings.save());
    EXPECT_EQ(TestEnvironment::readFile(folder + u"settings.ini"_s), QByteArray("[SETTINGS]\r\nStatusBar=0\r\nWordwrap=1\r\n\r\n"));

    env.writeFile(folder + u"settings.ini"_s, "[SETTINGS]\r\nStatusBar=5\r\nWordwrap=0\r\n");
    EditorSettings again(folder);
    again.load();
    EXPECT_TRUE(again.statusBar);
    EXPECT_FALSE(again.wordWrap);
}

// ---- line ends and encodings ---------------------------------------------------------------

struct RoundTripCase {
    QByteArray file;
    bool utf8;
    QByteArray saved; // written back unchanged
};

class EditorLineEnds : public ::testing::TestWithParam<RoundTripCase> {};

// A file saved without a change keeps every byte: its line ends, its final line break or the
// lack of one, its encoding.
TEST_P(EditorLineEnds, UnchangedTextIsSavedByteForByte)
{
    EditorText::Loaded loaded = EditorText::Decode(GetParam().file);
    EXPECT_EQ(loaded.utf8, GetParam().utf8);
    EXPECT_EQ(EditorText::Encode(loaded.text, loaded), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(Table, EditorLineEnds, ::testing::Values(
    RoundTripCase{"a\nb\n", true, "a\nb\n"},
    RoundTripCase{"a\rb", true, "a\rb"},
    RoundTripCase{"a\n\n", true, "a\n\n"},
    RoundTripCase{"x\r", true, "x\r"},
    RoundTripCase{"a\r\n\r\nb\r\n", true, "a\r\n\r\nb\r\n"},
    RoundTripCase{"a\r\nb\nc", true, "a\r\nb\nc"},
    RoundTripCase{"", true, ""},
    RoundTripCase{"f\xFCr\n", false, "f\xFCr\n"},              // Windows-1252 stays single bytes
    RoundTripCase{"f\xC3\xBCr\n", true, "f\xC3\xBCr\n"}));      // UTF-8 stays UTF-8

// The bytes the editor hands to its text component are Decode's text in UTF-8, whatever the
// file's line ends and encoding; what the same file gives is the same, piece by piece.
TEST_P(EditorLineEnds, TheShownBytesAreTheDecodedText)
{
    const EditorText::Loaded decoded = EditorText::Decode(GetParam().file);
    const QByteArray shown = EditorText::ShownUtf8(EditorText::Read(GetParam().file));
    EXPECT_EQ(shown.left(EditorText::ShownSize(shown)), decoded.text.toUtf8());
    QByteArray pieces;
    for (qsizetype at = 0; at < EditorText::ShownSize(shown);) {
        const qsizetype end = EditorText::PieceEnd(shown, at, 2);
        ASSERT_GT(end, at);
        pieces += shown.mid(at, end - at);
        at = end;
    }
    EXPECT_EQ(pieces, decoded.text.toUtf8());
}

TEST(EditorLineEnds, PiecesEndAfterALineEndAndNeverInsideACharacter)
{
    const QByteArray shown = "ab\r\ncd\r\nef";
    EXPECT_EQ(EditorText::PieceEnd(shown, 0, 6), 4) << "after the first line end";
    EXPECT_EQ(EditorText::PieceEnd(shown, 4, 100), 10);
    EXPECT_EQ(EditorText::PieceEnd("ab\r\n", 0, 100), 2) << "the final line end is not shown";
    const QByteArray umlauts = "\xC3\xBC\xC3\xBC\xC3\xBC";
    EXPECT_EQ(EditorText::PieceEnd(umlauts, 0, 3), 2) << "not inside the second character";
    EXPECT_EQ(EditorText::PieceEnd(umlauts, 2, 3), 4);
}

TEST(EditorLineEnds, NewLinesTakeTheFilesLineEnd)
{
    EditorText::Loaded loaded = EditorText::Decode("a\nb\n");
    EXPECT_EQ(EditorText::Encode(u"a\r\nnew\r\nb"_s, loaded), QByteArray("a\nnew\nb\n"));
    EditorText::Loaded empty = EditorText::Decode("");
    EXPECT_EQ(EditorText::Encode(u"x\r\ny"_s, empty), QByteArray("x\r\ny\r\n"));
}

// A file that mixes UTF-8 and Windows-1252 lines reads as Windows-1252 as a whole. Lines the
// user did not touch are written with the bytes they were read from; only the lines typed or
// changed are encoded, each on its own.
// A file that mixes UTF-8 and Windows-1252 lines reads as Windows-1252 as a whole. Lines the
// user did not touch are written with the bytes they were read from; only the lines typed or
// changed are encoded.
TEST(EditorLineEnds, UntouchedLinesKeepTheirBytesInAMixedFile)
{
    const QByteArray file = "gr\xC3\xBC\xC3\x9F (utf-8)\r\nf\xFCr (1252)\r\n\x81\x8D odd bytes\r\nlast";
    EditorText::Loaded loaded = EditorText::Decode(file);
    ASSERT_FALSE(loaded.utf8);
    QStringList lines = loaded.text.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 4);

    // Saved as it is: every byte as it was.
    EditorText::Loaded same = loaded;
    EXPECT_EQ(EditorText::Encode(loaded.text, same), file);

    // The Windows-1252 line deleted, a line typed with characters Windows-1252 holds.
    lines.removeAt(1);
    lines.insert(2, u"typed \u20AC \u00E4"_s);
    EditorText::Loaded edited = loaded;
    const QByteArray saved = EditorText::Encode(lines.join(u"\r\n"_s), edited);
    EXPECT_EQ(saved, QByteArray("gr\xC3\xBC\xC3\x9F (utf-8)\r\n\x81\x8D odd bytes\r\ntyped \x80 \xE4\r\nlast"));
    // The next save starts from what was written.
    EXPECT_EQ(EditorText::Encode(lines.join(u"\r\n"_s), edited), saved);
}

// A character that Windows-1252 lacks, typed into a Windows-1252 file, is named before the save
// (the editor asks); the file is then written as UTF-8 as a whole, never half in one encoding:
// the untouched "Ä" of the changed line and the Windows-1252 lines are converted, a line that
// was UTF-8 already stays as it was.
TEST(EditorLineEnds, TypedCharactersThatDoNotFitWindows1252MakeTheWholeFileUtf8)
{
    EditorText::Loaded loaded = EditorText::Decode("<p>\xC4rger</p>\r\ngr\xC3\xBC\xC3\x9F\r\nf\xFCr\r\n");
    ASSERT_FALSE(loaded.utf8);
    const QString typed = loaded.text.replace(u"</p>"_s, u"</p>\u2192"_s);
    EXPECT_EQ(EditorText::Unfit(typed, loaded), u"\u2192"_s);
    EXPECT_EQ(EditorText::Unfit(u"\u20AC \u00E4"_s, loaded), QString()) << "the euro sign has a byte";
    EXPECT_EQ(EditorText::Unfit(u"\U0001F600 \U0001F600 \u2192"_s, loaded), u"\U0001F600\u2192"_s) << "each once, whole";
    const QByteArray saved = EditorText::Encode(typed, loaded);
    EXPECT_EQ(saved, QByteArray("<p>\xC3\x84rger</p>\xE2\x86\x92\r\ngr\xC3\xBC\xC3\x9F\r\nf\xC3\xBCr\r\n"));
    EXPECT_TRUE(loaded.utf8) << "the file is UTF-8 from now on";
    EXPECT_EQ(EditorText::Unfit(typed, EditorText::Decode("x\n")), QString()) << "a UTF-8 file holds everything";
}

// ---- byte identity over the shapes of files the editor meets ---------------------------------

struct Shape {
    const char *name;
    QByteArray bytes;
    bool editable; // false: shown read-only, never saved
};

void PrintTo(const Shape &shape, std::ostream *os) { *os << shape.name; }

QByteArray megabyteLine()
{
    QByteArray line(1024 * 1024, 'a');
    for (qsizetype i = 0; i < line.size(); i += 97)
        line[i] = ' ';
    return line;
}

class ByteIdentity : public ::testing::TestWithParam<Shape> {};

// Opened and saved without an edit: every byte as it was.
TEST_P(ByteIdentity, OpenAndSaveWithoutAnEditKeepsEveryByte)
{
    const Shape &shape = GetParam();
    EditorText::Loaded loaded = EditorText::Decode(shape.bytes);
    EXPECT_EQ(loaded.canBeSaved(), shape.editable);
    if (!shape.editable)
        return;
    EXPECT_EQ(EditorText::Unfit(loaded.text, loaded), QString());
    EXPECT_EQ(EditorText::Encode(loaded.text, loaded), shape.bytes);
    // What the component is given holds the whole text, a NUL byte or a megabyte line included.
    const QByteArray shown = EditorText::ShownUtf8(EditorText::Read(shape.bytes));
    EXPECT_EQ(shown.left(EditorText::ShownSize(shown)), EditorText::Decode(shape.bytes).text.toUtf8());
}

// One character typed after the first character of the text: the file changes by exactly that
// character's bytes, at that place.
TEST_P(ByteIdentity, AOneCharacterEditChangesExactlyItsBytes)
{
    const Shape &shape = GetParam();
    EditorText::Loaded loaded = EditorText::Decode(shape.bytes);
    const QString text = loaded.text;
    if (!shape.editable || text.isEmpty())
        return;
    for (const QString &typed : {u"x"_s, u"\u00E4"_s}) {
        EditorText::Loaded file = loaded;
        const QByteArray saved = EditorText::Encode(text.left(1) + typed + text.mid(1), file);
        const QByteArray typedBytes = file.utf8 ? typed.toUtf8() : QByteArray(typed == u"x"_s ? "x" : "\xE4");
        const qsizetype at = (file.utf8Bom ? 3 : 0) + (file.utf8 ? text.left(1).toUtf8().size() : 1);
        EXPECT_EQ(saved, shape.bytes.left(at) + typedBytes + shape.bytes.mid(at)) << typed.toStdString();
    }
}

// The text the editor shows of a file it cannot save unchanged is all of it, not what comes
// before the first NUL.
TEST(ByteIdentity, AFileThatCannotBeSavedIsShownWhole)
{
    const QByteArray nul("old\r\n\0\x01 binary old\r\n", 20);
    const QByteArray shown = EditorText::ShownUtf8(EditorText::Read(nul));
    EXPECT_EQ(shown, nul);
    const QByteArray utf16("\xFF\xFEl\0i\0n\0e\0\r\0\n\0\xE4\0", 16);
    const EditorText::Loaded wide = EditorText::Decode(utf16);
    EXPECT_EQ(wide.shape, ByteShape::Kind::WideText);
    EXPECT_EQ(wide.text, u"line\r\n\u00E4"_s);
    EXPECT_EQ(EditorText::ShownUtf8(EditorText::Read(utf16)), wide.text.toUtf8());
}

INSTANTIATE_TEST_SUITE_P(Corpus, ByteIdentity, ::testing::Values(
    Shape{"crlf", "<p>a</p>\r\n<p>b</p>\r\n", true},
    Shape{"lf", "<p>a</p>\n<p>b</p>\n", true},
    Shape{"cr", "<p>a</p>\r<p>b</p>\r", true},
    Shape{"mixed", "a\r\nb\nc\rd\r\n", true},
    Shape{"no final break", "a\r\nb", true},
    Shape{"utf8 bom", "\xEF\xBB\xBF<p>\xC3\xA4</p>\r\nzwei\r\n", true},
    Shape{"utf8 bom only", "\xEF\xBB\xBF", true},
    Shape{"windows 1252", "<p>\xC4rger \x80 \x81</p>\r\n", true},
    Shape{"invalid utf8", "a\xC3\r\n\xE2\x82 b\xFF\r\n", true},
    Shape{"megabyte single line", megabyteLine(), true},
    Shape{"nul inside", QByteArray("ab\r\n\0cd\r\n", 9), false},
    Shape{"utf16 le", QByteArray("\xFF\xFE" "a\0b\0\r\0\n\0", 10), false},
    Shape{"utf16 be", QByteArray("\xFE\xFF\0a\0b\0\r\0\n", 10), false},
    Shape{"utf32 le", QByteArray("\xFF\xFE\0\0a\0\0\0", 8), false}),
    [](const ::testing::TestParamInfo<Shape> &info) {
        std::string name;
        for (const char *p = info.param.name; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(EditorStatusTexts, CountCharactersWithoutLineBreaks)
{
    EXPECT_EQ(EditorText::CountsText(EditorText::Count("ab\r\ncd")), u" 4chars   2 lines"_s);
    EXPECT_EQ(EditorText::CountsText(EditorText::Count("ab\r\n")), u" 2chars   1 lines"_s);
    EXPECT_EQ(EditorText::CountsText(EditorText::Count("\r\n\r\n")), u" 0chars   2 lines"_s);
    EXPECT_EQ(EditorText::CountsText(EditorText::Count(QByteArrayView())), u" 0chars   0 lines"_s);
    EXPECT_EQ(EditorText::CountsText(EditorText::Count("\xC3\xBC\xE2\x82\xAC\nx")), u" 3chars   2 lines"_s) << "umlaut and euro sign count once";
    EXPECT_EQ(EditorText::CaretText(0, 4), u" Ln: 0   Col: 4"_s);
}

} // namespace
