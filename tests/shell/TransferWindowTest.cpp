// Transfers started from the main window, offscreen, against a real server: F5, the Upload and
// Download buttons and menu items, the transfer-mode question, the progress window, and drag and
// drop between the two grids with real mime data.
#include "AppFixture.h"
#include "FtpTestServer.h"
#include "QtPrinters.h"

#include "app/Options.h"
#include "common/Language.h"
#include "browser/BrowserController.h"
#include "browser/FileGridColumns.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "browser/LocalBrowser.h"
#include "engine/MasterFTP.h"
#include "filter/NoWizardFilterFile.h"
#include "filter/WizardFilterForm.h"
#include "queue/GetFilesListForm.h"
#include "queue/QueueTableModel.h"
#include "shell/QueueWiring.h"
#include "shell/TransferWiring.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDrag>
#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

// Records the keys that reach a widget (a grid's parent, to see what the grid lets through).
class KeyRecorder : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            keys << static_cast<QKeyEvent *>(event)->key();
        return false;
    }
    QList<int> keys;
};

class TransferWindow : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        server.writeFile(u"srv.txt"_qs, "from the server\n");
        server.writeFile(u"www/index.html"_qs, "<p>\n");
        server.writeFile(u"www/img/logo.png"_qs, QByteArray("\x89PNG\r\n", 6));
        QDir().mkpath(server.localPath(u"pub"_qs));
        QDir().mkpath(server.localPath(u"ro"_qs));
        QFile::setPermissions(server.localPath(u"ro"_qs), QFile::Permissions(0x5555));
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();

        localRoot = env.root() + u"loc/"_qs;
        env.writeFile(u"loc/a.txt"_qs, "local a\n");
        env.writeFile(u"loc/dir/inner.txt"_qs, "inner\n");
        QDir().mkpath(localRoot + u"dir/empty"_qs);
        QDir().mkpath(localRoot + u"sub"_qs);

        master = &starter->ftp();
        master->client().setTimeouts({3000, 5000, 5000});
        master->SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        main().SetIdleState();
        browser().FillServerGrid(u"/"_qs);
        browser().FillLocalGrid(localRoot);
        prompts.clear();
    }
    void TearDown() override
    {
        QFile::setPermissions(server.localPath(u"ro"_qs), QFile::Permissions(0x7755));
        if (master->isConnected())
            master->Disconnect();
        AppFixture::TearDown();
    }

    BrowserController &browser() { return starter->browser(); }
    FileGridPane &pane(BrowserSide side) { return browser().pane(side); }
    FileGridView *grid(BrowserSide side) { return pane(side).view(); }
    int rowOf(BrowserSide side, const QString &name)
    {
        const FileGridModel &model = pane(side).model();
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.nameAt(row) == name)
                return row;
        }
        return -1;
    }
    void select(BrowserSide side, const QStringList &names)
    {
        FileGridView *view = grid(side);
        view->clearSelection();
        for (const QString &name : names) {
            const int row = rowOf(side, name);
            ASSERT_GE(row, 0) << name.toStdString();
            // As a click with Ctrl held: the row becomes the current (remembered) row as well.
            view->selectionModel()->setCurrentIndex(view->model()->index(row, FileGridColumns::Name),
                                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    QPoint rowCentre(BrowserSide side, const QString &name)
    {
        FileGridView *view = grid(side);
        const QModelIndex index = view->model()->index(rowOf(side, name), FileGridColumns::Name);
        view->scrollTo(index);
        return view->visualRect(index).center();
    }
    QString currentName(BrowserSide side) { return pane(side).model().nameAt(grid(side)->currentIndex().row()); }
    QList<int> selectedRows(BrowserSide side) { return pane(side).selectedRows(); }

    // Drags the rows of one grid over a row of the other (an empty name: below the rows) and
    // drops them there. Returns whether the move and the drop were accepted.
    std::pair<bool, bool> dragAndDrop(const QMimeData &data, BrowserSide target, const QString &rowName)
    {
        FileGridView *view = grid(target);
        const QPoint at = rowName.isEmpty() ? QPoint(10, view->viewport()->height() - 5) : rowCentre(target, rowName);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &move);
        const bool moveAccepted = enter.isAccepted() && move.isAccepted();
        afterMove = {currentName(target), selectedRows(target)};
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->viewport(), &drop);
        const bool dropped = drop.isAccepted();
        QCoreApplication::processEvents(); // the work starts once the drag is over
        return {moveAccepted, dropped};
    }

    void noTransferModeQuestion() { ASSERT_TRUE(NoWizardFilterFile(context().folders.appDataFolder).write()); }
    // Answers the transfer-mode question when it comes up.
    void answerTransferMode(std::function<void(WizardFilterForm *)> answer)
    {
        WizardFilterForm *form = starter->dialogs().wizardFilter;
        QTimer::singleShot(0, form, [form, answer] {
            asked = form->isVisible();
            answer(form);
        });
    }

    FtpTestServer server;
    MasterFTP *master = nullptr;
    QString localRoot;
    std::pair<QString, QList<int>> afterMove;
    static inline bool asked = false;
};

} // namespace

