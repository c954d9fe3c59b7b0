// Remote listings through the session: a real server first, a scripted one for odd servers.
#include "QtPrinters.h"
#include "ScriptedFtpServer.h"
#include "SessionFixture.h"

#include "common/TextCodec.h"
#include "engine/ftp/ListingBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

// 5 March 2009, 12:00 UTC: old enough for "Mar 05  2009" in the listing.
constexpr time_t OldTime = 1236254400;

void setTime(const QString &path, time_t seconds)
{
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0) << path.toStdString();
}

QString ownerAndGroup(const QString &path)
{
    const QFileInfo info(path);
    const QString owner = info.owner().isEmpty() ? QString::number(info.ownerId()) : info.owner();
    const QString group = info.group().isEmpty() ? QString::number(info.groupId()) : info.group();
    return owner + u' ' + group;
}

class ListingTest : public SessionTest {
protected:
    // A tree with blanks, umlauts, a dot-file, a folder, a link and one recent file.
    QStringList makeTree()
    {
        const QString umlauts = QString::fromUtf8("\u00dcber \u00e4\u00f6\u00fc.txt");
        const QString files[] = {QStringLiteral("a b  c.txt"), umlauts, QStringLiteral(".hidden")};
        for (const QString &name : files) {
            const QString path = server->writeFile(name, "12345");
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                            | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
            setTime(path, OldTime);
        }
        server->writeFile(QStringLiteral("My Folder/inner.txt"), "x");
        const QString folder = server->localPath(QStringLiteral("My Folder"));
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7755));
        setTime(folder, OldTime);
        const QString link = server->localPath(QStringLiteral("www"));
        EXPECT_TRUE(QFile::link(QStringLiteral("My Folder"), link));
        setTime(link, OldTime);
        const QString recent = server->writeFile(QStringLiteral("recent.txt"), "new");
        QFile::setPermissions(recent, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                          | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        const QDateTime recentTime = QDateTime::currentDateTimeUtc().addDays(-2);
        setTime(recent, recentTime.toSecsSinceEpoch());

        const QString og = ownerAndGroup(server->localPath(QStringLiteral(".hidden")));
        QStringList expected = {
            QStringLiteral("1|a b  c.txt|5|05.03.2009|-rw-r--r--|") + og,
            QStringLiteral("1|") + umlauts + QStringLiteral("|5|05.03.2009|-rw-r--r--|") + og,
            QStringLiteral("1|.hidden|5|05.03.2009|-rw-r--r--|") + og,
            QStringLiteral("0|My Folder|0|05.03.2009|drwxr-xr-x|") + og,
            QStringLiteral("2|www -> My Folder|9|05.03.2009|lrwxrwxrwx|") + og,
            QStringLiteral("1|recent.txt|3|") + recentTime.toString(u"dd.MM.yyyy hh:mm") + QStringLiteral("|-rw-r--r--|") + og,
        };
        SortListingRecords(expected);
        return expected;
    }
};

TEST_F(ListingTest, ListsATreeWithBlanksUmlautsDotFilesAndALink)
{
    connectToServer();
    const QStringList expected = makeTree();
    QStringList records{QStringLiteral("stale")};
    ASSERT_TRUE(master->GetListing(QStringLiteral("  /  "), records));
    EXPECT_EQ(records, expected);
    EXPECT_EQ(master->currentItem(), QString());
    EXPECT_TRUE(master->client().currentDirectory() == QStringLiteral("/"));
    for (const ProtocolEntry &e : log.entries())
        EXPECT_NE(e.kind, int(ProtocolEntry::Error)) << e.text.toStdString();

    // A folder with a blank in its name; the server stays there afterwards.
    ASSERT_TRUE(master->GetListing(QStringLiteral("/My Folder"), records));
    ASSERT_EQ(records.size(), 1);
    EXPECT_TRUE(records.first().startsWith(QStringLiteral("1|inner.txt|1|")));
    EXPECT_EQ(master->client().currentDirectory(), QStringLiteral("/My Folder"));
    // Empty means the root.
    ASSERT_TRUE(master->GetListing(QString(), records));
    EXPECT_EQ(records, expected);
}

