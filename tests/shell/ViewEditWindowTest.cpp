// View/Edit in the running program against a real server: F4, the panes' buttons and menu
// items, the built-in editor, the system's open action and the external editor, and both
// monitors driven by saving files and calling their tick directly.
#include "ShellServerFixture.h"

#include "app/Options.h"
#include "browser/PaneCommandBar.h"
#include "common/Language.h"
#include "editor/EditorForm.h"
#include "editor/LocalEditMonitor.h"
#include "editor/RemoteEditMonitor.h"
#include "editor/WorkingCopyFolder.h"
#include "queue/GetFilesListForm.h"
#include "shell/FileOpsWiring.h"
#include "shell/SitesWiring.h"
#include "sites/FTPConnection.h"
#include "shell/ViewEditWiring.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class ViewEditWindow : public ShellServerFixture {
protected:
    void prepareServer() override
    {
        server.writeFile(u"srv.txt"_qs, "from the server\n");
        server.writeFile(u"setup.exe"_qs, "MZ");
        server.writeFile(u"photo.png"_qs, QByteArray("\x89PNG\r\n", 6));
        QDir().mkpath(server.localPath(u"pub"_qs));
    }
    void prepareLocal() override
    {
        env.writeFile(u"loc/a.txt"_qs, "local a\n");
        env.writeFile(u"loc/srv.txt"_qs, "local copy\n");
        env.writeFile(u"loc/setup.exe"_qs, "MZ");
        QDir().mkpath(localRoot + u"dir"_qs);
    }
    void choose(bool internal, bool system, bool external, const QString &exe = {})
    {
        OptionsData data = context().options.data();
        data.internalEditor = internal;
        data.startWithSystemExtension = system;
        data.externalEditor = external;
        data.externalEditorExe = exe;
        context().options.setData(data);
    }
    FileOpsWiring &fileOps() { return starter->fileOps(); }
    EditorForm &editor() { return *starter->dialogs().editor; }
    ViewEditWiring &viewEdit() { return starter->viewEdit(); }
    RemoteEditMonitor &remote() { return viewEdit().remoteMonitor(); }
    LocalEditMonitor &local() { return viewEdit().localMonitor(); }
    // The working copy of a server file: in a folder of the site and the file's server folder.
    QString copyOf(const QString &name, const QString &serverFolder = u"/"_qs)
    {
        const QString site = server.host() + u'_' + QString::number(server.port()) + u'_' + server.user();
        return context().folders.monitoringFolder() + WorkingCopyFolder(site, serverFolder) + name;
    }
    // Types a new text into the editor and saves it. The editor shows a file without its final
    // line end (the file keeps it): a text that ends with a line break ends with an empty line.
    void editAndSave(const QString &text)
    {
        editor().textEdit()->setText(text);
        ASSERT_TRUE(editor().save());
    }
    static QString question(const QString &remote)
    {
        return u"confirm: The file "_qs + remote + u" has been changed. Upload this file back to the server?"_qs;
    }
};

TEST_F(ViewEditWindow, AFolderOrNoFileSaysSelectFirstAFileOnBothSides)
{
    select(BrowserSide::Local, u"dir"_qs);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F4);
    select(BrowserSide::Server, u"pub"_qs);
    context().language.setCurrent(Language::German);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F4);
    EXPECT_EQ(prompts.shown, (QStringList{u"information: Select first a file."_qs,
                                          u"information: Bitte zuerst eine Datei auswählen."_qs}));
    EXPECT_FALSE(editor().isVisible());
    EXPECT_FALSE(local().isActive());
    EXPECT_FALSE(remote().isActive());
}

TEST_F(ViewEditWindow, ALocalTextFileOpensInTheEditorAndItsFirstSaveIsNoticedOnce)
{
    select(BrowserSide::Local, u"a.txt"_qs);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F4);
    EXPECT_TRUE(editor().isVisible());
    EXPECT_EQ(editor().filePath(), localRoot + u"a.txt"_qs);
    EXPECT_FALSE(editor().saveAsEnabled());
    EXPECT_TRUE(local().isActive());
    EXPECT_EQ(local().timer().interval(), 100);

    editAndSave(u"changed"_qs);
    local().check();
    EXPECT_FALSE(local().isActive());
    EXPECT_TRUE(prompts.shown.isEmpty()) << "the server folder shown has no a.txt";
}

