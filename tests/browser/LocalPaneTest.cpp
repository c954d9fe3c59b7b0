// The local pane: listing, status line, dates, icons, sorting and the state files of the grids.
#include "BrowserFixture.h"

#include <QStyle>

#include "app/ColumnWidth.h"
#include "common/IniFile.h"
#include "common/Language.h"

#include <QIcon>

using namespace Velmora;
using namespace Velmora::Testing;

namespace C = FileGridColumns;

class LocalPane : public BrowserFixture {
protected:
    // Folders "beta" and "Alpha"; files of 3, 1 and 1000 bytes, one of them hidden.
    QString makeTree()
    {
        const QString tree = folder(QStringLiteral("tree"));
        setModified(folder(QStringLiteral("tree/beta")), 1750000000);
        setModified(folder(QStringLiteral("tree/Alpha")), 1800000000);
        file(QStringLiteral("tree/zeta.txt"), "abc", 1700000000);
        file(QStringLiteral("tree/.hidden"), "1", 1600000000);
        file(QStringLiteral("tree/Readme"), QByteArray(1000, 'r'), 1650000000);
        return tree;
    }
};

TEST_F(LocalPane, ListsEveryEntryFoldersFirstUnderTheParentRow)
{
    const QString tree = makeTree();
    local().FillLocalGrid(tree);
    EXPECT_EQ(names(), (QStringList{u".."_qs, u"Alpha"_qs, u"beta"_qs, u".hidden"_qs, u"Readme"_qs, u"zeta.txt"_qs}));
    EXPECT_EQ(pathText(), tree);
    EXPECT_EQ(history().first(), tree);
    EXPECT_EQ(status(), u" 3 Files and 2 Directories. Total Size: 1.004  bytes"_qs);
    const QStringList row4 = {cell(4, C::Kind), cell(4, C::FileType), cell(4, C::Size)};
    EXPECT_EQ(row4, (QStringList{u"1"_qs, u"Datei"_qs, u"1.000    "_qs}));
    EXPECT_EQ(cell(1, C::FileType), u"Directory"_qs);
    EXPECT_EQ(cell(1, C::Size), u"0    "_qs);
    EXPECT_EQ(cell(5, C::FileType), u"TXT-Datei"_qs);
    EXPECT_EQ(cell(5, C::Date), QDateTime::fromSecsSinceEpoch(1700000000).toString(u"MM/dd/yyyy hh:mm:ss"));
    EXPECT_EQ(cell(0, C::FileType), QString());
    EXPECT_EQ(cell(0, C::Size), QString());

    // Icons: the folder picture for folders (".." included), the system's per type for files.
    for (int row : {0, 1, 5}) {
        const QVariant icon = localPane().model().index(row, C::LocalIcon).data(Qt::DecorationRole);
        ASSERT_TRUE(icon.canConvert<QIcon>()) << row;
        EXPECT_FALSE(icon.value<QIcon>().isNull()) << row;
    }

    // The grid's columns: hidden kind, the icon leftmost, the design widths grown with the font,
    // no user moving.
    QHeaderView *header = localGrid()->horizontalHeader();
    EXPECT_TRUE(header->isSectionHidden(C::Kind));
    EXPECT_EQ(header->logicalIndex(0), C::LocalIcon);
    EXPECT_EQ(header->logicalIndex(2), C::Name);
    const int widths[] = {20, 250, 70, 90, 120, 20};
    const QFontMetrics metrics = localGrid()->fontMetrics();
    for (int column : {int(C::Name), int(C::Size), 5})
        EXPECT_EQ(header->sectionSize(column), ColumnWidth::scaled(widths[column], metrics)) << column;
    for (int column : {int(C::FileType), int(C::Date)})
        EXPECT_GE(header->sectionSize(column), ColumnWidth::scaled(widths[column], metrics)) << column;
    EXPECT_FALSE(header->sectionsMovable());
    EXPECT_EQ(localGrid()->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(localGrid()->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(LocalPane, EveryCellOfTheDesignColumnsShowsItsWholeText)
{
    local().FillLocalGrid(makeTree());
    FileGridView *grid = localGrid();
    const QFontMetrics metrics = grid->fontMetrics();
    const int margins = 2 * grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 2;
    for (int column : {int(FileGridColumns::Size), int(FileGridColumns::Date), int(FileGridColumns::FileType)}) {
        for (int row = 1; row < grid->model()->rowCount(); ++row) {
            const QString text = cell(row, column);
            EXPECT_GE(grid->columnWidth(column), metrics.horizontalAdvance(text) + margins)
                << "column " << column << " cuts \"" << text.toStdString() << '"';
        }
    }
}

TEST_F(LocalPane, StatusLinesAndCaptionsFollowTheLanguage)
{
    const QString one = folder(QStringLiteral("one"));
    folder(QStringLiteral("one/sub"));
    file(QStringLiteral("one/a.bin"), QByteArray(1536, 'x'));
    local().FillLocalGrid(one);
    EXPECT_EQ(status(), u" 1 File and 1 Directory. Total Size: 1.536  bytes  (1.50 kB)"_qs);

    main().SetLanguage(Language::German); // lists the local path again
    EXPECT_EQ(status(), u" 1 Datei und 1 Ordner. Gesamtgröße: 1.536  bytes  (1.50 kB)"_qs);
    EXPECT_EQ(cell(rowOf(u"sub"_qs), C::FileType), u"Ordner"_qs);
    EXPECT_EQ(localPane().model().headerData(C::Name, Qt::Horizontal).toString(), u"Dateiname:"_qs);
    EXPECT_EQ(localPane().model().headerData(C::Size, Qt::Horizontal).toString(), u"Dateigröße:"_qs);

    local().FillLocalGrid(folder(QStringLiteral("empty")));
    EXPECT_EQ(names(), QStringList{u".."_qs});
    EXPECT_EQ(status(), u" 0 Dateien und 0 Ordner. Gesamtgröße: 0  bytes"_qs);
    main().SetLanguage(Language::English);
    EXPECT_EQ(status(), u" 0 Files and 0 Directories. Total Size: 0  bytes"_qs);
}

TEST_F(LocalPane, DatesFollowTheSystemLanguageNotTheProgramLanguage)
{
    starter.reset();
    platform.german = true; // a German system, the program in English
    ASSERT_TRUE(start());
    file(QStringLiteral("dated/a.txt"), "a", 1700000000);
    local().FillLocalGrid(env.root() + QStringLiteral("dated/"));
    EXPECT_EQ(context().language.current(), Language::English);
    EXPECT_EQ(cell(1, C::Date), QDateTime::fromSecsSinceEpoch(1700000000).toString(u"dd.MM.yyyy hh:mm:ss"));
}

TEST_F(LocalPane, MissingFoldersAreShortenedToTheNearestExistingOne)
{
    const QString tree = makeTree();
    local().FillLocalGrid(tree + QStringLiteral("gone/deeper/still/"));
    EXPECT_EQ(pathText(), tree);
    EXPECT_EQ(names().size(), 6);

    QString deep = tree;
    for (int i = 0; i < 51; ++i)
        deep += QStringLiteral("x/");
    local().FillLocalGrid(deep); // more than fifty steps away: the start drive
    EXPECT_EQ(pathText(), u"/"_qs);
    EXPECT_EQ(local().listedPath(), u"/"_qs);
    EXPECT_TRUE(prompts.shown.isEmpty());

    // A folder that vanished since it was listed.
    const QString doomed = folder(QStringLiteral("tree/beta/doomed"));
    local().FillLocalGrid(doomed);
    QDir(doomed).removeRecursively();
    browser()->refresh(BrowserSide::Local);
    EXPECT_EQ(pathText(), tree + QStringLiteral("beta/"));
}

TEST_F(LocalPane, HeaderDoubleClicksSortBySizeAndKeepTheOrderForTheNextListing)
{
    const QString tree = makeTree();
    local().FillLocalGrid(tree);
    const QString sortFile = env.appDataFolder() + QStringLiteral("local_sort.ini");

    doubleClickHeader(C::Size);
    EXPECT_EQ(names(), (QStringList{u".."_qs, u"Readme"_qs, u"zeta.txt"_qs, u".hidden"_qs, u"beta"_qs, u"Alpha"_qs}));
    EXPECT_EQ(TestEnvironment::readFile(sortFile), QByteArray("3\r\nTRUE\r\n"));
    EXPECT_EQ(localGrid()->horizontalHeader()->sortIndicatorSection(), C::Size);
    EXPECT_EQ(localGrid()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    doubleClickHeader(C::Size);
    EXPECT_EQ(names(), (QStringList{u".."_qs, u"Alpha"_qs, u"beta"_qs, u".hidden"_qs, u"zeta.txt"_qs, u"Readme"_qs}));
    EXPECT_EQ(TestEnvironment::readFile(sortFile), QByteArray("3\r\nFALSE\r\n"));

    // The next listing, of any folder, is in ascending size order.
    const QString other = folder(QStringLiteral("other"));
    file(QStringLiteral("other/big"), QByteArray(50, 'b'));
    file(QStringLiteral("other/small"), "s");
    local().FillLocalGrid(other);
    EXPECT_EQ(names(), (QStringList{u".."_qs, u"small"_qs, u"big"_qs}));

    // The icon column has no key: its number and "FALSE" are written, the order stays.
    localGrid()->horizontalHeader()->sectionDoubleClicked(C::LocalIcon);
    EXPECT_EQ(TestEnvironment::readFile(sortFile), QByteArray("5\r\nFALSE\r\n"));
    EXPECT_EQ(names(), (QStringList{u".."_qs, u"small"_qs, u"big"_qs}));
    local().FillLocalGrid(tree);
    EXPECT_EQ(names(), (QStringList{u".."_qs, u"Alpha"_qs, u"beta"_qs, u".hidden"_qs, u"Readme"_qs, u"zeta.txt"_qs}));
}

TEST_F(LocalPane, StoredSortFilesAreAppliedAndDamagedOnesIgnored)
{
    const QString tree = makeTree();
    const QString sortFile = env.appDataFolder() + QStringLiteral("local_sort.ini");
    struct Case {
        QByteArray content;
        QStringList order;
    };
    const Case cases[] = {
        {"4\r\nTRUE\r\n", {u".."_qs, u"Alpha"_qs, u"beta"_qs, u"zeta.txt"_qs, u"Readme"_qs, u".hidden"_qs}},
        {"1\r\nTRUE\r\n", {u".."_qs, u"zeta.txt"_qs, u"Readme"_qs, u".hidden"_qs, u"beta"_qs, u"Alpha"_qs}},
        {"not a number", {u".."_qs, u"Alpha"_qs, u"beta"_qs, u".hidden"_qs, u"Readme"_qs, u"zeta.txt"_qs}},
        {"42\r\nTRUE\r\n", {u".."_qs, u"Alpha"_qs, u"beta"_qs, u".hidden"_qs, u"Readme"_qs, u"zeta.txt"_qs}},
    };
    for (const Case &c : cases) {
        env.writeFile(sortFile, c.content);
        local().FillLocalGrid(tree);
        EXPECT_EQ(names(), c.order) << c.content.toStdString();
    }
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(LocalPane, ColumnLayoutIsReadAtShowAndWrittenAtClose)
{
    starter.reset();
    const QString layout = env.appDataFolder() + QStringLiteral("localgrid.ini");
    env.writeFile(layout, "[Common]\r\nColumnsCount=6\r\n"
                          "[Columns Sizes]\r\nColumn1=333\r\nColumn3=wide\r\nColumn4=140\r\n"
                          "[Positions]\r\nColumn2=1\r\n"
                          "[Visible Columns]\r\nColumn2=0\r\n"
                          "[Sorted]\r\nColumn4=1\r\n[Columns Sort Kind]\r\nColumn4=Descending\r\n");
    ASSERT_TRUE(start());
    QHeaderView *header = localGrid()->horizontalHeader();
    EXPECT_EQ(header->sectionSize(C::Name), 333);
    const QFontMetrics metrics = localGrid()->fontMetrics();
    EXPECT_EQ(header->sectionSize(C::Size), ColumnWidth::scaled(90, metrics)); // damaged: the design width stays
    EXPECT_EQ(header->sectionSize(C::Date), 140);
    EXPECT_EQ(header->visualIndex(C::FileType), 1);
    EXPECT_TRUE(header->isSectionHidden(C::FileType));

    header->resizeSection(C::Date, 155);
    Q_EMIT main().closingCleanupStarted();
    IniFile written(layout);
    ASSERT_TRUE(written.load());
    EXPECT_EQ(written.readString(u"Common"_qs, u"ColumnsCount"_qs), u"6"_qs);
    const QStringList sections = {u"Columns Sort Kind"_qs, u"Visible Columns"_qs, u"Sorted"_qs, u"Positions"_qs, u"Columns Sizes"_qs};
    for (const QString &section : sections)
        EXPECT_EQ(written.keys(section).size(), 6) << section.toStdString();
    const auto value = [&written](const char16_t *section, int column) {
        return written.readString(QString::fromUtf16(section), QStringLiteral("Column") + QString::number(column));
    };
    EXPECT_EQ(value(u"Columns Sizes", C::Name), u"333"_qs);
    EXPECT_EQ(value(u"Columns Sizes", C::Date), u"155"_qs);
    // Hidden columns keep their width.
    EXPECT_EQ(value(u"Columns Sizes", C::Kind), QString::number(ColumnWidth::scaled(20, metrics)));
    EXPECT_EQ(value(u"Columns Sizes", C::FileType),
              QString::number(std::max(ColumnWidth::scaled(70, metrics), ColumnWidth::forText(u"HIDDEN-Datei"_qs, metrics))));
    EXPECT_EQ(value(u"Visible Columns", C::Kind), u"0"_qs);
    EXPECT_EQ(value(u"Visible Columns", C::FileType), u"0"_qs);
    EXPECT_EQ(value(u"Visible Columns", C::Name), u"1"_qs);
    EXPECT_EQ(value(u"Positions", C::FileType), u"1"_qs);
    EXPECT_EQ(value(u"Positions", C::LocalIcon), QString::number(header->visualIndex(C::LocalIcon)));
    // The start listing sorted by name: the mark is there now.
    EXPECT_EQ(value(u"Sorted", C::Name), u"1"_qs);
    EXPECT_EQ(value(u"Sorted", C::Date), u"0"_qs);
    EXPECT_EQ(value(u"Columns Sort Kind", C::Name), u"Ascending"_qs);

    // The server grid's file is written too, with its eight columns.
    IniFile server(env.appDataFolder() + QStringLiteral("servergrid.ini"));
    ASSERT_TRUE(server.load());
    EXPECT_EQ(server.readString(u"Common"_qs, u"ColumnsCount"_qs), u"8"_qs);
    EXPECT_EQ(server.readString(u"Columns Sizes"_qs, u"Column5"_qs), QString::number(ColumnWidth::scaled(90, metrics)));

    // What was written is what the next start shows.
    starter.reset();
    ASSERT_TRUE(start());
    EXPECT_EQ(localGrid()->horizontalHeader()->sectionSize(C::Date), 155);
    EXPECT_TRUE(localGrid()->horizontalHeader()->isSectionHidden(C::FileType));
}
