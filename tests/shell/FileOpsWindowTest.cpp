// The browser's file operations in the running program against a real server: rename, create
// directory, "Create a file", open directory, refresh and used space from keys, toolbar buttons
// and context menus, with the texts the user sees.
#include "ShellServerFixture.h"

#include "app/DialogHeader.h"
#include "browser/FileCommands.h"
#include "browser/PaneCommandBar.h"
#include "common/Language.h"
#include "queue/GetFilesListForm.h"
#include "shell/FileOpsWiring.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class FileOpsWindow : public ShellServerFixture {
protected:
    void prepareServer() override
    {
        server.writeFile(u"srv.txt"_qs, "from the server\n");
        server.writeFile(u"public/index.html"_qs, "<p>\n");
        server.writeFile(u"two/one.bin"_qs, QByteArray(1024, 'a'));
        server.writeFile(u"two/other.bin"_qs, QByteArray(1024, 'b'));
        QFile::link(u"public"_qs, server.localPath(u"www"_qs));
    }
    void prepareLocal() override
    {
        env.writeFile(u"loc/a.txt"_qs, "local a\n");
        env.writeFile(u"loc/dir/inner.txt"_qs, "inner\n");
    }

    FileOpsWiring &fileOps() { return starter->fileOps(); }
    QAction *button(BrowserSide side, PaneCommand command) { return fileOps().bar(side).button(command); }
    QAction *menuItem(BrowserSide side, PaneCommand command) { return fileOps().bar(side).menuItem(command); }
    QStringList tempFiles() const
    {
        return QDir(starter->context().folders.tempFolder).entryList(QDir::Files | QDir::Hidden);
    }
};

TEST_F(FileOpsWindow, RenameALocalFileByF6AndAFolderByTheToolbarButton)
{
    Seen seen;
    select(BrowserSide::Local, u"a.txt"_qs);
    answerName(u"b.txt"_qs, &seen);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F6);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, u"Rename"_qs);
    EXPECT_EQ(seen.prompt, u"New name:"_qs);
    EXPECT_EQ(seen.initial, u"a.txt"_qs);
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"b.txt"_qs), "local a\n");
    EXPECT_FALSE(QFileInfo::exists(localRoot + u"a.txt"_qs));
    EXPECT_EQ(currentName(BrowserSide::Local), u"b.txt"_qs);

    select(BrowserSide::Local, u"dir"_qs);
    answerName(u"moved"_qs);
    button(BrowserSide::Local, PaneCommand::Rename)->trigger();
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"moved/inner.txt"_qs), "inner\n");
    EXPECT_EQ(currentName(BrowserSide::Local), u"moved"_qs);

    // A name that exists already replaces nothing, and says so.
    select(BrowserSide::Local, u"b.txt"_qs);
    answerName(u"moved"_qs);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F6);
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"b.txt"_qs), "local a\n");
    EXPECT_TRUE(QFileInfo(localRoot + u"moved"_qs).isDir());
    EXPECT_EQ(prompts.shown,
              QStringList{u"information: A file or folder named \"moved\" exists already. Nothing was renamed."_qs});
}

TEST_F(FileOpsWindow, AServerRenameOntoAnExistingNameIsRefusedLikeTheLocalOne)
{
    // Onto a link (the grid reads "www -> public") and onto a file in a folder.
    select(BrowserSide::Server, u"srv.txt"_qs);
    answerName(u"www"_qs);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F6);
    EXPECT_TRUE(QFileInfo(server.localPath(u"www"_qs)).isSymLink());
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "from the server\n");

    browser().FillServerGrid(u"/two"_qs);
    select(BrowserSide::Server, u"one.bin"_qs);
    context().language.setCurrent(Language::German);
    answerName(u"other.bin"_qs);
    button(BrowserSide::Server, PaneCommand::Rename)->trigger();
    EXPECT_EQ(server.readFile(u"two/one.bin"_qs), QByteArray(1024, 'a'));
    EXPECT_EQ(server.readFile(u"two/other.bin"_qs), QByteArray(1024, 'b'));
    EXPECT_EQ(prompts.shown,
              (QStringList{u"information: A file or folder named \"www\" exists already. Nothing was renamed."_qs,
                           u"information: Eine Datei oder ein Ordner mit dem Namen \"other.bin\" existiert bereits. Es wurde "
                           u"nichts umbenannt."_qs}));
    EXPECT_FALSE(main().isBusy());
}