TEST_F(TransferWindow, TheTransferModeQuestionSwitchesTheFilterAndCanBeSilenced)
{
    WizardFilterForm *form = starter->dialogs().wizardFilter;
    form->prepare();
    form->show();
    EXPECT_EQ(form->headerTitle(), u"Transfer mode"_qs);
    EXPECT_EQ(form->windowTitle(), context().captionText());
    EXPECT_EQ(form->normalRadioButton()->text(), u"Normal transfer"_qs);
    EXPECT_EQ(form->filteredRadioButton()->text(), u"Filtered transfer (by Filedate, Filenames, Extensions etc.)"_qs);
    EXPECT_EQ(form->dontShowCheckBox()->text(), u"Don't show this message again"_qs);
    EXPECT_EQ(form->okButton()->text(), u"OK"_qs);
    EXPECT_EQ(form->abortButton()->text(), u"Abort"_qs);
    EXPECT_TRUE(form->normalRadioButton()->isChecked()) << "the filter is off";
    form->hide();

    // Choosing "Filtered transfer" switches the filter on at once and writes the option; OK
    // goes on with the request.
    answerTransferMode([](WizardFilterForm *f) {
        f->filteredRadioButton()->click();
        f->okButton()->click();
    });
    EXPECT_TRUE(form->askTransferMode());
    EXPECT_TRUE(main().filterState());
    EXPECT_TRUE(Options::parse(QString::fromLatin1(TestEnvironment::readFile(env.appDataFolder() + u"options.ini"_qs))).filterOn);

    // The next question opens on "Filtered"; "Normal" switches it off again; Enter is OK.
    answerTransferMode([this](WizardFilterForm *f) {
        EXPECT_TRUE(f->filteredRadioButton()->isChecked());
        f->normalRadioButton()->click();
        EXPECT_FALSE(main().filterState());
        QTest::keyClick(f, Qt::Key_Return);
    });
    EXPECT_TRUE(form->askTransferMode());

    // Escape is Abort; with "Don't show this message again" ticked the file is written anyway.
    const NoWizardFilterFile file(context().folders.appDataFolder);
    EXPECT_FALSE(file.exists());
    answerTransferMode([](WizardFilterForm *f) {
        f->dontShowCheckBox()->click();
        QTest::keyClick(f, Qt::Key_Escape);
    });
    EXPECT_FALSE(form->askTransferMode());
    EXPECT_EQ(TestEnvironment::readFile(file.path()), QByteArray(" \r\n"));

    context().language.setCurrent(Language::German);
    EXPECT_EQ(form->headerTitle(), QString::fromUtf8("Übertragungsmodus"));
    EXPECT_EQ(form->abortButton()->text(), u"Abbrechen"_qs);
}

TEST_F(TransferWindow, F5UploadsTheLocalSelectionAfterTheQuestion)
{
    select(BrowserSide::Local, {u"a.txt"_qs, u"dir"_qs});
    answerTransferMode([](WizardFilterForm *f) { f->okButton()->click(); });
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F5);
    EXPECT_TRUE(asked);
    EXPECT_EQ(server.readFile(u"a.txt"_qs), QByteArray("local a\n"));
    EXPECT_EQ(server.readFile(u"dir/inner.txt"_qs), QByteArray("inner\n"));
    EXPECT_TRUE(QFileInfo(server.localPath(u"dir/empty"_qs)).isDir());
    EXPECT_FALSE(main().isBusy());
    EXPECT_FALSE(starter->dialogs().walkProgress->isVisible());
    EXPECT_EQ(starter->queue().model().rowCount(), 0);
    EXPECT_GE(rowOf(BrowserSide::Server, u"dir"_qs), 0) << "the server grid lists the new folder";

    // Abort with "Don't show this message again": nothing moves, and the question stays away.
    QFile::remove(server.localPath(u"a.txt"_qs));
    select(BrowserSide::Local, {u"a.txt"_qs});
    asked = false;
    answerTransferMode([](WizardFilterForm *f) {
        f->dontShowCheckBox()->click();
        f->abortButton()->click();
    });
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F5);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"a.txt"_qs)));
    EXPECT_EQ(selectedRows(BrowserSide::Local), QList<int>{rowOf(BrowserSide::Local, u"a.txt"_qs)})
        << "the remembered row is selected again";
    w().uploadAction->trigger();
    EXPECT_EQ(server.readFile(u"a.txt"_qs), QByteArray("local a\n")) << "no question, no answer needed";
}

