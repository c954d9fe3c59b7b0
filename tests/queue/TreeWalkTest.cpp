// The tree walks against a real server (and a real local tree): the records they collect, in
// their order, what running those records leaves on disk, and Abort.
#include "QueueServerFixture.h"

#include "queue/QueueRecord.h"

#include <QDir>
#include <QRegularExpression>
#include <QFile>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QStringList heads(const QStringList &records)
{
    QStringList result;
    for (const QString &record : records)
        result << record.section(QueueRecord::EntrySeparator, 0, 0);
    return result;
}

class TreeWalkTest : public QueueServerTest {
protected:
    // /www with a dot file, a text file, a link, an empty folder and a two-level folder.
    void makeSite()
    {
        server->writeFile(QStringLiteral("www/index.html"), "<p>\nhello\n</p>\n");
        server->writeFile(QStringLiteral("www/.htaccess"), "Deny from all\n");
        server->writeFile(QStringLiteral("www/img/a.png"), QByteArray("\x89PNG\r\n\x1a\n\r\n\0\n\r", 13));
        server->writeFile(QStringLiteral("www/img/x/deep.txt"), "deep\n");
        QDir().mkpath(server->localPath(QStringLiteral("www/empty")));
        ASSERT_TRUE(QFile::link(QStringLiteral("index.html"), server->localPath(QStringLiteral("www/link"))));
    }
};

} // namespace

TEST_F(TreeWalkTest, DownloadCollectsLevelByLevelAndTheRunCopiesTheTree)
{
    connectToServer();
    makeSite();
    const QString target = local + QStringLiteral("www");
    QStringList retr;
    QStringList mkdirs;
    walker->CollectDownload(retr, mkdirs, target, QStringLiteral("/www"));

    EXPECT_EQ(mkdirs, (QStringList{QStringLiteral("MKLOCALDIR|") + target, QStringLiteral("MKLOCALDIR|") + target + QStringLiteral("/empty"),
                                   QStringLiteral("MKLOCALDIR|") + target + QStringLiteral("/img"),
                                   QStringLiteral("MKLOCALDIR|") + target + QStringLiteral("/img/x")}));
    EXPECT_EQ(heads(retr), (QStringList{
                               QStringLiteral("RETR|/www/.htaccess|") + target + QStringLiteral("/.htaccess"),
                               QStringLiteral("RETR|/www/index.html|") + target + QStringLiteral("/index.html"),
                               QStringLiteral("RETR|/www/link|") + target + QStringLiteral("/link"),
                               QStringLiteral("RETR|/www/img/a.png|") + target + QStringLiteral("/img/a.png"),
                               QStringLiteral("RETR|/www/img/x/deep.txt|") + target + QStringLiteral("/img/x/deep.txt"),
                           }));
    // Each record carries the file's listing record.
    EXPECT_TRUE(retr[1].section(QueueRecord::EntrySeparator, 1).startsWith(QStringLiteral("1|index.html|15|"))) << retr[1].toStdString();
    EXPECT_TRUE(retr[2].section(QueueRecord::EntrySeparator, 1).startsWith(QStringLiteral("2|link -> index.html|"))) << retr[2].toStdString();
    EXPECT_EQ(work.filesFound, 5);
    EXPECT_EQ(work.foldersFound, 4);
    EXPECT_EQ(walkProgress.lines.first(), QStringLiteral("Read folder: /www"));
    EXPECT_TRUE(walkProgress.lines.contains(QStringLiteral("Read file: /www/img/a.png|") + target + QStringLiteral("/img/a.png")));

    run(mkdirs + retr);
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (const char *file : {"www/index.html", "www/.htaccess", "www/img/a.png", "www/img/x/deep.txt"})
        EXPECT_EQ(readLocal(local + QString::fromLatin1(file)), server->readFile(QString::fromLatin1(file))) << file;
    EXPECT_EQ(readLocal(target + QStringLiteral("/link")), server->readFile(QStringLiteral("www/index.html")));
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("/empty")).isDir());
}

TEST_F(TreeWalkTest, TheRootIsRemovedAsAPrefixOnly)
{
    connectToServer();
    server->writeFile(QStringLiteral("a/b/a/f.txt"), "f");
    QStringList retr;
    QStringList mkdirs;
    walker->CollectDownload(retr, mkdirs, local + QStringLiteral("a"), QStringLiteral("/a"));
    EXPECT_EQ(heads(retr), (QStringList{QStringLiteral("RETR|/a/b/a/f.txt|") + local + QStringLiteral("a/b/a/f.txt")}));
    EXPECT_EQ(mkdirs.last(), QStringLiteral("MKLOCALDIR|") + local + QStringLiteral("a/b/a"));
}