TEST_F(FileOpsWindow, RenameWithOnlyTheParentRowSaysSelectFirstInBothLanguages)
{
    select(BrowserSide::Local, u".."_qs);
    Seen seen;
    answerName(u"x"_qs, &seen);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F6);
    context().language.setCurrent(Language::German);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F6);
    QCoreApplication::processEvents();
    EXPECT_FALSE(seen.shown);
    EXPECT_EQ(prompts.shown, (QStringList{u"information: Select first a file or a directory."_qs,
                                          u"information: Bitte zuerst eine Datei oder einen Ordner auswählen."_qs}));
}

TEST_F(FileOpsWindow, RenameOnTheServerKeepsTheEntrySelectedAndOffersALinkByItsName)
{
    Seen seen;
    select(BrowserSide::Server, u"srv.txt"_qs);
    context().language.setCurrent(Language::German);
    answerName(u"renamed.txt"_qs, &seen);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F6);
    EXPECT_EQ(seen.title, u"Umbenennen"_qs);
    EXPECT_EQ(seen.prompt, u"Neuer Name:"_qs);
    EXPECT_EQ(server.readFile(u"renamed.txt"_qs), "from the server\n");
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"srv.txt"_qs)));
    EXPECT_EQ(currentName(BrowserSide::Server), u"renamed.txt"_qs);

    const QStringList rows = names(BrowserSide::Server);
    const auto link = std::find_if(rows.begin(), rows.end(), [](const QString &n) { return n.startsWith(u"www"); });
    ASSERT_NE(link, rows.end()) << rows.join(u',').toStdString();
    ASSERT_EQ(*link, u"www -> public"_qs);
    select(BrowserSide::Server, *link);
    answerName(u"web"_qs, &seen);
    button(BrowserSide::Server, PaneCommand::Rename)->trigger();
    EXPECT_EQ(seen.initial, u"www"_qs);
    EXPECT_TRUE(QFileInfo(server.localPath(u"web"_qs)).isSymLink());
}

TEST_F(FileOpsWindow, CreateDirectoryOnBothSidesAndLeaveAnExistingOneAlone)
{
    Seen seen;
    answerName(u"x/y"_qs, &seen);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F7);
    EXPECT_EQ(seen.title, u"Create directory"_qs);
    EXPECT_EQ(seen.prompt, u"New directory name:"_qs);
    EXPECT_EQ(seen.initial, QString());
    EXPECT_TRUE(QFileInfo(localRoot + u"x/y"_qs).isDir());
    EXPECT_EQ(grid(BrowserSide::Local)->currentIndex().row(), 0) << "no row is named \"x/y\"";

    context().language.setCurrent(Language::German);
    answerName(u"newdir"_qs, &seen);
    button(BrowserSide::Server, PaneCommand::CreateDirectory)->trigger();
    EXPECT_EQ(seen.title, u"Ordner erstellen"_qs);
    EXPECT_EQ(seen.prompt, u"Neuer Ordner Name:"_qs);
    EXPECT_TRUE(QFileInfo(server.localPath(u"newdir"_qs)).isDir());
    EXPECT_EQ(currentName(BrowserSide::Server), u"newdir"_qs);

    answerName(u"two"_qs);
    menuItem(BrowserSide::Server, PaneCommand::CreateDirectory)->trigger();
    EXPECT_EQ(currentName(BrowserSide::Server), u"two"_qs);
    EXPECT_EQ(QDir(server.localPath(u"two"_qs)).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

TEST_F(FileOpsWindow, ABlankNameSaysInsertANameAndKeepsTheDialogOpen)
{
    RenameForm *form = starter->dialogs().rename;
    bool stillOpen = false;
    QTimer::singleShot(0, form, [&] {
        form->nameEdit()->setText(u"   "_qs);
        form->okButton()->click();
        context().language.setCurrent(Language::German);
        form->nameEdit()->clear();
        QTest::keyClick(form->nameEdit(), Qt::Key_Return); // Enter acts as OK
        stillOpen = form->isVisible();
        form->abortButton()->click();
    });
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F7);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(prompts.shown, (QStringList{u"information: Insert a name!"_qs,
                                          u"information: Bitte geben Sie zuerst einen Namen ein!"_qs}));
    EXPECT_EQ(QDir(localRoot).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2) << "Abort creates nothing";
}