TEST_F(TransferWindow, NothingToTransferAsksForASelection)
{
    noTransferModeQuestion();
    select(BrowserSide::Local, {});
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F5);
    browser().FillLocalGrid(localRoot + u"dir/"_qs);
    select(BrowserSide::Local, {u".."_qs});
    w().uploadAction->trigger();
    select(BrowserSide::Server, {});
    w().downloadAction->trigger();
    EXPECT_EQ(prompts.shown, QStringList(3, u"information: Select first a file or a directory."_qs));
    EXPECT_FALSE(main().isBusy());
}

TEST_F(TransferWindow, DownloadButtonAndMenuItemFetchTheServerSelection)
{
    noTransferModeQuestion();
    select(BrowserSide::Server, {u"www"_qs, u"srv.txt"_qs});
    w().downloadAction->trigger();
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"srv.txt"_qs), QByteArray("from the server\n"));
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"www/img/logo.png"_qs), QByteArray("\x89PNG\r\n", 6));
    EXPECT_GE(rowOf(BrowserSide::Local, u"www"_qs), 0) << "the local grid lists what arrived";
    EXPECT_EQ(selectedRows(BrowserSide::Server).size(), 1) << "the remembered server row is selected again";

    TransferWiring &transfer = starter->transfer();
    EXPECT_EQ(transfer.downloadMenuItem()->objectName(), u"Download1"_qs);
    EXPECT_EQ(transfer.downloadMenuItem()->text(), u"Download [F5]"_qs);
    EXPECT_TRUE(grid(BrowserSide::Server)->actions().contains(transfer.downloadMenuItem()));
    EXPECT_EQ(transfer.uploadMenuItem()->objectName(), u"UploadMenuItem"_qs);
    EXPECT_EQ(transfer.uploadMenuItem()->text(), u"Upload [F5]"_qs);
    EXPECT_TRUE(transfer.uploadMenuItem()->isEnabled());
    select(BrowserSide::Local, {u"a.txt"_qs});
    transfer.uploadMenuItem()->trigger();
    EXPECT_EQ(server.readFile(u"a.txt"_qs), QByteArray("local a\n"));
    master->Disconnect();
    main().SetIdleState();
    EXPECT_FALSE(transfer.uploadMenuItem()->isEnabled()) << "Upload only while connected";
}

TEST_F(TransferWindow, DroppingLocalRowsOnAServerFolderRowUploadsIntoThatFolderOnly)
{
    noTransferModeQuestion();
    select(BrowserSide::Local, {u"a.txt"_qs, u"dir"_qs});
    std::unique_ptr<QMimeData> data(grid(BrowserSide::Local)->dragMimeData());
    const auto [moved, dropped] = dragAndDrop(*data, BrowserSide::Server, u"pub"_qs);
    EXPECT_TRUE(moved);
    EXPECT_TRUE(dropped);
    EXPECT_EQ(afterMove.first, u"pub"_qs) << "the folder row under the pointer is selected";
    EXPECT_EQ(afterMove.second, QList<int>{rowOf(BrowserSide::Server, u"pub"_qs)});
    EXPECT_EQ(server.readFile(u"pub/a.txt"_qs), QByteArray("local a\n"));
    EXPECT_EQ(server.readFile(u"pub/dir/inner.txt"_qs), QByteArray("inner\n"));
    EXPECT_TRUE(QFileInfo(server.localPath(u"pub/dir/empty"_qs)).isDir());
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"a.txt"_qs)));

    // The drop folder was for that drop: F5 uploads into the folder the server grid shows.
    select(BrowserSide::Local, {u"a.txt"_qs});
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F5);
    EXPECT_EQ(server.readFile(u"a.txt"_qs), QByteArray("local a\n"));

    // Dropped below the rows: into the folder the grid shows.
    env.writeFile(u"loc/b.txt"_qs, "b");
    browser().FillLocalGrid(localRoot);
    select(BrowserSide::Local, {u"b.txt"_qs});
    std::unique_ptr<QMimeData> again(grid(BrowserSide::Local)->dragMimeData());
    EXPECT_EQ(dragAndDrop(*again, BrowserSide::Server, QString()), std::pair(true, true));
    EXPECT_EQ(server.readFile(u"b.txt"_qs), QByteArray("b"));
}

