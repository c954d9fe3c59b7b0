// The keyboard of the file grids: type-ahead search, Ctrl+A, the command keys, and the selection
// rules the commands check.
#include "BrowserFixture.h"

#include "app/TypeAheadSearch.h"
#include "common/Language.h"

using namespace Velmora;
using namespace Velmora::Testing;

class GridKeys : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        const QString tree = folder(QStringLiteral("keys"));
        folder(QStringLiteral("keys/zulu"));
        for (const char *name : {"alpha.txt", "Readme", "record.txt", "beta.txt"})
            file(QStringLiteral("keys/") + QString::fromLatin1(name), "x");
        local().FillLocalGrid(tree);
        ASSERT_EQ(names(), (QStringList{u".."_qs, u"zulu"_qs, u"alpha.txt"_qs, u"beta.txt"_qs, u"Readme"_qs, u"record.txt"_qs}));
    }
    void fireTypeAheadTimer()
    {
        QMetaObject::invokeMethod(&typeAhead().resetTimer(), "timeout", Qt::DirectConnection);
    }
};

TEST_F(GridKeys, TypeAheadSearchesNamesWithinOneBurst)
{
    QTest::keyClicks(localGrid(), QStringLiteral("re"));
    EXPECT_EQ(currentName(), u"Readme"_qs);
    EXPECT_EQ(typeAhead().buffer(), u"re"_qs);
    QTest::keyClicks(localGrid(), QStringLiteral("C"));
    EXPECT_EQ(currentName(), u"record.txt"_qs);

    fireTypeAheadTimer(); // a second passed: the next key starts a new search
    EXPECT_TRUE(typeAhead().buffer().isEmpty());
    QTest::keyClicks(localGrid(), QStringLiteral("b"));
    EXPECT_EQ(currentName(), u"beta.txt"_qs);

    fireTypeAheadTimer();
    QTest::keyClicks(localGrid(), QStringLiteral("x"));
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(selectedRows(), QList<int>{0});

    // Keys that type nothing leave the search alone; arrows still move.
    fireTypeAheadTimer();
    QTest::keyClick(localGrid(), Qt::Key_Down);
    EXPECT_EQ(currentRow(), 1);
    QTest::keyClick(localGrid(), Qt::Key_Escape);
    EXPECT_TRUE(typeAhead().buffer().isEmpty());
}

TEST_F(GridKeys, CtrlASelectsEveryRow)
{
    QTest::keyClick(localGrid(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selectedRows(), (QList<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(typeAhead().buffer().isEmpty());
}

TEST_F(GridKeys, CommandKeysReachTheirHandlersAndUnbuiltCommandsDoNothing)
{
    QStringList ran;
    for (GridCommand command : {GridCommand::Transfer, GridCommand::Delete, GridCommand::FilePermissions}) {
        browser()->commands().setHandler(command, [&ran, command](BrowserSide side) {
            ran << QString::number(int(command)) + (side == BrowserSide::Local ? u'L' : u'S');
        });
    }
    fakeConnected([] { return true; }); // the server grid takes keys only while connected
    main().SetIdleState();
    FileGridView *server = pane(BrowserSide::Server).view();
    QTest::keyClick(localGrid(), Qt::Key_F5);
    QTest::keyClick(server, Qt::Key_F5);
    QTest::keyClick(localGrid(), Qt::Key_Delete);
    QTest::keyClick(server, Qt::Key_F8);
    QTest::keyClick(localGrid(), Qt::Key_F11); // no file permissions on the local side
    QTest::keyClick(server, Qt::Key_F11);
    for (Qt::Key key : {Qt::Key_F3, Qt::Key_F9, Qt::Key_F10})
        QTest::keyClick(localGrid(), key);
    EXPECT_EQ(ran, (QStringList{u"2L"_qs, u"2S"_qs, u"5L"_qs, u"5S"_qs, u"8S"_qs}));
    EXPECT_EQ(pathText(), env.root() + QStringLiteral("keys/"));
    EXPECT_TRUE(typeAhead().buffer().isEmpty());
}

TEST_F(GridKeys, CheckSelectionShowsEachRuleMessage)
{
    const auto check = [this](QList<int> rows, int current, SelectionRule rule) {
        localGrid()->clearSelection();
        for (int row : rows)
            localGrid()->selectionModel()->select(localGrid()->model()->index(row, 1),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (current >= 0)
            localGrid()->selectionModel()->setCurrentIndex(localGrid()->model()->index(current, 1), QItemSelectionModel::NoUpdate);
        prompts.clear();
        const bool met = browser()->CheckSelection(localGrid(), rule);
        return std::pair{met, prompts.shown.join(u'\n')};
    };
    using R = SelectionRule;
    EXPECT_EQ(check({}, -1, R::AFile), std::pair(false, u"information: Select first a file."_qs));
    EXPECT_EQ(check({0}, 0, R::AFileOrDirectory), std::pair(false, u"information: Select first a file or a directory."_qs));
    EXPECT_EQ(check({1}, 1, R::MinimumOneFile), std::pair(false, u"information: Please select minimum one file!"_qs));
    EXPECT_EQ(check({0, 2}, 2, R::MinimumOneDirectory), std::pair(false, u"information: Please select minimum one directory!"_qs));
    EXPECT_EQ(check({1, 2}, 1, R::AFile), std::pair(false, u"information: Select first a file."_qs));
    EXPECT_EQ(check({1, 2}, 2, R::AFile), std::pair(true, QString()));
    EXPECT_EQ(check({1, 2}, 2, R::MinimumOneDirectory), std::pair(true, QString()));

    main().SetLanguage(Language::German);
    EXPECT_EQ(check({}, -1, R::MinimumOneFile), std::pair(false, u"information: Bitte wählen Sie minimal eine Datei aus!"_qs));
    EXPECT_FALSE(browser()->CheckSelection(BrowserSide::Server, R::AFileOrDirectory)); // an empty grid
    EXPECT_EQ(prompts.shown.last(), u"information: Bitte zuerst eine Datei oder einen Ordner auswählen."_qs);
}