TEST_F(FileOpsWindow, CreateAFileOnTheFocusedSideNeverReplacesAnExistingFile)
{
    FileCommands &commands = fileOps().commands();
    Seen seen;
    answerName(u"new.txt"_qs, &seen);
    commands.createFile(BrowserSide::Local);
    EXPECT_EQ(seen.title, u"Create file"_qs);
    EXPECT_EQ(seen.prompt, u"New file name"_qs);
    EXPECT_TRUE(QFileInfo::exists(localRoot + u"new.txt"_qs));
    EXPECT_EQ(QFileInfo(localRoot + u"new.txt"_qs).size(), 0);
    EXPECT_EQ(currentName(BrowserSide::Local), u"new.txt"_qs);

    answerName(u"a.txt"_qs);
    commands.createFile(BrowserSide::Local);
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"a.txt"_qs), "local a\n");
    EXPECT_EQ(currentName(BrowserSide::Local), u"a.txt"_qs);

    answerName(u"empty.html"_qs);
    commands.createFile(BrowserSide::Server);
    EXPECT_TRUE(QFileInfo::exists(server.localPath(u"empty.html"_qs)));
    EXPECT_EQ(QFileInfo(server.localPath(u"empty.html"_qs)).size(), 0);
    EXPECT_EQ(currentName(BrowserSide::Server), u"empty.html"_qs);

    context().language.setCurrent(Language::German);
    answerName(u"srv.txt"_qs, &seen);
    commands.createFile(BrowserSide::Server);
    EXPECT_EQ(seen.title, u"Create file"_qs) << "the same in both languages";
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "from the server\n");
    EXPECT_EQ(currentName(BrowserSide::Server), u"srv.txt"_qs);

    EXPECT_EQ(prompts.shown,
              (QStringList{u"information: A file or folder named \"a.txt\" exists already. Nothing was created."_qs,
                           u"information: Eine Datei oder ein Ordner mit dem Namen \"srv.txt\" existiert bereits. "
                           "Es wurde nichts erstellt."_qs}));
    EXPECT_TRUE(tempFiles().isEmpty()) << tempFiles().join(u',').toStdString();
}

// A server link counts by its own name: creating a file of that name would empty the file the
// link points to, so it is refused like any existing name.
TEST_F(FileOpsWindow, CreatingAFileOfAServerLinksNameIsRefused)
{
    ASSERT_TRUE(QFile::link(u"srv.txt"_qs, server.localPath(u"pointer.txt"_qs)));
    browser().FillServerGrid(u"/"_qs);
    FileCommands &commands = fileOps().commands();
    answerName(u"pointer.txt"_qs);
    prompts.clear();
    commands.createFile(BrowserSide::Server);
    EXPECT_EQ(prompts.shown,
              QStringList{u"information: A file or folder named \"pointer.txt\" exists already. Nothing was created."_qs});
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "from the server\n");
}

TEST_F(FileOpsWindow, CreateAFileFromTheMenuActsOnTheFocusedControlOnly)
{
    main().activateWindow();
    grid(BrowserSide::Server)->setFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(browser().focusedSide(), BrowserSide::Server);
    answerName(u"menu.txt"_qs);
    w().createFileAction->trigger();
    EXPECT_TRUE(QFileInfo::exists(server.localPath(u"menu.txt"_qs)));
    EXPECT_FALSE(QFileInfo::exists(localRoot + u"menu.txt"_qs));

    main().activateWindow(); // the name dialog was the active window
    pane(BrowserSide::Local).pathBox()->lineEdit()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(browser().focusedSide(), BrowserSide::Local) << "the path box counts as its side";

    w().queueGrid->setFocus();
    QCoreApplication::processEvents();
    ASSERT_EQ(browser().focusedSide(), std::nullopt);
    answerName(u"nowhere.txt"_qs);
    w().createFileAction->trigger();
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"nowhere.txt"_qs)));
    EXPECT_FALSE(QFileInfo::exists(localRoot + u"nowhere.txt"_qs));
    EXPECT_TRUE(tempFiles().isEmpty());
}

