// The browser's state files (sort files, column layout files) and its readers of folders and
// listing records.
#include "TestEnvironment.h"
#include "QtPrinters.h"

#include "browser/FileGridModel.h"
#include "browser/GridLayoutFile.h"
#include "browser/LocalFolderReader.h"
#include "browser/LocalPath.h"
#include "browser/ServerListingEntries.h"
#include "browser/SortFile.h"
#include "common/Language.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

TEST(SortFileTest, WritesTwoLinesAndReadsWhatItWrote)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("local_sort.ini");
    ASSERT_TRUE(SortFile::write(path, 3, true));
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("3\r\nTRUE\r\n"));
    SortFile read = SortFile::read(path);
    EXPECT_EQ(read.state, SortFile::State::Read);
    EXPECT_EQ(read.column, 3);
    EXPECT_TRUE(read.descending);
    ASSERT_TRUE(SortFile::write(path, 1, false));
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("1\r\nFALSE\r\n"));
}

TEST(SortFileTest, DamagedAndOddContents)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("server_sort.ini");
    EXPECT_EQ(SortFile::read(path).state, SortFile::State::Missing);
    struct Case {
        QByteArray content;
        SortFile::State state;
        int column;
        bool descending;
    };
    const Case cases[] = {
        {"", SortFile::State::Unreadable, 1, false},
        {"abc\r\nTRUE\r\n", SortFile::State::Unreadable, 1, false},
        {"\xff\xfe\x00\x01", SortFile::State::Unreadable, 1, false},
        {"4", SortFile::State::Read, 4, false},           // no second line: ascending
        {" 5 \nTRUE", SortFile::State::Read, 5, true},    // blanks and bare line feeds
        {"2\r\ntrue\r\n", SortFile::State::Read, 2, false}, // only "TRUE" means descending
        {"99\r\nTRUE\r\n", SortFile::State::Read, 99, true},
    };
    for (const Case &c : cases) {
        env.writeFile(path, c.content);
        const SortFile read = SortFile::read(path);
        EXPECT_EQ(read.state, c.state) << c.content.toStdString();
        if (read.state == SortFile::State::Read) {
            EXPECT_EQ(read.column, c.column) << c.content.toStdString();
            EXPECT_EQ(read.descending, c.descending) << c.content.toStdString();
        }
    }
}

TEST(GridLayoutFileTest, WritesEveryKeyOfEverySectionAndReadsItBack)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("localgrid.ini");
    QList<GridLayoutFile::Column> columns;
    for (int n = 0; n < 6; ++n)
        columns.append({20 + n, 5 - n, n != 0, n == 3, n == 3});
    ASSERT_TRUE(GridLayoutFile::write(path, columns));
    const QString text = QString::fromLatin1(TestEnvironment::readFile(path));
    EXPECT_TRUE(text.startsWith(u"[Common]\r\nColumnsCount=6\r\n")) << text.toStdString();
    for (const char *section : {"[Columns Sort Kind]", "[Visible Columns]", "[Sorted]", "[Positions]", "[Columns Sizes]"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(section))) << section;
    EXPECT_TRUE(text.contains(u"[Columns Sort Kind]\r\nColumn0=Ascending\r\nColumn1=Ascending\r\nColumn2=Ascending\r\nColumn3=Descending"));
    EXPECT_TRUE(text.contains(u"[Visible Columns]\r\nColumn0=0\r\nColumn1=1\r\n"));
    EXPECT_TRUE(text.contains(u"Column5=25\r\n"));

    const QList<GridLayoutFile::StoredColumn> read = GridLayoutFile::read(path, 6);
    ASSERT_EQ(read.size(), 6);
    for (int n = 0; n < 6; ++n) {
        EXPECT_EQ(read[n].width, 20 + n);
        EXPECT_EQ(read[n].position, 5 - n);
        EXPECT_EQ(read[n].visible, n != 0);
        EXPECT_EQ(read[n].sorted, n == 3);
        EXPECT_EQ(read[n].descending, n == 3);
    }
}

TEST(GridLayoutFileTest, DamagedValuesCountAsMissing)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("servergrid.ini");
    EXPECT_TRUE(GridLayoutFile::read(path, 8).isEmpty());
    env.writeFile(path, "[Columns Sizes]\r\nColumn1=wide\r\nColumn2=-5\r\nColumn3=0\r\nColumn4=99999\r\nColumn5=77\r\n"
                        "[Positions]\r\nColumn1=8\r\nColumn2=-1\r\nColumn5=2\r\n"
                        "[Visible Columns]\r\nColumn1=yes\r\nColumn5=0\r\n"
                        "[Columns Sort Kind]\r\nColumn1=Sideways\r\nColumn5=descending\r\n"
                        "garbage without section\r\n");
    const QList<GridLayoutFile::StoredColumn> read = GridLayoutFile::read(path, 8);
    ASSERT_EQ(read.size(), 8);
    for (int n : {1, 2, 3, 4})
        EXPECT_FALSE(read[n].width.has_value()) << n;
    EXPECT_EQ(read[5].width, 77);
    EXPECT_FALSE(read[1].position.has_value());
    EXPECT_FALSE(read[2].position.has_value());
    EXPECT_EQ(read[5].position, 2);
    EXPECT_FALSE(read[1].visible.has_value());
    EXPECT_EQ(read[5].visible, false);
    EXPECT_FALSE(read[1].descending.has_value());
    EXPECT_EQ(read[5].descending, true);
    EXPECT_FALSE(read[0].width.has_value());
}

