#include "AppFixture.h"
#include "FtpTestServer.h"

#include "app/ProtocolLog.h"
#include "engine/MasterFTP.h"

#include <QComboBox>
#include <QFileInfo>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

class EngineWiring : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();
        ASSERT_TRUE(start());
    }

    MasterFTP &ftp() { return starter->ftp(); }
    bool protocolHas(const QString &text) const
    {
        for (const ProtocolEntry &entry : starter->context().protocol.entries())
            if (entry.text.contains(text))
                return true;
        return false;
    }

    FtpTestServer server;
};

TEST_F(EngineWiring, ConnectShowsTheServerSideAndDisconnectHidesIt)
{
    ftp().SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
    w().serverPathEdit->setEditText(QStringLiteral("/"));
    ASSERT_TRUE(ftp().Connect(true));
    EXPECT_TRUE(main().isConnected());
    main().SetIdleState();
    EXPECT_TRUE(w().uploadAction->isEnabled());
    EXPECT_FALSE(w().serverPathEdit->isHidden());
    EXPECT_TRUE(protocolHas(QStringLiteral("Try to connect: 127.0.0.1")));
    // The login went to "last-login.ini" with the path boxes as they were.
    EXPECT_TRUE(QFileInfo::exists(env.appDataFolder() + QStringLiteral("last-login.ini")));

    w().disconnectButton->click();
    EXPECT_FALSE(ftp().isConnected());
    EXPECT_TRUE(w().serverPathEdit->isHidden());
    EXPECT_FALSE(w().uploadAction->isEnabled());
}

TEST_F(EngineWiring, UnexpectedErrorReconnectsADroppedSession)
{
    ftp().SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
    ASSERT_TRUE(ftp().Connect(false));
    ftp().Disconnect();
    main().HandleUnexpectedError(QString());
    EXPECT_TRUE(ftp().isConnected());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

TEST_F(EngineWiring, LastSessionLoadsTheLoginWithoutConnecting)
{
    env.writeFile(env.appDataFolder() + QStringLiteral("last-login.ini"),
                  "[SETTINGS]\r\nHost=ftp.example.org\r\nUser=anna\r\nPassword=097\r\nPort=2121\r\n"
                  "ActivMode=0\r\nLocalPath=/home/anna/\r\nServerPath=/www\r\n");
    Q_EMIT main().lastSessionRequested();
    EXPECT_EQ(ftp().host(), QStringLiteral("ftp.example.org"));
    EXPECT_EQ(ftp().password(), QStringLiteral("a"));
    EXPECT_EQ(w().serverPathEdit->currentText(), QStringLiteral("/www"));
    EXPECT_FALSE(ftp().isConnected());
}