TEST_F(FileOpsWindow, OpenDirectoryListsTheChosenFolder)
{
    env.writeFile(u"elsewhere/found.txt"_qs, "x");
    prompts.folderAnswers = {env.root() + u"elsewhere/"_qs};
    button(BrowserSide::Local, PaneCommand::OpenDirectory)->trigger();
    EXPECT_EQ(prompts.shown, QStringList{u"chooseFolder: "_qs});
    EXPECT_EQ(pane(BrowserSide::Local).pathText(), env.root() + u"elsewhere/"_qs);
    EXPECT_EQ(names(BrowserSide::Local), (QStringList{u".."_qs, u"found.txt"_qs}));

    menuItem(BrowserSide::Local, PaneCommand::OpenDirectory)->trigger(); // cancelled
    EXPECT_EQ(pane(BrowserSide::Local).pathText(), env.root() + u"elsewhere/"_qs);
}

TEST_F(FileOpsWindow, RefreshShowsChangesAndKeepsTheRememberedRow)
{
    select(BrowserSide::Local, u"a.txt"_qs);
    env.writeFile(u"loc/0-first.txt"_qs, "new");
    button(BrowserSide::Local, PaneCommand::Refresh)->trigger();
    EXPECT_TRUE(names(BrowserSide::Local).contains(u"0-first.txt"_qs));
    EXPECT_EQ(grid(BrowserSide::Local)->currentIndex().row(), pane(BrowserSide::Local).rememberedRow());

    select(BrowserSide::Server, u"srv.txt"_qs);
    const int remembered = pane(BrowserSide::Server).rememberedRow();
    server.writeFile(u"added.txt"_qs, "behind the program's back");
    menuItem(BrowserSide::Server, PaneCommand::Refresh)->trigger();
    EXPECT_TRUE(names(BrowserSide::Server).contains(u"added.txt"_qs));
    EXPECT_EQ(grid(BrowserSide::Server)->currentIndex().row(), remembered);
    EXPECT_FALSE(main().isBusy());
}

TEST_F(FileOpsWindow, UsedWebspaceOfAFolderWithTwoFilesOfOneKilobyte)
{
    GetFilesListForm *progress = starter->dialogs().walkProgress;
    select(BrowserSide::Local, u"a.txt"_qs);
    select(BrowserSide::Server, u"two"_qs);
    button(BrowserSide::Server, PaneCommand::UsedSpace)->trigger();
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->filesLabel()->text(), u"Determined files:  2"_qs);
    EXPECT_EQ(progress->sizeLabel()->text(), u"Determined size:  2.048  bytes  (2.00 kB)"_qs);
    EXPECT_EQ(progress->list()->item(progress->list()->count() - 3)->text(), u"Done"_qs);
    EXPECT_EQ(currentName(BrowserSide::Server), u"two"_qs);
    EXPECT_FALSE(main().isBusy());
    progress->closeButton()->click();

    // The same in German, with a folder counted.
    context().language.setCurrent(Language::German);
    select(BrowserSide::Server, u"public"_qs);
    button(BrowserSide::Server, PaneCommand::UsedSpace)->trigger();
    EXPECT_EQ(progress->list()->item(progress->list()->count() - 3)->text(), u"Fertig"_qs);
    EXPECT_EQ(progress->dirsLabel()->text(), u"Ermittelte Ordner:  1"_qs);
    EXPECT_EQ(progress->filesLabel()->text(), u"Ermittelte Dateien:  1"_qs);
    progress->closeButton()->click();
    context().language.setCurrent(Language::English);

    select(BrowserSide::Local, u".."_qs);
    menuItem(BrowserSide::Local, PaneCommand::UsedSpace)->trigger();
    EXPECT_EQ(prompts.shown, QStringList{u"information: Select first a file or a directory."_qs});
}

