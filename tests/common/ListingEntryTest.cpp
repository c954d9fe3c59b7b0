// Listing entries: the fields read from a listing record, the link rule and the record written back.
#include "common/ListingEntry.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(ListingEntry, ReadsEveryFieldAndWritesTheSameRecord)
{
    const struct {
        const char *record;
        EntryKind kind;
        const char *name, *linkTarget, *sizeText;
        qint64 size;
        const char *date; // ISO form of the date read, "" when the field is no date
    } cases[] = {
        {"0|My Folder|0|08.12.2026 10:30|drwxr-xr-x|user group", EntryKind::Folder, "My Folder", "", "0", 0,
         "2026-12-08T10:30:00Z"},
        {"1|a.txt|1234|5.03.2009|-rw-r--r--|u g", EntryKind::File, "a.txt", "", "1234", 1234, "2009-03-05T00:00:00Z"},
        {"2|www -> public|7|1.01.2010|lrwxrwxrwx|u g", EntryKind::Link, "www", "public", "7", 7, "2010-01-01T00:00:00Z"},
        // Only a link's name field is cut: a file may carry " -> " in its name.
        {"1|a -> b.txt|5|1.01.2010|-rw-r--r--|u g", EntryKind::File, "a -> b.txt", "", "5", 5, "2010-01-01T00:00:00Z"},
        // The target keeps every later arrow; a blank at the start of a name stays.
        {"2| lead -> x -> y|7|1.01.2010|lrwxrwxrwx|u g", EntryKind::Link, " lead", "x -> y", "7", 7, "2010-01-01T00:00:00Z"},
        {"1|Größe ä.txt|3000000000|1.01.2010 07:05:09|-rw-r--r--|u g", EntryKind::File, "Größe ä.txt", "", "3000000000",
         3000000000LL, "2010-01-01T07:05:09Z"},
        // A size that is no number counts 0; a month the listing did not know gives no date.
        {"1|total 12|-|5..2009|x|y", EntryKind::File, "total 12", "", "-", 0, ""},
        {"1|odd|12k|31.02.2009|x|y", EntryKind::File, "odd", "", "12k", 0, ""},
    };
    for (const auto &c : cases) {
        const ListingEntry e = ListingEntry::parse(S(c.record));
        EXPECT_EQ(e.kind, c.kind) << c.record;
        EXPECT_EQ(e.name, S(c.name)) << c.record;
        EXPECT_EQ(e.linkTarget, S(c.linkTarget)) << c.record;
        EXPECT_EQ(e.sizeText, S(c.sizeText)) << c.record;
        EXPECT_EQ(e.size, c.size) << c.record;
        EXPECT_EQ(e.date.isValid() ? e.date.toString(Qt::ISODate) : QString(), S(c.date)) << c.record;
        EXPECT_EQ(e.format(), S(c.record)) << c.record;
    }
}

TEST(ListingEntry, TheLinkRuleCutsOnlyLinks)
{
    EXPECT_EQ(ListingEntry::ownName(u"www -> public", EntryKind::Link), u"www");
    EXPECT_EQ(ListingEntry::ownName(u"www -> public", EntryKind::File), u"www -> public");
    EXPECT_EQ(ListingEntry::ownName(u"www", EntryKind::Link), u"www");
    EXPECT_EQ(ListingEntry::linkTargetOf(u"www -> ../a b", EntryKind::Link), u"../a b");
    EXPECT_TRUE(ListingEntry::linkTargetOf(u"www -> x", EntryKind::Folder).isEmpty());
    EXPECT_EQ(ListingEntry::kindOf(u" 0 "), EntryKind::Folder);
    EXPECT_EQ(ListingEntry::kindOf(u"2"), EntryKind::Link);
    EXPECT_EQ(ListingEntry::kindOf(u"1"), EntryKind::File);
    EXPECT_EQ(ListingEntry::kindChar(EntryKind::Folder), u'0');
    EXPECT_EQ(ListingEntry::kindChar(EntryKind::File), u'1');
    EXPECT_EQ(ListingEntry::kindChar(EntryKind::Link), u'2');
}