TEST_F(TransferWindow, AReadOnlyServerFolderRowRefusesTheDrop)
{
    noTransferModeQuestion();
    const int ro = rowOf(BrowserSide::Server, u"ro"_qs);
    ASSERT_EQ(pane(BrowserSide::Server).model().cellText(ro, FileGridColumns::Permissions), u"dr-xr-xr-x"_qs);
    select(BrowserSide::Local, {u"a.txt"_qs});
    std::unique_ptr<QMimeData> data(grid(BrowserSide::Local)->dragMimeData());
    EXPECT_EQ(dragAndDrop(*data, BrowserSide::Server, u"ro"_qs), std::pair(false, false));
    QCoreApplication::processEvents();
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"ro/a.txt"_qs)));
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"a.txt"_qs)));
    EXPECT_FALSE(main().isBusy());
}

TEST_F(TransferWindow, DroppingServerRowsOnALocalFolderRowDownloadsIntoIt)
{
    noTransferModeQuestion();
    select(BrowserSide::Server, {u"srv.txt"_qs, u"www"_qs});
    std::unique_ptr<QMimeData> data(grid(BrowserSide::Server)->dragMimeData());
    EXPECT_EQ(dragAndDrop(*data, BrowserSide::Local, u"sub"_qs), std::pair(true, true));
    EXPECT_EQ(afterMove.first, u"sub"_qs);
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"sub/srv.txt"_qs), QByteArray("from the server\n"));
    EXPECT_EQ(TestEnvironment::readFile(localRoot + u"sub/www/index.html"_qs), QByteArray("<p>\n"));
    EXPECT_FALSE(QFileInfo::exists(localRoot + u"srv.txt"_qs));
}

TEST_F(TransferWindow, OnlyThePartnerGridsRowsAreAcceptedAndNoDragStartsWhileBusy)
{
    noTransferModeQuestion();
    select(BrowserSide::Local, {u"a.txt"_qs});
    std::unique_ptr<QMimeData> own(grid(BrowserSide::Local)->dragMimeData());
    EXPECT_EQ(dragAndDrop(*own, BrowserSide::Local, u"sub"_qs), std::pair(false, false)) << "a grid's own rows";
    QMimeData text;
    text.setText(localRoot + u"a.txt"_qs);
    EXPECT_EQ(dragAndDrop(text, BrowserSide::Server, u"pub"_qs), std::pair(false, false)) << "another source";
    QMimeData forged;
    forged.setData(FileGridView::DragMimeType, "1:2");
    EXPECT_EQ(dragAndDrop(forged, BrowserSide::Server, u"pub"_qs), std::pair(false, false)) << "another program";
    EXPECT_TRUE(QDir(server.localPath(u"pub"_qs)).isEmpty());

    FileGridView *local = grid(BrowserSide::Local);
    ASSERT_TRUE(bool(local->dragAllowed));
    EXPECT_TRUE(local->dragAllowed());
    main().SetBusyState();
    EXPECT_FALSE(local->dragAllowed());
    EXPECT_FALSE(grid(BrowserSide::Server)->dragAllowed());
    main().SetIdleState();
    // The ".." row cannot be dragged; the others can.
    const FileGridModel &rows = pane(BrowserSide::Local).model();
    EXPECT_EQ(rows.nameAt(0), u".."_qs);
    EXPECT_FALSE(rows.flags(rows.index(0, 1)) & Qt::ItemIsDragEnabled);
    EXPECT_TRUE(rows.flags(rows.index(rowOf(BrowserSide::Local, u"a.txt"_qs), 1)) & Qt::ItemIsDragEnabled);
}

