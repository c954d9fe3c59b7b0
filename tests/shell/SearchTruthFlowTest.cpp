// Search and replace as a user runs it, against a real server: F10 in the server grid, the real
// filter window's "Step2: Search and replace in selected files", the search window, the upload
// back and "Restore". Every claim the program makes about the server is checked against the
// server's own bytes, and a corpus of byte shapes comes back exactly as it went.
#include "AppFixture.h"
#include "FtpTestServer.h"
#include "WhenShown.h"

#include "browser/BrowserController.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridModel.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "common/SizeText.h"
#include "editor/EditorForm.h"
#include "engine/MasterFTP.h"
#include "filter/FilterForm.h"
#include "filter/NoWizardFilterFile.h"
#include "queue/AskOverwriteForm.h"
#include "replace/RestoreForm.h"
#include "replace/SearchAndReplaceForm.h"
#include "replace/SearchResultModel.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class SearchTruthFlow : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        main().siteManagerTimer().stop();
    }
    // Starts the server over the files and connects; the local pane shows localFolder.
    void serve(const QList<std::pair<QString, QByteArray>> &files, QString localFolder = {})
    {
        for (const auto &[path, bytes] : files)
            server.writeFile(path, bytes);
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();
        ASSERT_TRUE(NoWizardFilterFile(context().folders.appDataFolder).write());
        // The overwrite question is answered as a user would: "Overwrite", for this file only.
        AskOverwriteForm *ask = starter->dialogs().overwriteQuestion;
        auto *answer = new QTimer(ask);
        QObject::connect(answer, &QTimer::timeout, ask, [ask] {
            if (!ask->isVisible())
                return;
            ask->overwriteRadioButton()->click();
            ask->okButton()->click();
        });
        answer->start(0);
        if (localFolder.isEmpty()) {
            localFolder = env.root() + u"loc/"_s;
            QDir().mkpath(localFolder);
        }
        MasterFTP &ftp = starter->ftp();
        ftp.client().setTimeouts({3000, 5000, 5000});
        ftp.SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
        ASSERT_TRUE(ftp.Connect(false)) << prompts.shown.join(u'\n').toStdString();
        main().SetIdleState();
        browser().FillServerGrid(u"/"_s);
        browser().FillLocalGrid(localFolder);
        prompts.clear();
    }
    void TearDown() override
    {
        if (starter && starter->ftp().isConnected())
            starter->ftp().Disconnect();
        AppFixture::TearDown();
    }
    BrowserController &browser() { return starter->browser(); }
    SearchAndReplaceForm &form() { return *starter->dialogs().searchAndReplace; }
    QByteArray onServer(const QString &path) { return server.readFile(path); }

    // F10 on the server folder "www" (or on the named rows of the folder shown); the real filter
    // window hands every file over with its second step, then steps runs in the search window.
    void searchAndReplace(std::function<void()> steps, const QStringList &names = {u"www"_s})
    {
        FileGridView *view = browser().pane(BrowserSide::Server).view();
        const FileGridModel &model = browser().pane(BrowserSide::Server).model();
        view->clearSelection();
        for (int row = 0; row < model.rowCount(); ++row) {
            if (names.contains(model.nameAt(row)))
                view->selectionModel()->setCurrentIndex(view->model()->index(row, FileGridColumns::Name),
                                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        FilterForm &filter = *starter->dialogs().filter;
        whenShown(&filter, [&filter] {
            // The list the window opens with, as the user sees it before handing it over.
            QMetaObject::invokeMethod(&filter.evaluationTimer(), "timeout", Qt::DirectConnection);
            filter.findChild<QPushButton *>(u"SearchAndReplaceInFilesBitBtn"_s)->click();
        });
        whenShown(&form(), [this, steps] {
            windowWasOpen = true;
            steps();
        });
        windowWasOpen = false;
        QTest::keyClick(view, Qt::Key_F10);
        ASSERT_TRUE(windowWasOpen) << prompts.shown.join(u'\n').toStdString();
    }
    void replace(const QString &term, const QString &replacement)
    {
        form().modeComboBox()->setCurrentIndex(0);
        form().searchEdit()->setText(term);
        form().replaceEdit()->setText(replacement);
        form().button("SearchAndReplaceServerBitBtn")->click();
    }
    // "Restore" in the main window, the newest backup chosen; answers for the questions.
    void restoreNewest(QList<bool> answers)
    {
        RestoreForm &restore = *starter->dialogs().restore;
        QTimer::singleShot(0, &restore, [&restore, this, answers] {
            prompts.confirmAnswers = QList<bool>{true} + answers;
            restore.grid()->selectRow(restore.grid()->model()->rowCount() - 1);
            restore.restoreButton()->click();
        });
        prompts.clear();
        w().restoreButton->click();
    }

    FtpTestServer server;
    bool windowWasOpen = false;
};

// The corpus of byte shapes, each holding "old" once where it is text.
const QList<std::pair<QString, QByteArray>> &corpus()
{
    static const QList<std::pair<QString, QByteArray>> files = [] {
        QByteArray longLine(1024 * 1024, 'x');
        longLine.replace(512 * 1024, 3, "old");
        return QList<std::pair<QString, QByteArray>>{
            {u"www/crlf.txt"_s, "a old line\r\nsecond\r\n"},
            {u"www/lf.html"_s, "<p>old</p>\n<p>keep</p>\n"},
            {u"www/cr.txt"_s, "old\rnext\r"},
            {u"www/mixed.txt"_s, "old\r\nx\ny\rz"},
            {u"www/nobreak.txt"_s, "first\nold"},
            {u"www/bom.php"_s, "\xEF\xBB\xBF<?php // old\n"},
            {u"www/ansi.html"_s, "<p>\xC4rger old</p>\r\n"},
            {u"www/invalid.txt"_s, "old \xC3\r\n\xE2\x82 x\r\n"},
            {u"www/utf16le.txt"_s, QByteArray("\xFF\xFEo\0l\0d\0\r\0\n\0", 12)},
            {u"www/utf16be.txt"_s, QByteArray("\xFE\xFF\0o\0l\0d\0\r\0\n", 12)},
            {u"www/datafile"_s, QByteArray("old\r\n\0\x01\x02 binary old \xFF\r\n", 23)},
            {u"www/long.txt"_s, longLine},
        };
    }();
    return files;
}

// Every shape: an apply that matches nothing changes nothing on the server; an apply that
// matches changes exactly the matched bytes of the text shapes and nothing of the binary ones;
// restore puts back exactly what the server had.
TEST_F(SearchTruthFlow, EveryByteShapeComesBackExactly)
{
    serve(corpus());
    searchAndReplace([this] {
        EXPECT_GE(form().grid()->model()->rowCount(), corpus().size() - 1) << "every file of a text kind is listed";
        replace(u"no such term"_s, u"x"_s);
        EXPECT_FALSE(form().button("UploadSearchAndReplaceBitBtn")->isEnabled()) << "nothing was changed";
        form().reject();
    });
    for (const auto &[path, bytes] : corpus())
        EXPECT_EQ(onServer(path), bytes) << "no match, no change: " << path.toStdString();

    searchAndReplace([this] {
        replace(u"old"_s, u"new"_s);
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    for (const auto &[path, bytes] : corpus()) {
        QByteArray expected = bytes;
        if (!bytes.contains('\0'))
            expected.replace("old", "new");
        EXPECT_EQ(onServer(path), expected) << "only the matched bytes: " << path.toStdString();
    }
    restoreNewest({});
    EXPECT_TRUE(prompts.shown.contains(u"information: Backup restored."_s)) << prompts.shown.join(u'\n').toStdString();
    for (const auto &[path, bytes] : corpus())
        EXPECT_EQ(onServer(path), bytes) << "restored exactly: " << path.toStdString();
}

// Every shape opened from the search window with View/Edit and saved without an edit, then
// uploaded back: the server has every byte as before; a binary shape never reaches the editor.
TEST_F(SearchTruthFlow, ViewEditAndSaveWithoutAnEditKeepsEveryShape)
{
    serve(corpus());
    EditorForm *editor = starter->dialogs().editor;
    int refused = 0;
    searchAndReplace([&] {
        const QAbstractItemModel *rows = form().grid()->model();
        for (int row = 0; row < rows->rowCount(); ++row) {
            if (!form().session().entries().at(row).binary) {
                QTimer::singleShot(0, editor, [editor] {
                    editor->save();
                    editor->reject();
                });
            }
            form().grid()->selectRow(row);
            prompts.clear();
            form().button("ViewBiitBtn")->click();
            refused += prompts.shown.contains(u"information: Unable to view/edit file."_s) ? 1 : 0;
            QCoreApplication::processEvents();
        }
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    EXPECT_EQ(refused, 3) << "the two UTF-16 files and the one with NUL bytes";
    for (const auto &[path, bytes] : corpus())
        EXPECT_EQ(onServer(path), bytes) << "saved unchanged: " << path.toStdString();
}

// The connection drops part-way through an upload back: the message says what the server
// holds (read from it, not assumed), and the server pane shows that size too.
TEST_F(SearchTruthFlow, ADroppedUploadBackSaysWhatTheServerHolds)
{
    QByteArray big(1000007, 'y');
    big.replace(10, 3, "old");
    serve({{u"www/big.txt"_s, big}, {u"www/small.txt"_s, "old\n"}});
    const qint64 heldAfter = 65536;
    browser().FillServerGrid(u"/www"_s);
    QTimer drop;
    searchAndReplace([&] {
        replace(u"old"_s, u"new"_s);
        // From the next connection on, an upload stops after 64 kB; once the server has some of
        // them, it goes away and comes back without the limit.
        server.setHoldTransfersAfter(heldAfter);
        ASSERT_TRUE(server.restart());
        QObject::connect(&drop, &QTimer::timeout, &drop, [&] {
            const qint64 arrived = QFileInfo(server.localPath(u"www/big.txt"_s)).size();
            if (arrived < 8192 || arrived >= big.size())
                return; // not yet begun (the old file is still there), or too little of it

            drop.stop();
            server.setHoldTransfersAfter(0);
            server.restart();
        });
        drop.start(5);
        prompts.clear();
        form().button("UploadSearchAndReplaceBitBtn")->click();
    }, {u"big.txt"_s, u"small.txt"_s});
    const qint64 held = onServer(u"www/big.txt"_s).size();
    ASSERT_GT(held, 0);
    ASSERT_LT(held, big.size()) << "the upload stopped part-way";
    const QString message = prompts.shown.filter(u"could not be uploaded"_s).value(0);
    EXPECT_TRUE(message.contains(u"/www/big.txt: "_s + FormatSizeDots(QString::number(held), false)
                                 + u" bytes (it had 1.000.007 bytes before): the upload stopped part-way, so the server's "
                                   "copy may be incomplete."_s))
        << prompts.shown.join(u'\n').toStdString();
    EXPECT_FALSE(message.contains(u"still has"_s)) << message.toStdString();
    EXPECT_FALSE(prompts.shown.join(u'\n').contains(u"You have a backup now."_s));
    const FileGridPane &pane = browser().pane(BrowserSide::Server);
    ASSERT_EQ(w().serverPathEdit->currentText(), u"/www"_s);
    bool listed = false;
    for (int row = 0; row < pane.model().rowCount(); ++row) {
        if (pane.model().nameAt(row) == u"big.txt"_s) {
            listed = true;
            EXPECT_EQ(pane.model().entryAt(row).size, held) << "the pane lists what the server holds";
        }
    }
    EXPECT_TRUE(listed);

    // Restore puts the whole old version back.
    restoreNewest({});
    EXPECT_EQ(onServer(u"www/big.txt"_s), big);
}

// A colleague changes a file on the server after the upload back: "Restore" names it in a
// question; No keeps the colleague's file and says that nothing was restored, Yes restores.
TEST_F(SearchTruthFlow, RestoreAsksBeforeOverwritingALaterChangeOnTheServer)
{
    serve({{u"www/index.html"_s, "<p>old</p>\n"}, {u"www/other.html"_s, "<p>old other</p>\n"}});
    searchAndReplace([this] {
        replace(u"old"_s, u"new"_s);
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    ASSERT_EQ(onServer(u"www/index.html"_s), "<p>new</p>\n");
    server.writeFile(u"www/index.html"_s, "<p>a colleague's longer text</p>\n");

    restoreNewest({false});
    const QString question = prompts.shown.filter(u"changed on the server"_s).value(0);
    EXPECT_TRUE(question.startsWith(u"confirm: The file /www/index.html was changed on the server since it was uploaded at "_s))
        << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(question.contains(u"it was then 11 bytes"_s) && question.contains(u"now 33 bytes"_s)) << question.toStdString();
    EXPECT_EQ(prompts.shown.filter(u"changed on the server"_s).size(), 1) << "the unchanged file is not asked about";
    EXPECT_FALSE(prompts.shown.contains(u"information: Backup restored."_s));
    EXPECT_EQ(onServer(u"www/index.html"_s), "<p>a colleague's longer text</p>\n");
    EXPECT_EQ(onServer(u"www/other.html"_s), "<p>new other</p>\n") << "nothing was restored";

    restoreNewest({true});
    EXPECT_TRUE(prompts.shown.contains(u"information: Backup restored."_s)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(onServer(u"www/index.html"_s), "<p>old</p>\n");
    EXPECT_EQ(onServer(u"www/other.html"_s), "<p>old other</p>\n");
    // What the restore left is what the next one compares with: no question now.
    restoreNewest({});
    EXPECT_TRUE(prompts.shown.filter(u"changed on the server"_s).isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

// With the local folder at "/", the working copies go below the working folder as they should
// and the search finds them.
TEST_F(SearchTruthFlow, TheLocalFolderAtTheRootStillFindsTheFiles)
{
    serve({{u"www/tmp/a.txt"_s, "old\n"}, {u"www/b.txt"_s, "old\n"}}, u"/"_s);
    ASSERT_EQ(w().localPathEdit->currentText(), u"/"_s);
    searchAndReplace([this] {
        EXPECT_EQ(form().grid()->model()->rowCount(), 2);
        EXPECT_TRUE(QFileInfo::exists(context().folders.downloadFolder() + u"www/tmp/a.txt"_s));
        replace(u"old"_s, u"new"_s);
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    EXPECT_EQ(onServer(u"www/tmp/a.txt"_s), "new\n");
    EXPECT_EQ(onServer(u"www/b.txt"_s), "new\n");
    EXPECT_FALSE(QFileInfo::exists(u"/www/tmp/a.txt"_s)) << "nothing lands in the user's own folders";
}

// A search or replacement text with characters Windows-1252 lacks: the UTF-8 file gets them in
// UTF-8, the Windows-1252 file is left alone and listed; no "?" reaches a file.
TEST_F(SearchTruthFlow, TextsBeyondWindows1252GoOnlyWhereTheyFit)
{
    serve({{u"www/utf8.php"_s, "index.php?id=1 \xE2\x86\x92 next\n"}, {u"www/ansi.php"_s, "index.php?id=1 \xFC\n"}});
    searchAndReplace([this] {
        form().modeComboBox()->setCurrentIndex(0);
        form().searchEdit()->setText(u"\u2192"_s);
        int listed = 0;
        for (int row = 0; row < form().grid()->model()->rowCount(); ++row)
            listed += form().grid()->model()->index(row, SearchResultModel::MarkColumn).data().toString() == u"not 1252"_s;
        EXPECT_EQ(listed, 1) << "the Windows-1252 file is listed before anything is done";
        form().replaceEdit()->setText(u"->"_s);
        prompts.clear();
        form().button("SearchAndReplaceServerBitBtn")->click();
        EXPECT_TRUE(prompts.shown.value(0).contains(u"1 files were left unchanged: they are written in Windows-1252"_s))
            << prompts.shown.join(u'\n').toStdString();
        form().button("UploadSearchAndReplaceBitBtn")->click();
    });
    EXPECT_EQ(onServer(u"www/utf8.php"_s), "index.php?id=1 -> next\n");
    EXPECT_EQ(onServer(u"www/ansi.php"_s), "index.php?id=1 \xFC\n");
}

} // namespace
