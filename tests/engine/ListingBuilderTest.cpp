#include "engine/ftp/ListingBuilder.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QCollator>

using namespace Velmora;

namespace {

const QString Today = QStringLiteral("15.03.2026");

QString line(const QString &type, const QString &name, int size = 1)
{
    return type + QStringLiteral(" 1 u g %1 Mar  5  2009 ").arg(size) + name;
}
QString file(const QString &name, int size = 1)
{
    return line(QStringLiteral("-rw-r--r--"), name, size);
}
QString record(const QString &name, int size = 1)
{
    return QStringLiteral("1|%1|%2|5.03.2009|-rw-r--r--|u g").arg(name).arg(size);
}
ListingPass pass(const QStringList &lines)
{
    ListingPass p;
    p.lines = lines;
    return p;
}

TEST(Listing, BothPassesGiveEachEntryOnce)
{
    const ListingResult r = BuildListing(pass({file(QStringLiteral(".env"))}),
                                         pass({file(QStringLiteral(".env")), file(QStringLiteral("b.txt"))}), Today);
    EXPECT_FALSE(r.firstPassVoid);
    EXPECT_EQ(r.records, (QStringList{record(QStringLiteral(".env")), record(QStringLiteral("b.txt"))}));
    // The complete log shows the sorted records before duplicates are dropped.
    EXPECT_EQ(r.completeLog.size(), 3);
}

TEST(Listing, VoidFirstPassesLeaveTheSecondPassAlone)
{
    struct Case {
        const char *name;
        ListingPass first;
    };
    ListingPass refused = pass({file(QStringLiteral(".only-in-first"))});
    refused.refused = true;
    const QList<Case> cases = {
        {"blank line", pass({file(QStringLiteral(".only-in-first")), QStringLiteral("   ")})},
        {"empty line", pass({QString(), file(QStringLiteral(".only-in-first"))})},
        {"refused", refused},
    };
    for (const Case &c : cases) {
        const ListingResult r = BuildListing(c.first, pass({file(QStringLiteral("a.txt"))}), Today);
        EXPECT_TRUE(r.firstPassVoid) << c.name;
        EXPECT_EQ(r.records, QStringList{record(QStringLiteral("a.txt"))}) << c.name;
    }
}

TEST(Listing, SummaryAndBlankLinesCarryNoEntry)
{
    const ListingResult r = BuildListing(pass({QStringLiteral("total 8"), file(QStringLiteral(".x"))}),
                                         pass({QStringLiteral("total 12"), QString(), file(QStringLiteral("a.txt")), QStringLiteral(" ")}),
                                         Today);
    EXPECT_FALSE(r.firstPassVoid);
    EXPECT_EQ(r.records, (QStringList{record(QStringLiteral(".x")), record(QStringLiteral("a.txt"))}));
    EXPECT_EQ(r.secondPassLog.size(), 4); // the log keeps every line as it came
}

TEST(Listing, SortsWithoutRegardToCaseAndKeepsNamesThatDifferInCase)
{
    // On a case-sensitive server "A.txt" and "a.TXT" are two files, even with equal size, date,
    // rights and owner; an entry both passes list comes byte for byte the same and is one.
    const struct {
        const char *name;
        QStringList first, second;
        QStringList records;
    } cases[] = {
        {"two files",
         {},
         {file(QStringLiteral("b.txt")), file(QStringLiteral("A.txt")), line(QStringLiteral("drwxr-xr-x"), QStringLiteral("zeta")),
          file(QStringLiteral("a.TXT")), file(QStringLiteral("c.txt"))},
         {QStringLiteral("0|zeta|0|5.03.2009|drwxr-xr-x|u g"), record(QStringLiteral("A.txt")), record(QStringLiteral("a.TXT")),
          record(QStringLiteral("b.txt")), record(QStringLiteral("c.txt"))}},
        {"both passes",
         {file(QStringLiteral(".Env")), file(QStringLiteral(".env"))},
         {file(QStringLiteral(".env")), file(QStringLiteral(".Env"))},
         {record(QStringLiteral(".Env")), record(QStringLiteral(".env"))}},
        {"listed twice by one pass",
         {},
         {file(QStringLiteral("x.bin"), 1), file(QStringLiteral("X.BIN"), 1), file(QStringLiteral("x.bin"), 1)},
         {record(QStringLiteral("x.bin")), record(QStringLiteral("X.BIN"))}},
    };
    for (const auto &c : cases) {
        const ListingResult r = BuildListing(pass(c.first), pass(c.second), Today);
        EXPECT_EQ(r.records, c.records) << c.name;
    }
}

TEST(Listing, ManyCaseVariantsOfOneNameGiveOneRecordEach)
{
    // All 32 ways to write "abcde" in upper and lower case, listed by both passes.
    QStringList lines;
    QStringList variants;
    for (int mask = 0; mask < 32; ++mask) {
        QString name = QStringLiteral("abcde");
        for (int bit = 0; bit < 5; ++bit) {
            if (mask & (1 << bit))
                name[bit] = name[bit].toUpper();
        }
        lines << file(name);
        variants << record(name);
    }
    lines << file(QStringLiteral("abcdf")) << file(QStringLiteral("ABCDD"));
    const ListingResult r = BuildListing(pass(lines), pass(lines), Today);
    ASSERT_EQ(r.records.size(), 34);
    EXPECT_EQ(r.records[0], record(QStringLiteral("ABCDD")));
    EXPECT_EQ(r.records.mid(1, 32), variants) << "each once, in the order listed";
    EXPECT_EQ(r.records[33], record(QStringLiteral("abcdf")));
    EXPECT_EQ(r.completeLog.size(), 2 * lines.size());
}

TEST(Listing, LongListingsGiveTheSameResultAsShortOnes)
{
    // Long listings are worked on in two halves; the halves must join in order.
    QStringList lines;
    for (int i = 0; i < 30000; ++i)
        lines << file(QStringLiteral("f%1").arg(29999 - i, 5, 10, QChar(u'0')), i);
    lines.insert(12345, QStringLiteral("total 99"));
    lines.insert(20000, file(QStringLiteral("bad/name")));
    const ListingResult r = BuildListing(pass({}), pass(lines), Today);
    ASSERT_EQ(r.records.size(), 30000);
    EXPECT_EQ(r.records.first(), record(QStringLiteral("f00000"), 29999));
    EXPECT_EQ(r.records.last(), record(QStringLiteral("f29999"), 0));
    EXPECT_EQ(r.secondPassLog, lines);
    EXPECT_EQ(r.refusedNames, QStringList{QStringLiteral("bad/name")});
}

TEST(Listing, ConvertsMsDosLinesAndUsesTheParsedDates)
{
    ListingPass second = pass({QStringLiteral("12-08-26  10:30AM       <DIR>          Data"),
                               QStringLiteral("-rw-r--r-- 1 u g 3 Dec  8 10:30 new.txt")});
    second.dates = {QDateTime(QDate(2026, 12, 8), QTime(10, 30)), QDateTime(QDate(2025, 12, 8), QTime(10, 30))};
    const ListingResult r = BuildListing(pass({}), second, Today);
    EXPECT_EQ(r.secondPassLog.first(), QStringLiteral("d--------- 1 ---------- ---------- 0 12-08-26 1 10:30AM Data"));
    EXPECT_EQ(r.records, (QStringList{QStringLiteral("0|Data|0|08.12.2026 10:30AM|d---------|---------- ----------"),
                                      QStringLiteral("1|new.txt|3|08.12.2025 10:30|-rw-r--r--|u g")}));
}

TEST(Listing, RefusedNamesAreReportedOnceAndNeverBecomeRecords)
{
    const ListingResult r = BuildListing(pass({file(QStringLiteral("a|b"))}),
                                         pass({file(QStringLiteral("a|b")), file(QStringLiteral("x/y")),
                                               file(QStringLiteral("..")), file(QStringLiteral("ok"))}),
                                         Today);
    EXPECT_EQ(r.records, QStringList{record(QStringLiteral("ok"))});
    EXPECT_EQ(r.refusedNames, (QStringList{QStringLiteral("a|b"), QStringLiteral("x/y")}));
}

TEST(Listing, SortIsStableForTheCallerCollator)
{
    QCollator c(QLocale::c());
    c.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList records{QStringLiteral("1|b"), QStringLiteral("1|B"), QStringLiteral("1|a")};
    SortListingRecords(records, &c);
    EXPECT_EQ(records, (QStringList{QStringLiteral("1|a"), QStringLiteral("1|b"), QStringLiteral("1|B")}));
}

} // namespace
