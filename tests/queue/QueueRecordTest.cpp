// Queue records and rows: the conversions between them, the record split the run uses, the
// duplicate filter, the "MKD" derivation for uploads and the ASCII rule.
#include "queue/AsciiFileRule.h"
#include "queue/QueueRecord.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

const QString Now = QStringLiteral("06/01/2024 12:00:00");

QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

std::string show(const QueueRow &r)
{
    return QString(r.source + u'[' + r.cmd + u'[' + r.destination + u'[' + r.filesize + u'[' + r.date).toStdString();
}

struct RowCase {
    const char *record;
    QueueRow row;
};

} // namespace

TEST(RowFromRecord, ShowsEveryKindOfRecord)
{
    const RowCase cases[] = {
        {"RETR|/www/img/a.txt|/site/img/a.txt§1|a.txt|1204|20.05.2010 10:12|-rw-r--r--|ftp ftp",
         {S("/www/img/a.txt"), S("RETR"), S("/site/img/a.txt"), S("1204"), S("20.05.2010 10:12")}},
        {"STOR|/site/index.html|/www/index.html§1|index.html|5120|20.05.2010 10:15:02",
         {S("/site/index.html"), S("STOR"), S("/www/index.html"), S("5120"), S("20.05.2010 10:15:02")}},
        {"DELE|/www/old.txt", {S("/www/old.txt"), S("DELE"), {}, S("0"), Now}},
        {"MKD|/www/img", {S("/www/img"), S("MKD"), {}, S("0"), Now}},
        {"CHMOD|/www/cgi|755", {S("/www/cgi"), S("CHMOD"), S("755"), S("0"), Now}},
        // The local delete record's single blank keeps the entry part in place.
        {"DELLOC|/site/x.tmp| §1|x.tmp|17|20.05.2010 10:16:40",
         {S("/site/x.tmp"), S("DELLOC"), {}, S("17"), S("20.05.2010 10:16:40")}},
        // A size as third argument without an entry part: the grid shows 0 and the time now.
        {"RETR|/www/a.zip|/dl/a.zip|4096", {S("/www/a.zip"), S("RETR"), S("/dl/a.zip"), S("0"), Now}},
        // Only the text between the first and a second "§" is the entry part.
        {"RETR|/a|/b§1|a|5|01.02.2003§1|x|9|04.05.2006", {S("/a"), S("RETR"), S("/b"), S("5"), S("01.02.2003")}},
        // An empty field cannot be addressed: word 2 of RETR||x is x.
        {"RETR||x", {S("x"), S("RETR"), {}, S("0"), Now}},
        // Sizes of 2 GiB and more keep every digit.
        {"RETR|/big.iso|/dl/big.iso§1|big.iso|5368709120|01.01.2020 10:00",
         {S("/big.iso"), S("RETR"), S("/dl/big.iso"), S("5368709120"), S("01.01.2020 10:00")}},
    };
    for (const RowCase &c : cases) {
        const QueueRow row = RowFromRecord(S(c.record), Now);
        EXPECT_EQ(show(row), show(c.row)) << c.record;
    }
}

