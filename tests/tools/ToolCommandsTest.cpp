// The three tools started from the main window, offscreen, against a real FTP server: F11 in
// the server grid, the tools menu's multi rename tool and "Copy a file to each directory" on
// the side that has the keyboard focus.
#include "ShellServerFixture.h"
#include "WhenShown.h"

#include "app/Options.h"
#include "browser/BrowserController.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "queue/GetFilesListForm.h"
#include "queue/QueueTableModel.h"
#include "shell/QueueWiring.h"
#include "shell/SitesWiring.h"
#include "shell/ToolsWiring.h"
#include "sites/FTPConnection.h"
#include "tools/CopyFileToEachDirForm.h"
#include "tools/MultiRenameToolForm.h"
#include "tools/PermissionForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

class ToolCommands : public ShellServerFixture {
protected:
    void prepareServer() override
    {
        server.writeFile(S("top.txt"), "t");
        server.writeFile(S("www/a.txt"), "a");
        server.writeFile(S("www/sub/b.txt"), "b");
        server.writeFile(S("pics/a.jpg"), "A");
        server.writeFile(S("pics/b.jpg"), "B");
    }
    void prepareLocal() override
    {
        // Known modes on the server's files, set once the server holds them.
        for (const char *file : {"top.txt", "www/a.txt", "www/sub/b.txt"})
            QFile::setPermissions(server.localPath(S(file)), QFile::Permissions(0x6644));
        for (const char *folder : {"www", "www/sub"})
            QFile::setPermissions(server.localPath(S(folder)), QFile::Permissions(0x7755));

        env.writeFile(S("loc/one.txt"), "1");
        env.writeFile(S("loc/two.txt"), "2");
        env.writeFile(S("loc/site/index.html"), "site's own index");
        QDir().mkpath(localRoot + S("site/a/b"));
        source = env.writeFile(S("src/index.html"), "<p>new</p>");
        access = env.writeFile(S("src/.htaccess"), "Deny");
    }
    void afterConnect() override
    {
        main().activateWindow();
        QApplication::setActiveWindow(&main());
    }
    // The main window is active again (a closed dialog may still count as the active window
    // offscreen) and the widget has the keyboard focus, as after a click on it.
    void focus(QWidget *widget)
    {
        QApplication::setActiveWindow(&main());
        widget->setFocus();
        QApplication::processEvents();
    }
    QString mode(const char *relative)
    {
        const QFile::Permissions p = QFileInfo(server.localPath(S(relative))).permissions();
        const auto digit = [p](QFile::Permission r, QFile::Permission w, QFile::Permission x) {
            return QString::number((p & r ? 4 : 0) + (p & w ? 2 : 0) + (p & x ? 1 : 0));
        };
        return digit(QFile::ReadOwner, QFile::WriteOwner, QFile::ExeOwner) + digit(QFile::ReadGroup, QFile::WriteGroup, QFile::ExeGroup)
            + digit(QFile::ReadOther, QFile::WriteOther, QFile::ExeOther);
    }
    template <typename Form>
    void whenShown(Form &form, std::function<void(Form &)> act)
    {
        WhenShown::act(form, [&form, act] {
            shown = form.isVisible();
            act(form);
        });
    }

    QString source;
    QString access;
    static inline bool shown = false;
};

} // namespace