TEST_F(ViewEditWindow, ALocalChangeOfAFileTheServerFolderHoldsIsOfferedForUpload)
{
    select(BrowserSide::Local, u"srv.txt"_qs);
    fileOps().bar(BrowserSide::Local).button(PaneCommand::ViewEdit)->trigger();
    editAndSave(u"edited locally"_qs);
    prompts.confirmAnswers = {true};
    local().check();
    EXPECT_EQ(prompts.shown, QStringList{question(u"/srv.txt"_qs)});
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "edited locally\n");
}

TEST_F(ViewEditWindow, TheLocalMonitorUploadsTheEditedFileWhereverThePanesAreNow)
{
    env.writeFile(u"loc/site/index.html"_qs, "site\n");
    env.writeFile(u"loc/other/index.html"_qs, "other\n");
    server.writeFile(u"index.html"_qs, "on the server\n");
    browser().FillServerGrid(u"/"_qs);
    browser().FillLocalGrid(localRoot + u"site/"_qs);
    select(BrowserSide::Local, u"index.html"_qs);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F4);
    ASSERT_TRUE(local().isActive());
    editAndSave(u"edited site"_qs);

    // Both panes move on before the change is noticed.
    browser().FillLocalGrid(localRoot + u"other/"_qs);
    browser().FillServerGrid(u"/pub"_qs);
    prompts.confirmAnswers = {true};
    local().check();
    EXPECT_EQ(prompts.shown, QStringList{question(u"/index.html"_qs)});
    EXPECT_EQ(server.readFile(u"index.html"_qs), "edited site\n");
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"pub/index.html"_qs)));
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"other/index.html"_qs), "other\n");
}

TEST_F(ViewEditWindow, TheRemoteMonitorWaitsForAServerWalkAndThenOffersTheChange)
{
    server.writeFile(u"pub/a.txt"_qs, "a");
    server.writeFile(u"pub/sub/b.txt"_qs, "b");
    select(BrowserSide::Server, u"srv.txt"_qs);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F4);
    ASSERT_TRUE(remote().isActive());

    // A save and a tick while "Calculate used webspace" walks the server.
    bool busyThen = false;
    QStringList askedDuringWalk;
    QTimer::singleShot(0, &main(), [&] {
        busyThen = main().isBusy();
        editAndSave(u"saved during the walk"_qs);
        remote().check();
        askedDuringWalk = prompts.shown;
    });
    prompts.confirmAnswers = {true};
    select(BrowserSide::Server, u"pub"_qs);
    starter->fileOps().bar(BrowserSide::Server).button(PaneCommand::UsedSpace)->trigger();
    starter->dialogs().walkProgress->closeButton()->click();
    ASSERT_TRUE(busyThen) << "the tick came during the walk";
    EXPECT_TRUE(askedDuringWalk.isEmpty()) << askedDuringWalk.join(u'\n').toStdString();
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "from the server\n");

    // Once the walk is over the change is offered, and Yes uploads it.
    remote().check();
    EXPECT_EQ(prompts.shown, QStringList{question(u"/srv.txt"_qs)});
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "saved during the walk\n");
    EXPECT_FALSE(main().isBusy());
}

TEST_F(ViewEditWindow, AServerFileOpensAsAWorkingCopyAndEverySaveIsOffered)
{
    select(BrowserSide::Server, u"srv.txt"_qs);
    fileOps().bar(BrowserSide::Server).menuItem(PaneCommand::ViewEdit)->trigger();
    EXPECT_EQ(TestEnvironment::readFile(copyOf(u"srv.txt"_qs)), "from the server\n");
    EXPECT_TRUE(editor().isVisible());
    EXPECT_EQ(editor().filePath(), copyOf(u"srv.txt"_qs));
    EXPECT_TRUE(remote().isActive());
    EXPECT_EQ(remote().remotePath(), u"/srv.txt"_qs);
    EXPECT_EQ(remote().timer().interval(), 500);

    remote().check();
    EXPECT_TRUE(prompts.shown.isEmpty()) << "opened, not changed";

    // Three saves one right after the other, well within two seconds.
    prompts.confirmAnswers = {true, false, false};
    editAndSave(u"first save"_qs);
    remote().check();
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "first save\n");
    editAndSave(u"second save, declined"_qs);
    remote().check();
    editAndSave(u"third"_qs);
    remote().check();
    remote().check();
    EXPECT_EQ(prompts.shown, (QStringList{question(u"/srv.txt"_qs), question(u"/srv.txt"_qs), question(u"/srv.txt"_qs)}));
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "first save\n") << "declined offers upload nothing";
    EXPECT_TRUE(remote().isActive());
}

