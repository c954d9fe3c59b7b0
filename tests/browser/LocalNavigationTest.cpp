// Moving between local folders: rows, the ".." and "\" buttons, the path box and its history,
// the drive list, the remembered row.
#include "BrowserFixture.h"

#include "app/UserPrompts.h"

#include <QLayout>
#include <QListWidget>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

class LocalNavigation : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        data = folder(QStringLiteral("data"));
        folder(QStringLiteral("data/Sub/inner"));
        folder(QStringLiteral("data/alpha"));
        file(QStringLiteral("data/file.txt"), "x");
        file(QStringLiteral("data/Sub/deep.txt"), "y");
        local().FillLocalGrid(data);
    }
    QString data;
};

TEST_F(LocalNavigation, DoubleClickOpensFoldersGoesUpAndSelectsTheFolderLeft)
{
    doubleClickRow(rowOf(u"Sub"_qs));
    EXPECT_EQ(pathText(), data + QStringLiteral("Sub/"));
    EXPECT_EQ(names(), (QStringList{u".."_qs, u"inner"_qs, u"deep.txt"_qs}));
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(selectedRows(), QList<int>{0});

    doubleClickRow(0); // ".."
    EXPECT_EQ(pathText(), data);
    EXPECT_EQ(currentName(), u"Sub"_qs);

    const QStringList before = names();
    doubleClickRow(rowOf(u"file.txt"_qs)); // a file does nothing
    EXPECT_EQ(pathText(), data);
    EXPECT_EQ(names(), before);

    // Enter opens the row the user selected last.
    localPane().selectRow(rowOf(u"alpha"_qs));
    QTest::keyClick(localGrid(), Qt::Key_Return);
    EXPECT_EQ(pathText(), data + QStringLiteral("alpha/"));
}

TEST_F(LocalNavigation, RowsBelongToTheListedFolderEvenWhenTheBoxWasEdited)
{
    localPane().pathBox()->setEditText(QStringLiteral("/somewhere/else/"));
    doubleClickRow(rowOf(u"Sub"_qs));
    EXPECT_EQ(pathText(), data + QStringLiteral("Sub/"));
}

TEST_F(LocalNavigation, UpButtonListsTheParentAndSelectsTheFirstRow)
{
    local().FillLocalGrid(data + QStringLiteral("Sub/inner/"));
    w().localUpButton->click();
    EXPECT_EQ(pathText(), data + QStringLiteral("Sub/"));
    EXPECT_EQ(currentRow(), 0);

    // From the root, ".." and the parent row both lead to the drive list.
    local().FillLocalGrid(QStringLiteral("/"));
    w().localUpButton->click();
    EXPECT_TRUE(local().isDriveListShown());
    EXPECT_EQ(pathText(), u"\\"_qs);
    local().FillLocalGrid(QStringLiteral("/"));
    doubleClickRow(0);
    EXPECT_TRUE(local().isDriveListShown());
    EXPECT_TRUE(localGrid()->isHidden());
}

