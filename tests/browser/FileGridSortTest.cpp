#include "QtPrinters.h"

#include "browser/FileGridColumns.h"
#include "browser/FileGridModel.h"
#include "browser/FileGridSort.h"
#include "browser/GridDecorations.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Velmora;

namespace {

FileGridEntry entry(int kind, const char *name, const char *type, qint64 size, qint64 date, const char *permissions = "",
                    const char *owner = "")
{
    FileGridEntry e;
    e.kind = EntryKind(kind);
    e.name = QString::fromUtf8(name);
    e.typeText = QString::fromUtf8(type);
    e.size = size;
    e.dateMs = date;
    e.hasDate = true;
    e.permissions = QString::fromUtf8(permissions);
    e.owner = QString::fromUtf8(owner);
    return e;
}

// Every column orders these differently. "Epsilon" and "EPSILON" tie on every field, so only an
// exact reverse puts them the other way round when descending.
std::vector<FileGridEntry> fixture(bool parentRow)
{
    std::vector<FileGridEntry> rows;
    if (parentRow)
        rows.push_back(FileGridEntry::parentRow());
    rows.push_back(entry(1, "zeta.txt", "TXT-Datei", 300, 1000, "-rw-r--r--", "bob staff"));
    rows.push_back(entry(0, "beta", "Directory", 0, 2000, "drwxr-xr-x", "root root"));
    rows.push_back(entry(1, "Gamma.doc", "DOC-Datei", 100, 5000, "-rw-------", "Alice staff"));
    rows.push_back(entry(1, "Epsilon", "Datei", 100, 2000, "-rw-r--r--", "bob staff"));
    rows.push_back(entry(1, "delta.txt", "TXT-Datei", 200, 3000, "-rwxr-xr-x", "aaron staff"));
    rows.push_back(entry(0, "Alpha", "Directory", 0, 4000, "drwx------", "ftp ftp"));
    rows.push_back(entry(1, "EPSILON", "Datei", 100, 2000, "-rw-r--r--", "bob staff"));
    return rows;
}

QStringList names(const std::vector<FileGridEntry> &rows)
{
    QStringList out;
    for (const FileGridEntry &e : rows)
        out << e.name;
    return out;
}

struct SortCase {
    BrowserSide side;
    int column;
    QStringList ascending;
};

class ColumnSort : public ::testing::TestWithParam<SortCase> {};

} // namespace