TEST_F(ListingTest, ListingLogFilesAreWrittenOnlyWhenAsked)
{
    connectToServer();
    const QStringList expected = makeTree();
    const QStringList logs = {QStringLiteral("DirectoryListing_1.log"), QStringLiteral("DirectoryListing_2.log"),
                              QStringLiteral("DirectoryListing_Complete.log")};
    QStringList records;
    ASSERT_TRUE(master->GetListing(QStringLiteral("/"), records));
    for (const QString &name : logs)
        EXPECT_FALSE(QFileInfo::exists(folders.appDataFile(name))) << name.toStdString();

    setOptions(false, QStringLiteral("30"), true);
    ASSERT_TRUE(master->GetListing(QStringLiteral("/"), records));
    // The server refuses "LIST .*", so the first pass is empty.
    EXPECT_EQ(TestEnvironment::readFile(folders.appDataFile(logs[0])), QByteArray());
    EXPECT_EQ(TextCodec::ReadLines(folders.appDataFile(logs[1])).size(), expected.size());
    EXPECT_EQ(TextCodec::ReadLines(folders.appDataFile(logs[2])), expected);
}

TEST_F(ListingTest, MissingFolderFailsAndKeepsTheRecords)
{
    connectToServer();
    QStringList records{QStringLiteral("keep|me")};
    EXPECT_FALSE(master->GetListing(QStringLiteral("/missing"), records));
    EXPECT_EQ(records, QStringList{QStringLiteral("keep|me")});
    EXPECT_EQ(protocol().last(), QStringLiteral("2: Failed to retrieve directory listing"));
    EXPECT_EQ(master->currentItem(), QStringLiteral("Failed to retrieve directory listing"));
    EXPECT_TRUE(master->isConnected());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ListingTest, RemoteFileExistsComparesWholePaths)
{
    connectToServer();
    makeTree();
    const QList<std::pair<const char *, bool>> cases = {
        {"/My Folder/inner.txt", true}, {"/My Folder/INNER.txt", false}, {"/a b  c.txt", true},
        {"/a b c.txt", false},          {"/missing.txt", false},         {"/nowhere/inner.txt", false},
        {"/My Folder", true},
    };
    for (const auto &[path, exists] : cases)
        EXPECT_EQ(master->RemoteFileExists(QString::fromUtf8(path)), exists) << path;
}

// Odd servers, played by the scripted server.
class ScriptedListingTest : public SessionTest {
protected:
    void connectScripted()
    {
        ASSERT_TRUE(scripted.start());
        master->SetConnectionData(QStringLiteral("127.0.0.1"), QString::number(scripted.port()), QStringLiteral("u"),
                                  QStringLiteral("p"), 0);
        ASSERT_TRUE(master->Connect(false));
    }
    ScriptedFtpServer scripted;
};

TEST_F(ScriptedListingTest, ServerAnsweringBothPassesFullyListsEachEntryOnce)
{
    const QByteArray all = "total 3\r\n"
                           "drwxr-xr-x 2 u g 0 Mar  5  2009 .\r\n"
                           "drwxr-xr-x 2 u g 0 Mar  5  2009 ..\r\n"
                           "-rw-r--r-- 1 u g 1 Mar  5  2009 .env\r\n"
                           "-rw-r--r-- 1 u g 1 Mar  5  2009 b.txt\r\n";
    scripted.addRule("LIST .*", "150 Here.\n226 Done.", all);
    scripted.addRule("LIST", "150 Here.\n226 Done.", all);
    connectScripted();
    QStringList records;
    ASSERT_TRUE(master->GetListing(QStringLiteral("/x"), records));
    EXPECT_EQ(records, (QStringList{QStringLiteral("1|.env|1|5.03.2009|-rw-r--r--|u g"),
                                    QStringLiteral("1|b.txt|1|5.03.2009|-rw-r--r--|u g")}));
    EXPECT_TRUE(scripted.received("CWD /x"));
}

