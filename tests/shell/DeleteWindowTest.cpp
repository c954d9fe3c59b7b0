// Deletions started from the main window, offscreen, against a real server: F8 and Del in both
// grids, the panes' "Delete [F8]" buttons and the grids' menu items, the question, the ".." row,
// and a local deletion that lands in the test's own trash.
#include "ShellServerFixture.h"

#include "browser/BrowserController.h"
#include "browser/PaneCommandBar.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "queue/QueueTableModel.h"
#include "shell/DeleteWiring.h"
#include "shell/FileOpsWiring.h"
#include "shell/QueueWiring.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QToolBar>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class DeleteWindow : public ShellServerFixture {
protected:
    void prepareServer() override
    {
        server.writeFile(u"srv.txt"_qs, "server file\n");
        server.writeFile(u"keep.txt"_qs, "keep\n");
        server.writeFile(u"www/index.html"_qs, "<p>\n");
        server.writeFile(u"www/img/logo.png"_qs, "png");
    }
    void prepareLocal() override
    {
        env.writeFile(u"loc/ a [1].txt"_qs, "local a\n");
        env.writeFile(u"loc/keep.txt"_qs, "keep\n");
        env.writeFile(u"loc/dir/inner.txt"_qs, "inner\n");
    }
    DeleteWiring &deletions() { return starter->deletions(); }
    QAction *deleteButton(BrowserSide side) { return starter->fileOps().bar(side).button(PaneCommand::Delete); }
    QAction *deleteMenuItem(BrowserSide side) { return starter->fileOps().bar(side).menuItem(PaneCommand::Delete); }
};

} // namespace

TEST_F(DeleteWindow, F8InTheServerGridDeletesTheSelectionAfterTheQuestion)
{
    selectRows(BrowserSide::Server, {u"srv.txt"_qs, u"www"_qs});
    prompts.confirmAnswers = {true};
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F8);
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 1 File and 1 Directory with contents?"_qs});
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"srv.txt"_qs)));
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"www"_qs)));
    EXPECT_EQ(server.readFile(u"keep.txt"_qs), QByteArray("keep\n"));
    EXPECT_EQ(rowOf(BrowserSide::Server, u"www"_qs), -1) << "the server grid is listed again";
    EXPECT_GE(rowOf(BrowserSide::Server, u"keep.txt"_qs), 0);
    EXPECT_EQ(starter->queue().model().rowCount(), 0);
    EXPECT_FALSE(main().isBusy());

    // Del does the same; No deletes nothing.
    prompts.clear();
    selectRows(BrowserSide::Server, {u"keep.txt"_qs});
    prompts.confirmAnswers = {false};
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_Delete);
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 1 File?"_qs});
    EXPECT_EQ(server.readFile(u"keep.txt"_qs), QByteArray("keep\n"));
    EXPECT_FALSE(main().isBusy());
}

TEST_F(DeleteWindow, ButtonsAndMenuItemsCarryTheirNamesAndTextsInBothLanguages)
{
    const auto local = BrowserSide::Local;
    const auto remote = BrowserSide::Server;
    EXPECT_TRUE(w().localToolBar->actions().contains(deleteButton(local)));
    EXPECT_TRUE(w().serverToolBar->actions().contains(deleteButton(remote)));
    EXPECT_EQ(deleteButton(local)->objectName(), u"DeleteLocalSpeedButton"_qs);
    EXPECT_EQ(deleteButton(remote)->objectName(), u"DeleteServerSpeedButton"_qs);
    EXPECT_EQ(deleteMenuItem(remote)->objectName(), u"Delete1"_qs);
    for (QAction *action : {deleteButton(local), deleteButton(remote), deleteMenuItem(local), deleteMenuItem(remote)}) {
        EXPECT_EQ(action->toolTip().isEmpty() ? action->text() : action->toolTip(), u"Delete [F8]"_qs)
            << action->objectName().toStdString();
    }
    context().language.setCurrent(Language::German);
    EXPECT_EQ(deleteMenuItem(remote)->text(), QString::fromUtf8("Löschen [F8]"));

    // The server button with nothing selected: the selection message, nothing else.
    selectRows(BrowserSide::Server, {});
    deleteButton(BrowserSide::Server)->trigger();
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown.value(0).startsWith(u"information: "_qs));
    prompts.clear();

    // The server menu item asks the German question.
    selectRows(BrowserSide::Server, {u"srv.txt"_qs});
    prompts.confirmAnswers = {true};
    deleteMenuItem(BrowserSide::Server)->trigger();
    EXPECT_EQ(prompts.shown, QStringList{QString::fromUtf8("confirm: 1 Datei löschen?")});
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"srv.txt"_qs)));
}

