// The search window's records: the rows of the hand-over file, the upload, download and upload
// records it prepares, and the local copy-back with its counter.
#include "replace/SearchSession.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Qt::StringLiterals;

namespace {

const QString S = QString(QChar(0xA7));

class SearchSessionTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString root = dir.path() + u'/';
    QString site = root + u"site/"_s;          // the local path box
    QString download = root + u"tmp/download/"_s;
    SearchSession session;

    void write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    // One server row per name, each with its working copy.
    void loadServerRows(const QStringList &names)
    {
        QStringList lines;
        for (const QString &name : names) {
            lines << u"RETR|/www/"_s + name + u'|' + site + name + S + u"1|"_s + name + u"|12|01.02.2026 10:11:12"_s;
            write(download + name, "x");
        }
        session.load(lines, site, download);
    }
};

TEST_F(SearchSessionTest, RowsComeFromRecordsWhoseWorkingCopyExists)
{
    write(download + u"a/index.html"_s, "<p>");
    write(download + u"b.txt"_s, "b");
    const QStringList lines = {
        u"RETR|/www/a/index.html|"_s + site + u"a/index.html"_s + S + u"1|index.html|120|01.02.2026 10:11:12"_s,
        u"RETR|/www/missing.txt|"_s + site + u"missing.txt"_s + S + u"1|missing.txt|5|01.02.2026 10:11:12"_s,
        u"DELE|/www/x"_s,
        u"STOR|"_s + site + u"b.txt|/www/b.txt"_s + S + u"1|b.txt|1|02/03/2026 08:00:00"_s,
    };
    session.load(lines, site, download);
    ASSERT_EQ(session.entries().size(), 2) << "the download that failed gives no row";
    const SearchEntry &server = session.entries().at(0);
    EXPECT_EQ(server.command, QueueCommand::Retr);
    EXPECT_EQ(server.shownPath, u"/www/a/index.html"_s);
    EXPECT_EQ(server.otherPath, site + u"a/index.html"_s);
    EXPECT_EQ(server.size, u"120"_s);
    EXPECT_EQ(server.date, u"01.02.2026 10:11:12"_s);
    EXPECT_EQ(server.workingCopyPath, download + u"a/index.html"_s);
    EXPECT_TRUE(server.selected);
    EXPECT_EQ(server.hitMark, 0);
    const SearchEntry &local = session.entries().at(1);
    EXPECT_EQ(local.shownPath, site + u"b.txt"_s);
    EXPECT_EQ(local.workingCopyPath, download + u"b.txt"_s);
    EXPECT_EQ(session.lastCommand(), QueueCommand::Stor);
    EXPECT_FALSE(session.isServerSide());

    session.load({}, site, download);
    EXPECT_TRUE(session.entries().isEmpty());
    EXPECT_EQ(session.lastCommand(), QueueCommand::None) << "no buttons for an empty hand-over file";
}

TEST_F(SearchSessionTest, UploadRecordsGrowWithoutDuplicates)
{
    loadServerRows({u"1.txt"_s, u"2.txt"_s, u"3.txt"_s, u"4.txt"_s, u"5.txt"_s});
    session.clearTransferRecords(); // the window empties the list when it opens
    QList<SearchEntry> &rows = session.entries();
    rows[0].hitMark = rows[1].hitMark = 1;
    EXPECT_EQ(session.queueUploads(), 2);
    EXPECT_EQ(session.transferRecords().at(0), u"STOR|"_s + download + u"1.txt|/www/1.txt"_s + S + u"1|1.txt|12|01.02.2026 10:11:12"_s);

    // A second run changes one of them and one more file: three records.
    session.clearMarks();
    rows[1].hitMark = rows[2].hitMark = 1;
    rows[3].hitMark = 1;
    rows[3].selected = false; // unselected rows never go
    EXPECT_EQ(session.queueUploads(), 3);
    EXPECT_EQ(session.changedRows(), (QList<int>{1, 2}));
    EXPECT_EQ(session.queueUpload(rows.at(4)), 4);
    EXPECT_EQ(session.queueUpload(rows.at(4)), 4);
}

TEST_F(SearchSessionTest, TransferRecordsUseTheRealLocalPaths)
{
    write(download + u"a.txt"_s, "a");
    write(download + u"b.txt"_s, "b");
    session.load({u"RETR|/www/a.txt|"_s + site + u"a.txt"_s + S + u"1|a.txt|1|01.02.2026 10:11:12"_s,
                  u"STOR|"_s + site + u"b.txt|/www/b.txt"_s + S + u"1|b.txt|1|01.02.2026 10:11:12"_s},
                 site, download);
    session.entries()[0].hitMark = 1;
    session.entries()[1].hitMark = 1;
    session.queueTransfers();
    EXPECT_EQ(session.transferRecords(), (QStringList{u"RETR|/www/a.txt|"_s + site + u"a.txt"_s + S + u"1|a.txt|1|01.02.2026 10:11:12"_s,
                                  u"STOR|"_s + site + u"b.txt|/www/b.txt"_s + S + u"1|b.txt|1|01.02.2026 10:11:12"_s}));
}

TEST_F(SearchSessionTest, CopyBackOverwritesTheLocalFileAndCountsEveryCopy)
{
    write(site + u"page.html"_s, "old\n");
    QFile::setPermissions(site + u"page.html"_s, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    write(download + u"page.html"_s, "new\r\n");
    session.load({u"STOR|"_s + site + u"page.html|/www/page.html"_s + S + u"1|page.html|4|01.02.2026 10:11:12"_s}, site,
                 download);
    {
        QFile old(site + u"page.html"_s);
        ASSERT_TRUE(old.open(QIODevice::ReadWrite));
        old.setFileTime(QDateTime::currentDateTime().addDays(-3), QFileDevice::FileModificationTime);
    }
    session.entries()[0].hitMark = 1;
    const QFileDevice::Permissions permissions = QFileInfo(site + u"page.html"_s).permissions();
    EXPECT_EQ(session.copyBack(), 1);
    EXPECT_EQ(read(site + u"page.html"_s), "new\r\n");
    EXPECT_GT(QFileInfo(site + u"page.html"_s).lastModified(), QDateTime::currentDateTime().addSecs(-60));
    EXPECT_EQ(QFileInfo(site + u"page.html"_s).permissions(), permissions) << "the local file keeps its permissions";
    // The same file in a second run counts again; a copy that fails counts too.
    EXPECT_EQ(session.copyBack(), 2);
    QFile::remove(download + u"page.html"_s);
    EXPECT_EQ(session.copyBack(), 3);
    EXPECT_EQ(read(site + u"page.html"_s), "new\r\n") << "a failed copy leaves the local file whole";
}

} // namespace
