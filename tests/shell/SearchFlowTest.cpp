// Search and replace from the main window against a real server, end to end: the selection is
// collected, a filter that hands every text file over (standing in for the filter window's
// second step) writes "SEARCH_QUEUE.TXT", the files are downloaded, changed in the search window
// after a backup, uploaded, and restored from the backup. The server's files are compared byte
// for byte after every step. The same for local files.
#include "AppFixture.h"
#include "HandOverAllFilter.h"
#include "FtpTestServer.h"
#include "QtPrinters.h"
#include "WhenShown.h"

#include "app/DialogHeader.h"
#include "app/Options.h"
#include "browser/BrowserController.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridModel.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "browser/PaneCommandBar.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"
#include "common/TextCodec.h"
#include "common/Word.h"
#include "engine/MasterFTP.h"
#include "filter/FilterForm.h"
#include "filter/NoWizardFilterFile.h"
#include "filter/WizardFilterForm.h"
#include "queue/AskOverwriteForm.h"
#include "queue/AsciiFileRule.h"
#include "queue/GetFilesListForm.h"
#include "queue/LocalFolders.h"
#include "queue/QueueRecord.h"
#include "queue/QueueRunner.h"
#include "queue/TransferBuilderSetup.h"
#include "queue/TransferBuilders.h"
#include "editor/EditorForm.h"
#include "replace/RestoreForm.h"
#include "replace/SearchAndReplaceForm.h"
#include "replace/SearchResultModel.h"
#include "shell/FileOpsWiring.h"
#include "shell/QueueWiring.h"
#include "shell/RestoreWiring.h"
#include "shell/SearchWiring.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <Qsci/qsciscintilla.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {


