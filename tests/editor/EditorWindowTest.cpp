// The built-in editor in the running program: colouring by extension, the save question,
// Save and line ends, the settings file, the status line, find and replace, printing.
#include "AppFixture.h"
#include "QtPrinters.h"
#include "editor/DefinitionLexer.h"
#include "editor/EditorFindForm.h"
#include "editor/EditorForm.h"
#include "editor/EditorText.h"
#include "editor/HighlighterDefinition.h"

#include <Qsci/qsciprinter.h>
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class EditorWindow : public AppFixture {
protected:
    void SetUp() override { existingProfile(); }
    bool startEditor()
    {
        if (!start())
            return false;
        main().siteManagerTimer().stop();
        prompts.clear();
        return true;
    }
    EditorForm &editor() { return *starter->dialogs().editor; }
    QsciScintilla &text() { return *editor().textEdit(); }
    QString file(const QString &name, const QByteArray &content) { return env.writeFile(u"work/"_s + name, content); }
    void typeAtStart(const QString &typed)
    {
        text().setCursorPosition(0, 0);
        text().insert(typed);
    }
    // Shown, active and with the keyboard focus in the text, as when the user types.
    void showFocused()
    {
        editor().show();
        editor().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor()));
        text().setFocus();
        QCoreApplication::processEvents();
    }
    QAction *menuItem(const char *name) { return editor().findChild<QAction *>(QString::fromLatin1(name)); }
    QToolButton *toolButton(const char *name) { return editor().findChild<QToolButton *>(QString::fromLatin1(name)); }
    QStringList menuTitles()
    {
        QStringList titles;
        for (QAction *action : editor().menuBar()->actions())
            titles.append(action->text());
        return titles;
    }
    int styleAt(long position)
    {
        text().SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
        return int(text().SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, static_cast<unsigned long>(position)));
    }
    // The document as the component holds it, NUL bytes included (text() ends at the first).
    QByteArray documentBytes()
    {
        const long length = text().SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
        const auto *buffer = reinterpret_cast<const char *>(text().SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
        return QByteArray(buffer, length);
    }
    QString editorSettingsFile() const { return env.root() + u"data/Holmvik/HolmvikEditor/settings.ini"_s; }
};

TEST_F(EditorWindow, IsCreatedEmptyAtStart)
{
    ASSERT_TRUE(startEditor());
    EXPECT_EQ(editor().windowTitle(), u"Editor"_s);
    EXPECT_TRUE(text().text().isEmpty());
    EXPECT_FALSE(editor().isVisible());
    EXPECT_TRUE(QFileInfo(env.root() + u"data/Holmvik/HolmvikEditor"_s).isDir());
}

TEST_F(EditorWindow, ChoosesTheColouringByTheExactExtension)
{
    ASSERT_TRUE(startEditor());
    const QString upper = file(u"index.HTML"_s, "<b>x</b>\n");
    ASSERT_TRUE(editor().Load(upper));
    EXPECT_EQ(editor().highlighter(), Highlighter::None);
    EXPECT_EQ(styleAt(1), int(StyleId::Default));

    const QString html = file(u"index.html"_s, "<a href=\"x\">\n<!-- one\ntwo -->\n");
    ASSERT_TRUE(editor().Load(html));
    EXPECT_EQ(editor().highlighter(), Highlighter::Html);
    EXPECT_STREQ(text().lexer()->language(), "HTML");
    EXPECT_EQ(editor().windowTitle(), u"index.html - Editor"_s);
    EXPECT_EQ(styleAt(1), int(StyleId::Keywords3));      // "a"
    EXPECT_EQ(styleAt(8), int(StyleId::DoubleQuoted));
    const long twoPosition = text().positionFromLineIndex(2, 0);
    EXPECT_EQ(styleAt(twoPosition), int(StyleId::Comment)); // the comment goes on into line 3
    EXPECT_EQ(text().lexer()->color(int(StyleId::Keywords1)), QColor(0, 0, 255));
    EXPECT_TRUE(text().lexer()->font(int(StyleId::Comment)).italic());

    ASSERT_TRUE(editor().Load(file(u"page.inc"_s, "begin end\n")));
    EXPECT_EQ(editor().highlighter(), Highlighter::Pascal);
    EXPECT_EQ(styleAt(0), int(StyleId::Keywords1));
    EXPECT_TRUE(text().lexer()->font(int(StyleId::Keywords1)).bold());
}

