// Every command touches exactly what the user chose. Each row of the table runs one command
// through the main window, offscreen, against pyftpdlib and a local folder, with the names that
// broke commands before (blanks at either end, "%", "*", "[", umlauts, "|" and "§", a file and a
// folder of one name in sibling folders, two files of one name, links out of the tree), and with
// or without a path typed into the path boxes but not entered. Both trees are compared before
// and after: exactly the expected paths change, in exactly the expected way.
#include "ShellServerFixture.h"
#include "TreeSnapshot.h"
#include "WhenShown.h"

#include "app/Options.h"
#include "filter/FilterForm.h"
#include "filter/FilterGridModel.h"
#include "filter/NoWizardFilterFile.h"
#include "shell/FilterWiring.h"
#include "tools/CopyFileToEachDirForm.h"
#include "tools/MultiRenameToolForm.h"
#include "tools/PermissionForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QAbstractItemView>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

enum class Command {
    Delete,        // F8, the question answered Yes
    Rename,        // F6 with the input as the new name
    Permissions,   // F11 with the input as the value
    Recursive,     // F11 with the input as the value and "Recurse in subdirectories"
    Transfer,      // F5: download from the server grid, upload from the local grid
    MultiRename,   // the tools menu's multi rename with the input as the name pattern
    CopyToEachDir, // the tools menu's copy to each folder of the selection, the input (below the
                   // local root) as the file, the queue running at once
    FilterWithout, // F8 with the filter on: "All without" the input "in Filedate", Execute
    FilterEnter,   // F8 with the filter on: Unselect all, tick the first row, "All without" the
                   // input typed and Enter at once, then Enter again
};

struct Case {
    const char *what;
    Command command;
    BrowserSide side;
    const char *serverFolder; // listed in the server grid
    const char *localFolder;  // listed in the local grid, below the local root ("" the root)
    QStringList selection;    // rows of the side's grid
    const char *input;
    // Typed into the server and the local path box (below the local root) but not entered; ""
    // leaves a box as the listing left it.
    const char *typedServer;
    const char *typedLocal;
    QStringList changes; // TreeSnapshot::changes, "S:" the server root, "L:" the local root
    QStringList shown = {}; // the exact prompts, when the row checks them
    bool german = false;    // the program in German, on a German system
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.what;
}

const QDateTime Today(QDate(2026, 12, 11), QTime(10, 0));

class ChosenEntries : public ShellServerFixture, public ::testing::WithParamInterface<Case> {
protected:
    void prepareServer() override
    {
        const auto file = [this](const char *path, const QByteArray &content) { server.writeFile(S(path), content); };
        file("p1/notes.txt", "notes of p1\n");
        file("p2/notes.txt", "notes of p2, longer\n");
        file("site/f1.txt", "f1\n");
        file("site/f2.txt", "f2\n");
        file("site /g.txt", "g in the folder with a blank\n");
        file("site/site", "a file named like its folder\n");
        file("a.txt", "7 bytes");
        file("a.txt ", "twelve bytes");
        file(" lead.txt", "leading blank\n");
        file("pct%20.txt", "%\n");
        file("star*.txt", "*\n");
        file("br[1].txt", "[\n");
        file("umlaut \xC3\xA4\xC3\xB6\xC3\xBC.txt", "umlauts\n");
        file("pipe|name.txt", "|\n");
        file("sect\xC2\xA7name.txt", "\xC2\xA7\n");
        file("d1/item", "a file\n");
        file("d2/item/inner.txt", "in a folder\n");
        file("r/x.txt", "x\n");
        file("r/sub/b.txt", "b, taken\n");
        file("r/taken.txt", "taken\n");
        file("top.txt", "top, taken\n");
        file("www/index.html", "<p>\n");
        file("www/sub/page.html", "<p>page</p>\n");
        file("private/key.txt", "secret\n");
        file("filt/today.txt", "today\n");
        file("filt/old.txt", "old\n");
    }
    void prepareLocal() override
    {
        const auto file = [this](const char *path, const QByteArray &content) { env.writeFile(S("loc/") + S(path), content); };
        file("q1/notes.txt", "local notes of q1\n");
        file("q2/notes.txt", "local notes of q2\n");
        file("b.txt", "7 bytes");
        file("b.txt ", "twelve bytes");
        file("up/new.txt", "new\n");
        file("up/umlaut \xC3\xA4.txt", "\xC3\xA4\n");
        for (const char *name : {"four/1.txt", "four/2.txt", "four/3.txt", "four/4.txt"})
            file(name, "one of four\n");

        // Links out of the tree, fixed modes, and the dates the filter rows look at.
        QFile::link(S("../private"), server.localPath(S("www/shared")));
        QFile::link(S("../private/key.txt"), server.localPath(S("www/key-link")));
        QDirIterator it(server.root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!QFileInfo(path).isSymLink())
                QFile::setPermissions(path, QFileInfo(path).isDir() ? QFile::Permissions(0x7755) : QFile::Permissions(0x6644));
        }
        QFile::setPermissions(server.localPath(S("private")), QFile::Permissions(0x7700));
        QFile::setPermissions(server.localPath(S("private/key.txt")), QFile::Permissions(0x6600));
        setTime(server.localPath(S("filt/today.txt")), Today);
        setTime(server.localPath(S("filt/old.txt")), QDateTime(QDate(2020, 1, 1), QTime(10, 0)));
    }
    static void setTime(const QString &path, const QDateTime &time)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    }

    QMap<QString, TreeSnapshot::Node> snapshot()
    {
        QMap<QString, TreeSnapshot::Node> all = TreeSnapshot::take(server.root(), S("S:"));
        all.insert(TreeSnapshot::take(localRoot, S("L:")));
        return all;
    }

    // Types into a path box as a user does, without Enter, and moves on: the list of
    // suggestions closes.
    static void typeInto(QComboBox *box, const QString &text)
    {
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
        QCompleter *completer = box->completer();
        if (completer && completer->completionMode() != QCompleter::InlineCompletion && completer->popup()->isVisible())
            QTest::keyClick(completer->popup(), Qt::Key_Escape);
    }

    void run(const Case &c);
    void answerFilter(const Case &c);
};