// An Abort left over from earlier work (closing the used-space window sets it) must not cut
// the next single transfer short: the working copy is made whole, and Yes puts the whole
// edited file on the server, not an empty one.
TEST_F(ViewEditWindow, ASingleTransferAfterAnEarlierAbortCarriesTheWholeFile)
{
    QByteArray big;
    for (int i = 0; big.size() < 3 * 1024 * 1024; ++i)
        big += "line " + QByteArray::number(i) + " of a large page\n";
    server.writeFile(u"big.txt"_qs, big);
    browser().FillServerGrid(u"/"_qs);
    choose(false, true, false); // the system's opener: the transfers are what this is about
    starter->work().cancel.cancel();
    select(BrowserSide::Server, u"big.txt"_qs);
    fileOps().bar(BrowserSide::Server).menuItem(PaneCommand::ViewEdit)->trigger();
    EXPECT_EQ(TestEnvironment::readFile(copyOf(u"big.txt"_qs)), big);

    starter->work().cancel.cancel();
    const QByteArray edited = big + "one more line\n";
    ASSERT_EQ(env.writeFile(copyOf(u"big.txt"_qs).mid(env.root().size()), edited), copyOf(u"big.txt"_qs));
    prompts.confirmAnswers = {true};
    remote().check();
    EXPECT_EQ(server.readFile(u"big.txt"_qs), edited);
}

// The edit is the user's work: an upload that does not succeed leaves it offered, and nothing is
// asked while other work runs (the upload could not run then).
TEST_F(ViewEditWindow, AChangeThatCouldNotBeUploadedStaysOfferedAndNothingIsAskedDuringWork)
{
    select(BrowserSide::Server, u"srv.txt"_qs);
    fileOps().bar(BrowserSide::Server).menuItem(PaneCommand::ViewEdit)->trigger();
    ASSERT_TRUE(remote().isActive());
    editAndSave(u"my edit"_qs);

    main().SetBusyState();
    remote().check();
    EXPECT_TRUE(prompts.shown.isEmpty()) << "asked while work runs";
    main().SetIdleState();

    // The server refuses the upload: a folder stands where the file was.
    QFile::remove(server.localPath(u"srv.txt"_qs));
    QDir().mkpath(server.localPath(u"srv.txt"_qs));
    prompts.confirmAnswers = {true};
    remote().check();
    EXPECT_EQ(prompts.shown, QStringList{question(u"/srv.txt"_qs)});

    QDir(server.localPath(u"srv.txt"_qs)).removeRecursively();
    prompts.confirmAnswers = {true};
    remote().check();
    EXPECT_EQ(prompts.shown, (QStringList{question(u"/srv.txt"_qs), question(u"/srv.txt"_qs)})) << "offered again";
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "my edit\n");
    remote().check();
    EXPECT_EQ(prompts.shown.size(), 2) << "uploaded: not offered again";
}

TEST_F(ViewEditWindow, ARemoteExecutableIsNeverFetchedNorOpened)
{
    const struct {
        bool internal, system, external;
    } choices[] = {{true, false, false}, {false, true, false}, {false, false, true}};
    for (const auto &c : choices) {
        choose(c.internal, c.system, c.external, u"/usr/bin/true"_qs);
        select(BrowserSide::Server, u"setup.exe"_qs);
        QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F4);
        EXPECT_FALSE(QFileInfo::exists(copyOf(u"setup.exe"_qs)));
        EXPECT_FALSE(remote().isActive());
    }
    EXPECT_TRUE(platform.openedFiles.isEmpty());
    EXPECT_TRUE(platform.started.isEmpty());
    EXPECT_FALSE(editor().isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ViewEditWindow, TheSystemsOpenActionGetsTheCopyOrTheLocalFileEvenAnExecutable)
{
    choose(false, true, false);
    select(BrowserSide::Server, u"photo.png"_qs);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F4);
    EXPECT_EQ(TestEnvironment::readFile(copyOf(u"photo.png"_qs)), QByteArray("\x89PNG\r\n", 6));
    select(BrowserSide::Local, u"setup.exe"_qs);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F4);
    EXPECT_EQ(platform.openedFiles, (QStringList{copyOf(u"photo.png"_qs), localRoot + u"setup.exe"_qs}));
    EXPECT_TRUE(remote().isActive());
    EXPECT_EQ(remote().remotePath(), u"/photo.png"_qs);
}

