// The server pane against a real FTP server (pyftpdlib on loopback), and against a scripted
// listing source for what a real server will not do on request.
#include "BrowserFixture.h"

#include "FtpTestServer.h"

#include "app/ProtocolLog.h"
#include "queue/QueueController.h"
#include "shell/QueueWiring.h"
#include "browser/RemoteListingSource.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"

#include <QFont>
#include <QFontDatabase>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

namespace C = FileGridColumns;

class ServerPane : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        server.writeFile(QStringLiteral("readme.md"), "hello");
        server.writeFile(QStringLiteral("docs/a.txt"), "1234567");
        server.writeFile(QStringLiteral("docs/sub/deep.txt"), "x");
        QDir().mkpath(server.localPath(QStringLiteral("docs/sub/zz")));
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();

        master = &starter->ftp();
        master->client().setTimeouts({3000, 5000, 5000});
        master->SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
        QObject::connect(&starter->queue().controller(), &QueueController::gridCleared, [this] { ++queueClears; });
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        main().SetIdleState();
        ASSERT_TRUE(w().serverGrid->isEnabled());
        browser()->FillServerGrid(QStringLiteral("/"));
        queueClears = 0;
    }
    void TearDown() override
    {
        if (master->isConnected())
            master->Disconnect();
        BrowserFixture::TearDown();
    }

    FileGridPane &serverPane() { return pane(BrowserSide::Server); }
    QStringList serverNames() { return names(BrowserSide::Server); }
    QString serverPath() { return pathText(BrowserSide::Server); }
    QString serverCurrent() { return currentName(BrowserSide::Server); }

    FtpTestServer server;
    MasterFTP *master = nullptr;
    int queueClears = 0;
};

TEST_F(ServerPane, RootListingHasNoParentRowAndCountsFilesAndFolders)
{
    EXPECT_EQ(serverNames(), (QStringList{u"docs"_qs, u"readme.md"_qs}));
    EXPECT_EQ(serverPath(), u"/"_qs);
    EXPECT_EQ(status(BrowserSide::Server), u" 1 File and 1 Directory. Total Size: 5  bytes"_qs);
    EXPECT_EQ(cell(1, C::FileType, BrowserSide::Server), u"MD-Datei"_qs);
    EXPECT_EQ(cell(1, C::Size, BrowserSide::Server), u"5    "_qs);
    EXPECT_EQ(cell(1, C::Permissions, BrowserSide::Server).size(), 10);
    EXPECT_FALSE(cell(1, C::Owner, BrowserSide::Server).isEmpty());
    const QDateTime today = QDateTime::currentDateTimeUtc();
    EXPECT_TRUE(cell(1, C::Date, BrowserSide::Server).startsWith(today.toString(u"MM/dd/yyyy ")) ||
                cell(1, C::Date, BrowserSide::Server).startsWith(today.addDays(-1).toString(u"MM/dd/yyyy ")));
    const QFont font = serverPane().model().index(1, C::Permissions).data(Qt::FontRole).value<QFont>();
    EXPECT_EQ(font, QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EXPECT_EQ(w().serverGrid->horizontalHeader()->logicalIndex(0), C::ServerIcon);

    // Sorting the root by any column keeps every entry and adds no parent row.
    for (int column = 1; column <= 6; ++column) {
        serverPane().headerDoubleClicked(column);
        EXPECT_EQ(serverNames().size(), 2) << column;
        EXPECT_FALSE(serverNames().contains(u".."_qs)) << column;
    }
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("server_sort.ini")), QByteArray("6\r\nTRUE\r\n"));
}

TEST_F(ServerPane, OpeningRowsChangesFolderSelectsTheFolderLeftAndEmptiesTheQueue)
{
    doubleClickRow(0, BrowserSide::Server); // "docs"
    EXPECT_EQ(serverPath(), u"/docs"_qs);
    EXPECT_EQ(serverNames(), (QStringList{u".."_qs, u"sub"_qs, u"a.txt"_qs}));
    EXPECT_EQ(currentRow(BrowserSide::Server), 0);
    EXPECT_EQ(queueClears, 1);
    EXPECT_FALSE(main().isBusy());
    EXPECT_EQ(status(BrowserSide::Server), u" 1 File and 1 Directory. Total Size: 7  bytes"_qs);

    serverPane().selectRow(1);
    QTest::keyClick(w().serverGrid, Qt::Key_Return); // "sub"
    EXPECT_EQ(serverPath(), u"/docs/sub"_qs);
    EXPECT_EQ(queueClears, 2);

    doubleClickRow(0, BrowserSide::Server); // ".."
    EXPECT_EQ(serverPath(), u"/docs"_qs);
    EXPECT_EQ(serverCurrent(), u"sub"_qs);
    EXPECT_EQ(queueClears, 3);

    doubleClickRow(rowOf(u"a.txt"_qs, BrowserSide::Server), BrowserSide::Server); // a file: nothing
    EXPECT_EQ(serverPath(), u"/docs"_qs);
    EXPECT_EQ(queueClears, 3);

    doubleClickRow(0, BrowserSide::Server);
    EXPECT_EQ(serverPath(), u"/"_qs);
    EXPECT_EQ(serverCurrent(), u"docs"_qs);
    EXPECT_EQ(history(BrowserSide::Server), (QStringList{u"/docs/sub"_qs, u"/docs"_qs, u"/"_qs}));
}