class SearchFlow : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        main().siteManagerTimer().stop();
        // Text in the Unix server's own form: ASCII mode carries it as CR LF and the server
        // stores LF again, so a file that goes down and up unchanged stays the same bytes.
        server.writeFile(u"www/index.html"_s, "<p>old</p>\n<p>keep</p>\n");
        server.writeFile(u"www/css/site.css"_s, "body { color: old; }\n");
        server.writeFile(u"www/readme.txt"_s, "nothing to see\n");
        server.writeFile(u"www/logo.png"_s, QByteArray("\x89PNG old\r\n\x00", 11));
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();
        ASSERT_TRUE(NoWizardFilterFile(context().folders.appDataFolder).write());
        // The overwrite question is answered as a user would: "Overwrite", for this file only.
        AskOverwriteForm *ask = starter->dialogs().overwriteQuestion;
        auto *answer = new QTimer(ask);
        QObject::connect(answer, &QTimer::timeout, ask, [this, ask] {
            if (!ask->isVisible())
                return;
            ++overwriteQuestions;
            ask->overwriteRadioButton()->click();
            ask->okButton()->click();
        });
        answer->start(0);

        localRoot = env.root() + u"loc/"_s;
        QDir().mkpath(localRoot);
        master = &starter->ftp();
        master->client().setTimeouts({3000, 5000, 5000});
        master->SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        main().SetIdleState();
        browser().FillServerGrid(u"/"_s);
        browser().FillLocalGrid(localRoot);

        filter = std::make_unique<HandOverAllFilter>(context(), starter->queue().host());
        host = &browser();
        builders = std::make_unique<TransferBuilders>(TransferBuilderSetup{
            context(), *master, starter->work(), starter->queue().host(), starter->queue().runner(), starter->queue().walker(),
            *starter->dialogs().walkProgress, *host, *starter->dialogs().wizardFilter, *filter, starter->search()});
        prompts.clear();
    }
    void TearDown() override
    {
        if (master->isConnected())
            master->Disconnect();
        AppFixture::TearDown();
    }

    BrowserController &browser() { return starter->browser(); }
    SearchAndReplaceForm &form() { return *starter->dialogs().searchAndReplace; }
    void select(BrowserSide side, const QString &name)
    {
        FileGridView *view = browser().pane(side).view();
        const FileGridModel &model = browser().pane(side).model();
        view->clearSelection();
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.nameAt(row) == name)
                view->selectionModel()->setCurrentIndex(view->model()->index(row, FileGridColumns::Name),
                                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    // Runs the steps in the search window once it is open (the collection before it processes
    // events too, so the check comes back until the window is there).
    // In the search window: "old" replaced by "new" in the server files.
    void replaceOldByNewOnServer()
    {
        form().modeComboBox()->setCurrentIndex(0);
        form().searchEdit()->setText(u"old"_s);
        form().replaceEdit()->setText(u"new"_s);
        form().button("SearchAndReplaceServerBitBtn")->click();
    }
    // Searches the server folder "www" for "<p>", opens the file whose shown path ends with name
    // in the editor, lets edit change its text, saves, and uploads the changed files back.
    void editInSearchWindowAndUpload(const QString &name, std::function<QString(const QString &)> edit)
    {
        select(BrowserSide::Server, u"www"_s);
        EditorForm *editor = starter->dialogs().editor;
        inSearchWindow([this, name, edit, editor] {
            form().modeComboBox()->setCurrentIndex(0);
            form().searchEdit()->setText(u"<p>"_s);
            const QAbstractItemModel *grid = form().grid()->model();
            for (int row = 0; row < grid->rowCount(); ++row) {
                if (grid->index(row, SearchResultModel::ShownColumn).data().toString().endsWith(name))
                    form().grid()->selectRow(row);
            }
            QTimer::singleShot(0, editor, [editor, edit] {
                editor->textEdit()->setText(edit(editor->textEdit()->text()));
                editor->save();
                editor->reject();
            });
            prompts.clear();
            form().button("ViewBiitBtn")->click();
            form().button("UploadSearchAndReplaceBitBtn")->click();
        });
        builders->Search(GridSide::Server, SearchKind::SearchAndReplace);
    }
    // "Restore" in the main window, the newest backup chosen and confirmed (and the further
    // questions answered with later).
    void restoreNewestBackup(const QList<bool> &later = {})
    {
        RestoreForm &restore = *starter->dialogs().restore;
        QTimer::singleShot(0, &restore, [&restore, this, later] {
            prompts.confirmAnswers = QList<bool>{true} + later;
            restore.restoreButton()->click();
        });
        prompts.clear();
        w().restoreButton->click();
    }
    void inSearchWindow(std::function<void()> steps)
    {
        whenShown(&form(), [this, steps] {
            windowWasOpen = true;
            steps();
        });
    }
    QByteArray onServer(const QString &path) { return server.readFile(path); }

    FtpTestServer server;
    MasterFTP *master = nullptr;
    QString localRoot;
    std::unique_ptr<HandOverAllFilter> filter;
    TransferHost *host = nullptr; // the grids, as the builders see them
    std::unique_ptr<TransferBuilders> builders;
    bool windowWasOpen = false;
    int overwriteQuestions = 0;
};