TEST(RecordFromRow, RebuildsTransfersAndDeletionsAndDropsTheRest)
{
    const struct {
        QueueRow row;
        const char *record; // nullptr: the row gives no record
    } cases[] = {
        {{S("/www/a.txt"), S("RETR"), S("/dl/www/a.txt"), S("1204"), S("20.05.2010 10:12")},
         "RETR|/www/a.txt|/dl/www/a.txt§1|a.txt|1204|20.05.2010 10:12"},
        {{S("/site/b c.html"), S("STOR"), S("/www/b c.html"), S("5120"), S("20.05.2010 10:15:02")},
         "STOR|/site/b c.html|/www/b c.html§1|b c.html|5120|20.05.2010 10:15:02"},
        {{S("/www/old.txt"), S("DELE"), S(" "), S("0"), Now}, "DELE|/www/old.txt"},
        {{S("/www/img"), S("RMD"), S(" "), S("0"), Now}, "RMD|/www/img"},
        {{S("/www/img"), S("MKD"), S(" "), S("0"), Now}, nullptr},
        {{S("/dl/www"), S("MKLOCALDIR"), S(" "), S("0"), Now}, nullptr},
        {{S("/www/cgi"), S("CHMOD"), S("755"), S("0"), Now}, nullptr},
        {{S("/site/x.tmp"), S("DELLOC"), S(" "), S("17"), Now}, nullptr},
        {{S("a"), S("XYZ"), S("b"), S("0"), Now}, nullptr},
        {{S("/www/a.txt"), S("retr"), S("/dl/a.txt"), S("1"), Now}, nullptr},
        // Rows no record can carry (a queue file edited by hand): the record would name other
        // paths than the row shows, or a file name that leaves its folder.
        {{S("/www/a|b"), S("DELE"), S(" "), S("0"), Now}, nullptr},
        {{S("/www/a.txt"), S("RETR"), S("/dl/a|b.txt"), S("1"), Now}, nullptr},
        {{S("/www/a.txt"), S("RETR"), S("/dl/a.txt"), S("1|2"), Now}, nullptr},
        {{S("/www/x"), S("RETR"), S("/dl/.."), S("1"), Now}, nullptr},
        {{S("/www/x"), S("RETR"), S("/dl/"), S("1"), Now}, nullptr},
        {{S("/site/a\\b.txt"), S("STOR"), S("/www/a.txt"), S("1"), Now}, nullptr},
        {{S(" "), S("STOR"), S("/www/a.txt"), S("1"), Now}, nullptr},
        {{S(" "), S("RMD"), S(" "), S("0"), Now}, nullptr},
    };
    for (const auto &c : cases) {
        const std::optional<QString> record = RecordFromRow(c.row);
        if (!c.record)
            EXPECT_FALSE(record.has_value()) << show(c.row);
        else
            EXPECT_EQ(record.value_or(QStringLiteral("<none>")), S(c.record)) << show(c.row);
    }
}

TEST(QueueRowProblem, SaysWhyARowCannotRun)
{
    const struct {
        QueueRow row;
        const char *problem;
    } cases[] = {
        {{S("/www/a|b"), S("DELE"), S(" "), S("0"), Now}, "contains a character that records cannot hold"},
        {{S(" "), S("RMD"), S(" "), S("0"), Now}, "has no path"},
        {{S("/www/x"), S("RETR"), S(" "), S("1"), Now}, "has no path"},
        {{S("/www/x"), S("RETR"), S("/dl/"), S("1"), Now}, "names a folder, not a file"},
        {{S("/www/x"), S("RETR"), S("/dl/."), S("1"), Now}, "names a parent or current folder"},
        {{S("/site/a\\b.txt"), S("STOR"), S("/www/a.txt"), S("1"), Now}, "contains a path separator"},
        {{S("/www/a.txt"), S("RETR"), S("/dl/a.txt"), S("1"), Now}, ""},
        {{S("a|b"), S("MKD"), S(" "), S("0"), Now}, ""}, // never a record anyway
    };
    for (const auto &c : cases)
        EXPECT_EQ(QueueRowProblem(c.row), S(c.problem)) << show(c.row);
}

TEST(RecordFromRow, ATransferRowSurvivesTheWayThroughItsRecord)
{
    const QueueRow row{S("/www/Über uns.html"), S("RETR"), S("/dl/Über uns.html"), S("3000000000"), S("01.01.2020 10:00")};
    EXPECT_EQ(show(RowFromRecord(*RecordFromRow(row), Now)), show(row));
}