TEST_F(EditorWindow, MarksWebAddressesInEveryColouring)
{
    ASSERT_TRUE(startEditor());
    ASSERT_TRUE(editor().Load(file(u"notes"_s, "see www.example.org now\n")));
    text().SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
    auto marked = [this](int indicator, unsigned long position) {
        return text().SendScintilla(QsciScintillaBase::SCI_INDICATORVALUEAT, static_cast<unsigned long>(indicator),
                                    static_cast<long>(position)) != 0;
    };
    EXPECT_TRUE(marked(DefinitionLexer::AddressTextIndicator, 4));
    EXPECT_TRUE(marked(DefinitionLexer::AddressLineIndicator, 18));
    EXPECT_FALSE(marked(DefinitionLexer::AddressLineIndicator, 2));
    EXPECT_FALSE(marked(DefinitionLexer::AddressLineIndicator, 20));
}

TEST_F(EditorWindow, SavingKeepsTheFilesLineEndsAndEndsTheUndoHistory)
{
    ASSERT_TRUE(startEditor());
    const QString path = file(u"unix.txt"_s, "a\nb");
    ASSERT_TRUE(editor().Load(path));
    EXPECT_FALSE(editor().isModified());
    typeAtStart(u"x"_s);
    EXPECT_TRUE(editor().isModified());
    toolButton("spbSave")->click();
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("xa\nb")) << "only the typed x is new";
    EXPECT_TRUE(editor().savedReport());
    EXPECT_FALSE(editor().isModified());
    EXPECT_FALSE(text().isUndoAvailable());

    editor().show();
    EXPECT_FALSE(editor().savedReport()) << "showing the window clears the report";
    editor().close();
    EXPECT_FALSE(editor().isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

TEST_F(EditorWindow, SavingKeepsTheFilesCharacterSet)
{
    ASSERT_TRUE(startEditor());
    const QString ansi = file(u"ansi.txt"_s, "f\xFCr\n");
    ASSERT_TRUE(editor().Load(ansi));
    EXPECT_EQ(text().text(), u"für"_s);
    typeAtStart(u"\u00C4"_s);
    ASSERT_TRUE(editor().save());
    EXPECT_EQ(TestEnvironment::readFile(ansi), QByteArray("\xC4" "f\xFCr\n"));

    const QString utf8 = file(u"utf8.txt"_s, "f\xC3\xBCr\r");
    ASSERT_TRUE(editor().Load(utf8));
    typeAtStart(u"\u00C4"_s);
    ASSERT_TRUE(editor().save());
    EXPECT_EQ(TestEnvironment::readFile(utf8), QByteArray("\xC3\x84" "f\xC3\xBCr\r"));
}

// A file the editor cannot save unchanged (a NUL byte, UTF-16) is shown whole and read-only,
// with a line above the text that says why; Save writes nothing.
TEST_F(EditorWindow, AFileWithNulBytesOrInUtf16IsShownWholeAndReadOnly)
{
    ASSERT_TRUE(startEditor());
    struct Case {
        QString name;
        QByteArray bytes;
        QString shown;
        QString line;
    };
    const QList<Case> cases = {
        {u"datafile"_s, QByteArray("old\r\n\0\x01 binary old\r\n", 20), u"old\r\n"_s + QChar(0) + u"\u0001 binary old"_s,
         u"This file holds NUL bytes (a binary file): the editor shows it read-only, because saving it as text would "
         "change it."_s},
        {u"wide.txt"_s, QByteArray("\xFF\xFEl\0i\0n\0e\0\r\0\n\0\xE4\0", 16), u"line\r\n\u00E4"_s,
         u"This file is UTF-16 or UTF-32 text: the editor shows it read-only, because saving it would change its bytes."_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = file(c.name, c.bytes);
        ASSERT_TRUE(editor().Load(path));
        EXPECT_EQ(documentBytes(), c.shown.toUtf8());
        EXPECT_TRUE(text().isReadOnly());
        EXPECT_FALSE(editor().readOnlyLine()->isHidden());
        EXPECT_EQ(editor().readOnlyLine()->text(), c.line);
        text().insert(u"x"_s);
        prompts.clear();
        EXPECT_FALSE(editor().save());
        EXPECT_EQ(prompts.shown, QStringList{u"information: "_s + c.line + u" Nothing was saved."_s});
        EXPECT_EQ(TestEnvironment::readFile(path), c.bytes);
    }
    // The next text file is editable again, without the line.
    ASSERT_TRUE(editor().Load(file(u"plain.txt"_s, "a\n")));
    EXPECT_FALSE(text().isReadOnly());
    EXPECT_TRUE(editor().readOnlyLine()->isHidden());
}

// A character the file's encoding (Windows-1252) lacks is named in a question at save: No goes
// back to the text and writes nothing, Yes writes the whole file as UTF-8.
TEST_F(EditorWindow, ACharacterTheEncodingLacksIsAskedAboutAtSave)
{
    ASSERT_TRUE(startEditor());
    const QByteArray original("<p>\xC4rger</p>\r\n");
    const QString path = file(u"ansi.html"_s, original);
    ASSERT_TRUE(editor().Load(path));
    text().setCursorPosition(0, 12);
    text().insert(u"\u2192"_s);
    const QString question = u"confirm: The file is written in Windows-1252, which cannot hold these characters: \u2192\n"
                             "Save the whole file as UTF-8? (No goes back to the text; nothing is saved.)"_s;
    prompts.confirmAnswers = {false};
    EXPECT_FALSE(editor().save());
    EXPECT_EQ(prompts.shown, QStringList{question});
    EXPECT_EQ(TestEnvironment::readFile(path), original);
    EXPECT_TRUE(editor().isModified()) << "the text is still there to change";

    prompts.clear();
    prompts.confirmAnswers = {true};
    EXPECT_TRUE(editor().save());
    EXPECT_EQ(prompts.shown, QStringList{question});
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("<p>\xC3\x84rger</p>\xE2\x86\x92\r\n"));
    EXPECT_EQ(text().text(), u"<p>\u00C4rger</p>\u2192"_s);
    // From now on a UTF-8 file: the next save asks nothing.
    prompts.clear();
    text().insert(u"\u2192"_s);
    EXPECT_TRUE(editor().save());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

// The UTF-8 byte order mark is not shown and stays when the first line is edited.
TEST_F(EditorWindow, TheUtf8ByteOrderMarkStaysWhenTheFirstLineIsEdited)
{
    ASSERT_TRUE(startEditor());
    const QString path = file(u"bom.php"_s, "\xEF\xBB\xBF<?php\r\necho 1;\r\n");
    ASSERT_TRUE(editor().Load(path));
    EXPECT_EQ(text().text(), u"<?php\r\necho 1;"_s);
    typeAtStart(u"x"_s);
    ASSERT_TRUE(editor().save());
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("\xEF\xBB\xBFx<?php\r\necho 1;\r\n"));
}

TEST_F(EditorWindow, TheMenuItemNewEmptiesWithoutAskingWhileCtrlNAndTheToolBarAsk)
{
    ASSERT_TRUE(startEditor());
    const QString path = file(u"a.txt"_s, "one\n");
    ASSERT_TRUE(editor().Load(path));
    typeAtStart(u"x"_s);
    menuItem("New1")->trigger();
    EXPECT_TRUE(text().text().isEmpty());
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(editor().filePath(), path) << "the file path stays";

    ASSERT_TRUE(editor().Load(path));
    typeAtStart(u"x"_s);
    prompts.threeWayAnswers = {UserPrompts::Answer::Abort};
    toolButton("spbNew")->click();
    EXPECT_EQ(prompts.shown, QStringList{u"askYesNoAbort: Save changes?\n"_s + path});
    EXPECT_EQ(text().text(), u"xone"_s) << "Abort keeps the text";

    prompts.clear();
    prompts.threeWayAnswers = {UserPrompts::Answer::No};
    editor().newFileAsking();
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(text().text().isEmpty());
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("one\n")) << "No saves nothing";

    ASSERT_TRUE(editor().Load(path));
    typeAtStart(u"y"_s);
    prompts.threeWayAnswers = {UserPrompts::Answer::Yes};
    editor().newFileAsking();
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("yone\n")) << "Yes saves first";
    EXPECT_TRUE(text().text().isEmpty());
}