TEST_F(TransferWindow, KeysWithoutACommandReachTheControlsAroundTheGrid)
{
    KeyRecorder recorder;
    QWidget *around = grid(BrowserSide::Local)->parentWidget();
    around->installEventFilter(&recorder);
    select(BrowserSide::Local, {u"a.txt"_qs});
    // F11 (file permissions) is a server grid key only.
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F11);
    EXPECT_EQ(recorder.keys, (QList<int>{Qt::Key_F11}));
    noTransferModeQuestion();
    recorder.keys.clear();
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F5);
    EXPECT_TRUE(recorder.keys.isEmpty()) << "F5 is the grid's";
    EXPECT_EQ(server.readFile(u"a.txt"_qs), QByteArray("local a\n"));
}

TEST_F(TransferWindow, TheProgressWindowAbortsACollectionAndKeepsUsedSpaceFigures)
{
    noTransferModeQuestion();
    for (int i = 0; i < 20; ++i)
        env.writeFile(u"loc/many/f%1.txt"_qs.arg(i, 2, 10, QChar(u'0')), "12345");
    browser().FillLocalGrid(localRoot);
    GetFilesListForm *progress = starter->dialogs().walkProgress;
    bool wasShown = false;
    const auto clickAbort = QObject::connect(progress->list()->model(), &QAbstractItemModel::rowsInserted, progress, [&] {
        wasShown = wasShown || progress->isVisible();
        if (progress->list()->count() == 5)
            progress->abortButton()->click();
    });
    select(BrowserSide::Local, {u"many"_qs});
    QTest::keyClick(grid(BrowserSide::Local), Qt::Key_F5);
    QObject::disconnect(clickAbort);
    EXPECT_TRUE(wasShown);
    EXPECT_EQ(progress->titleLabel()->text(), u"Get directory structure"_qs);
    EXPECT_EQ(progress->list()->count(), 5);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"many"_qs)));
    EXPECT_EQ(starter->queue().model().rowCount(), 0);
    EXPECT_FALSE(main().isBusy());

    select(BrowserSide::Local, {u"many"_qs, u"a.txt"_qs});
    starter->transfer().builders().UsedSpace(GridSide::Local);
    QCoreApplication::processEvents();
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->titleLabel()->text(), u"Calculate used space"_qs);
    EXPECT_TRUE(progress->closeButton()->isVisible());
    EXPECT_TRUE(progress->closeButton()->hasFocus());
    EXPECT_EQ(progress->filesLabel()->text(), u"Determined files:  21"_qs);
    EXPECT_EQ(progress->dirsLabel()->text(), u"Determined directories:  1"_qs);
    EXPECT_EQ(progress->sizeLabel()->text(), u"Determined size:  108  bytes"_qs);
    EXPECT_EQ(progress->list()->item(progress->list()->count() - 3)->text(), u"Done"_qs);
    EXPECT_EQ(progress->list()->currentRow(), progress->list()->count() - 1);
    EXPECT_FALSE(main().isBusy());
    progress->closeButton()->click();
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(QFileInfo::exists(server.localPath(u"many"_qs)));
}

TEST_F(TransferWindow, PressingAndMovingOnARowStartsADragUnlessTheWindowIsBusy)
{
    FileGridView *local = grid(BrowserSide::Local);
    const QPoint from = rowCentre(BrowserSide::Local, u"a.txt"_qs);
    const QPoint to = from + QPoint(0, 3 * QApplication::startDragDistance());
    const auto tryDrag = [&] {
        QDrag *seen = nullptr;
        // A running drag waits for the button to come up; look at it and let it go.
        QTimer::singleShot(0, local, [&] {
            seen = local->findChild<QDrag *>();
            QTest::keyClick(local, Qt::Key_Escape);
        });
        QTest::mousePress(local->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(local->viewport(), from + QPoint(1, 1));
        QTest::mouseMove(local->viewport(), to);
        QTest::mouseRelease(local->viewport(), Qt::LeftButton, {}, to);
        QCoreApplication::processEvents();
        return seen != nullptr;
    };
    int asks = 0;
    const std::function<bool()> original = local->dragAllowed;
    local->dragAllowed = [&] { ++asks; return original(); };
    main().SetBusyState();
    local->setEnabled(true); // even a grid that takes the mouse starts no drag while busy
    EXPECT_FALSE(tryDrag());
    EXPECT_EQ(asks, 1);
    main().SetIdleState();
    EXPECT_TRUE(tryDrag());
    EXPECT_EQ(asks, 2);
}