TEST_F(ViewEditWindow, TheExternalEditorGetsTheServerCopyAndAFailureSaysSo)
{
    choose(false, false, true, u"/opt/editor/bin/ed"_qs);
    select(BrowserSide::Server, u"srv.txt"_qs);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F4);
    EXPECT_EQ(platform.started, QStringList{u"/opt/editor/bin/ed "_qs + copyOf(u"srv.txt"_qs)});

    platform.startFails = true;
    context().language.setCurrent(Language::German);
    select(BrowserSide::Local, u"a.txt"_qs);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F4);
    EXPECT_EQ(prompts.shown, QStringList{u"information: Anzeigen/Bearbeiten der Datei nicht möglich."_qs});
}

} // namespace

namespace {

TEST_F(ViewEditWindow, ChoosingAnotherConnectionSwitchesTheRemoteMonitorOff)
{
    select(BrowserSide::Server, u"srv.txt"_qs);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F4);
    ASSERT_TRUE(remote().isActive());
    FTPConnection site;
    site.Name = u"same server"_qs;
    site.Host = server.host();
    site.Port = QString::number(server.port());
    site.User = server.user();
    site.Password = server.password();
    site.LocalPath = localRoot;
    site.ServerPath = u"/"_qs;
    site.Mode = FTPConnection::Passive;
    EXPECT_TRUE(starter->sites().sequence().run(site)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_FALSE(remote().isActive());
}

} // namespace

namespace {

TEST_F(ViewEditWindow, ServerFilesOfOneNameInTwoFoldersHaveAWorkingCopyEach)
{
    server.writeFile(u"ve/a/index.html"_qs, "page A\n");
    server.writeFile(u"ve/b/index.html"_qs, "page B\n");
    browser().FillServerGrid(u"/ve/a"_qs);
    select(BrowserSide::Server, u"index.html"_qs);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F4);
    const QString copyA = editor().filePath();
    browser().FillServerGrid(u"/ve/b"_qs);
    select(BrowserSide::Server, u"index.html"_qs);
    QTest::keyClick(grid(BrowserSide::Server), Qt::Key_F4);
    const QString copyB = editor().filePath();
    EXPECT_EQ(copyA, copyOf(u"index.html"_qs, u"/ve/a"_qs));
    EXPECT_EQ(copyB, copyOf(u"index.html"_qs, u"/ve/b"_qs));
    EXPECT_EQ(TestEnvironment::readFile(copyA), "page A\n") << "B's download left A's copy alone";
    EXPECT_EQ(remote().remotePath(), u"/ve/b/index.html"_qs);

    // An editor still open on A saves A's text: nothing is offered for B, B stays as it is.
    prompts.confirmAnswers = {true};
    env.writeFile(QDir(env.root()).relativeFilePath(copyA), "page A, edited\n");
    remote().check();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(server.readFile(u"ve/b/index.html"_qs), "page B\n");
    EXPECT_EQ(server.readFile(u"ve/a/index.html"_qs), "page A\n");
}

TEST_F(ViewEditWindow, TheLocalMonitorUploadsOnlyToTheSiteItWasStartedFor)
{
    FtpTestServer other;
    other.writeFile(u"srv.txt"_qs, "the other site's own file\n");
    ASSERT_TRUE(other.start()) << other.errorText().toStdString();
    select(BrowserSide::Local, u"srv.txt"_qs);
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F4);
    ASSERT_TRUE(local().isActive());
    editAndSave(u"edited for the first site"_qs);

    // Another site is connected when the change is noticed: nothing is asked, nothing sent.
    master->Disconnect();
    master->SetConnectionData(other.host(), QString::number(other.port()), other.user(), other.password(), 0);
    ASSERT_TRUE(master->Connect(false));
    browser().FillServerGrid(u"/"_qs);
    prompts.confirmAnswers = {true};
    local().check();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(other.readFile(u"srv.txt"_qs), "the other site's own file\n");
    EXPECT_TRUE(local().isActive()) << "the change waits for its site";

    // Its own site again: the change is offered and goes there.
    master->Disconnect();
    master->SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
    ASSERT_TRUE(master->Connect(false));
    local().check();
    EXPECT_EQ(prompts.shown, QStringList{question(u"/srv.txt"_qs)});
    EXPECT_EQ(server.readFile(u"srv.txt"_qs), "edited for the first site\n");
    EXPECT_EQ(other.readFile(u"srv.txt"_qs), "the other site's own file\n");
    other.stop();
}

} // namespace
