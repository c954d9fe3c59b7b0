// Queue files and "lastqueue.ini": the exact bytes written, how lines are read back (the "§§"
// repair, shifted and extra fields, blank lines), damaged files, 64-bit sizes, and the last
// queue that stays equal to the grid at every step of a run.
#include "TestEnvironment.h"

#include "queue/LastQueueStore.h"
#include "queue/QueueFile.h"
#include "queue/QueueTableModel.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QueueRow row(const char *source, const char *cmd, const char *destination, const char *size, const char *date)
{
    return {S(source), S(cmd), S(destination), S(size), S(date)};
}

QStringList shown(const QList<QueueRow> &rows)
{
    QStringList lines;
    for (const QueueRow &r : rows)
        lines << r.source + u'[' + r.cmd + u'[' + r.destination + u'[' + r.filesize + u'[' + r.date;
    return lines;
}

QByteArray fileBytes(const QString &path)
{
    return TestEnvironment::readFile(path);
}

} // namespace

TEST(QueueFile, WritesWindows1252WithCrLfAndReadsItBackByteForByte)
{
    TestEnvironment env;
    const QList<QueueRow> rows = {
        row("/www/Über.txt", "RETR", "/dl/Über.txt", "1204", "20.05.2010 10:12"),
        row("/site/index.html", "STOR", "/www/index.html", "3000000000", "20.05.2010 10:15:02"),
    };
    const QString path = env.root() + QStringLiteral("a.queue");
    ASSERT_TRUE(QueueFile::write(path, rows));
    const QByteArray expected = "/www/\xDC" "ber.txt\xA7RETR\xA7/dl/\xDC" "ber.txt\xA7" "1204\xA7" "20.05.2010 10:12\r\n"
                                "/site/index.html\xA7STOR\xA7/www/index.html\xA7" "3000000000\xA7" "20.05.2010 10:15:02\r\n";
    EXPECT_EQ(fileBytes(path), expected);

    const QueueFile::Content content = QueueFile::read(path);
    ASSERT_EQ(content.status, QueueFile::Status::Ok);
    EXPECT_EQ(shown(content.rows), shown(rows));
    EXPECT_EQ(content.rows[1].sizeBytes(), Q_INT64_C(3000000000));

    const QString again = env.root() + QStringLiteral("b.queue");
    ASSERT_TRUE(QueueFile::write(again, content.rows));
    EXPECT_EQ(fileBytes(again), expected);
}

TEST(QueueFile, NamesOutsideWindows1252MakeTheWholeFileUtf8)
{
    TestEnvironment env;
    const QList<QueueRow> rows = {row("/www/日本.txt", "RETR", "/dl/日本.txt", "5", "d"), row("/ä", "DELE", " ", "0", "d")};
    const QString path = env.root() + QStringLiteral("u.queue");
    ASSERT_TRUE(QueueFile::write(path, rows));
    EXPECT_EQ(fileBytes(path), QString(rows[0].toLine() + u"\r\n" + rows[1].toLine() + u"\r\n").toUtf8());
    EXPECT_EQ(shown(QueueFile::read(path).rows), shown(rows));
}

TEST(QueueFile, ReadsLinesByTheWordRuleAfterRepairingEmptyFields)
{
    const struct {
        const char *line;
        QueueRow expected;
    } cases[] = {
        // An empty Destination is written as "§§" and comes back as a single blank.
        {"/www/img§MKD§§0§01.02.2003", row("/www/img", "MKD", " ", "0", "01.02.2003")},
        // Runs of empty fields.
        {"a§§§§e", row("a", " ", " ", " ", "e")},
        // A line beginning with "§" loses that field: the rest moves one column left.
        {"§RETR§/dl/a§5§d", row("RETR", "/dl/a", "5", "d", "")},
        // A sixth field and later ones are ignored; missing ones stay empty.
        {"a§b§c§d§e§f§g", row("a", "b", "c", "d", "e")},
        {"a§b", row("a", "b", "", "", "")},
        // Cells are not trimmed.
        {" a §RETR§ b§1§d ", row(" a ", "RETR", " b", "1", "d ")},
    };
    for (const auto &c : cases) {
        QueueFile::Content content = QueueFile::parse(QString::fromUtf8(c.line).toUtf8());
        ASSERT_EQ(content.rows.size(), 1) << c.line;
        EXPECT_EQ(shown(content.rows), shown({c.expected})) << c.line;
    }
}

TEST(QueueFile, SkipsBlankLinesAndRefusesFilesThatAreNoText)
{
    const QueueFile::Content blanks = QueueFile::parse("a\xA7RETR\xA7" "b\xA7" "1\xA7" "d\r\n      \r\n\r\nc\xA7" "DELE\r\n");
    EXPECT_EQ(shown(blanks.rows), (QStringList{S("a[RETR[b[1[d"), S("c[DELE[[[")}));

    const QueueFile::Content binary = QueueFile::parse("a\xA7RETR\xA7" "b\r\nPK\x03\x04\x00\x01\r\n");
    EXPECT_EQ(binary.status, QueueFile::Status::NotText);
    EXPECT_EQ(binary.badLine, 2);
    EXPECT_TRUE(binary.rows.isEmpty());

    TestEnvironment env;
    EXPECT_EQ(QueueFile::read(env.root() + QStringLiteral("missing.queue")).status, QueueFile::Status::Missing);
}