TEST_P(ColumnSort, AscendingByKeyDescendingExactReverseParentRowFirst)
{
    const SortCase &c = GetParam();
    for (bool parent : {true, false}) {
        std::vector<FileGridEntry> rows = fixture(parent);
        ASSERT_TRUE(SortFileGridEntries(rows, c.side, c.column, false));
        QStringList expected = c.ascending;
        if (parent)
            expected.prepend(QStringLiteral(".."));
        EXPECT_EQ(names(rows), expected) << "column " << c.column;

        rows = fixture(parent);
        ASSERT_TRUE(SortFileGridEntries(rows, c.side, c.column, true));
        QStringList reversed = c.ascending;
        std::reverse(reversed.begin(), reversed.end());
        if (parent)
            reversed.prepend(QStringLiteral(".."));
        EXPECT_EQ(names(rows), reversed) << "column " << c.column;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ColumnSort,
    ::testing::Values(
        SortCase{BrowserSide::Local, 1, {u"Alpha"_qs, u"beta"_qs, u"delta.txt"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"Gamma.doc"_qs, u"zeta.txt"_qs}},
        SortCase{BrowserSide::Local, 2, {u"Alpha"_qs, u"beta"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"Gamma.doc"_qs, u"delta.txt"_qs, u"zeta.txt"_qs}},
        SortCase{BrowserSide::Local, 3, {u"Alpha"_qs, u"beta"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"Gamma.doc"_qs, u"delta.txt"_qs, u"zeta.txt"_qs}},
        // The local date key compares the date first: files and folders mix.
        SortCase{BrowserSide::Local, 4, {u"zeta.txt"_qs, u"beta"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"delta.txt"_qs, u"Alpha"_qs, u"Gamma.doc"_qs}},
        SortCase{BrowserSide::Server, 1, {u"Alpha"_qs, u"beta"_qs, u"delta.txt"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"Gamma.doc"_qs, u"zeta.txt"_qs}},
        SortCase{BrowserSide::Server, 2, {u"Alpha"_qs, u"beta"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"Gamma.doc"_qs, u"delta.txt"_qs, u"zeta.txt"_qs}},
        SortCase{BrowserSide::Server, 3, {u"Alpha"_qs, u"beta"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"Gamma.doc"_qs, u"delta.txt"_qs, u"zeta.txt"_qs}},
        // The server date key keeps folders before files.
        SortCase{BrowserSide::Server, 4, {u"beta"_qs, u"Alpha"_qs, u"zeta.txt"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"delta.txt"_qs, u"Gamma.doc"_qs}},
        SortCase{BrowserSide::Server, 5, {u"Alpha"_qs, u"beta"_qs, u"Gamma.doc"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"zeta.txt"_qs, u"delta.txt"_qs}},
        SortCase{BrowserSide::Server, 6, {u"Alpha"_qs, u"beta"_qs, u"delta.txt"_qs, u"Gamma.doc"_qs, u"Epsilon"_qs, u"EPSILON"_qs, u"zeta.txt"_qs}}));

TEST(ColumnSortWithoutKey, KindIconAndUnknownColumnsKeepTheListedOrder)
{
    const QStringList listed = names(fixture(true));
    for (const auto &[side, column] : {std::pair{BrowserSide::Local, 0}, {BrowserSide::Local, 5}, {BrowserSide::Local, 6},
                                       {BrowserSide::Server, 0}, {BrowserSide::Server, 7}, {BrowserSide::Server, -1}}) {
        std::vector<FileGridEntry> rows = fixture(true);
        EXPECT_FALSE(SortFileGridEntries(rows, side, column, true)) << column;
        EXPECT_EQ(names(rows), listed) << column;
    }
}

TEST(ColumnSortEdges, RowsWithoutReadableDateComeFirstAndLoneRowsStay)
{
    std::vector<FileGridEntry> rows = {entry(1, "b", "Datei", 1, 10), entry(1, "a", "Datei", 1, 5)};
    rows[0].hasDate = false;
    ASSERT_TRUE(SortFileGridEntries(rows, BrowserSide::Local, 4, false));
    EXPECT_EQ(names(rows), (QStringList{u"b"_qs, u"a"_qs}));

    std::vector<FileGridEntry> parentOnly = {FileGridEntry::parentRow()};
    EXPECT_TRUE(SortFileGridEntries(parentOnly, BrowserSide::Server, 1, true));
    EXPECT_EQ(names(parentOnly), QStringList{u".."_qs});
}

namespace {

class CountingDecorations : public GridDecorations {
public:
    QVariant icon(EntryKind kind, const QString &pathOrName) const override
    {
        asked << QString::number(int(kind)) + u':' + pathOrName;
        return QStringLiteral("icon");
    }
    QVariant fixedPitchFont() const override { return QStringLiteral("fixed"); }
    mutable QStringList asked;
};

std::vector<FileGridEntry> manyFiles(int count)
{
    std::vector<FileGridEntry> rows{FileGridEntry::parentRow()};
    for (int i = 0; i < count; ++i)
        rows.push_back(entry(1, "f.txt", "TXT-Datei", i, i));
    return rows;
}

} // namespace

TEST(FileGridIcons, ShownUpToOneThousandEntriesWithPathsOnTheLocalSideNamesOnTheServer)
{
    CountingDecorations decorations;
    FileGridModel local(BrowserSide::Local, nullptr);
    local.setDecorations(&decorations);
    local.setRows(manyFiles(1000), QStringLiteral("/data/"));
    EXPECT_TRUE(local.index(0, FileGridColumns::LocalIcon).data(Qt::DecorationRole).isValid());
    EXPECT_TRUE(local.index(1000, FileGridColumns::LocalIcon).data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(local.index(1, FileGridColumns::Name).data(Qt::DecorationRole).isValid());
    EXPECT_EQ(decorations.asked, (QStringList{u"0:/data/.."_qs, u"1:/data/f.txt"_qs}));

    local.setRows(manyFiles(1001), QStringLiteral("/data/"));
    EXPECT_FALSE(local.index(0, FileGridColumns::LocalIcon).data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(local.index(5, FileGridColumns::LocalIcon).data(Qt::DecorationRole).isValid());

    FileGridModel server(BrowserSide::Server, nullptr);
    server.setDecorations(&decorations);
    server.setRows(manyFiles(3));
    decorations.asked.clear();
    EXPECT_TRUE(server.index(1, FileGridColumns::ServerIcon).data(Qt::DecorationRole).isValid());
    EXPECT_EQ(decorations.asked, QStringList{u"1:f.txt"_qs});
    EXPECT_EQ(server.index(1, FileGridColumns::Permissions).data(Qt::FontRole).toString(), u"fixed"_qs);
    EXPECT_FALSE(server.index(1, FileGridColumns::Name).data(Qt::FontRole).isValid());
}

TEST(FileGridModelCells, ParentRowSizeTextsAndHeaders)
{
    FileGridModel model(BrowserSide::Server, nullptr);
    std::vector<FileGridEntry> rows{FileGridEntry::parentRow(), entry(1, "big.iso", "ISO-Datei", 1234567, 0)};
    model.setRows(std::move(rows));
    EXPECT_EQ(model.cellText(0, FileGridColumns::Name), u".."_qs);
    EXPECT_EQ(model.cellText(0, FileGridColumns::FileType), QString());
    EXPECT_EQ(model.cellText(0, FileGridColumns::Size), QString());
    EXPECT_EQ(model.cellText(0, FileGridColumns::Kind), u"0"_qs);
    EXPECT_FALSE(model.cellText(0, FileGridColumns::Date).isEmpty()); // dated now
    EXPECT_EQ(model.cellText(1, FileGridColumns::Size), u"1.234.567    "_qs);
    EXPECT_EQ(model.index(1, FileGridColumns::Size).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(model.columnCount(), 8);
    const QStringList captions = {QString(), u"Filename:"_qs, u"File type:"_qs, u"Filesize:"_qs, u"Date:"_qs,
                                  u"Permission:"_qs, u"Owner / Group"_qs, QString()};
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), captions[column]) << column;
    EXPECT_EQ(FileGridModel(BrowserSide::Local, nullptr).columnCount(), 6);
}

TEST(CompareTextIgnoringCaseTest, OrdersAsQtsCaseInsensitiveComparison)
{
    const QStringList texts = {u""_qs, u"a"_qs, u"A"_qs, u"ab"_qs, u"aB"_qs, u"b"_qs, u"Z"_qs, u"_"_qs, u"["_qs, u"`"_qs,
                               u"file_0001.txt"_qs, u"FILE_0001.TXT"_qs, u"file_0002.txt"_qs, u"Äpfel"_qs, u"äpfel"_qs,
                               u"apfel"_qs, u"Zebra"_qs, u"ß"_qs, u"\u212Aelvin"_qs, u"kelvin"_qs, u"日本"_qs, u"1"_qs,
                               // Deseret capital and small long I: they differ in the second half
                               // of a surrogate pair and fold to the same letter.
                               u"x\U00010400"_qs, u"x\U00010428"_qs, u"\U00010401"_qs};
    const auto sign = [](int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
    for (const QString &a : texts) {
        for (const QString &b : texts)
            EXPECT_EQ(sign(CompareTextIgnoringCase(a, b)), sign(a.compare(b, Qt::CaseInsensitive)))
                << a.toStdString() << " vs " << b.toStdString();
    }
}