TEST_F(DeleteWindow, LocalDeleteMovesTheSelectionToTheTrashAndTheDotDotRowStopsIt)
{
    // ".." among the selected rows: nothing happens and nothing is said.
    selectRows(BrowserSide::Local, {u".."_qs, u"keep.txt"_qs});
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F8);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(localRoot + u"keep.txt"_qs));
    // ".." alone: the selection message.
    selectRows(BrowserSide::Local, {u".."_qs});
    deleteButton(BrowserSide::Local)->trigger();
    EXPECT_EQ(prompts.shown, QStringList{u"information: Select first a file or a directory."_qs});
    prompts.clear();

    selectRows(BrowserSide::Local, {u" a [1].txt"_qs, u"dir"_qs});
    prompts.confirmAnswers = {true};
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_Delete);
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 1 File and 1 Directory with contents?"_qs});
    EXPECT_FALSE(QFileInfo::exists(localRoot + u" a [1].txt"_qs));
    EXPECT_FALSE(QFileInfo::exists(localRoot + u"dir"_qs));
    EXPECT_TRUE(QFileInfo::exists(localRoot + u"keep.txt"_qs));
    const QString trash = env.root() + u"data/Trash/"_qs;
    EXPECT_EQ(TestEnvironment::readFile(trash + u"files/ a [1].txt"_qs), QByteArray("local a\n"));
    EXPECT_EQ(TestEnvironment::readFile(trash + u"files/dir/inner.txt"_qs), QByteArray("inner\n"));
    EXPECT_TRUE(QFileInfo::exists(trash + u"info/dir.trashinfo"_qs));
    EXPECT_EQ(rowOf(BrowserSide::Local, u"dir"_qs), -1) << "the local grid is listed again";
    EXPECT_GE(rowOf(BrowserSide::Local, u"keep.txt"_qs), 0);
    EXPECT_FALSE(main().isBusy());
}

TEST_F(DeleteWindow, AServerDeleteConnectsFirstAndDoesNothingWithoutAConnection)
{
    master->Disconnect();
    main().SetIdleState();
    deletions().requestServerDelete();
    EXPECT_TRUE(master->isConnected()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(prompts.shown, QStringList{u"information: Select first a file or a directory."_qs})
        << "the server grid is checked once the connection stands";

    // A server that is gone: the failed connection ends the request before any question.
    master->Disconnect();
    server.stop();
    prompts.clear();
    deletions().requestServerDelete();
    EXPECT_FALSE(master->isConnected());
    for (const QString &shown : std::as_const(prompts.shown))
        EXPECT_FALSE(shown.startsWith(u"confirm: "_qs)) << shown.toStdString();
    EXPECT_FALSE(main().isBusy());
}

namespace {

// Server folder "/a|b" with file.txt, the file "/a" beside it; a local folder "l|x" with f.txt.
// A record cut at "|" would name "/a" (or "…/l") instead of the file chosen.
class SeparatorPaths : public ShellServerFixture {
protected:
    void prepareServer() override
    {
        server.writeFile(u"a|b/file.txt"_qs, "inside\n");
        server.writeFile(u"a"_qs, "beside\n");
    }
    void prepareLocal() override { env.writeFile(u"loc/l|x/f.txt"_qs, "local\n"); }
    static QString refusal(const QString &path)
    {
        return u"error: The path \""_qs + path
            + u"\" contains \"|\", \"\u00A7\" or a line break. The program cannot work with it; nothing was sent. Please rename "
              u"the folder or file."_qs;
    }
    void expectNothingChanged()
    {
        EXPECT_EQ(server.readFile(u"a"_qs), QByteArray("beside\n"));
        EXPECT_EQ(server.readFile(u"a|b/file.txt"_qs), QByteArray("inside\n"));
        EXPECT_EQ(TestEnvironment::readFile(localRoot + u"l|x/f.txt"_qs), QByteArray("local\n"));
        EXPECT_FALSE(QFileInfo::exists(localRoot + u"file.txt"_qs));
        EXPECT_FALSE(QFileInfo::exists(server.localPath(u"f.txt"_qs)));
        EXPECT_FALSE(main().isBusy());
    }
};

} // namespace

TEST_F(SeparatorPaths, EveryCommandRefusesAPathThatRecordsCannotCarryBeforeAnythingIsSent)
{
    browser().FillServerGrid(u"/a|b"_qs);
    ASSERT_EQ(pane(BrowserSide::Server).pathText(), u"/a|b"_qs);

    // Delete: no question, no DELE of "/a".
    selectRows(BrowserSide::Server, {u"file.txt"_qs});
    prompts.confirmAnswers = {true};
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F8);
    EXPECT_EQ(prompts.shown, QStringList{refusal(u"/a|b"_qs)});
    expectNothingChanged();

    // Download and permissions of the same file.
    prompts.clear();
    selectRows(BrowserSide::Server, {u"file.txt"_qs});
    w().downloadAction->trigger();
    EXPECT_EQ(prompts.shown, QStringList{refusal(u"/a|b"_qs)});
    prompts.clear();
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F11);
    EXPECT_EQ(prompts.shown, QStringList{refusal(u"/a|b"_qs)});
    expectNothingChanged();

    // An upload out of the local folder "l|x", in German.
    prompts.clear();
    browser().FillServerGrid(u"/"_qs);
    browser().FillLocalGrid(localRoot + u"l|x/"_qs);
    selectRows(BrowserSide::Local, {u"f.txt"_qs});
    context().language.setCurrent(Language::German);
    w().uploadAction->trigger();
    EXPECT_EQ(prompts.shown,
              QStringList{u"error: Der Pfad \""_qs + localRoot
                          + u"l|x/\" enthält \"|\", \"\u00A7\" oder einen Zeilenumbruch. Damit kann das Programm nicht arbeiten; es "
                            u"wurde nichts gesendet. Bitte benennen Sie den Ordner oder die Datei um."_qs});
    expectNothingChanged();
}