TEST_F(EditorWindow, ClosingWithChangesAsksAndAbortKeepsTheEditorOpen)
{
    ASSERT_TRUE(startEditor());
    const QString path = file(u"a.txt"_s, "one\n");
    ASSERT_TRUE(editor().Load(path));
    editor().show();
    typeAtStart(u"x"_s);
    prompts.threeWayAnswers = {UserPrompts::Answer::Abort};
    editor().close();
    EXPECT_TRUE(editor().isVisible());
    EXPECT_EQ(text().text(), u"xone"_s);

    prompts.threeWayAnswers = {UserPrompts::Answer::Abort};
    editor().close();
    EXPECT_TRUE(editor().isVisible());
    EXPECT_EQ(prompts.shown.size(), 2) << "every close asks again";

    prompts.threeWayAnswers = {UserPrompts::Answer::No};
    menuItem("Exit1")->trigger();
    EXPECT_FALSE(editor().isVisible());
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("one\n"));
}

TEST_F(EditorWindow, OpenAsksFirstAndLoadsTheChosenFile)
{
    ASSERT_TRUE(startEditor());
    const QString first = file(u"first.txt"_s, "1\n");
    const QString second = file(u"second.sql"_s, "select\n");
    ASSERT_TRUE(editor().Load(first));
    typeAtStart(u"x"_s);
    prompts.threeWayAnswers = {UserPrompts::Answer::Abort};
    menuItem("Open1")->trigger();
    EXPECT_EQ(prompts.shown.size(), 1) << "Abort: no file dialog";

    prompts.clear();
    prompts.threeWayAnswers = {UserPrompts::Answer::No};
    prompts.fileAnswers = {second};
    toolButton("spbOpen")->click();
    EXPECT_EQ(prompts.shown.value(1), u"openFile: Open"_s);
    EXPECT_EQ(prompts.lastStartFolder, first) << "the dialog starts at the current file";
    EXPECT_EQ(prompts.lastFilter, u"All files (*)"_s);
    EXPECT_EQ(editor().filePath(), second);
    EXPECT_EQ(editor().highlighter(), Highlighter::Sql);
    EXPECT_EQ(editor().windowTitle(), u"second.sql - Editor"_s);
}