TEST_F(LocalNavigation, EnterInThePathBoxListsExistingFoldersOnly)
{
    enterPath(QStringLiteral("  ") + data + QStringLiteral("Sub//inner  "));
    EXPECT_EQ(pathText(), data + QStringLiteral("Sub/inner/"));
    EXPECT_EQ(local().listedPath(), data + QStringLiteral("Sub/inner/"));
    EXPECT_EQ(currentRow(), 0);

    enterPath(data + QStringLiteral("missing"));
    EXPECT_EQ(pathText(), data + QStringLiteral("missing/")); // normalised, nothing else happens
    EXPECT_EQ(local().listedPath(), data + QStringLiteral("Sub/inner/"));
    EXPECT_EQ(names(), QStringList{u".."_qs});
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(LocalNavigation, DriveListShowsTheVolumesAndOpensOne)
{
    platform.volumes = {QStringLiteral("/"), data + QStringLiteral("Sub/")};
    enterPath(QStringLiteral("\\"));
    auto *drives = qobject_cast<DriveListWidget *>(w().localDriveList);
    ASSERT_NE(drives, nullptr);
    EXPECT_EQ(drives->objectName(), u"JvDriveList1"_qs);
    EXPECT_FALSE(drives->isHidden());
    EXPECT_TRUE(localGrid()->isHidden());
    EXPECT_EQ(drives->volumes(), platform.volumes);
    EXPECT_EQ(names(), QStringList());

    w().leftPanel->layout()->activate(); // the list was just shown: give it its place
    const QRect second = drives->visualItemRect(drives->item(1));
    QTest::mouseClick(drives->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(drives->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_TRUE(drives->isHidden());
    EXPECT_FALSE(localGrid()->isHidden());
    EXPECT_EQ(pathText(), data + QStringLiteral("Sub/"));
    EXPECT_EQ(currentRow(), 0);

    w().localRootButton->click();
    EXPECT_FALSE(drives->isHidden());
    EXPECT_EQ(pathText(), u"\\"_qs);
    drives->setCurrentRow(0);
    QTest::keyClick(drives, Qt::Key_Return);
    EXPECT_EQ(pathText(), u"/"_qs);
    EXPECT_FALSE(localGrid()->isHidden());

    // The busy state covers the drive list too.
    main().SetBusyState();
    EXPECT_FALSE(drives->isEnabled());
    main().SetIdleState();
    EXPECT_TRUE(drives->isEnabled());
}

TEST_F(LocalNavigation, HistoryListsAChosenEntryOnlyUntilAKeyIsTyped)
{
    const QString sub = data + QStringLiteral("Sub/");
    local().FillLocalGrid(sub);
    EXPECT_EQ(history(), (QStringList{sub, data, u"/"_qs}));
    local().FillLocalGrid(data); // already in the list: not added twice
    EXPECT_EQ(history(), (QStringList{sub, data, u"/"_qs}));

    QComboBox *box = localPane().pathBox();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(box->lineEdit(), &focusIn);
    Q_EMIT box->activated(0);
    EXPECT_EQ(local().listedPath(), sub);

    QTest::keyClick(box->lineEdit(), Qt::Key_X);
    Q_EMIT box->activated(1);
    EXPECT_EQ(local().listedPath(), sub); // editing: nothing is listed

    QTest::keyClick(box->lineEdit(), Qt::Key_Down, Qt::AltModifier); // opening the list is no editing
    box->hidePopup();
    Q_EMIT box->activated(1);
    EXPECT_EQ(local().listedPath(), sub);

    QTest::keyClick(box->lineEdit(), Qt::Key_Return); // Enter follows the list again
    Q_EMIT box->activated(1);
    EXPECT_EQ(local().listedPath(), data);
}

TEST_F(LocalNavigation, SelectionSurvivesTheWindowBecomingActiveAgain)
{
    const QList<int> rows{1, 2, 3};
    localGrid()->clearSelection();
    for (int row : rows)
        localGrid()->selectionModel()->select(localGrid()->model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(selectedRows(), rows);

    // Alt+Tab, a message box or a dialog closing: the focus returns with the window.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::MenuBarFocusReason}) {
        QFocusEvent back(QEvent::FocusIn, reason);
        QCoreApplication::sendEvent(localGrid(), &back);
        EXPECT_EQ(selectedRows(), rows) << "focus reason " << int(reason);
    }

    // Tab or a click from another control of the window selects the remembered row again.
    localPane().selectRow(2);
    for (int row : rows)
        localGrid()->selectionModel()->select(localGrid()->model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QFocusEvent tabbed(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(localGrid(), &tabbed);
    EXPECT_EQ(selectedRows(), QList<int>{2});
}

TEST_F(LocalNavigation, RememberedRowComesBackOnFocusAndIdleAndShrinksWithTheGrid)
{
    const QString sub = data + QStringLiteral("Sub/");
    localPane().selectRow(3);
    localGrid()->clearSelection();
    main().SetBusyState();
    main().SetIdleState();
    EXPECT_EQ(selectedRows(), QList<int>{3});
    EXPECT_EQ(browser()->activeSide(), BrowserSide::Local);

    // A grid with fewer rows lowers the remembered row to its last one.
    local().FillLocalGrid(sub);
    ASSERT_EQ(names().size(), 3);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(localGrid(), &focusIn);
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(localPane().rememberedRow(), 2);

    // The grid that received the focus last is the active side.
    QCoreApplication::sendEvent(pane(BrowserSide::Server).view(), &focusIn);
    EXPECT_EQ(browser()->activeSide(), BrowserSide::Server);
    EXPECT_EQ(browser()->activeGrid(), w().serverGrid);
}
