// "Copy a file to each directory" without its window: the destinations read from the walk's
// progress lines, the local copies and their counts, and the upload records for the server.
#include "TestEnvironment.h"

#include "app/AppFolders.h"
#include "app/ProtocolLog.h"
#include "tools/CopyToEachDir.h"

#include <QDir>
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

class CopyToEachDirTest : public ::testing::Test {
protected:
    CopyToEachDirTest()
        : folders(makeFolders())
        , log(folders.appDataFolder)
    {
        site = env.root() + S("site");
        QDir().mkpath(site + S("/a/b"));
        QDir().mkpath(site + S("/ü x"));
        index = env.writeFile(S("src/index.html"), "<p>index</p>");
        access = env.writeFile(S("src/.htaccess"), "Deny from all");
    }
    static AppFolders makeFolders()
    {
        AppFolders f = AppFolders::detect();
        f.create();
        return f;
    }
    QStringList errors() const
    {
        QStringList lines;
        for (const ProtocolEntry &entry : log.entries()) {
            if (entry.kind == ProtocolEntry::Error)
                lines << entry.text;
        }
        return lines;
    }
    QStringList destinations() const
    {
        return {site, site + S("/a"), site + S("/a/b"), site + S("/ü x")};
    }

    TestEnvironment env;
    AppFolders folders;
    ProtocolLog log;
    QString site;
    QString index;
    QString access;
};

} // namespace

TEST_F(CopyToEachDirTest, DestinationsAreTheFoldersReadEachOnce)
{
    const QStringList foldersRead{
        S("/site"),
        S("/site/a"),
        S("/site/b"),
        S("/site/a"),                  // read twice, listed once
        S("/site/a/Read folder: x"),   // a folder whose name holds the progress text
        S(""),
    };
    EXPECT_EQ(UniqueFolders(foldersRead),
              (QStringList{S("/site"), S("/site/a"), S("/site/b"), S("/site/a/Read folder: x")}));
}

TEST_F(CopyToEachDirTest, TwoFilesIntoFourFoldersAreEightCopiesAndExistingFilesAreKeptUnlessReplaced)
{
    env.writeFile(S("site/a/index.html"), "mine, not to be lost");
    EXPECT_EQ(LocalEachDirCopy::existingTargets(destinations(), {index, access}), 1);

    int pumped = 0;
    LocalEachDirCopy copier(log, [&pumped] { ++pumped; });
    LocalEachDirCopy::Result kept = copier.copy(destinations(), {index, access}, false);
    EXPECT_EQ(kept.copied, 7);
    EXPECT_EQ(kept.keptExisting, 1);
    EXPECT_EQ(kept.failed, 0);
    EXPECT_EQ(pumped, 8);
    EXPECT_EQ(TestEnvironment::readFile(site + S("/a/index.html")), "mine, not to be lost");
    for (const QString &folder : destinations()) {
        EXPECT_EQ(TestEnvironment::readFile(folder + S("/.htaccess")), "Deny from all") << folder.toStdString();
        if (!folder.endsWith(S("/a")))
            EXPECT_EQ(TestEnvironment::readFile(folder + S("/index.html")), "<p>index</p>") << folder.toStdString();
    }

    const LocalEachDirCopy::Result replaced = copier.copy(destinations(), {index}, true);
    EXPECT_EQ(replaced.copied, 4);
    EXPECT_EQ(TestEnvironment::readFile(site + S("/a/index.html")), "<p>index</p>");
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    // No half-written helper files stay behind.
    EXPECT_EQ(QDir(site + S("/a")).entryList(QDir::Files | QDir::Hidden), (QStringList{S(".htaccess"), S("index.html")}));
}

TEST_F(CopyToEachDirTest, ASourceIsNeverCopiedOntoItselfAndFailuresAreReported)
{
    const QString own = env.writeFile(S("site/a/own.txt"), "own");
    QDir().mkpath(site + S("/b/own.txt")); // a folder of the file's name
    const QStringList targets{site + S("/a"), site + S("/b"), env.root() + S("missing")};
    EXPECT_EQ(LocalEachDirCopy::existingTargets(targets, {own}), 1);

    LocalEachDirCopy copier(log);
    const LocalEachDirCopy::Result result = copier.copy(targets, {own}, true);
    EXPECT_EQ(result.copied, 0);
    EXPECT_EQ(result.keptExisting, 1);
    EXPECT_EQ(result.failed, 2);
    EXPECT_EQ(TestEnvironment::readFile(own), "own");
    const QStringList lines = errors();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], S("Not copied: ") + own + S(" -> ") + site + S("/b/own.txt (a folder of that name exists)"));
    EXPECT_TRUE(lines[1].startsWith(S("Not copied: ") + own + S(" -> ") + env.root() + S("missing/own.txt ("))) << lines[1].toStdString();
}

TEST_F(CopyToEachDirTest, UploadRecordsAreGroupedByFolderAndCounted)
{
    const QString odd = env.writeFile(S("src/a|b.txt"), "x");
    qint64 bytes = 5;
    qint64 files = 1;
    const QStringList records = CopyUploadRecords({S("/site"), S("/site/a b")}, {index, odd, access}, false, log, bytes, files);
    const QString date = QFileInfo(index).lastModified().toString(u"MM/dd/yyyy hh:mm:ss");
    const QString accessDate = QFileInfo(access).lastModified().toString(u"MM/dd/yyyy hh:mm:ss");
    const QChar entry(0x00A7);
    EXPECT_EQ(records, (QStringList{
        S("STOR|") + index + S("|/site/index.html") + entry + S("1|index.html|12|") + date,
        S("STOR|") + access + S("|/site/.htaccess") + entry + S("1|.htaccess|13|") + accessDate,
        S("STOR|") + index + S("|/site/a b/index.html") + entry + S("1|index.html|12|") + date,
        S("STOR|") + access + S("|/site/a b/.htaccess") + entry + S("1|.htaccess|13|") + accessDate,
    }));
    EXPECT_EQ(bytes, 5 + 2 * (12 + 13));
    EXPECT_EQ(files, 1 + 4);
    EXPECT_EQ(errors(), (QStringList{S("Skipped a name that queue records cannot hold: ") + odd}));

    const QStringList german = CopyUploadRecords({S("/")}, {index}, true, log, bytes, files);
    EXPECT_EQ(german, (QStringList{S("STOR|") + index + S("|/index.html") + entry + S("1|index.html|12|")
                                   + QFileInfo(index).lastModified().toString(u"dd.MM.yyyy hh:mm:ss")}));
}