TEST_F(TreeWalkTest, DeleteRemovesFilesFirstThenFoldersDeepestFirst)
{
    connectToServer();
    server->writeFile(QStringLiteral("www/a.txt"), "a");
    server->writeFile(QStringLiteral("www/img/b.png"), "b");
    QDir().mkpath(server->localPath(QStringLiteral("www/img/x")));
    server->writeFile(QStringLiteral("www/img2/c.txt"), "c");
    QDir().mkpath(server->localPath(QStringLiteral("www/img2/y")));
    server->writeFile(QStringLiteral("keep.txt"), "k");
    model.appendRow({QStringLiteral("old"), QStringLiteral("RETR"), QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("d")});

    const QStringList queue = walker->CollectDelete(QStringLiteral("/"), QStringLiteral("/www"));
    EXPECT_TRUE(model.isEmpty()) << "the walk empties the queue grid";
    // The files in the order the walk found them (the listing's order of the two sibling
    // folders is the listing's business), then every folder after the folders beneath it.
    QStringList files = heads(queue).mid(0, 3);
    EXPECT_EQ(files.takeFirst(), QStringLiteral("DELE|/www/a.txt"));
    files.sort();
    EXPECT_EQ(files, (QStringList{QStringLiteral("DELE|/www/img/b.png"), QStringLiteral("DELE|/www/img2/c.txt")}));
    EXPECT_EQ(heads(queue).mid(3), (QStringList{QStringLiteral("RMD|/www/img/x"), QStringLiteral("RMD|/www/img"),
                                                QStringLiteral("RMD|/www/img2/y"), QStringLiteral("RMD|/www/img2"),
                                                QStringLiteral("RMD|/www")}));
    EXPECT_TRUE(queue.last().section(QueueRecord::EntrySeparator, 1).startsWith(QStringLiteral("0|www|")));
    EXPECT_EQ(host.serverPath, QStringLiteral("/"));

    run(queue);
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(server->localPath(QStringLiteral("www"))));
    EXPECT_TRUE(QFileInfo::exists(server->localPath(QStringLiteral("keep.txt"))));
    const QStringList commands = protocol().filter(QRegularExpression(QStringLiteral("^0: (DELE|RMD) ")));
    EXPECT_EQ(commands.first(), QStringLiteral("0: DELE /www/a.txt"));
    EXPECT_EQ(commands.last(), QStringLiteral("0: RMD /www"));
}

TEST_F(TreeWalkTest, ChmodChangesTheModesTheFlagsAskFor)
{
    connectToServer();
    const struct {
        bool filesOnly, directoriesOnly, all, recursive;
        const char *top, *file, *sub, *deepFile;
    } cases[] = {
        {false, false, true, true, "750", "750", "750", "750"},
        {true, false, false, true, "755", "640", "755", "640"},
        {false, true, false, true, "750", "644", "750", "644"},
        {false, true, false, false, "750", "644", "755", "644"},
        {true, false, false, false, "755", "644", "755", "644"}, // nothing at all
    };
    for (const auto &c : cases) {
        const QString file = server->writeFile(QStringLiteral("www/a.txt"), "a");
        const QString deep = server->writeFile(QStringLiteral("www/sub/b.txt"), "b");
        for (const QString &path : {file, deep})
            QFile::setPermissions(path, QFile::Permissions(0x6644));
        for (const QString &path : {server->localPath(QStringLiteral("www")), server->localPath(QStringLiteral("www/sub"))})
            QFile::setPermissions(path, QFile::Permissions(0x7755));
        const QString mode = c.filesOnly ? QStringLiteral("640") : QStringLiteral("750");

        walker->CollectChmod(mode, QStringLiteral("/"), c.filesOnly, c.directoriesOnly, c.all, c.recursive,
                             QStringLiteral("/www"));
        const std::string name = std::to_string(c.filesOnly) + std::to_string(c.directoriesOnly) + std::to_string(c.all)
            + std::to_string(c.recursive);
        EXPECT_EQ(octalMode(server->localPath(QStringLiteral("www"))), QString::fromLatin1(c.top)) << name;
        EXPECT_EQ(octalMode(file), QString::fromLatin1(c.file)) << name;
        EXPECT_EQ(octalMode(server->localPath(QStringLiteral("www/sub"))), QString::fromLatin1(c.sub)) << name;
        EXPECT_EQ(octalMode(deep), QString::fromLatin1(c.deepFile)) << name;
        EXPECT_TRUE(model.isEmpty()) << name;
        EXPECT_EQ(host.serverPath, QStringLiteral("/")) << name;
    }
    EXPECT_TRUE(protocol().contains(QStringLiteral("0: CHMOD 750 /www/sub/b.txt")));
}