TEST_F(ToolCommands, F11ChangesTheSelectedFolderTreeAndFile)
{
    selectRows(BrowserSide::Server, {S("www"), S("top.txt")});
    PermissionForm &form = *starter->dialogs().permissions;
    whenShown<PermissionForm>(form, [](PermissionForm &f) {
        EXPECT_FALSE(f.recursiveGroup()->isHidden()) << "a folder is selected";
        EXPECT_EQ(f.valueEdit()->text(), S("755")) << "two rows start from the default";
        f.recursiveCheckBox()->click();
        f.valueEdit()->selectAll();
        QTest::keyClicks(f.valueEdit(), S("700"));
        QTest::keyClick(f.valueEdit(), Qt::Key_Return);
    });
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F11);
    ASSERT_TRUE(shown);
    for (const char *path : {"www", "www/a.txt", "www/sub", "www/sub/b.txt", "top.txt"})
        EXPECT_EQ(mode(path), S("700")) << path;
    EXPECT_FALSE(main().isBusy());
    EXPECT_EQ(starter->queue().model().rowCount(), 0);
    EXPECT_EQ(pane(BrowserSide::Server).pathText(), S("/"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();

    // One file starts from its own permissions; Abort changes nothing.
    browser().FillServerGrid(S("/"));
    selectRows(BrowserSide::Server, {S("top.txt")});
    whenShown<PermissionForm>(form, [](PermissionForm &f) {
        EXPECT_TRUE(f.recursiveGroup()->isHidden());
        EXPECT_EQ(f.valueEdit()->text(), S("700"));
        f.box(PermissionBits::OtherRead)->click();
        QTest::keyClick(f.valueEdit(), Qt::Key_Escape);
    });
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F11);
    EXPECT_EQ(mode("top.txt"), S("700"));

    selectRows(BrowserSide::Server, {});
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F11);
    EXPECT_EQ(prompts.shown, (QStringList{S("information: Select first a file or a directory.")}));
}

TEST_F(ToolCommands, F11SendsOnlyACompleteValue)
{
    // "64" would set ---rw-r--: the owner would lose his own rights. Nothing is sent.
    const auto typeAndConfirm = [this](const QString &value) {
        whenShown<PermissionForm>(*starter->dialogs().permissions, [value](PermissionForm &f) {
            f.valueEdit()->selectAll();
            QTest::keyClick(f.valueEdit(), Qt::Key_Delete);
            QTest::keyClicks(f.valueEdit(), value);
            QTest::keyClick(f.valueEdit(), Qt::Key_Return);
        });
        QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F11);
    };
    selectRows(BrowserSide::Server, {S("top.txt")});
    typeAndConfirm(S("64"));
    ASSERT_TRUE(shown);
    EXPECT_EQ(mode("top.txt"), S("644"));
    context().language.setCurrent(Language::German);
    typeAndConfirm(S(""));
    EXPECT_EQ(mode("top.txt"), S("644"));
    EXPECT_EQ(prompts.shown,
              (QStringList{S("error: \"64\" is not a complete permission value. Please enter three digits from 0 to 7 (four "
                             "with the special bits), for example 755. Nothing was changed."),
                           S("error: \"\" ist kein vollständiger Berechtigungswert. Bitte geben Sie drei Ziffern von 0 bis 7 "
                             "ein (vier mit den Sonderrechten), zum Beispiel 755. Es wurde nichts geändert.")}));
    EXPECT_FALSE(main().isBusy());

    // A complete value still goes through.
    context().language.setCurrent(Language::English);
    prompts.clear();
    typeAndConfirm(S("640"));
    EXPECT_EQ(mode("top.txt"), S("640")) << "the value as written";
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

TEST_F(ToolCommands, MultiRenameNeverReplacesAServerLinkOfTheNewName)
{
    ASSERT_TRUE(QFile::link(S("www"), server.localPath(S("public.txt"))));
    focus(w().filterOnOffButton);
    browser().FillServerGrid(S("/"));
    ASSERT_GE(rowOf(BrowserSide::Server, S("public.txt -> www")), 0) << names(BrowserSide::Server).join(u',').toStdString();
    selectRows(BrowserSide::Server, {S("top.txt")});
    MultiRenameToolForm &form = *starter->dialogs().multiRename;
    whenShown<MultiRenameToolForm>(form, [](MultiRenameToolForm &f) {
        f.namePatternEdit()->setText(S("public"));
        QTest::keyClick(f.namePatternEdit(), Qt::Key_Return);
    });
    w().multiRenameAction->trigger();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(QFileInfo(server.localPath(S("public.txt"))).isSymLink()) << "the link stays";
    EXPECT_EQ(server.readFile(S("top.txt")), "t");
    EXPECT_GE(rowOf(BrowserSide::Server, S("public.txt -> www")), 0);
    form.namePatternEdit()->setText(S("[N]"));
}

