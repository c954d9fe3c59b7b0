// The panes' toolbars and context menus as plain data (order, texts, component names, enabling
// rules), and the local side of rename, create directory and "Create a file" on a real folder.
#include "TestEnvironment.h"

#include "browser/LocalFileOperations.h"
#include "browser/PaneCommands.h"
#include "common/Language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QStringList menuTexts(BrowserSide side, const Language &language)
{
    QStringList texts;
    for (PaneCommand command : PaneCommands::contextMenu(side))
        texts << (command == PaneCommand::Separator ? QStringLiteral("-") : PaneCommands::menuText(command, side, language));
    return texts;
}

QStringList toolTips(BrowserSide side, const Language &language)
{
    QStringList texts;
    for (PaneCommand command : PaneCommands::toolbar(side))
        texts << PaneCommands::toolTip(command, side, language);
    return texts;
}

TEST(PaneCommands, ContextMenusListTheirItemsInOrderWithSeparators)
{
    Language english;
    EXPECT_EQ(menuTexts(BrowserSide::Local, english),
              (QStringList{u"Upload [F5]"_qs, u"View/Edit [F4]"_qs, u"Open directory"_qs, u"-"_qs,
                           u"Create directory [F7]"_qs, u"Refresh"_qs, u"-"_qs, u"Delete [F8]"_qs, u"Rename [F6]"_qs,
                           u"Calculate used diskspace"_qs, u"-"_qs, u"Search files [F3]"_qs, u"Search in files [F9]"_qs,
                           u"Search and replace in files [F10]"_qs}));
    EXPECT_EQ(menuTexts(BrowserSide::Server, english),
              (QStringList{u"Download [F5]"_qs, u"View/Edit [F4]"_qs, u"-"_qs, u"Create directory [F7]"_qs,
                           u"Refresh"_qs, u"-"_qs, u"Delete [F8]"_qs, u"Rename [F6]"_qs, u"File permissions... [F11]"_qs,
                           u"Calculate used webspace"_qs, u"-"_qs, u"Search files [F3]"_qs, u"Search in files [F9]"_qs,
                           u"Search and replace in files [F10]"_qs}));
    Language german;
    german.setCurrent(Language::German);
    EXPECT_EQ(menuTexts(BrowserSide::Server, german),
              (QStringList{u"Herunterladen [F5]"_qs, u"Anzeigen/Bearbeiten [F4]"_qs, u"-"_qs,
                           u"Ordner erstellen [F7]"_qs, u"Aktualisieren"_qs, u"-"_qs, u"Löschen [F8]"_qs,
                           u"Umbenennen [F6]"_qs, u"Dateiberechtigungen... [F11]"_qs, u"Belegten Webspace berechnen"_qs,
                           u"-"_qs, u"Dateien suchen [F3]"_qs, u"In Dateien suchen [F9]"_qs,
                           u"Suchen und Ersetzen in Dateien [F10]"_qs}));
}

TEST(PaneCommands, ToolbarsListTheirButtonsInOrderWithTheirTipsAndNames)
{
    Language english;
    EXPECT_EQ(toolTips(BrowserSide::Local, english),
              (QStringList{u"Upload [F5]"_qs, u"Open directory"_qs, u"View/Edit [F4]"_qs, u"Create directory [F7]"_qs,
                           u"Refresh"_qs, u"Delete [F8]"_qs, u"Rename [F6]"_qs, u"Calculate used diskspace"_qs,
                           u"Search files [F3]"_qs, u"Search in files [F9]"_qs, u"Search and replace in files [F10]"_qs}));
    EXPECT_EQ(toolTips(BrowserSide::Server, english),
              (QStringList{u"Download [F5]"_qs, u"View/Edit [F4]"_qs, u"Create directory [F7]"_qs, u"Refresh"_qs,
                           u"Delete [F8]"_qs, u"Rename [F6]"_qs, u"File permissions [F11]"_qs,
                           u"Calculate used webspace"_qs, u"Search files [F3]"_qs, u"Search in files [F9]"_qs,
                           u"Search and replace in files [F10]"_qs}));
    const struct {
        PaneCommand command;
        BrowserSide side;
        const char *name;
    } names[] = {
        {PaneCommand::Rename, BrowserSide::Local, "RenameLocalSpeedButton"},
        {PaneCommand::Rename, BrowserSide::Server, "RenameServerSpeedButton"},
        {PaneCommand::CreateDirectory, BrowserSide::Local, "CreateDirectoryLocalSpeedButton"},
        {PaneCommand::CreateDirectory, BrowserSide::Server, "CreateDirectoryServerSpeedButton"},
        {PaneCommand::Refresh, BrowserSide::Local, "RefreshLocalSpeedButton"},
        {PaneCommand::Refresh, BrowserSide::Server, "RefreshServerSpeedButton"},
        {PaneCommand::OpenDirectory, BrowserSide::Local, "OpenDirectorySpeedButton"},
        {PaneCommand::UsedSpace, BrowserSide::Local, "DiskSpeedButton"},
        {PaneCommand::UsedSpace, BrowserSide::Server, "WebrSpaceSpeedButton"},
        {PaneCommand::ViewEdit, BrowserSide::Local, "EditLocalSpeedButton"},
        {PaneCommand::ViewEdit, BrowserSide::Server, "EditServerSpeedButton"},
    };
    for (const auto &n : names)
        EXPECT_EQ(PaneCommands::buttonName(n.command, n.side), QString::fromLatin1(n.name));
    EXPECT_EQ(PaneCommands::menuItemName(PaneCommand::ViewEdit, BrowserSide::Server), u"ViewEdit1"_qs);
}