TEST(LocalPathTest, ParentsNormalisingAndTheDriveList)
{
    struct Case {
        const char16_t *path, *parent, *last;
    };
    const Case parents[] = {
        {u"/home/anna/docs/", u"/home/anna/", u"docs"},
        {u"/home/", u"/", u"home"},
        {u"/", u"", u""}, // the root's parent is the drive list
        {u"\\", u"", u"\\"},
        {u"", u"", u""},
        {u"rel/sub/", u"rel/", u"sub"},
        {u"rel/", u"", u"rel"},
        {u"/back\\slash/x/", u"/back\\slash/", u"x"}, // "\" is a name character here
    };
    for (const Case &c : parents) {
        QString last;
        EXPECT_EQ(LocalPath::parent(QString::fromUtf16(c.path), &last), QString::fromUtf16(c.parent)) << QString::fromUtf16(c.path).toStdString();
        EXPECT_EQ(last, QString::fromUtf16(c.last));
    }
    const std::pair<const char16_t *, const char16_t *> normal[] = {
        {u"  /home//anna  ", u"/home/anna/"}, {u"/", u"/"}, {u"", u"\\"}, {u" \\ ", u"\\"}, {u"/a/b/", u"/a/b/"}};
    for (const auto &[in, out] : normal)
        EXPECT_EQ(LocalPath::normalise(QString::fromUtf16(in)), QString::fromUtf16(out));
}

TEST(LocalPathTest, MissingFoldersAreShortenedAtMostFiftyTimes)
{
    TestEnvironment env;
    QDir().mkpath(env.root() + QStringLiteral("a/b"));
    const QString root = env.root();
    EXPECT_EQ(LocalPath::shortenToExisting(root + QStringLiteral("a/b/"), QStringLiteral("/")), root + QStringLiteral("a/b/"));
    EXPECT_EQ(LocalPath::shortenToExisting(root + QStringLiteral("a/gone/deeper/"), QStringLiteral("/")), root + QStringLiteral("a/"));

    QString deep = root + QStringLiteral("a/");
    for (int i = 0; i < 50; ++i)
        deep += QStringLiteral("x/");
    // Fifty cuts reach "a/" exactly; one more component and the start drive is used instead.
    EXPECT_EQ(LocalPath::shortenToExisting(deep, QStringLiteral("/start/")), root + QStringLiteral("a/"));
    EXPECT_EQ(LocalPath::shortenToExisting(deep + QStringLiteral("y/"), QStringLiteral("/start/")), QStringLiteral("/start/"));
    EXPECT_EQ(LocalPath::shortenToExisting(QStringLiteral("relative/path/"), QStringLiteral("/start/")), QStringLiteral("/start/"));
    EXPECT_EQ(LocalPath::shortenToExisting(QStringLiteral("\\"), QStringLiteral("/start/")), QStringLiteral("\\"));
}