TEST_F(FileOpsWindow, ContextMenusShowTheirItemsAndApplyTheirRulesWhenTheyOpen)
{
    PaneCommandBar &local = fileOps().bar(BrowserSide::Local);
    PaneCommandBar &remote = fileOps().bar(BrowserSide::Server);
    QStringList texts;
    for (QAction *item : local.menu()->actions())
        texts << (item->isSeparator() ? u"-"_qs : item->text());
    EXPECT_EQ(texts, (QStringList{u"Upload [F5]"_qs, u"View/Edit [F4]"_qs, u"Open directory"_qs, u"-"_qs,
                                  u"Create directory [F7]"_qs, u"Refresh"_qs, u"-"_qs, u"Delete [F8]"_qs,
                                  u"Rename [F6]"_qs, u"Calculate used diskspace"_qs, u"-"_qs, u"Search files [F3]"_qs,
                                  u"Search in files [F9]"_qs, u"Search and replace in files [F10]"_qs}));
    EXPECT_EQ(grid(BrowserSide::Local)->contextMenuPolicy(), Qt::CustomContextMenu);

    const struct {
        BrowserSide side;
        const char *row;
        bool connected;
        bool viewEdit;
        bool transfer;
    } cases[] = {
        {BrowserSide::Local, "a.txt", true, true, true},
        {BrowserSide::Local, "dir", true, false, true},
        {BrowserSide::Local, "..", true, false, true},
        {BrowserSide::Server, "srv.txt", true, true, true},
        {BrowserSide::Server, "two", true, false, true},
        {BrowserSide::Server, "www -> public", true, false, true},
        {BrowserSide::Local, "a.txt", false, true, false}, // last: it disconnects
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.row);
        if (!c.connected)
            master->Disconnect();
        select(c.side, QString::fromUtf8(c.row));
        PaneCommandBar &bar = c.side == BrowserSide::Local ? local : remote;
        bar.openMenu(QPoint(5, 5)); // the rules apply as the menu opens
        QCoreApplication::processEvents();
        EXPECT_TRUE(bar.menu()->isVisible());
        EXPECT_EQ(bar.menuItem(PaneCommand::ViewEdit)->isEnabled(), c.viewEdit);
        EXPECT_EQ(bar.menuItem(PaneCommand::Transfer)->isEnabled(), c.transfer);
        EXPECT_TRUE(bar.menuItem(PaneCommand::Rename)->isEnabled());
        bar.menu()->close();
    }
}

TEST_F(FileOpsWindow, ToolbarsCarryTheirButtonsInOrderWithTheirTips)
{
    QStringList tips;
    for (QAction *action : w().serverToolBar->actions())
        tips << (action->toolTip());
    EXPECT_EQ(tips.mid(1), (QStringList{u"View/Edit [F4]"_qs, u"Create directory [F7]"_qs, u"Refresh"_qs,
                                        u"Delete [F8]"_qs, u"Rename [F6]"_qs, u"File permissions [F11]"_qs,
                                        u"Calculate used webspace"_qs, u"Search files [F3]"_qs,
                                        u"Search in files [F9]"_qs, u"Search and replace in files [F10]"_qs}));
    EXPECT_EQ(w().serverToolBar->actions().front(), w().downloadAction);
    EXPECT_EQ(w().downloadAction->toolTip(), u"Download [F5]"_qs);
    EXPECT_EQ(w().localToolBar->actions().front(), w().uploadAction);
    EXPECT_EQ(w().uploadAction->toolTip(), u"Upload [F5]"_qs);
    auto *rename = w().localToolBar->findChild<QToolButton *>(u"RenameLocalSpeedButton"_qs);
    ASSERT_NE(rename, nullptr);
    EXPECT_EQ(rename->toolTip(), u"Rename [F6]"_qs);
    context().language.setCurrent(Language::German);
    EXPECT_EQ(rename->toolTip(), u"Umbenennen [F6]"_qs);
    EXPECT_EQ(w().uploadAction->toolTip(), u"Hochladen [F5]"_qs);
    EXPECT_EQ(w().downloadAction->toolTip(), u"Herunterladen [F5]"_qs);
}

} // namespace