TEST_F(TreeWalkTest, LocalWalkTakesHiddenFilesAndSkipsHiddenFoldersLinksAndUnusableNames)
{
    env.writeFile(QStringLiteral("local/site/index.html"), "12345");
    env.writeFile(QStringLiteral("local/site/.hidden"), "x");
    env.writeFile(QStringLiteral("local/site/a|b.txt"), "x");
    env.writeFile(QStringLiteral("local/site/sub/deep.txt"), "123");
    env.writeFile(QStringLiteral("local/site/.svn/entries"), "x");
    env.writeFile(QStringLiteral("local/elsewhere/far.txt"), "x");
    ASSERT_TRUE(QFile::link(local + QStringLiteral("elsewhere"), local + QStringLiteral("site/linked")));

    QStringList collected;
    walker->CollectLocal(local + QStringLiteral("site/*.*"), collected);
    QStringList paths;
    for (const QString &entry : std::as_const(collected))
        paths << entry.section(QueueRecord::CollectedFileSeparator, 0, 0);
    paths.sort();
    EXPECT_EQ(paths, (QStringList{local + QStringLiteral("site/.hidden"), local + QStringLiteral("site/index.html"),
                                  local + QStringLiteral("site/sub/deep.txt")}));
    const QString index = collected.filter(QStringLiteral("index.html")).value(0);
    EXPECT_TRUE(index.section(QueueRecord::CollectedFileSeparator, 1).startsWith(QStringLiteral("1|index.html|5|"))) << index.toStdString();
    EXPECT_EQ(work.filesFound, 3);
    EXPECT_EQ(work.foldersFound, 1);
    EXPECT_EQ(work.totalSize, 9);
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: Skipped a name that queue records cannot hold: ") + local
                                    + QStringLiteral("site/a|b.txt")));
}

TEST_F(TreeWalkTest, NamesWithBlanksAtTheirEndsAreCarriedExactly)
{
    // Record readers keep the blanks of a path: "trail.txt " is uploaded as "trail.txt ", never
    // as "trail.txt", and nothing is skipped.
    connectToServer();
    const struct {
        const char *path;
        bool collected;
    } cases[] = {
        {"site/ lead.txt", true},
        {"site/ lead dir/inner.txt", true},
        {"site/inner blank.txt", true},
        {"site/trail.txt ", true},
        {"site/trail dir /x.txt", true},
        {"site/tab.txt\t", true},
    };
    QStringList expected;
    for (const auto &c : cases) {
        env.writeFile(QStringLiteral("local/") + QString::fromUtf8(c.path), c.path);
        if (c.collected)
            expected << local + QString::fromUtf8(c.path);
    }
    QStringList collected;
    walker->CollectLocal(local + QStringLiteral("site/*.*"), collected);
    QStringList paths;
    QStringList records;
    for (const QString &entry : std::as_const(collected)) {
        const QString path = entry.section(QueueRecord::CollectedFileSeparator, 0, 0);
        paths << path;
        records << QStringLiteral("STOR|") + path + QStringLiteral("|/pub/") + path.mid(local.size())
                + QueueRecord::EntrySeparator + entry.section(QueueRecord::CollectedFileSeparator, 1);
    }
    paths.sort();
    expected.sort();
    EXPECT_EQ(paths, expected);
    const QStringList skipped = protocol().filter(QStringLiteral("2: Skipped a name that queue records cannot hold: "));
    EXPECT_TRUE(skipped.isEmpty()) << skipped.join(u'\n').toStdString();

    // Every reader of records and rows gives the paths back unchanged, and the run uploads them.
    for (const QString &record : std::as_const(records)) {
        const QueueRecord parsed = QueueRecord::parse(record);
        const std::optional<QString> again = RecordFromRow(QueueRow::fromLine(RowFromRecord(record, QString()).toLine()));
        ASSERT_TRUE(again.has_value());
        const QueueRecord reread = QueueRecord::parse(*again);
        EXPECT_EQ(reread.source, parsed.source);
        EXPECT_EQ(reread.target, parsed.target);
        EXPECT_TRUE(paths.contains(parsed.source)) << parsed.source.toStdString();
    }
    QDir().mkpath(server->localPath(QStringLiteral("pub")));
    host.serverPath = QStringLiteral("/pub");
    run(DeriveMkdRecords(records, host.serverPath) + records);
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (const auto &c : cases) {
        const char *file = c.path;
        EXPECT_EQ(server->readFile(QStringLiteral("pub/") + QString::fromUtf8(file)), QByteArray(file)) << file;
    }
    EXPECT_FALSE(QFileInfo::exists(server->localPath(QStringLiteral("pub/site/trail.txt")))) << "no file without the blank";
}

TEST_F(TreeWalkTest, AbortStopsAWalkWithinOneEntry)
{
    connectToServer();
    for (int folder = 0; folder < 3; ++folder) {
        for (int file = 0; file < 5; ++file)
            server->writeFile(QStringLiteral("big/d%1/f%2.dat").arg(folder).arg(file), "x");
    }
    // Abort arrives while the walk reports its fourth line.
    walkProgress.onLine = [this](qsizetype count) {
        if (count == 4)
            work.cancel.cancel();
    };
    QStringList retr;
    QStringList mkdirs;
    walker->CollectDownload(retr, mkdirs, local + QStringLiteral("big"), QStringLiteral("/big"));
    EXPECT_EQ(walkProgress.lines.size(), 4);
    EXPECT_EQ(mkdirs.size(), 4) << "the records so far are kept";
    EXPECT_TRUE(retr.isEmpty());

    walkProgress.lines.clear();
    work.cancel = CancelToken();
    EXPECT_TRUE(walker->CollectDelete(QStringLiteral("/"), QStringLiteral("/big")).isEmpty())
        << "an aborted delete walk returns nothing";
    EXPECT_EQ(walkProgress.lines.size(), 4);
}