TEST(QueueRecordParse, SplitsHeadTailCommandArgumentsAndSize)
{
    const struct {
        const char *record;
        const char *command, *argument1, *argument2, *size;
        bool blank;
    } cases[] = {
        // Blanks around the command word go; the paths keep theirs ("a.txt " is another file).
        {"  RETR| /www/a.txt |/dl/a.txt §1|a.txt | 1204 |d  ", "RETR", " /www/a.txt ", "/dl/a.txt ", "1204", false},
        {"RETR|/www/a.txt|/dl/a.txt\r\n", "RETR", "/www/a.txt", "/dl/a.txt", "", false}, // the line end goes
        {"RETR|/www/a.txt|/dl/a.txt|4096", "RETR", "/www/a.txt", "/dl/a.txt", "4096", false},
        {"RETR|/www/a.txt|/dl/a.txt", "RETR", "/www/a.txt", "/dl/a.txt", "", false},
        {"STOR|/l/a|/r/a§1|a|77|d", "STOR", "/l/a", "/r/a", "", false},
        {"CHMOD|/www|755", "CHMOD", "/www", "755", "", false},
        {"XYZ|a|b", "XYZ", "a", "b", "", false},
        {"   ", "", "", "", "", true},
        {"", "", "", "", "", true},
    };
    for (const auto &c : cases) {
        const QueueRecord r = QueueRecord::parse(S(c.record));
        EXPECT_EQ(r.word(), S(c.command)) << c.record;
        EXPECT_EQ(r.source, S(c.argument1)) << c.record;
        EXPECT_EQ(r.target, S(c.argument2)) << c.record;
        EXPECT_EQ(r.size, S(c.size)) << c.record;
        EXPECT_EQ(r.isBlank(), c.blank) << c.record;
    }
}