TEST_F(SearchFlow, ServerFilesAreDownloadedChangedUploadedAndRestored)
{
    const QByteArray index = onServer(u"www/index.html"_s);
    const QByteArray css = onServer(u"www/css/site.css"_s);
    const QByteArray readme = onServer(u"www/readme.txt"_s);
    const QByteArray logo = onServer(u"www/logo.png"_s);
    const QString download = context().folders.downloadFolder();

    select(BrowserSide::Server, u"www"_s);
    QStringList queuedInWindow;
    inSearchWindow([&] {
        // Downloaded into the working folder; the server is untouched; the picture was no text.
        EXPECT_EQ(TestEnvironment::readFile(download + u"www/index.html"_s), "<p>old</p>\n<p>keep</p>\n");
        EXPECT_EQ(TestEnvironment::readFile(download + u"www/css/site.css"_s), "body { color: old; }\n");
        EXPECT_FALSE(QFileInfo::exists(download + u"www/logo.png"_s));
        EXPECT_FALSE(QFileInfo::exists(localRoot + u"www"_s)) << "the user's folder gets nothing";
        EXPECT_EQ(form().grid()->model()->rowCount(), 3);
        EXPECT_TRUE(form().button("SearchAndReplaceServerBitBtn")->isVisible());

        replaceOldByNewOnServer();
        queuedInWindow = form().session().transferRecords();
        EXPECT_EQ(onServer(u"www/index.html"_s), index) << "nothing goes up before the window closes";
        EXPECT_EQ(onServer(u"www/css/site.css"_s), css);
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    builders->Search(GridSide::Server, SearchKind::SearchAndReplace);
    ASSERT_TRUE(windowWasOpen);
    EXPECT_EQ(filter->modes, QList<FilterWindowMode>{FilterWindowMode::SearchAndReplace});
    EXPECT_EQ(queuedInWindow.size(), 2);

    // The changed files are on the server, the others as they were.
    EXPECT_EQ(onServer(u"www/index.html"_s), "<p>new</p>\n<p>keep</p>\n");
    EXPECT_EQ(onServer(u"www/css/site.css"_s), "body { color: new; }\n");
    EXPECT_EQ(onServer(u"www/readme.txt"_s), readme);
    EXPECT_EQ(onServer(u"www/logo.png"_s), logo);
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"BACKUPINFO.VELMORA"_s)));
    EXPECT_TRUE(w().restoreButtonAction->isVisible());
    EXPECT_EQ(prompts.shown.value(1), u"information: You have a backup now. Please press \"Restore\" at the top of the "
                                      "program, to restore the old version."_s);
    EXPECT_FALSE(main().isBusy());

    // Restore: the backup folder goes back to the folder it came from.
    RestoreForm &restore = *starter->dialogs().restore;
    QTimer::singleShot(0, &restore, [&restore, this] {
        ASSERT_EQ(restore.grid()->model()->rowCount(), 1);
        EXPECT_EQ(restore.grid()->model()->index(0, 1).data().toString(), u"Server"_s);
        prompts.confirmAnswers = {true};
        restore.restoreButton()->click();
    });
    const QString localBefore = w().localPathEdit->currentText();
    prompts.clear();
    w().restoreButton->click();
    EXPECT_EQ(prompts.shown.value(1), u"information: Backup restored."_s);
    EXPECT_EQ(onServer(u"www/index.html"_s), index);
    EXPECT_EQ(onServer(u"www/css/site.css"_s), css);
    EXPECT_EQ(onServer(u"www/readme.txt"_s), readme);
    EXPECT_EQ(onServer(u"www/logo.png"_s), logo);
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"BACKUPINFO.VELMORA"_s))) << "the index never travels";
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"www/BACKUPINFO.VELMORA"_s)));
    EXPECT_EQ(w().localPathEdit->currentText(), localBefore);
    EXPECT_FALSE(main().filterState());
    EXPECT_TRUE(context().options.data().automaticRunQueue);
    EXPECT_TRUE(QFileInfo::exists(context().folders.tempFolder + u"BACKUP001/www/index.html"_s)) << "the backup stays";
}