void ChosenEntries::answerFilter(const Case &c)
{
    FilterForm &form = *starter->dialogs().filter;
    whenShown(&form, [&form, c] {
        const auto fire = [&form] { QMetaObject::invokeMethod(&form.evaluationTimer(), "timeout", Qt::DirectConnection); };
        fire(); // the list of the window's opening
        auto *without = form.findChild<QLineEdit *>(S("WithoutTermEdit"));
        form.findChild<QComboBox *>(S("WithoutTermDirComboBox"))->setCurrentIndex(2); // "in Filedate"
        if (c.command == Command::FilterWithout) {
            without->setText(S(c.input));
            fire();
            form.findChild<QPushButton *>(S("ExecuteQueueBitBtn"))->click();
            return;
        }
        fire();
        form.findChild<QPushButton *>(S("UnselectAllBitBtn"))->click();
        form.grid().setTicked(0, true);
        without->setFocus();
        QTest::keyClicks(without, S(c.input));
        QTest::keyClick(without, Qt::Key_Return);
        if (form.isVisible())
            QTest::keyClick(without, Qt::Key_Return);
    });
}

void ChosenEntries::run(const Case &c)
{
    if (c.german) {
        context().language.setCurrent(Language::German);
        context().systemIsGerman = true;
    }
    ASSERT_TRUE(NoWizardFilterFile(context().folders.appDataFolder).write()); // no transfer-mode question
    browser().FillServerGrid(S(c.serverFolder));
    browser().FillLocalGrid(localRoot + S(c.localFolder));
    selectRows(c.side, c.selection);
    if (*c.typedServer)
        typeInto(w().serverPathEdit, S(c.typedServer));
    if (*c.typedLocal)
        typeInto(w().localPathEdit, localRoot + S(c.typedLocal));
    prompts.clear();
    FileGridView *view = grid(c.side);
    switch (c.command) {
    case Command::Delete:
        prompts.confirmAnswers = {true};
        QTest::keyClick(view, Qt::Key_F8);
        break;
    case Command::Rename:
        answerName(S(c.input));
        QTest::keyClick(view, Qt::Key_F6);
        break;
    case Command::Permissions:
    case Command::Recursive: {
        PermissionForm &form = *starter->dialogs().permissions;
        const bool recursive = c.command == Command::Recursive;
        whenShown(&form, [&form, c, recursive] {
            if (recursive != form.recursiveCheckBox()->isChecked())
                form.recursiveCheckBox()->click();
            form.valueEdit()->selectAll();
            QTest::keyClicks(form.valueEdit(), S(c.input));
            QTest::keyClick(form.valueEdit(), Qt::Key_Return);
        });
        QTest::keyClick(view, Qt::Key_F11);
        break;
    }
    case Command::Transfer:
        QTest::keyClick(view, Qt::Key_F5);
        break;
    case Command::MultiRename: {
        MultiRenameToolForm &form = *starter->dialogs().multiRename;
        whenShown(&form, [&form, c] {
            form.namePatternEdit()->setText(S(c.input));
            QTest::keyClick(form.namePatternEdit(), Qt::Key_Return);
        });
        // The tool takes the side whose grid or path box has the keyboard focus.
        QApplication::setActiveWindow(&main());
        view->setFocus();
        QApplication::processEvents();
        w().multiRenameAction->trigger();
        break;
    }
    case Command::CopyToEachDir: {
        context().options.applyUnsaved(&OptionsData::automaticRunQueue, true);
        prompts.filesAnswers = {{localRoot + S(c.input)}};
        CopyFileToEachDirForm &form = *starter->dialogs().copyToEachDir;
        whenShown(&form, [&form] {
            form.selectButton()->click();
            form.copyButton()->click();
        });
        // The tool takes the side whose grid has the keyboard focus.
        QApplication::setActiveWindow(&main());
        view->setFocus();
        QApplication::processEvents();
        w().copyToEachDirAction->trigger();
        break;
    }
    case Command::FilterWithout:
    case Command::FilterEnter:
        starter->filter().SwitchFilterOn();
        answerFilter(c);
        prompts.confirmAnswers = {true};
        QTest::keyClick(view, Qt::Key_F8);
        break;
    }
}

} // namespace