TEST(QueueRecordText, EveryCommandReadsAndWritesOneTextForm)
{
    const struct {
        const char *text;
        QueueCommand command;
        const char *word, *source, *target, *size, *date, *entry;
        const char *written; // nullptr: the text itself
    } cases[] = {
        {"RETR|/www/img/a b.txt|/site/img/a b.txt§1|a b.txt|1204|20.05.2010 10:12|-rw-r--r--|ftp ftp", QueueCommand::Retr,
         "RETR", "/www/img/a b.txt", "/site/img/a b.txt", "1204", "20.05.2010 10:12",
         "1|a b.txt|1204|20.05.2010 10:12|-rw-r--r--|ftp ftp", nullptr},
        {"RETR|/www/Über uns.html|/dl/Über uns.html|4096", QueueCommand::Retr, "RETR", "/www/Über uns.html",
         "/dl/Über uns.html", "4096", "", "", nullptr},
        {"RETR|/www/link|/dl/link§2|link -> ../ziel dir|7|01.01.2010|lrwxrwxrwx|u g", QueueCommand::Retr, "RETR", "/www/link",
         "/dl/link", "7", "01.01.2010", "2|link -> ../ziel dir|7|01.01.2010|lrwxrwxrwx|u g", nullptr},
        {"STOR|/site/ lead.txt|/www/ lead.txt§1| lead.txt|5120|20.05.2010 10:15:02", QueueCommand::Stor, "STOR",
         "/site/ lead.txt", "/www/ lead.txt", "", "20.05.2010 10:15:02", "1| lead.txt|5120|20.05.2010 10:15:02", nullptr},
        {"STOR|/site/index.html|/www/index.html", QueueCommand::Stor, "STOR", "/site/index.html", "/www/index.html", "", "", "",
         nullptr},
        {"DELE|/www/größe.txt§1|größe.txt|17|5.03.2009|-rw-r--r--|u g", QueueCommand::Dele, "DELE", "/www/größe.txt", "",
         "", "5.03.2009", "1|größe.txt|17|5.03.2009|-rw-r--r--|u g", nullptr},
        {"DELE|/www/old.txt", QueueCommand::Dele, "DELE", "/www/old.txt", "", "", "", "", nullptr},
        {"RMD|/www/Ordner [ä] (1)§0|Ordner [ä] (1)|0|5.03.2009|drwxr-xr-x|u g", QueueCommand::Rmd, "RMD",
         "/www/Ordner [ä] (1)", "", "", "5.03.2009", "0|Ordner [ä] (1)|0|5.03.2009|drwxr-xr-x|u g", nullptr},
        {"MKD|/www/new folder", QueueCommand::Mkd, "MKD", "/www/new folder", "", "", "", "", nullptr},
        {"MKLOCALDIR|/home/u/dl/Ä ö", QueueCommand::MkLocalDir, "MKLOCALDIR", "/home/u/dl/Ä ö", "", "", "", "", nullptr},
        {"CHMOD|/www/cgi bin|755", QueueCommand::Chmod, "CHMOD", "/www/cgi bin", "755", "", "", "", nullptr},
        // The single blank keeps the local delete's entry part in place.
        {"DELLOC|/site/x.tmp| §1|x.tmp|17|20.05.2010 10:16:40", QueueCommand::DelLoc, "DELLOC", "/site/x.tmp", "", "",
         "20.05.2010 10:16:40", "1|x.tmp|17|20.05.2010 10:16:40", nullptr},
        {"CWD|/www", QueueCommand::Cwd, "CWD", "/www", "", "", "", "", nullptr},
        // A word the run does not know keeps its text; case counts.
        {"XYZ|a|b", QueueCommand::Other, "XYZ", "a", "b", "", "", "", nullptr},
        {"retr|/a|/b", QueueCommand::Other, "retr", "/a", "/b", "", "", "", nullptr},
        // Blanks around the command word go; a path keeps its blanks at either end and inside.
        {"  MKD| /www/ lead dir  ", QueueCommand::Mkd, "MKD", " /www/ lead dir  ", "", "", "", "", "MKD| /www/ lead dir  "},
        {"DELE|/site /a.txt §1|a.txt |12|11.12.2026 10:00|-rw-r--r--|u g", QueueCommand::Dele, "DELE", "/site /a.txt ", "", "",
         "11.12.2026 10:00", "1|a.txt |12|11.12.2026 10:00|-rw-r--r--|u g", nullptr},
        // Only the text between the first and a second "§" is the entry part.
        {"RETR|/a|/b§1|a|5|01.02.2003§1|x|9|04.05.2006", QueueCommand::Retr, "RETR", "/a", "/b", "5", "01.02.2003",
         "1|a|5|01.02.2003", "RETR|/a|/b§1|a|5|01.02.2003"},
        // An empty field cannot be addressed: word 2 of RETR||x is x.
        {"RETR||x", QueueCommand::Retr, "RETR", "x", "", "", "", "", "RETR|x"},
    };
    for (const auto &c : cases) {
        const QueueRecord r = QueueRecord::parse(S(c.text));
        EXPECT_EQ(r.command, c.command) << c.text;
        EXPECT_EQ(r.word(), S(c.word)) << c.text;
        EXPECT_EQ(r.source, S(c.source)) << c.text;
        EXPECT_EQ(r.target, S(c.target)) << c.text;
        EXPECT_EQ(r.size, S(c.size)) << c.text;
        EXPECT_EQ(r.date, S(c.date)) << c.text;
        EXPECT_EQ(r.entry, S(c.entry)) << c.text;
        const QString written = S(c.written ? c.written : c.text);
        EXPECT_EQ(r.format(), written) << c.text;
        EXPECT_EQ(QueueRecord::parse(written).format(), written) << c.text;
        if (c.command != QueueCommand::Other) {
            // Built from its fields, a record writes the same text.
            QueueRecord built(c.command, S(c.source), S(c.target), S(c.entry));
            if (built.entry.isEmpty())
                built.size = S(c.size);
            EXPECT_EQ(built.format(), written) << c.text;
            EXPECT_EQ(built.size, r.size) << c.text;
            EXPECT_EQ(built.date, r.date) << c.text;
        }
    }
    EXPECT_TRUE(QueueRecord::parse(S("  ")).isBlank());
    EXPECT_TRUE(QueueRecord::parse(S("§ §")).isBlank());
    EXPECT_EQ(QueueRecord::parse(S(" ")).format(), QString());
}

TEST(QueueRecordText, FileEntriesAndCollectedFilesKeepTheirFields)
{
    EXPECT_EQ(QueueRecord::fileEntry(S(" Über a.txt"), S("12"), S("01/02/2024 10:00:00")),
              S("1| Über a.txt|12|01/02/2024 10:00:00"));
    const CollectedFile file{S("/site/ lead/Ä b.txt"), S("1|Ä b.txt|3|d")};
    const QString text = file.format();
    EXPECT_EQ(text, S("/site/ lead/Ä b.txt") + QueueRecord::CollectedFileSeparator + S("1|Ä b.txt|3|d"));
    const CollectedFile back = CollectedFile::parse(text);
    EXPECT_EQ(back.path, file.path);
    EXPECT_EQ(back.entry, file.entry);
}