TEST_F(ToolCommands, DialogsCarryTheMainWindowsCaptionWithTheConnectedSite)
{
    FTPConnection site;
    site.Name = S("Docs site");
    site.Host = server.host();
    site.Port = QString::number(server.port());
    site.User = server.user();
    site.Password = server.password();
    site.LocalPath = localRoot;
    site.ServerPath = S("/");
    site.Mode = FTPConnection::Passive;
    ASSERT_TRUE(starter->sites().sequence().run(site)) << prompts.shown.join(u'\n').toStdString();
    ASSERT_EQ(main().windowTitle(), context().captionText() + S(" - Docs site"));

    QString caption;
    selectRows(BrowserSide::Server, {S("top.txt")});
    whenShown<PermissionForm>(*starter->dialogs().permissions, [&caption](PermissionForm &f) {
        caption = f.windowTitle();
        QTest::keyClick(f.valueEdit(), Qt::Key_Escape);
    });
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F11);
    EXPECT_EQ(caption, context().captionText() + S(" - Docs site"));
}

TEST_F(ToolCommands, MultiRenameRenamesTheFocusedSidesFilesOnly)
{
    focus(grid(BrowserSide::Local));
    ASSERT_EQ(browser().focusedSide(), BrowserSide::Local);
    selectRows(BrowserSide::Local, {S("one.txt"), S("site"), S("two.txt")});
    MultiRenameToolForm &form = *starter->dialogs().multiRename;
    whenShown<MultiRenameToolForm>(form, [](MultiRenameToolForm &f) {
        EXPECT_EQ(f.preview().oldNames(), (QStringList{S("one.txt"), S("two.txt")})) << "folders are left out";
        f.namePatternEdit()->setText(S("n_[C]"));
        QTest::keyClick(f.namePatternEdit(), Qt::Key_Return);
    });
    w().multiRenameAction->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(TestEnvironment::readFile(localRoot + S("n_1.txt")), "1");
    EXPECT_EQ(TestEnvironment::readFile(localRoot + S("n_2.txt")), "2");
    EXPECT_TRUE(QFileInfo(localRoot + S("site")).isDir());
    EXPECT_GE(rowOf(BrowserSide::Local, S("n_1.txt")), 0) << "the local grid is listed again";

    // The focus elsewhere: the server side, whose files are renamed on the server.
    focus(w().filterOnOffButton);
    browser().FillServerGrid(S("/pics"));
    selectRows(BrowserSide::Server, {S("a.jpg"), S("b.jpg")});
    whenShown<MultiRenameToolForm>(form, [](MultiRenameToolForm &f) {
        EXPECT_EQ(f.namePatternEdit()->text(), S("n_[C]")) << "the inputs stay for the program run";
        EXPECT_EQ(f.preview().rows().value(0).location, S("/pics"));
        f.namePatternEdit()->setText(S("[N]_x"));
        f.findChild<QPushButton *>(S("BitBtn1"))->click();
    });
    w().multiRenameAction->trigger();
    EXPECT_EQ(server.readFile(S("pics/a_x.jpg")), "A");
    EXPECT_EQ(server.readFile(S("pics/b_x.jpg")), "B");
    EXPECT_GE(rowOf(BrowserSide::Server, S("a_x.jpg")), 0);

    selectRows(BrowserSide::Server, {S("..")});
    w().multiRenameAction->trigger();
    EXPECT_EQ(prompts.shown, (QStringList{S("information: Please select minimum one file!")}));
    form.namePatternEdit()->setText(S("[N]"));
}