TEST_F(EditorWindow, FilesThatCannotBeReadOrWrittenAreReportedAndChangeNothing)
{
    ASSERT_TRUE(startEditor());
    const QString path = file(u"sub/a.txt"_s, "one\n");
    ASSERT_TRUE(editor().Load(path));
    typeAtStart(u"x"_s);
    EXPECT_FALSE(editor().Load(env.root() + u"missing.txt"_s));
    EXPECT_EQ(prompts.shown, QStringList{u"error: The file cannot be read: "_s + env.root() + u"missing.txt"_s});
    EXPECT_EQ(text().text(), u"xone"_s);
    EXPECT_EQ(editor().filePath(), path);

    QDir(env.root() + u"work/sub"_s).removeRecursively();
    prompts.clear();
    EXPECT_FALSE(editor().save());
    EXPECT_EQ(prompts.shown, QStringList{u"error: The file cannot be written: "_s + path});
    EXPECT_FALSE(editor().savedReport());
    EXPECT_TRUE(editor().isModified());
}

TEST_F(EditorWindow, SaveAsDisabledByTheCallerDoesNothing)
{
    ASSERT_TRUE(startEditor());
    ASSERT_TRUE(editor().Load(file(u"a.txt"_s, "one\n")));
    editor().setSaveAsEnabled(false);
    EXPECT_FALSE(menuItem("SaveAs1")->isEnabled());
    showFocused();
    QTest::keyClick(&text(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(editor().saveAs());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(EditorWindow, EnglishTextsOnAnEnglishSystem)
{
    ASSERT_TRUE(startEditor());
    EXPECT_EQ(menuTitles(), (QStringList{u"File"_s, u"Edit"_s, u"Format"_s, u"View"_s}));
    EXPECT_EQ(menuItem("New1")->text(), u"New\tCtrl+N"_s);
    EXPECT_EQ(menuItem("SaveAs1")->text(), u"Save as...\tCtrl+Alt+S"_s);
    EXPECT_EQ(menuItem("SearchAndReplace1")->text(), u"Search and  Replace\tCtrl+H"_s);
    EXPECT_EQ(menuItem("Exit1")->text(), u"Exit"_s);
    EXPECT_EQ(menuItem("Statusline1")->text(), u"Status line"_s);
    EXPECT_EQ(toolButton("spbNew")->toolTip(), u"New file"_s);
    EXPECT_EQ(toolButton("SpeedButton2")->toolTip(), u"Search and replace"_s);
}

// The editor speaks the program's language, whatever the system's, and follows a switch at once:
// menus, keys, tool tips, status line, the search windows and the save question.
TEST_F(EditorWindow, TheEditorFollowsTheProgramsLanguage)
{
    platform.german = true; // the program itself runs in English (LanguageIsSet.ini)
    ASSERT_TRUE(startEditor());
    ASSERT_FALSE(context().language.isGerman());
    EXPECT_EQ(menuTitles(), (QStringList{u"File"_s, u"Edit"_s, u"Format"_s, u"View"_s}));
    EXPECT_EQ(menuItem("Open1")->text(), u"Open\tCtrl+O"_s);

    const QString path = file(u"a.txt"_s, "one\n");
    ASSERT_TRUE(editor().Load(path));
    editor().showFind();
    EXPECT_EQ(editor().findForm()->windowTitle(), u"Search"_s);
    editor().findForm()->hide();

    context().language.setCurrent(Language::German);
    EXPECT_EQ(menuTitles(), (QStringList{u"Datei"_s, u"Bearbeiten"_s, u"Format"_s, u"Ansicht"_s}));
    EXPECT_EQ(menuItem("New1")->text(), u"Neu\tStrg+N"_s);
    EXPECT_EQ(menuItem("Open1")->text(), u"Öffnen\tStrg+O"_s);
    EXPECT_EQ(menuItem("SaveAs1")->text(), u"Speichern unter...\tStrg+Alt+S"_s);
    EXPECT_EQ(menuItem("SearchAndReplace1")->text(), u"Suchen und  Ersetzen\tStrg+H"_s);
    EXPECT_EQ(menuItem("Undo1")->text(), u"Rückgängig\tStrg+Z"_s);
    EXPECT_EQ(menuItem("Wordwrap1")->text(), u"Zeilenumbruch\tStrg+W"_s);
    EXPECT_EQ(menuItem("Exit1")->text(), u"Beenden"_s);
    EXPECT_EQ(menuItem("Statusline1")->text(), u"Status Zeile"_s);
    EXPECT_EQ(toolButton("spbOpen")->toolTip(), u"Datei öffnen"_s);
    EXPECT_EQ(toolButton("SpeedButton2")->toolTip(), u"Suchen und Ersetzen"_s);
    EXPECT_EQ(editor().statusField(0)->text(), u" 3 Zeichen   1 Zeilen"_s);
    EXPECT_EQ(editor().statusField(1)->text(), u" Zeile: 0   Spalte: 0"_s);
    editor().showFind();
    EXPECT_EQ(editor().findForm()->windowTitle(), u"Suchen"_s);
    editor().findForm()->searchEdit()->setText(u"zzz"_s);
    EXPECT_FALSE(editor().findForm()->findNext());
    EXPECT_EQ(prompts.shown.value(0), u"information: Text nicht gefunden"_s);
    editor().findForm()->hide();

    editor().show();
    typeAtStart(u"x"_s);
    prompts.clear();
    prompts.threeWayAnswers = {UserPrompts::Answer::Abort};
    editor().close();
    EXPECT_EQ(prompts.shown, QStringList{u"askYesNoAbort: Änderungen speichern?\n"_s + path});

    context().language.setCurrent(Language::English);
    EXPECT_EQ(menuItem("Open1")->text(), u"Open\tCtrl+O"_s);
    EXPECT_EQ(toolButton("spbOpen")->toolTip(), u"Open file"_s);
}

// A file of some megabytes goes into the window in pieces: the window is read-only until the
// whole text is in, a save at once writes the whole file byte for byte, and closing during the
// loading stops it.
TEST_F(EditorWindow, ALargeFileGoesInByPiecesAndASaveAtOnceWritesItWhole)
{
    ASSERT_TRUE(startEditor());
    QByteArray content;
    for (int i = 0; content.size() < 3 * 1024 * 1024; ++i)
        content += QByteArray("line ") + QByteArray::number(i) + (i % 3 == 0 ? " f\xFCr\n" : " text\r\n");
    const QString path = file(u"big.txt"_s, content);

    ASSERT_TRUE(editor().Load(path));
    EXPECT_TRUE(editor().isLoading());
    EXPECT_TRUE(text().isReadOnly());
    ASSERT_TRUE(editor().save());
    EXPECT_FALSE(editor().isLoading());
    EXPECT_FALSE(text().isReadOnly());
    const QByteArray saved = TestEnvironment::readFile(path);
    EXPECT_TRUE(saved == content) << "saved " << saved.size() << " of " << content.size() << " bytes";

    ASSERT_TRUE(editor().Load(path));
    editor().show();
    editor().reject();
    EXPECT_FALSE(editor().isLoading()) << "closing stops the loading";
    EXPECT_TRUE(text().text().isEmpty());

    ASSERT_TRUE(editor().Load(path));
    menuItem("New1")->trigger();
    EXPECT_FALSE(editor().isLoading()) << "New stops the loading";
    EXPECT_TRUE(text().text().isEmpty());

    ASSERT_TRUE(editor().Load(path));
    editor().show();
    while (editor().isLoading())
        QCoreApplication::processEvents();
    const QString expected = EditorText::Decode(content).text;
    EXPECT_TRUE(text().text() == expected) << "shown " << text().text().size() << " of " << expected.size();
    EXPECT_FALSE(text().isReadOnly());
    EXPECT_FALSE(editor().isModified()) << "loading is nothing to undo";
    EXPECT_EQ(text().wrapMode(), QsciScintilla::WrapWord) << "word wrap is back on";
    editor().reject();
}

TEST_F(EditorWindow, ViewSettingsAreWrittenAndSurviveARestart)
{
    ASSERT_TRUE(startEditor());
    EXPECT_TRUE(menuItem("Statusline1")->isChecked());
    EXPECT_EQ(text().wrapMode(), QsciScintilla::WrapWord);
    EXPECT_FALSE(QFileInfo::exists(editorSettingsFile()));

    menuItem("Statusline1")->trigger();
    EXPECT_TRUE(editor().statusLine()->isHidden());
    EXPECT_EQ(TestEnvironment::readFile(editorSettingsFile()), QByteArray("[SETTINGS]\r\nStatusBar=0\r\nWordwrap=1\r\n\r\n"));

    showFocused();
    QTest::keyClick(&text(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(text().wrapMode(), QsciScintilla::WrapNone);
    EXPECT_FALSE(menuItem("Wordwrap1")->isChecked());
    QFile::remove(editorSettingsFile());
    editor().close();
    EXPECT_EQ(TestEnvironment::readFile(editorSettingsFile()), QByteArray("[SETTINGS]\r\nStatusBar=0\r\nWordwrap=0\r\n\r\n"))
        << "closing writes both settings";

    EditorForm restarted(context(), nullptr);
    EXPECT_TRUE(restarted.statusLine()->isHidden());
    EXPECT_FALSE(restarted.findChild<QAction *>(u"Statusline1"_s)->isChecked());
    EXPECT_EQ(restarted.textEdit()->wrapMode(), QsciScintilla::WrapNone);
}

TEST_F(EditorWindow, StatusLineShowsCountsCaretAndPath)
{
    ASSERT_TRUE(startEditor());
    const QString path = file(u"a.txt"_s, "ab\ncd\n");
    ASSERT_TRUE(editor().Load(path));
    EXPECT_EQ(editor().statusField(0)->text(), u" 4chars   2 lines"_s);
    EXPECT_EQ(editor().statusField(1)->text(), u" Ln: 0   Col: 0"_s);
    EXPECT_EQ(editor().statusField(2)->text(), u" "_s + path);
    showFocused();
    QTest::keyClick(&text(), Qt::Key_Down);
    QTest::keyClick(&text(), Qt::Key_Right);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor().statusField(1)->text(), u" Ln: 1   Col: 1"_s);
    text().insert(u"xyz"_s);
    EXPECT_EQ(editor().statusField(0)->text(), u" 7chars   2 lines"_s);
}

TEST_F(EditorWindow, FindAndReplaceReportWhenNothingIsFound)
{
    ASSERT_TRUE(startEditor());
    ASSERT_TRUE(editor().Load(file(u"a.txt"_s, "alpha beta\nAlpha\n")));
    showFocused();
    QTest::keyClick(&text(), Qt::Key_F, Qt::ControlModifier);
    EditorFindForm *find = editor().findForm();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    find->searchEdit()->setText(u"alpha"_s);
    EXPECT_TRUE(find->findNext());
    EXPECT_TRUE(find->findNext()) << "case is ignored unless asked for";
    int line = 0;
    int index = 0;
    text().getCursorPosition(&line, &index);
    EXPECT_EQ(line, 1);
    EXPECT_FALSE(find->findNext());
    EXPECT_EQ(prompts.shown, QStringList{u"information: Text Not Found"_s});

    editor().showReplace();
    EditorFindForm *replace = editor().replaceForm();
    ASSERT_NE(replace, nullptr);
    replace->searchEdit()->setText(u"a"_s);
    replace->replaceEdit()->setText(u"o"_s);
    replace->caseCheckBox()->setChecked(true);
    EXPECT_EQ(replace->replaceAll(), 4);
    EXPECT_EQ(text().text(), u"olpho beto\r\nAlpho"_s);
    text().undo();
    EXPECT_EQ(text().text(), u"alpha beta\r\nAlpha"_s) << "replace all is one undo step";
    prompts.clear();
    replace->searchEdit()->setText(u"zzz"_s);
    EXPECT_EQ(replace->replaceAll(), 0);
    EXPECT_EQ(prompts.shown, QStringList{u"information: Text Not Found!"_s});
}

TEST_F(EditorWindow, PrintsTheWholeTextAfterThePrinterSetUp)
{
    ASSERT_TRUE(startEditor());
    ASSERT_TRUE(editor().Load(file(u"a.txt"_s, "printed line\n")));
    const QString pdf = env.root() + u"out.pdf"_s;
    editor().setPrinterSetup([](QPrinter &) { return false; });
    toolButton("SpeedButton3")->click();
    EXPECT_FALSE(QFileInfo::exists(pdf)) << "cancelled set-up prints nothing";

    editor().setPrinterSetup([&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    const int numbers = text().marginWidth(0);
    menuItem("Print1")->trigger();
    EXPECT_TRUE(TestEnvironment::readFile(pdf).startsWith("%PDF"));
    EXPECT_EQ(text().marginWidth(0), numbers);
}

TEST_F(EditorWindow, ModalShowOfAnEditorOpenBesideTheMainWindow)
{
    ASSERT_TRUE(startEditor());
    ASSERT_TRUE(editor().Load(file(u"a.txt"_s, "one\n")));
    editor().showNonBlocking();
    EXPECT_TRUE(editor().isVisible());
    EXPECT_FALSE(editor().isModal());
    bool wasModal = false;
    QTimer::singleShot(0, &editor(), [&] {
        wasModal = editor().isModal() && editor().isVisible();
        editor().close();
    });
    EXPECT_EQ(editor().execModal(), int(QDialog::Rejected));
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(editor().isVisible());
}

} // namespace

// A closed editor keeps no document: Scintilla would go on wrapping and colouring a large
// file in the background (a CPU busy long after the window is gone).
TEST_F(EditorWindow, ClosingReleasesTheDocument)
{
    ASSERT_TRUE(startEditor());
    QByteArray big;
    for (int i = 0; big.size() < 512 * 1024; ++i)
        big += "<p>line " + QByteArray::number(i) + " of a large page http://example.org/</p>\n";
    const QString path = file(u"big.html"_s, big);
    ASSERT_TRUE(editor().Load(path));
    editor().show();
    editor().close();
    EXPECT_FALSE(editor().isVisible());
    EXPECT_EQ(text().length(), 0) << "the document stays loaded after close";
    EXPECT_FALSE(editor().isModified());
    EXPECT_EQ(TestEnvironment::readFile(path), big) << "nothing written";
    EXPECT_TRUE(prompts.shown.isEmpty());
}