TEST(RemoveDuplicates, KeepsTheFirstOccurrenceInOrderAndComparesExactly)
{
    EXPECT_EQ(RemoveDuplicates({S("MKD|/a"), S("MKD|/a/b"), S("MKD|/a")}), (QStringList{S("MKD|/a"), S("MKD|/a/b")}));
    EXPECT_EQ(RemoveDuplicates({S("MKD|/a"), S("MKD|/A"), S("MKD|/a "), S("MKD|/A")}),
              (QStringList{S("MKD|/a"), S("MKD|/A"), S("MKD|/a ")}));
    EXPECT_TRUE(RemoveDuplicates({}).isEmpty());
}

TEST(DeriveMkdRecords, CreatesEveryUploadFolderLevelThatDiffersFromTheServerPath)
{
    const struct {
        const char *serverPath;
        QStringList records;
        QStringList expected;
    } cases[] = {
        {"/pub", {S("STOR|/work/site/a/b.txt|/pub/site/a/b.txt§1|b.txt|3|d")}, {S("MKD|/pub/site"), S("MKD|/pub/site/a")}},
        {"/pub",
         {S("STOR|/w/x.txt|/pub/site/x.txt"), S("STOR|/w/a/b.txt|/pub/site/a/b.txt"), S("STOR|/w/a/c.txt|/pub/site/a/c.txt")},
         {S("MKD|/pub/site"), S("MKD|/pub/site/a")}},
        {"/", {S("STOR|/w/b.txt|/a/b.txt")}, {S("MKD|/a")}},
        {"/pub/site/a", {S("STOR|/w/x.txt|/pub/x.txt")}, {}},
        // Downloads need no remote folders, though their local destinations hold "/" too.
        {"/pub", {S("RETR|/pub/a/b.txt|/home/u/dl/a/b.txt§1|b.txt|3|d"), S("MKLOCALDIR|/home/u/dl/a")}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DeriveMkdRecords(c.records, S(c.serverPath)), c.expected) << c.serverPath;
}

TEST(LocalFoldersToCreate, EveryLevelOfEveryDownloadsFolderOnce)
{
    EXPECT_EQ(LocalFoldersToCreate({S("RETR|/www/a/b.txt|/home/u/dl/a/b.txt§1|b.txt|3|d"), S("STOR|/l/x|/r/y/x"),
                                    S("RETR|/www/a/c.txt|/home/u/dl/a/c.txt"), S("MKLOCALDIR|/home/u/other")}),
              (QStringList{S("/home/"), S("/home/u/"), S("/home/u/dl/"), S("/home/u/dl/a/")}));
}

TEST(IsAsciiFile, TextExtensionsNamesWithoutExtensionAndDotFilesTravelAsAscii)
{
    const struct {
        const char *path;
        bool ascii;
    } cases[] = {
        {"/www/.htaccess", true}, {"/www/README", true},       {"/www/logo.PNG", false},
        {"/www/index.PHP", true}, {"/www/a.tar.gz", false},    {"/www/v1.2/notes", true},
        {"C:\\x\\y.TXT", true},   {"/www/photo.jpeg", false},  {"/www/archive.", false},
        {"script.sh", true},      {"/www/data.json", false},   {"/www/Makefile.in", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IsAsciiFile(S(c.path)), c.ascii) << c.path;

    EXPECT_EQ(AsciiExtensions().size(), 44);
    for (const QString &extension : AsciiExtensions()) {
        EXPECT_TRUE(IsAsciiFile(QStringLiteral("/www/file") + extension.toUpper())) << extension.toStdString();
        EXPECT_FALSE(IsAsciiFile(QStringLiteral("/www/file") + extension + u'x')) << extension.toStdString();
    }
}