// Working copies, backups and uploads are byte copies: CR LF, LF, mixed line ends and a
// missing final line break come back with only the matched bytes changed, a file with NUL bytes
// is listed as binary and never changed, and restore puts back exactly what the server had.
TEST_F(SearchFlow, AnApplyChangesOnlyTheMatchedBytesAndRestoreIsByteExact)
{
    const QList<std::pair<QString, QByteArray>> files = {
        {u"www/crlf.txt"_s, "a old line\r\nsecond\r\n"},
        {u"www/lf.html"_s, "<p>old</p>\n<p>keep</p>\n"},
        {u"www/mixed.txt"_s, "old\r\nx\nold\ry"},
        {u"www/data"_s, QByteArray("old\r\n\0\x01\x02 binary old \xFF\r\n", 22)},
    };
    for (const auto &[path, bytes] : files)
        server.writeFile(path, bytes);
    browser().FillServerGrid(u"/"_s);
    const QString download = context().folders.downloadFolder();
    select(BrowserSide::Server, u"www"_s);
    bool binaryListed = false;
    inSearchWindow([&] {
        for (const auto &[path, bytes] : files) {
            if (QFileInfo::exists(download + path))
                EXPECT_EQ(TestEnvironment::readFile(download + path), bytes) << "a byte copy: " << path.toStdString();
        }
        replaceOldByNewOnServer();
        const QAbstractItemModel *grid = form().grid()->model();
        for (int row = 0; row < grid->rowCount(); ++row) {
            for (int column = 0; column < grid->columnCount(); ++column) {
                if (grid->index(row, column).data().toString() == u"binary"_s)
                    binaryListed = true;
            }
        }
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    builders->Search(GridSide::Server, SearchKind::SearchAndReplace);
    ASSERT_TRUE(windowWasOpen);
    EXPECT_EQ(onServer(u"www/crlf.txt"_s), "a new line\r\nsecond\r\n");
    EXPECT_EQ(onServer(u"www/lf.html"_s), "<p>new</p>\n<p>keep</p>\n");
    EXPECT_EQ(onServer(u"www/mixed.txt"_s), "new\r\nx\nnew\ry");
    EXPECT_EQ(onServer(u"www/data"_s), files[3].second) << "a binary file is never changed";
    if (QFileInfo::exists(download + u"www/data"_s))
        EXPECT_TRUE(binaryListed) << "a downloaded binary file is listed as skipped";

    restoreNewestBackup();
    for (const auto &[path, bytes] : files)
        EXPECT_EQ(onServer(path), bytes) << "restored exactly: " << path.toStdString();
}

// Restore puts back only what the apply changed: a file the apply left alone keeps whatever the
// server has now, and the backup holds just the changed files as they were.
TEST_F(SearchFlow, RestorePutsBackOnlyTheFilesTheApplyChanged)
{
    const QByteArray index = onServer(u"www/index.html"_s);
    const QByteArray css = onServer(u"www/css/site.css"_s);
    select(BrowserSide::Server, u"www"_s);
    inSearchWindow([&] {
        replaceOldByNewOnServer();
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    builders->Search(GridSide::Server, SearchKind::SearchAndReplace);
    ASSERT_TRUE(windowWasOpen);
    EXPECT_GE(overwriteQuestions, 2) << "each upload back was asked about";
    ASSERT_EQ(onServer(u"www/index.html"_s), "<p>new</p>\n<p>keep</p>\n");
    const QString backup = context().folders.tempFolder + u"BACKUP001/"_s;
    EXPECT_TRUE(QFileInfo::exists(backup + u"www/index.html"_s));
    EXPECT_TRUE(QFileInfo::exists(backup + u"www/css/site.css"_s));
    EXPECT_FALSE(QFileInfo::exists(backup + u"www/readme.txt"_s)) << "the apply did not change it";

    // Someone else changes the file the apply did not touch; the restore must leave it alone.
    server.writeFile(u"www/readme.txt"_s, "a colleague's new text\r\n");
    restoreNewestBackup();
    EXPECT_TRUE(prompts.shown.contains(u"information: Backup restored."_s)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(onServer(u"www/index.html"_s), index);
    EXPECT_EQ(onServer(u"www/css/site.css"_s), css);
    EXPECT_EQ(onServer(u"www/readme.txt"_s), "a colleague's new text\r\n");
}

// A server file changed in the editor from the search window: its backup holds the server's
// original, so "Restore" puts back exactly what the server had before the edit.
TEST_F(SearchFlow, AnEditInTheEditorCanBeRestoredToTheServersOriginal)
{
    const QByteArray original("<p>old</p>\r\n<p>\xFC</p>\r\n");
    server.writeFile(u"www/index.html"_s, original);
    editInSearchWindowAndUpload(u"index.html"_s, [](QString text) { return text.replace(u"old"_s, u"edited"_s); });
    ASSERT_TRUE(windowWasOpen);
    ASSERT_EQ(onServer(u"www/index.html"_s), QByteArray("<p>edited</p>\r\n<p>\xFC</p>\r\n")) << "the edit went up";

    restoreNewestBackup();
    EXPECT_TRUE(prompts.shown.contains(u"information: Backup restored."_s)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(onServer(u"www/index.html"_s), original) << "the server's original is back";
}

// A file that mixes UTF-8 and Windows-1252 lines, edited from the search window: the line the
// user deleted is gone, every other byte goes up as it was read (the umlauts of the UTF-8 line
// are not encoded a second time).
TEST_F(SearchFlow, AnEditOfAMixedEncodingFileKeepsTheBytesOfTheUntouchedLines)
{
    const QByteArray original("gr\xC3\xBC\xC3\x9F utf-8 <p>\r\nf\xFCr 1252 <p>\r\nlast <p>\r\n");
    server.writeFile(u"www/mixed.html"_s, original);
    editInSearchWindowAndUpload(u"mixed.html"_s, [](const QString &text) {
        QStringList lines = text.split(u"\r\n"_s);
        lines.removeAt(1); // the Windows-1252 line
        return lines.join(u"\r\n"_s);
    });
    ASSERT_TRUE(windowWasOpen);
    EXPECT_EQ(onServer(u"www/mixed.html"_s), QByteArray("gr\xC3\xBC\xC3\x9F utf-8 <p>\r\nlast <p>\r\n"));
    restoreNewestBackup();
    EXPECT_EQ(onServer(u"www/mixed.html"_s), original);
}

// An upload back that the server refuses is no success: the user is told how many files did not
// go up and that the backup is there.
TEST_F(SearchFlow, AnUploadBackTheServerRefusesIsReportedAsAFailure)
{
    select(BrowserSide::Server, u"www"_s);
    inSearchWindow([&] {
        replaceOldByNewOnServer();
        // A folder now stands where index.html was: its upload is refused.
        QFile::remove(server.localPath(u"www/index.html"_s));
        QDir().mkpath(server.localPath(u"www/index.html"_s));
        prompts.clear();
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    builders->Search(GridSide::Server, SearchKind::SearchAndReplace);
    EXPECT_EQ(onServer(u"www/css/site.css"_s), "body { color: new; }\n");
    EXPECT_FALSE(prompts.shown.join(u'\n').contains(u"You have a backup now."_s)) << prompts.shown.join(u'\n').toStdString();
    // What the server holds is read from it, not assumed.
    EXPECT_TRUE(prompts.shown.contains(u"error: 1 of the changed files could not be uploaded (the protocol says why; they stay "
                                       "in the queue). What the server holds now:\n/www/index.html: the server has no file of "
                                       "that name.\nYou have a backup: \"Restore\" at the top of the program puts back the old "
                                       "version of every file."_s))
        << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(w().restoreButtonAction->isVisible());
}

// A restore the server partly refuses says so, names no success, and keeps the backup.
TEST_F(SearchFlow, ARestoreTheServerRefusesSaysWhatIsNotBack)
{
    const QByteArray css = onServer(u"www/css/site.css"_s);
    select(BrowserSide::Server, u"www"_s);
    inSearchWindow([&] {
        replaceOldByNewOnServer();
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    builders->Search(GridSide::Server, SearchKind::SearchAndReplace);
    ASSERT_EQ(onServer(u"www/index.html"_s), "<p>new</p>\n<p>keep</p>\n");
    // A folder now stands where index.html was: its upload is refused. That is a change since
    // the upload, which the restore asks about first.
    QFile::remove(server.localPath(u"www/index.html"_s));
    QDir().mkpath(server.localPath(u"www/index.html"_s));

    restoreNewestBackup({true});
    EXPECT_EQ(prompts.shown.filter(u"was changed on the server since it was uploaded"_s).size(), 1);
    EXPECT_FALSE(prompts.shown.contains(u"information: Backup restored."_s)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(prompts.shown.contains(u"error: The backup was not restored completely: 1 of its files are not back (the protocol "
                                       "names them). The backup is kept; press \"Restore\" to try again."_s))
        << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(onServer(u"www/css/site.css"_s), css) << "the others are back";
    EXPECT_TRUE(QFileInfo::exists(context().folders.tempFolder + u"BACKUP001/www/index.html"_s)) << "the backup stays";
}

TEST_F(SearchFlow, SearchOnlyDownloadsTheFilesWithHitsIntoTheUsersFolder)
{
    select(BrowserSide::Server, u"www"_s);
    inSearchWindow([&] {
        EXPECT_TRUE(form().button("DownloadSearchBitBtn")->isVisible());
        form().searchEdit()->setText(u"keep"_s);
        form().button("DownloadSearchBitBtn")->click();
    });
    builders->Search(GridSide::Server, SearchKind::SearchInFiles);
    ASSERT_TRUE(windowWasOpen);
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"www/index.html"_s), "<p>old</p>\n<p>keep</p>\n");
    EXPECT_FALSE(QFileInfo::exists(localRoot + u"www/readme.txt"_s));
    EXPECT_FALSE(w().restoreButtonAction->isVisible());
}

TEST_F(SearchFlow, LocalFilesAreChangedInPlaceAndRestoredLocally)
{
    env.writeFile(u"loc/site/a.txt"_s, "hello old\n");
    env.writeFile(u"loc/site/sub/b.txt"_s, "old\r\n");
    env.writeFile(u"loc/site/c.txt"_s, "other\n");
    browser().FillLocalGrid(localRoot);
    select(BrowserSide::Local, u"site"_s);
    inSearchWindow([&] {
        EXPECT_TRUE(form().button("SearchAndReplaceLocalBitBtn")->isVisible());
        form().modeComboBox()->setCurrentIndex(0);
        form().searchEdit()->setText(u"old"_s);
        form().replaceEdit()->setText(u"new"_s);
        form().button("SearchAndReplaceLocalBitBtn")->click();
        EXPECT_EQ(TestEnvironment::readFile(localRoot + u"site/a.txt"_s), "hello new\n") << "changed at once";
        QTest::keyClick(form().grid(), Qt::Key_Escape);
    });
    builders->Search(GridSide::Local, SearchKind::SearchAndReplace);
    ASSERT_TRUE(windowWasOpen);
    EXPECT_EQ(prompts.shown, (QStringList{u"information: Operation complete. 2 changed files."_s,
                                          u"information: You have a backup now. Please press \"Restore\" at the top of the "
                                          "program, to restore the old version."_s}));
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"site/sub/b.txt"_s), "new\r\n");
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"site/c.txt"_s), "other\n");
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"site"_s))) << "nothing goes to the server";

    const QList<BackupIndex> backups = starter->dialogs().restore->store().ListBackups();
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(backups.at(0).kind, u"Local"_s);
    prompts.clear();
    starter->restore().restore(backups.at(0));
    EXPECT_EQ(prompts.shown, QStringList{u"information: Backup restored."_s});
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"site/a.txt"_s), "hello old\n");
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"site/sub/b.txt"_s), "old\r\n");
    EXPECT_TRUE(QFileInfo::exists(localRoot + u"BACKUPINFO.VELMORA"_s)) << "a local restore copies the index along";
}