TEST_F(ServerPane, ButtonsAndThePathBoxChangeFolderAndEmptyTheQueue)
{
    enterPath(QStringLiteral("  \\docs\\sub\\ "), BrowserSide::Server);
    EXPECT_EQ(serverPath(), u"/docs/sub"_qs);
    EXPECT_EQ(serverNames(), (QStringList{u".."_qs, u"zz"_qs, u"deep.txt"_qs}));
    EXPECT_EQ(queueClears, 1);

    // The ".." button goes up and selects the first row, not the folder left.
    w().serverUpButton->click();
    EXPECT_EQ(serverPath(), u"/docs"_qs);
    EXPECT_EQ(currentRow(BrowserSide::Server), 0);
    EXPECT_EQ(queueClears, 2);

    w().serverRootButton->click();
    EXPECT_EQ(serverPath(), u"/"_qs);
    EXPECT_EQ(serverNames(), (QStringList{u"docs"_qs, u"readme.md"_qs}));
    EXPECT_EQ(currentRow(BrowserSide::Server), 0);
    EXPECT_EQ(queueClears, 3);

    enterPath(QString(), BrowserSide::Server); // nothing means the root
    EXPECT_EQ(serverPath(), u"/"_qs);
    EXPECT_EQ(queueClears, 4);
}

TEST_F(ServerPane, AFailedListingKeepsOnlyTheParentRowAndTheOldStatusLine)
{
    const QString before = status(BrowserSide::Server);
    enterPath(QStringLiteral("/missing/folder"), BrowserSide::Server);
    EXPECT_EQ(serverNames(), QStringList{u".."_qs});
    EXPECT_EQ(status(BrowserSide::Server), before);
    EXPECT_EQ(queueClears, 1);
    EXPECT_FALSE(history(BrowserSide::Server).contains(u"/missing/folder"_qs));
    const QList<ProtocolEntry> &log = context().protocol.entries();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const ProtocolEntry &e) {
        return e.text == MasterFTP::ListingFailedText;
    }));
    doubleClickRow(0, BrowserSide::Server); // ".." still leads out
    EXPECT_EQ(serverPath(), u"/missing"_qs);
}

namespace {

// Answers from a script: replies no real server gives on request.
class ScriptedListing : public RemoteListingSource {
public:
    bool hasHost() const override { return host; }
    bool isConnected() const override { return connected; }
    bool connectQuietly() override
    {
        ++connects;
        connected = connectSucceeds;
        return connected;
    }
    bool list(const QString &path, QStringList &out) override
    {
        listed << path;
        out = records;
        return true;
    }
    bool host = true;
    bool connected = false;
    bool connectSucceeds = false;
    int connects = 0;
    QStringList listed;
    QStringList records;
};

} // namespace

TEST_F(ServerPane, NotConnectedOneSilentAttemptThenTheGridKeepsItsRows)
{
    ScriptedListing scripted;
    browser()->setListingSource(&scripted);
    browser()->FillServerGrid(QStringLiteral("/docs"));
    EXPECT_EQ(scripted.connects, 1);
    EXPECT_TRUE(scripted.listed.isEmpty());
    EXPECT_EQ(serverNames(), (QStringList{u"docs"_qs, u"readme.md"_qs}));

    scripted.host = false; // without a host nothing is tried
    browser()->FillServerGrid(QStringLiteral("/docs"));
    EXPECT_EQ(scripted.connects, 1);

    scripted.host = true;
    scripted.connectSucceeds = true;
    scripted.records = {u"2|current -> releases|7|31.13.2025 10:00|lrwxrwxrwx|root root"_qs,
                        u"1|Report.PDF|12345678901|01.02.2024 08:15|-rw-r--r--|anna staff"_qs};
    browser()->FillServerGrid(QStringLiteral("/docs//"));
    EXPECT_EQ(scripted.listed, QStringList{u"/docs"_qs});
    // Links sort after files.
    EXPECT_EQ(serverNames(), (QStringList{u".."_qs, u"Report.PDF"_qs, u"current -> releases"_qs}));
    EXPECT_EQ(cell(2, C::FileType, BrowserSide::Server), u"Link"_qs);
    EXPECT_EQ(cell(2, C::Date, BrowserSide::Server), u"31.13.2025 10:00"_qs); // no date: shown as it came
    EXPECT_EQ(cell(1, C::FileType, BrowserSide::Server), u"PDF-Datei"_qs);
    EXPECT_EQ(cell(1, C::Size, BrowserSide::Server), u"12.345.678.901    "_qs);
    EXPECT_EQ(status(BrowserSide::Server), u" 1 File and 0 Directories. Total Size: 12.345.678.908  bytes  (11.50 GB)"_qs);
    browser()->setListingSource(nullptr);

    browser()->clearServerGrid(); // the session ended
    EXPECT_TRUE(serverNames().isEmpty());
    EXPECT_TRUE(status(BrowserSide::Server).isEmpty());
}

TEST_F(ServerPane, TheHistoryOnlySuggestsAndEnterListsWhatWasTyped)
{
    enterPath(QStringLiteral("/docs/sub"), BrowserSide::Server);
    enterPath(QStringLiteral("/docs"), BrowserSide::Server);
    // "/" typed by hand: the history would complete it to "/docs/sub" or "/docs".
    QLineEdit *edit = serverPane().pathBox()->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("/"));
    EXPECT_EQ(edit->text(), u"/"_qs) << "completion suggests in a list, never in the text";
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(serverPath(), u"/"_qs);
    EXPECT_EQ(serverNames(), (QStringList{u"docs"_qs, u"readme.md"_qs}));
}