TEST_P(ChosenEntries, ExactlyTheChosenPathsChange)
{
    const Case &c = GetParam();
    const auto before = snapshot();
    run(c);
    EXPECT_EQ(TreeSnapshot::changes(before, snapshot()), c.changes) << prompts.shown.join(u'\n').toStdString();
    if (!c.shown.isEmpty())
        EXPECT_EQ(prompts.shown, c.shown);
    EXPECT_FALSE(main().isBusy());
}

using C = Command;
constexpr BrowserSide Server = BrowserSide::Server;
constexpr BrowserSide Local = BrowserSide::Local;

INSTANTIATE_TEST_SUITE_P(Table, ChosenEntries, ::testing::Values(
    // Names that end in a blank are other entries than the names without it.
    Case{"delete a folder whose name ends in a blank", C::Delete, Server, "/", "", {S("site ")}, "", "", "",
         {S("-S:/site "), S("-S:/site /g.txt")}},
    Case{"delete a file whose name ends in a blank", C::Delete, Server, "/", "", {S("a.txt ")}, "", "", "", {S("-S:/a.txt ")}},
    Case{"download a file whose name ends in a blank", C::Transfer, Server, "/", "", {S("a.txt ")}, "", "", "", {S("+L:/a.txt ")}},
    Case{"upload a file whose name ends in a blank", C::Transfer, Local, "/", "", {S("b.txt ")}, "", "", "", {S("+S:/b.txt ")}},
    Case{"delete a file whose name starts with a blank", C::Delete, Server, "/", "", {S(" lead.txt")}, "", "", "",
         {S("-S:/ lead.txt")}},
    Case{"delete names with %, * and [", C::Delete, Server, "/", "", {S("pct%20.txt"), S("star*.txt"), S("br[1].txt")}, "",
         "", "", {S("-S:/br[1].txt"), S("-S:/pct%20.txt"), S("-S:/star*.txt")}},
    Case{"download a name with umlauts", C::Transfer, Server, "/", "", {S("umlaut \xC3\xA4\xC3\xB6\xC3\xBC.txt")}, "", "", "",
         {S("+L:/umlaut \xC3\xA4\xC3\xB6\xC3\xBC.txt")}},
    Case{"a file and a folder of one name in sibling folders", C::Delete, Server, "/d1", "", {S("item")}, "", "", "",
         {S("-S:/d1/item")}},
    Case{"a file named like its folder", C::Delete, Server, "/site", "", {S("site")}, "", "", "", {S("-S:/site/site")}},

    // The folder listed with the rows counts, never a path typed into the box but not entered.
    Case{"server delete with another folder typed", C::Delete, Server, "/p1", "q1/", {S("notes.txt")}, "", "/p2", "q2/",
         {S("-S:/p1/notes.txt")}},
    Case{"server rename with another folder typed", C::Rename, Server, "/p1", "q1/", {S("notes.txt")}, "renamed.txt", "/p2", "q2/",
         {S("+S:/p1/renamed.txt"), S("-S:/p1/notes.txt")}},
    Case{"local delete with another folder typed", C::Delete, Local, "/p1", "q1/", {S("notes.txt")}, "", "/p2", "q2/",
         {S("-L:/q1/notes.txt")}},
    Case{"local rename with another folder typed", C::Rename, Local, "/p1", "q1/", {S("notes.txt")}, "renamed.txt", "/p2", "q2/",
         {S("+L:/q1/renamed.txt"), S("-L:/q1/notes.txt")}},
    Case{"download into the local folder listed", C::Transfer, Server, "/p1", "up/", {S("notes.txt")}, "", "/p2", "four/",
         {S("+L:/up/notes.txt")}},
    Case{"upload into the server folder listed", C::Transfer, Local, "/site", "q1/", {S("notes.txt")}, "", "/r/sub", "four/",
         {S("+S:/site/notes.txt")}},
    Case{"permissions with another folder typed", C::Permissions, Server, "/p1", "q1/", {S("notes.txt")}, "600", "/p2", "q2/",
         {S("m0600 S:/p1/notes.txt")}},
    Case{"multi rename with another folder typed", C::MultiRename, Server, "/p1", "q1/", {S("notes.txt")}, "[N]_x", "/p2", "",
         {S("+S:/p1/notes_x.txt"), S("-S:/p1/notes.txt")}},
    Case{"local multi rename with another folder typed", C::MultiRename, Local, "/p1", "q1/", {S("notes.txt")}, "[N]_x", "/p2", "q2/",
         {S("+L:/q1/notes_x.txt"), S("-L:/q1/notes.txt")}},

    // A new name with a path is checked in the folder it leads to.
    Case{"rename onto a taken name in a subfolder", C::Rename, Server, "/r", "", {S("x.txt")}, "sub/b.txt", "", "", {},
         {S("information: A file or folder named \"sub/b.txt\" exists already. Nothing was renamed.")}},
    Case{"rename onto a taken name in the parent folder", C::Rename, Server, "/r", "", {S("x.txt")}, "../top.txt", "", "", {},
         {S("information: A file or folder named \"../top.txt\" exists already. Nothing was renamed.")}},
    Case{"rename onto a taken name", C::Rename, Server, "/r", "", {S("x.txt")}, "sub", "", "", {},
         {S("information: A file or folder named \"sub\" exists already. Nothing was renamed.")}},
    Case{"rename into a subfolder under a free name", C::Rename, Server, "/r", "", {S("x.txt")}, "sub/c.txt", "", "",
         {S("+S:/r/sub/c.txt"), S("-S:/r/x.txt")}},

    // A multi rename never replaces an entry, and says so.
    Case{"multi rename onto a taken name", C::MultiRename, Server, "/r", "", {S("x.txt")}, "taken", "", "", {},
         {S("information: These files were not renamed:\nNot renamed: /r/x.txt -> taken.txt (an entry of the new name exists)")}},
    Case{"multi rename onto a taken name in German", C::MultiRename, Server, "/r", "", {S("x.txt")}, "taken", "", "", {},
         {S("information: Diese Dateien wurden nicht umbenannt:\nNicht umbenannt: /r/x.txt -> taken.txt (ein Eintrag mit dem "
            "neuen Namen existiert)")}, true},

    // Permissions: the value as written, links never.
    // Copy a file to each folder: the folders of the selection and below it, never a folder a
    // link leads to, and never the folder typed but not entered.
    Case{"copy to each server folder, not through links", C::CopyToEachDir, Server, "/", "", {S("www")}, "up/new.txt", "", "",
         {S("+S:/www/new.txt"), S("+S:/www/sub/new.txt")}},
    Case{"copy to each server folder with another folder typed", C::CopyToEachDir, Server, "/", "q1/", {S("p1")},
         "up/new.txt", "/p2", "", {S("+S:/p1/new.txt")}},
    Case{"copy to each local folder with another folder typed", C::CopyToEachDir, Local, "/", "", {S("q1")}, "up/new.txt",
         "/p2", "q2/", {S("+L:/q1/new.txt")}},
    Case{"three digits", C::Permissions, Server, "/", "", {S("top.txt")}, "640", "", "", {S("m0640 S:/top.txt")}},
    Case{"four digits", C::Permissions, Server, "/", "", {S("top.txt")}, "0640", "", "", {S("m0640 S:/top.txt")}},
    Case{"four digits with the special bits", C::Permissions, Server, "/www", "", {S("sub")}, "2750", "", "",
         {S("m2750 S:/www/sub")}},
    Case{"recursive over a tree with links out of it", C::Recursive, Server, "/", "", {S("www")}, "777", "", "",
         {S("m0777 S:/www"), S("m0777 S:/www/index.html"), S("m0777 S:/www/sub"), S("m0777 S:/www/sub/page.html")}},
    Case{"links among the selected rows", C::Permissions, Server, "/www", "", {S("shared -> ../private"),
         S("key-link -> ../private/key.txt"), S("index.html")}, "666", "", "", {S("m0666 S:/www/index.html")}},

    // The filter: a date typed as the grid shows it, in either language.
    Case{"filtered delete without today's date typed in English", C::FilterWithout, Server, "/", "", {S("filt")},
         "12/11/2026", "", "", {S("-S:/filt/old.txt")}},
    Case{"filtered delete without today's date typed in German", C::FilterWithout, Server, "/", "", {S("filt")},
         "11.12.2026", "", "", {S("-S:/filt/old.txt")}, {}, true},
    Case{"Enter right after typing shows the list and keeps the unticks", C::FilterEnter, Local, "/", "four/",
         {S("1.txt"), S("2.txt"), S("3.txt"), S("4.txt")}, "zzz", "", "", {S("-L:/four/1.txt")}}));