TEST_F(SearchFlow, GoToTakesBothPanesToTheFileChosenInTheSearchWindow)
{
    EXPECT_FALSE(w().restoreButtonAction->isVisible()) << "hidden until a backup exists";
    env.writeFile(u"loc/www/css/site.css"_s, "the user's older copy\n"); // a local mirror of the site
    select(BrowserSide::Server, u"www"_s);
    inSearchWindow([&] {
        form().searchEdit()->setText(u"color"_s);
        const QAbstractItemModel *rows = form().grid()->model();
        for (int row = 0; row < rows->rowCount(); ++row) {
            if (rows->index(row, 2).data().toString() == u"/www/css/site.css"_s)
                form().grid()->selectRow(row);
        }
        prompts.confirmAnswers = {true};
        form().button("SearchFilesBitBtn")->click();
    });
    builders->Search(GridSide::Server, SearchKind::SearchInFiles);
    ASSERT_TRUE(windowWasOpen);
    EXPECT_EQ(prompts.shown.value(0), u"confirm: Goto: /www/css/site.css"_s);
    EXPECT_EQ(w().serverPathEdit->currentText(), u"/www/css"_s);
    const FileGridPane &serverPane = browser().pane(BrowserSide::Server);
    EXPECT_EQ(serverPane.model().nameAt(serverPane.view()->currentIndex().row()), u"site.css"_s);
    EXPECT_EQ(w().localPathEdit->currentText(), localRoot + u"www/css/"_s);
    const FileGridPane &localPane = browser().pane(BrowserSide::Local);
    EXPECT_EQ(localPane.model().nameAt(localPane.view()->currentIndex().row()), u"site.css"_s);
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"www/css/site.css"_s), "the user's older copy\n")
        << "going to a file downloads nothing";
    EXPECT_FALSE(main().isBusy());
}