TEST_F(ScriptedListingTest, BlankLineVoidsTheFirstPass)
{
    scripted.addRule("LIST .*", "150 Here.\n226 Done.", "-rw-r--r-- 1 u g 1 Mar  5  2009 .only-first\r\n\r\n");
    scripted.addRule("LIST", "150 Here.\n226 Done.", "-rw-r--r-- 1 u g 1 Mar  5  2009 a\r\n");
    connectScripted();
    QStringList records;
    ASSERT_TRUE(master->GetListing(QStringLiteral("/"), records));
    EXPECT_EQ(records, QStringList{QStringLiteral("1|a|1|5.03.2009|-rw-r--r--|u g")});
}

TEST_F(ScriptedListingTest, RefusedSecondPassFailsTheListing)
{
    scripted.addRule("LIST .*", "150 Here.\n226 Done.", "-rw-r--r-- 1 u g 1 Mar  5  2009 .x\r\n");
    scripted.addRule("LIST", "550 Permission denied.");
    connectScripted();
    QStringList records{QStringLiteral("old")};
    EXPECT_FALSE(master->GetListing(QStringLiteral("/"), records));
    EXPECT_EQ(records, QStringList{QStringLiteral("old")});
    EXPECT_EQ(protocol().last(), QStringLiteral("2: Failed to retrieve directory listing"));
}

TEST_F(ScriptedListingTest, MsDosServer)
{
    scripted.addRule("LIST .*", "550 No files found.");
    scripted.addRule("LIST", "125 Data connection already open.\n226 Transfer complete.",
                     "12-08-26  10:30AM       <DIR>          Data\r\n"
                     "01-15-09  03:04PM                 1024 my file.txt\r\n");
    connectScripted();
    QStringList records;
    ASSERT_TRUE(master->GetListing(QStringLiteral("/"), records));
    EXPECT_EQ(records, (QStringList{QStringLiteral("0|Data|0|08.12.2026 10:30AM|d---------|---------- ----------"),
                                    QStringLiteral("1|my file.txt|1024|15.01.2009 03:04PM|----------|---------- ----------")}));
}

TEST_F(ScriptedListingTest, HostileNamesNeverBecomeRecords)
{
    scripted.addRule("LIST .*", "550 No.");
    scripted.addRule("LIST", "150 Here.\n226 Done.",
                     "-rw-r--r-- 1 u g 1 Mar  5  2009 ../../etc/passwd\r\n"
                     "-rw-r--r-- 1 u g 1 Mar  5  2009 sub/evil\r\n"
                     "-rw-r--r-- 1 u g 1 Mar  5  2009 back\\slash\r\n"
                     "-rw-r--r-- 1 u g 1 Mar  5  2009 pipe|name\r\n"
                     "lrwxrwxrwx 1 u g 1 Mar  5  2009 .. -> /\r\n"
                     "-rw-r--r-- 1 u g 1 Mar  5  2009 fine\r\n");
    connectScripted();
    QStringList records;
    ASSERT_TRUE(master->GetListing(QStringLiteral("/"), records));
    EXPECT_EQ(records, QStringList{QStringLiteral("1|fine|1|5.03.2009|-rw-r--r--|u g")});
    const QString prefix = QStringLiteral("2: Skipped a name the server listed that cannot be used safely: ");
    const QStringList lines = protocol();
    for (const char *name : {"sub/evil", "back\\slash", "pipe|name", ".. -> /"})
        EXPECT_TRUE(lines.contains(prefix + QString::fromUtf8(name))) << name;
    EXPECT_FALSE(lines.contains(prefix + QStringLiteral("../../etc/passwd")));
}

} // namespace