TEST(LocalFolderReaderTest, EveryEntryHiddenOnesIncludedFoldersWithoutSize)
{
    TestEnvironment env;
    const QString folder = env.root() + QStringLiteral("tree/");
    env.writeFile(folder + QStringLiteral("report.txt"), "12345");
    env.writeFile(folder + QStringLiteral(".hidden"), "1");
    env.writeFile(folder + QStringLiteral("sub/inner.bin"), QByteArray(1000, 'x'));
    QDir().mkpath(folder + QStringLiteral(".config"));
    ASSERT_TRUE(QFile::link(folder + QStringLiteral("sub"), folder + QStringLiteral("link-to-sub")));
    ASSERT_TRUE(QFile::link(folder + QStringLiteral("nowhere"), folder + QStringLiteral("broken-link")));

    Language language;
    const LocalFolderReader::Result result = LocalFolderReader(&language).read(folder);
    QMap<QString, const FileGridEntry *> byName;
    for (const FileGridEntry &e : result.rows)
        byName[e.name] = &e;
    EXPECT_EQ(byName.keys(), (QStringList{u".config"_qs, u".hidden"_qs, u"broken-link"_qs, u"link-to-sub"_qs,
                                          u"report.txt"_qs, u"sub"_qs}));
    EXPECT_EQ(byName[u"sub"_qs]->kind, FileGridEntry::Folder);
    EXPECT_EQ(byName[u"sub"_qs]->size, 0);
    EXPECT_EQ(byName[u"sub"_qs]->typeText, u"Directory"_qs);
    EXPECT_EQ(byName[u"link-to-sub"_qs]->kind, FileGridEntry::Folder);
    EXPECT_EQ(byName[u"broken-link"_qs]->kind, FileGridEntry::File);
    EXPECT_EQ(byName[u"report.txt"_qs]->size, 5);
    EXPECT_EQ(byName[u"report.txt"_qs]->typeText, u"TXT-Datei"_qs);
    EXPECT_EQ(byName[u".hidden"_qs]->typeText, u"HIDDEN-Datei"_qs);
    EXPECT_TRUE(byName[u"report.txt"_qs]->hasDate);
    EXPECT_EQ(result.summary.files, 3);
    EXPECT_EQ(result.summary.folders, 3);
    EXPECT_EQ(result.summary.totalSize, 6);

    const LocalFolderReader::Result missing = LocalFolderReader(&language).read(folder + QStringLiteral("gone/"));
    EXPECT_FALSE(missing.readable);
    EXPECT_TRUE(missing.rows.empty());
}

TEST(ServerListingEntriesTest, RecordsBecomeRowsInTheOrderReceived)
{
    Language language;
    ServerListingEntries converter(&language);
    const ServerListingEntries::Result result = converter.convert({
        u"0|docs|0|05.03.2009|drwxr-xr-x|anna staff"_qs,
        u"1|report.final.txt|1234567|08.12.2024 10:30|-rw-r--r--|anna staff"_qs,
        u"2|current -> releases/7|7|31.01.2025 23:59|lrwxrwxrwx|root root"_qs,
        u"1|odd|12a|no date|-rw-r--r--|anna staff"_qs,
        u"1|Makefile|00042|29.02.2024 00:00|-rw-r--r--|anna staff"_qs,
    });
    FileGridModel model(BrowserSide::Server, &language);
    std::vector<FileGridEntry> rows = result.rows;
    model.setRows(std::move(rows));
    struct Row {
        const char16_t *kind, *name, *type, *size, *date, *permissions, *owner;
    };
    const Row expected[] = {
        {u"0", u"docs", u"Directory", u"0    ", u"03/05/2009 00:00:00", u"drwxr-xr-x", u"anna staff"},
        {u"1", u"report.final.txt", u"TXT-Datei", u"1.234.567    ", u"12/08/2024 10:30:00", u"-rw-r--r--", u"anna staff"},
        {u"2", u"current -> releases/7", u"Link", u"7    ", u"01/31/2025 23:59:00", u"lrwxrwxrwx", u"root root"},
        {u"1", u"odd", u"Datei", u"12a    ", u"no date", u"-rw-r--r--", u"anna staff"},
        {u"1", u"Makefile", u"Datei", u"42    ", u"02/29/2024 00:00:00", u"-rw-r--r--", u"anna staff"},
    };
    ASSERT_EQ(model.rowCount(), 5);
    for (int row = 0; row < 5; ++row) {
        const Row &e = expected[row];
        const QStringList want = {QString::fromUtf16(e.kind), QString::fromUtf16(e.name), QString::fromUtf16(e.type),
                                  QString::fromUtf16(e.size), QString::fromUtf16(e.date),
                                  QString::fromUtf16(e.permissions), QString::fromUtf16(e.owner)};
        QStringList got;
        for (int column = 0; column < 7; ++column)
            got << model.cellText(row, column);
        EXPECT_EQ(got, want) << row;
    }
    // Links count as neither files nor folders; every size is added up.
    EXPECT_EQ(result.summary.files, 3);
    EXPECT_EQ(result.summary.folders, 1);
    EXPECT_EQ(result.summary.totalSize, 1234567 + 7 + 42);

    model.setGermanDates(true);
    EXPECT_EQ(model.cellText(1, 4), u"08.12.2024 10:30:00"_qs);
}

TEST(ServerListingEntriesTest, RecordDatesThatAreNoDates)
{
    qint64 ms = 0;
    for (const char16_t *bad : {u"", u"31.02.2024", u"1.2", u"01.02.2024 25:00", u"01.02.2024 10", u"aa.bb.cccc",
                                u"01.02.2024 10:30 extra"})
        EXPECT_FALSE(ServerListingEntries::parseRecordDate(QString::fromUtf16(bad), &ms)) << QString::fromUtf16(bad).toStdString();
    ASSERT_TRUE(ServerListingEntries::parseRecordDate(u"5.3.2009 7:05"_qs, &ms));
    EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(u"yyyy-MM-dd hh:mm"), u"2009-03-05 07:05"_qs);
}