TEST_F(ToolCommands, CopyToEachLocalFolderAsksBeforeReplacingAFile)
{
    focus(pane(BrowserSide::Local).pathBox());
    selectRows(BrowserSide::Local, {S("site"), S("one.txt")});
    prompts.filesAnswers = {{source, access}};
    prompts.confirmAnswers = {false}; // keep the site's own index page
    CopyFileToEachDirForm &form = *starter->dialogs().copyToEachDir;
    whenShown<CopyFileToEachDirForm>(form, [this](CopyFileToEachDirForm &f) {
        EXPECT_FALSE(starter->dialogs().walkProgress->isVisible()) << "the progress window is closed";
        EXPECT_FALSE(main().isBusy());
        EXPECT_EQ(f.destinations(), (QStringList{localRoot + S("site"), localRoot + S("site/a"), localRoot + S("site/a/b")}));
        f.selectButton()->click();
        QTest::keyClick(f.destinationList(), Qt::Key_Return);
    });
    w().copyToEachDirAction->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(prompts.shown, (QStringList{S("openFiles: Select file(s)"),
                                          S("confirm: 1 of the copies would replace a file of the same name. Replace these files?")}));
    EXPECT_EQ(TestEnvironment::readFile(localRoot + S("site/index.html")), "site's own index");
    for (const char *folder : {"site", "site/a", "site/a/b"})
        EXPECT_EQ(TestEnvironment::readFile(localRoot + S(folder) + S("/.htaccess")), "Deny") << folder;
    EXPECT_EQ(TestEnvironment::readFile(localRoot + S("site/a/b/index.html")), "<p>new</p>");
    EXPECT_FALSE(QFileInfo::exists(localRoot + S("one.txt/index.html")));
    EXPECT_FALSE(main().filterState()) << "the filter switch is back as it was";

    // Nothing copies without a folder in the selection, or with the focus on neither side.
    focus(grid(BrowserSide::Local));
    selectRows(BrowserSide::Local, {S("one.txt")});
    prompts.clear();
    w().copyToEachDirAction->trigger();
    EXPECT_EQ(prompts.shown, (QStringList{S("information: Please select minimum one directory!")}));
    focus(w().filterOnOffButton);
    selectRows(BrowserSide::Local, {S("site")});
    shown = false;
    w().copyToEachDirAction->trigger();
    EXPECT_FALSE(shown);
}

TEST_F(ToolCommands, CopyToEachServerFolderQueuesOneUploadPerFileAndFolder)
{
    context().options.applyUnsaved(&OptionsData::automaticRunQueue, false);
    focus(grid(BrowserSide::Server));
    selectRows(BrowserSide::Server, {S("www")});
    prompts.filesAnswers = {{source, access}};
    CopyFileToEachDirForm &form = *starter->dialogs().copyToEachDir;
    whenShown<CopyFileToEachDirForm>(form, [](CopyFileToEachDirForm &f) {
        EXPECT_EQ(f.destinations(), (QStringList{S("/www"), S("/www/sub")}));
        f.selectButton()->click();
        f.copyButton()->click();
    });
    w().copyToEachDirAction->trigger();
    ASSERT_TRUE(shown);
    const QueueTableModel &queue = starter->queue().model();
    ASSERT_EQ(queue.rowCount(), 4);
    QStringList destinations;
    for (const QueueRow &row : queue.rows())
        destinations << row.cmd + u' ' + row.destination;
    EXPECT_EQ(destinations, (QStringList{S("STOR /www/index.html"), S("STOR /www/.htaccess"), S("STOR /www/sub/index.html"),
                                         S("STOR /www/sub/.htaccess")}));
    EXPECT_FALSE(QFileInfo::exists(server.localPath(S("www/index.html")))) << "the queue only shows the records";
    EXPECT_FALSE(main().isBusy());

    // With automatic running the uploads happen at once.
    context().options.applyUnsaved(&OptionsData::automaticRunQueue, true);
    focus(grid(BrowserSide::Server));
    selectRows(BrowserSide::Server, {S("www")});
    prompts.filesAnswers = {{access}};
    whenShown<CopyFileToEachDirForm>(form, [](CopyFileToEachDirForm &f) {
        f.selectButton()->click();
        f.copyButton()->click();
    });
    w().copyToEachDirAction->trigger();
    EXPECT_EQ(server.readFile(S("www/.htaccess")), "Deny");
    EXPECT_EQ(server.readFile(S("www/sub/.htaccess")), "Deny");
}