TEST(QueueRowSize, ReadsSixtyFourBitSizesWithDotsAndCountsOtherTextsAsZero)
{
    const struct {
        const char *text;
        qint64 bytes;
    } cases[] = {{"1204", 1204},        {"1.234.567", 1234567}, {"5368709120", Q_INT64_C(5368709120)},
                 {"2.147.483.648", Q_INT64_C(2147483648)}, {" 77 ", 77}, {"", 0}, {"abc", 0}, {"-", 0}};
    for (const auto &c : cases)
        EXPECT_EQ((QueueRow{{}, {}, {}, S(c.text), {}}.sizeBytes()), c.bytes) << c.text;

    QueueTableModel model;
    model.appendRows({row("a", "RETR", "b", "3000000000", "d"), row("c", "RETR", "d", "2.000.000.000", "d")});
    EXPECT_EQ(model.totalBytes(), Q_INT64_C(5000000000));
}

TEST(QueueTableModel, ShowsDatesInTheSystemsFormatAndFindsRowsByTheirId)
{
    QueueTableModel model;
    const quint64 first = model.appendRows({row("a", "RETR", "b", "1", "20.05.2010 10:12"), row("c", "DELE", "", "0", "no date"),
                                            row("e", "RETR", "f", "1", "05/20/2010 10:12:09")});
    EXPECT_EQ(model.data(model.index(0, QueueTableModel::DateColumn)).toString(), S("05/20/2010 10:12:00"));
    EXPECT_EQ(model.data(model.index(1, QueueTableModel::DateColumn)).toString(), S("no date"));
    model.setGermanDates(true);
    EXPECT_EQ(model.data(model.index(2, QueueTableModel::DateColumn)).toString(), S("20.05.2010 10:12:09"));
    EXPECT_EQ(model.data(model.index(2, QueueTableModel::DateColumn), Qt::EditRole).toString(), S("05/20/2010 10:12:09"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), S("Destination:"));

    model.removeRowAt(0);
    EXPECT_EQ(model.indexOfId(first), -1);
    EXPECT_EQ(model.indexOfId(first + 2), 1);
    EXPECT_TRUE(model.removeRowById(first + 1));
    EXPECT_FALSE(model.removeRowById(first + 1));
    EXPECT_EQ(model.rowAt(0).source, S("e"));
}

class LastQueueStoreTest : public ::testing::Test {
protected:
    QString path() const { return env.root() + QStringLiteral("lastqueue.ini"); }
    QList<QueueRow> onDisk() const { return QueueFile::read(path()).rows; }

    TestEnvironment env;
    QueueTableModel model;
};

TEST_F(LastQueueStoreTest, TheFileHoldsExactlyTheGridsRowsAfterEveryStepOfARun)
{
    QList<QueueRow> rows;
    for (int i = 0; i < 40; ++i)
        rows << QueueRow{QStringLiteral("/www/f%1.dat").arg(i), S("RETR"), QStringLiteral("/dl/f%1.dat").arg(i), S("10"), S("d")};
    rows[7].source = S("/www/Grüße.dat"); // Windows-1252 bytes in the file
    const quint64 first = model.appendRows(rows);
    LastQueueStore store(path());
    ASSERT_TRUE(store.save(model));
    const qint64 size = QFileInfo(path()).size();

    // Records 3, 10 and 11 fail and keep their rows; every other row leaves after its record.
    for (int i = 0; i < 40; ++i) {
        if (i == 3 || i == 10 || i == 11)
            continue;
        const quint64 id = first + quint64(i);
        ASSERT_TRUE(model.removeRowById(id));
        ASSERT_TRUE(store.rowRemoved(id, model));
        ASSERT_EQ(shown(onDisk()), shown(model.rows())) << "after record " << i;
    }
    EXPECT_EQ(QFileInfo(path()).size(), size) << "rows are blanked in place, not rewritten";
    ASSERT_TRUE(store.compact(model));
    EXPECT_EQ(fileBytes(path()), QueueFile::encode(model.rows()));
}

TEST_F(LastQueueStoreTest, BlankingKeepsAUtf8FileValid)
{
    const quint64 first = model.appendRows({row("/日本/a", "RETR", "/dl/a", "1", "d"), row("/b", "RETR", "/dl/b", "1", "d")});
    LastQueueStore store(path());
    ASSERT_TRUE(store.save(model));
    model.removeRowById(first);
    store.rowRemoved(first, model);
    EXPECT_EQ(shown(onDisk()), shown(model.rows()));
}

TEST_F(LastQueueStoreTest, ManyBlankedLinesAreCompactedAwayDuringTheRun)
{
    QList<QueueRow> rows;
    for (int i = 0; i < 10000; ++i)
        rows << QueueRow{QString::number(i), S("MKLOCALDIR"), S(" "), S("0"), S("d")};
    const quint64 first = model.appendRows(rows);
    LastQueueStore store(path());
    store.save(model);
    for (int i = 0; i < 6000; ++i) {
        model.removeRowById(first + quint64(i));
        store.rowRemoved(first + quint64(i), model);
    }
    EXPECT_LT(store.blankLines(), LastQueueStore::CompactThreshold);
    const QList<QueueRow> left = onDisk();
    ASSERT_EQ(left.size(), 4000);
    EXPECT_EQ(left.first().source, S("6000"));
    EXPECT_LT(QFileInfo(path()).size(), qint64(10000) * 20);
}

TEST_F(LastQueueStoreTest, AnEmptyGridWritesAnEmptyFile)
{
    LastQueueStore store(path());
    ASSERT_TRUE(store.save(model));
    EXPECT_TRUE(QFileInfo::exists(path()));
    EXPECT_EQ(QFileInfo(path()).size(), 0);
}
