// Connecting from the site manager to a real FTP server (pyftpdlib on loopback), with and
// without search-and-replace backups in the way.
#include "SiteWindowFixture.h"

#include "FtpTestServer.h"

#include "engine/ftp/FtpClient.h"
#include "engine/MasterFTP.h"
#include "queue/OverwritePolicy.h"
#include "queue/QueueRunner.h"
#include "browser/BrowserController.h"
#include "shell/QueueWiring.h"
#include "shell/SitesWiring.h"

#include <QDir>
#include <QFileInfo>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class SiteConnectWindow : public SiteWindowTest {
protected:
    void SetUp() override
    {
        SiteWindowTest::SetUp();
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();
        server.writeFile(u"sub/index.html"_s, "<html>");
        localFolder = env.root() + u"work"_s;
        QDir().mkpath(localFolder);
    }
    void TearDown() override
    {
        if (starter && starter->ftp().isConnected())
            starter->ftp().Disconnect();
        SiteWindowTest::TearDown();
        server.stop();
    }
    void startWithSession()
    {
        startQuietly();
        master = &starter->ftp();
        master->client().setTimeouts({3000, 5000, 5000});
        QObject::connect(&starter->browser(), &BrowserController::listingStarted, [this](BrowserSide side, const QString &path) {
            listed << (side == BrowserSide::Local ? u"local "_s : u"server "_s) + path;
        });
    }
    FTPConnection serverSite(const QString &name, const QString &serverPath)
    {
        return site(name, server.host(), server.user(), server.password(), QString::number(server.port()), localFolder,
                    serverPath, u"Passive"_s);
    }
    void connectTo(int row)
    {
        openSites();
        sites().grid()->selectRow(row);
        QTest::keyClick(sites().grid(), Qt::Key_F9);
    }

    FtpTestServer server;
    MasterFTP *master = nullptr;
    QString localFolder;
    QStringList listed;
};

TEST_F(SiteConnectWindow, ConnectListsBothSidesAndNamesTheSite)
{
    storeSites({serverSite(u"Demo"_s, u"/sub"_s)});
    startWithSession();
    OverwritePolicy &overwrite = starter->queue().runner().overwritePolicy();
    overwrite.ask = false; // an answer "always" from an earlier server
    connectTo(0);
    ASSERT_TRUE(master->isConnected()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(master->activeMode(), 0);
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Velmora - " VELMORA_VERSION_TEXT " - Demo"));
    EXPECT_EQ(listed, (QStringList{u"server /sub"_s, u"local "_s + localFolder + u'/'}));
    EXPECT_EQ(master->retryCounter(), 0);
    EXPECT_TRUE(overwrite.ask); // "Always overwrite files" is off
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(main().isBusy());
}

TEST_F(SiteConnectWindow, BackupQuestionGuardsTheHostChange)
{
    storeSites({serverSite(u"Demo"_s, u"/"_s), serverSite(u"Demo sub"_s, u"/sub"_s)});
    startWithSession();
    connectTo(0);
    ASSERT_TRUE(master->isConnected());
    const QString backup = context().folders.tempFolder + u"BACKUP001"_s;
    QDir().mkpath(backup);
    listed.clear();

    // No: the old connection, caption and paths stay, nothing is listed.
    prompts.confirmAnswers = {false};
    connectTo(1);
    EXPECT_EQ(prompts.shown, QStringList{
                                 u"confirm: If you change the host, all \"search and replace\" backups will be deleted! Change the host?"_s});
    EXPECT_TRUE(master->isConnected());
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Velmora - " VELMORA_VERSION_TEXT " - Demo"));
    EXPECT_EQ(w().serverPathEdit->currentText(), u"/"_s);
    EXPECT_TRUE(listed.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(backup));

    // Yes: the backups go and the new site is connected.
    prompts.confirmAnswers = {true};
    connectTo(1);
    EXPECT_FALSE(QFileInfo::exists(backup));
    EXPECT_TRUE(master->isConnected());
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Velmora - " VELMORA_VERSION_TEXT " - Demo sub"));
    EXPECT_EQ(listed.value(0), u"server /sub"_s);
}

TEST_F(SiteConnectWindow, AFailedLoginStillListsTheLocalSide)
{
    FTPConnection wrong = serverSite(u"Wrong"_s, u"/"_s);
    wrong.Password = u"not the password"_s;
    storeSites({wrong});
    startWithSession();
    connectTo(0);
    EXPECT_FALSE(master->isConnected());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith(u"error: "_s));
    EXPECT_EQ(listed, QStringList{u"local "_s + localFolder + u'/'});
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Velmora - " VELMORA_VERSION_TEXT));
    EXPECT_EQ(master->retryCounter(), 0);
}

} // namespace
