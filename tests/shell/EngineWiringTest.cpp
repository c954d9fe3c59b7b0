#include "AppFixture.h"
#include "FtpTestServer.h"
#include "SilentListener.h"

#include "app/ProtocolLog.h"
#include "browser/BrowserController.h"
#include "engine/MasterFTP.h"
#include "queue/QueueFile.h"
#include "queue/QueueTableModel.h"
#include "shell/QueueWiring.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QTableView>
#include <QToolBar>
#include <QTimer>
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

TEST_F(EngineWiring, DisconnectEmptiesTheServerGridAndItsStatusLine)
{
    ASSERT_TRUE(QDir(server.root()).mkpath(QStringLiteral("docs")));
    ftp().SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
    w().serverPathEdit->setEditText(QStringLiteral("/"));
    ASSERT_TRUE(ftp().Connect(true));
    main().SetIdleState();
    starter->browser().FillServerGrid(QStringLiteral("/"));
    ASSERT_GT(w().serverGrid->model()->rowCount(), 0);
    ASSERT_FALSE(w().serverStatusLabel->text().isEmpty());

    w().disconnectButton->click();
    EXPECT_FALSE(ftp().isConnected());
    EXPECT_EQ(w().serverGrid->model()->rowCount(), 0);
    EXPECT_TRUE(w().serverStatusLabel->text().isEmpty());
}

TEST_F(EngineWiring, DisconnectDuringARunCutsTheTransferAndEndsTheRun)
{
    // Focus on the protocol grid returns the window to the idle state even during a run, which
    // enables Disconnect: clicking it then must not leave a transfer running on a connection the
    // window calls closed.
    server.writeFile(QStringLiteral("big.bin"), QByteArray(48 * 1024 * 1024, 'b'));
    server.writeFile(QStringLiteral("small.bin"), "small");
    const QString local = env.root() + QStringLiteral("down/");
    QDir().mkpath(local);
    ASSERT_TRUE(QueueFile::write(env.appDataFolder() + QStringLiteral("lastqueue.ini"),
                                 {{QStringLiteral("/big.bin"), QStringLiteral("RETR"), local + QStringLiteral("big.bin"),
                                   QStringLiteral("50331648"), QStringLiteral("01.02.2003 04:05:06")},
                                  {QStringLiteral("/small.bin"), QStringLiteral("RETR"), local + QStringLiteral("small.bin"),
                                   QStringLiteral("5"), QStringLiteral("01.02.2003 04:05:06")}}));
    Q_EMIT main().lastSessionRequested();
    ftp().SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
    ASSERT_TRUE(ftp().Connect(false));
    main().SetIdleState();

    bool clicked = false;
    QObject::connect(&ftp().client(), &FtpClient::workProgressed, &main(), [&] {
        if (clicked)
            return;
        clicked = true;
        main().SetIdleState(); // what focusing the protocol grid does
        ASSERT_TRUE(w().disconnectButton->isEnabled());
        w().disconnectButton->click();
    });
    w().queueRunButton->click();

    EXPECT_TRUE(clicked);
    EXPECT_FALSE(ftp().isConnected());
    EXPECT_FALSE(ftp().client().isConnected());
    EXPECT_TRUE(protocolHas(QStringLiteral("Disconnected.")));
    EXPECT_FALSE(protocolHas(QStringLiteral("still running")));
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("big.bin")));
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("small.bin"))) << "the run ended; it did not connect again";
    EXPECT_EQ(QueueFile::read(env.appDataFolder() + QStringLiteral("lastqueue.ini")).rows.size(), 2);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
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

// Disconnect while a connect waits on a host that never answers (it drops every SYN): the
// attempt ends at once, with no box and no second attempt, and the queue's rows stay. The
// connect is started as users start it: "Run queue" with rows in the grid.
TEST_F(EngineWiring, DisconnectEndsAConnectToAHostThatNeverAnswers)
{
    SilentListener silent;
    ASSERT_NE(silent.port(), 0);
    ftp().client().setTimeouts({15000, 5000, 5000}); // longer than the test takes, if it works
    ftp().SetConnectionData(QStringLiteral("127.0.0.1"), QString::number(silent.port()), QStringLiteral("u"), QStringLiteral("p"), 0);
    starter->queue().model().appendRows({{QStringLiteral("/a.dat"), QStringLiteral("RETR"), env.root() + QStringLiteral("a.dat"),
                                          QStringLiteral("4"), QStringLiteral("05/20/2010 10:12:00")}});
    main().SetIdleState();
    prompts.clear();
    bool clicked = false;
    QObject::connect(&ftp().client(), &FtpClient::statusReported, &main(), [&](const QString &status) {
        if (!clicked && status.startsWith(u"Connecting to")) {
            clicked = true;
            QTimer::singleShot(50, w().disconnectButton, &QToolButton::click);
        }
    });
    QElapsedTimer elapsed;
    elapsed.start();
    w().queueRunButton->click();
    const qint64 took = elapsed.elapsed();
    ASSERT_TRUE(clicked);
    EXPECT_LT(took, 15000) << "the connect waited for its time-out";
    int attempts = 0;
    for (const ProtocolEntry &entry : starter->context().protocol.entries())
        attempts += entry.text == u"Try to connect: 127.0.0.1";
    EXPECT_EQ(attempts, 1) << "no attempt after the one cut off";
    EXPECT_TRUE(prompts.shown.filter(QStringLiteral("error: ")).isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(ftp().retryCounter(), 0);
    EXPECT_FALSE(ftp().isConnected());
    EXPECT_EQ(starter->queue().model().rowCount(), 1) << "the row waits for a connection";
    EXPECT_FALSE(main().isBusy());
}