TEST(PaneCommands, EnablingRulesOfTheContextMenus)
{
    using C = PaneCommand;
    const BrowserSide L = BrowserSide::Local;
    const BrowserSide S = BrowserSide::Server;
    const struct {
        C command;
        BrowserSide side;
        bool hasRow;
        int kind;
        bool connected;
        bool enabled;
    } cases[] = {
        // View/Edit, local: any remembered row that is no folder.
        {C::ViewEdit, L, true, 1, false, true},
        {C::ViewEdit, L, true, 0, true, false},
        {C::ViewEdit, L, true, 2, true, true},
        {C::ViewEdit, L, false, 1, true, false},
        // View/Edit, server: a file only (links and folders are not).
        {C::ViewEdit, S, true, 1, true, true},
        {C::ViewEdit, S, true, 0, true, false},
        {C::ViewEdit, S, true, 2, true, false},
        {C::ViewEdit, S, false, 1, true, false},
        // Upload only while connected; Download always.
        {C::Transfer, L, true, 1, false, false},
        {C::Transfer, L, true, 1, true, true},
        {C::Transfer, S, true, 1, false, true},
        // Everything else stays enabled.
        {C::Rename, L, true, 0, false, true},
        {C::Refresh, S, false, 0, false, true},
        {C::OpenDirectory, L, false, 0, false, true},
        {C::FilePermissions, S, true, 0, true, true},
    };
    for (const auto &c : cases) {
        PaneMenuState state;
        state.hasRememberedRow = c.hasRow;
        state.rememberedKind = EntryKind(c.kind);
        state.connected = c.connected;
        EXPECT_EQ(PaneCommands::isMenuItemEnabled(c.command, c.side, state), c.enabled)
            << "command " << int(c.command) << " side " << int(c.side) << " kind " << c.kind << " connected " << c.connected;
    }
}

// ---- Local file operations -------------------------------------------------------------

class LocalFileOps : public ::testing::Test {
protected:
    QString root() const { return env.root(); }
    TestEnvironment env;
};

TEST_F(LocalFileOps, RenameGivesFilesAndFoldersTheirNewNameAndNeverReplaces)
{
    env.writeFile(u"a.txt"_qs, "a");
    env.writeFile(u"b.txt"_qs, "b");
    env.writeFile(u"dir/inner.txt"_qs, "i");
    QDir().mkpath(root() + u"other"_qs);

    EXPECT_TRUE(LocalFileOperations::rename(root(), u"a.txt"_qs, u"c.txt"_qs));
    EXPECT_EQ(TestEnvironment::readFile(root() + u"c.txt"_qs), "a");
    EXPECT_TRUE(LocalFileOperations::rename(root(), u"dir"_qs, u"moved"_qs));
    EXPECT_EQ(TestEnvironment::readFile(root() + u"moved/inner.txt"_qs), "i");

    EXPECT_FALSE(LocalFileOperations::rename(root(), u"c.txt"_qs, u"b.txt"_qs)) << "an existing file stays";
    EXPECT_EQ(TestEnvironment::readFile(root() + u"b.txt"_qs), "b");
    EXPECT_FALSE(LocalFileOperations::rename(root(), u"moved"_qs, u"other"_qs)) << "an existing folder stays";
    EXPECT_TRUE(QFileInfo::exists(root() + u"moved/inner.txt"_qs));
    EXPECT_FALSE(LocalFileOperations::rename(root() + u"gone/"_qs, u"x"_qs, u"y"_qs));
    EXPECT_FALSE(LocalFileOperations::rename(root(), u"missing"_qs, u"y"_qs));
}

TEST_F(LocalFileOps, CreateDirectoryMakesNestedFoldersOnce)
{
    EXPECT_TRUE(LocalFileOperations::createDirectory(root(), u"a/b"_qs));
    EXPECT_TRUE(QFileInfo(root() + u"a/b"_qs).isDir());
    EXPECT_FALSE(LocalFileOperations::createDirectory(root(), u"a"_qs)) << "exists already";
    env.writeFile(u"f"_qs, "keep");
    EXPECT_FALSE(LocalFileOperations::createDirectory(root(), u"f"_qs));
    EXPECT_EQ(TestEnvironment::readFile(root() + u"f"_qs), "keep");
}

TEST_F(LocalFileOps, AnEmptyFileNeverReplacesAnExistingEntry)
{
    using R = LocalFileOperations::CreateFileResult;
    const QString empty = root() + u"empty"_qs;
    EXPECT_EQ(LocalFileOperations::createEmptyFile(empty), R::Created);
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    env.writeFile(u"index.html"_qs, "content");
    EXPECT_EQ(LocalFileOperations::createEmptyFile(root() + u"index.html"_qs), R::AlreadyExists);
    EXPECT_EQ(LocalFileOperations::copyNew(empty, root() + u"index.html"_qs), R::AlreadyExists);
    EXPECT_EQ(TestEnvironment::readFile(root() + u"index.html"_qs), "content");
    QDir().mkpath(root() + u"folder"_qs);
    EXPECT_EQ(LocalFileOperations::copyNew(empty, root() + u"folder"_qs), R::AlreadyExists);
    QFile::link(root() + u"nowhere"_qs, root() + u"dangling"_qs);
    EXPECT_EQ(LocalFileOperations::copyNew(empty, root() + u"dangling"_qs), R::AlreadyExists);
    EXPECT_EQ(LocalFileOperations::copyNew(empty, root() + u"new.txt"_qs), R::Created);
    EXPECT_EQ(LocalFileOperations::createEmptyFile(root() + u"no/such/folder/x"_qs), R::Failed);
}

} // namespace