TEST_F(SearchFlow, SearchOnlyUploadsTheLocalFilesWithHits)
{
    env.writeFile(u"loc/site/hit.txt"_s, "needle\n");
    env.writeFile(u"loc/site/sub/deep.txt"_s, "a needle too\n");
    env.writeFile(u"loc/site/miss.txt"_s, "hay\n");
    browser().FillLocalGrid(localRoot);
    select(BrowserSide::Local, u"site"_s);
    inSearchWindow([&] {
        EXPECT_TRUE(form().button("UploadSearchBitBtn")->isEnabled()) << "a server host is set";
        form().searchEdit()->setText(u"needle"_s);
        form().button("UploadSearchBitBtn")->click();
    });
    builders->Search(GridSide::Local, SearchKind::SearchInFiles);
    ASSERT_TRUE(windowWasOpen);
    // The real local files go up, into new folders where needed.
    EXPECT_EQ(onServer(u"site/hit.txt"_s), "needle\n");
    EXPECT_EQ(onServer(u"site/sub/deep.txt"_s), "a needle too\n");
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"site/miss.txt"_s)));
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"site/hit.txt"_s), "needle\n");
}

TEST_F(SearchFlow, F3F9AndF10OpenTheFilterWindowAndLeaveTheFilterSwitchAsItWas)
{
    // The program's own builders open the filter window; closed without OK, nothing is fetched
    // and the switch is off again.
    FilterForm &filterWindow = *starter->dialogs().filter;
    QStringList titles;
    for (Qt::Key key : {Qt::Key_F3, Qt::Key_F9, Qt::Key_F10}) {
        select(BrowserSide::Server, u"www"_s);
        whenShown(&filterWindow, [&] {
            titles << filterWindow.header()->title();
            EXPECT_TRUE(main().filterState());
            filterWindow.reject();
        });
        QTest::keyClick(browser().pane(BrowserSide::Server).view(), key);
    }
    ASSERT_EQ(titles.size(), 3);
    EXPECT_EQ(titles.at(0), u"Search files"_s);
    EXPECT_FALSE(QFileInfo::exists(localRoot + u"www"_s));
    EXPECT_FALSE(main().filterState());
    EXPECT_FALSE(main().isBusy());

    // The grids' menus offer both requests and run the same command.
    PaneCommandBar &serverBar = starter->fileOps().bar(BrowserSide::Server);
    EXPECT_EQ(serverBar.menuItem(PaneCommand::SearchInFiles)->text(), u"Search in files [F9]"_s);
    EXPECT_EQ(serverBar.menuItem(PaneCommand::SearchAndReplace)->text(), u"Search and replace in files [F10]"_s);
    context().language.setCurrent(Language::German);
    EXPECT_EQ(starter->fileOps().bar(BrowserSide::Local).menuItem(PaneCommand::SearchInFiles)->text(),
              u"In Dateien suchen [F9]"_s);
    context().language.setCurrent(Language::English);
    select(BrowserSide::Server, u"www"_s);
    whenShown(&filterWindow, [&] {
        titles << filterWindow.header()->title();
        filterWindow.reject();
    });
    serverBar.menuItem(PaneCommand::SearchAndReplace)->trigger();
    EXPECT_EQ(titles.size(), 4);
    EXPECT_FALSE(QFileInfo::exists(localRoot + u"www"_s));

    // Nothing selected: the selection message, as for every grid command.
    browser().pane(BrowserSide::Local).view()->clearSelection();
    QTest::keyClick(browser().pane(BrowserSide::Local).view(), Qt::Key_F9);
    EXPECT_EQ(prompts.shown, QStringList{u"information: Select first a file or a directory."_s});
}

} // namespace
