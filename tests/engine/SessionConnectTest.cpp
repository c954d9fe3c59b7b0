// Connecting, logging in, reconnecting and disconnecting the session, and its login file.
#include "QtPrinters.h"
#include "SessionFixture.h"

#include "common/PasswordCodec.h"
#include "common/TextCodec.h"
#include "engine/ftp/FtpError.h"
#include "engine/LoginFile.h"

#include "ScriptedFtpServer.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

// A client that records what it was given and cannot reach any server.
class UnreachableFtpClient : public FtpClient {
public:
    void setHost(const QString &h) override { m_host = h; }
    QString host() const override { return m_host; }
    void setPort(quint16 p) override { m_port = p; }
    quint16 port() const override { return m_port; }
    void setUser(const QString &) override {}
    void setPassword(const QString &) override {}
    void setPassive(bool p) override { m_passive = p; }
    bool isPassive() const override { return m_passive; }
    void setTimeouts(const FtpTimeouts &) override {}
    FtpTimeouts timeouts() const override { return {}; }
    void connectAndLogin() override
    {
        ++attempts;
        throw FtpError(QStringLiteral("Could not connect: unreachable"));
    }
    void closeConnection() override {}
    void quit() override {}
    bool isConnected() const override { return false; }
    bool isBusy() const override { return false; }
    QString greeting() const override { return {}; }
    QString systemDescription() const override { return {}; }
    void setTransferType(TransferType) override {}
    TransferType transferType() const override { return TransferType::Binary; }
    QStringList list(const QString &) override { throw FtpError(QStringLiteral("Not connected.")); }
    QList<QDateTime> listedDates() const override { return {}; }
    void changeDirectory(const QString &) override { throw FtpError(QStringLiteral("Not connected.")); }
    QString currentDirectory() override { throw FtpError(QStringLiteral("Not connected.")); }
    FtpTransferResult download(const QString &, const QString &) override { return {}; }
    FtpTransferResult upload(const QString &, const QString &) override { return {}; }
    void deleteFile(const QString &) override {}
    void makeDirectory(const QString &) override {}
    void removeDirectory(const QString &) override {}
    void site(const QString &) override {}
    void rename(const QString &, const QString &) override {}
    qint64 size(const QString &) override { return -1; }
    void abort() override {}
    void cancel() override {}

    int attempts = 0;

private:
    QString m_host;
    quint16 m_port = 4711;
    bool m_passive = false;
};

TEST_F(SessionTest, ConnectLogsInReportsAndSavesTheLogin)
{
    startServer();
    host.setLocalPathText(QStringLiteral("/home/me/"));
    host.setServerPathText(QStringLiteral("/www"));
    ASSERT_TRUE(master->Connect(false));
    EXPECT_TRUE(master->isConnected());
    EXPECT_FALSE(master->connectFailed());
    EXPECT_EQ(master->retryCounter(), 0);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("busy"), QStringLiteral("normal")}));

    const QStringList lines = protocol();
    const qsizetype tryLine = lines.indexOf(QStringLiteral("1: Try to connect: 127.0.0.1"));
    const qsizetype systemLine = lines.indexOf(QStringLiteral("1: UNIX Type: L8"));
    const qsizetype greetingLine = lines.indexOf(QStringLiteral("1: Velmora test server ready."));
    ASSERT_GE(tryLine, 0) << lines.join(u'\n').toStdString();
    EXPECT_GT(systemLine, tryLine);
    EXPECT_EQ(greetingLine, systemLine + 1);
    EXPECT_TRUE(lines.contains(QStringLiteral("1: Connection established")));

    const QString loginPath = folders.appDataFile(QStringLiteral("last-login.ini"));
    const LoginData saved = ReadLoginFile(loginPath);
    EXPECT_EQ(saved.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(saved.password, server->password());
    EXPECT_EQ(saved.localPath, QStringLiteral("/home/me/"));
    EXPECT_EQ(saved.serverPath, QStringLiteral("/www"));
    EXPECT_EQ(QFileInfo(loginPath).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup
                                                    | QFileDevice::WriteOther),
              QFileDevice::Permissions());
}

TEST_F(SessionTest, QueueGridIsEmptiedOnlyWhenAsked)
{
    startServer();
    ASSERT_TRUE(master->Connect(false));
    EXPECT_FALSE(host.calls.contains(QStringLiteral("clearQueueGrid")));
    ASSERT_TRUE(master->Connect(true));
    EXPECT_EQ(host.calls.count(QStringLiteral("clearQueueGrid")), 1);
    EXPECT_EQ(protocolCount(QStringLiteral("1: Try to connect: 127.0.0.1")), 2);
}

TEST_F(SessionTest, WithoutHostNothingIsTried)
{
    struct Case {
        Language::Id language;
        QString box;
    };
    for (const Case &c : {Case{Language::English, QStringLiteral("information: Specify a host!")},
                          Case{Language::German, QStringLiteral("information: Bitte einen Host angeben!")}}) {
        prompts.clear();
        language.setCurrent(c.language);
        master->SetConnectionData(QStringLiteral("   "), QString(), QStringLiteral("u"), QStringLiteral("p"), 0);
        EXPECT_FALSE(master->Connect(false));
        EXPECT_EQ(prompts.shown, QStringList{c.box});
    }
    EXPECT_TRUE(log.entries().isEmpty());
    EXPECT_EQ(master->retryCounter(), 0);
}

TEST_F(SessionTest, PortTextThatIsNoNumberMakesNoAttempt)
{
    auto owned = std::make_unique<UnreachableFtpClient>();
    UnreachableFtpClient *client = owned.get();
    makeMaster(std::move(owned));
    for (const QString &port : {QStringLiteral("abc"), QStringLiteral("21x"), QStringLiteral("0"), QStringLiteral("70000"),
                                QStringLiteral("-21")}) {
        prompts.clear();
        master->SetConnectionData(QStringLiteral("ftp.example.org"), port, QStringLiteral("u"), QStringLiteral("p"), 0);
        EXPECT_FALSE(master->Connect(false)) << port.toStdString();
        const QString message = QStringLiteral("The port \"%1\" is not a number from 1 to 65535. No connection was attempted.").arg(port);
        EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: ") + message});
        EXPECT_EQ(protocol().last(), QStringLiteral("2: ") + message);
        EXPECT_TRUE(master->connectFailed());
    }
    EXPECT_EQ(client->attempts, 0);
    EXPECT_EQ(protocolCount(QStringLiteral("1: Try to connect: ftp.example.org")), 0);
    EXPECT_EQ(master->retryCounter(), 0);

    // An empty port text means 21; a valid one is used as it is; passive follows the mode.
    master->SetConnectionData(QStringLiteral("ftp.example.org"), QStringLiteral(" 2121 "), QStringLiteral("u"), QStringLiteral("p"), 1);
    master->Connect(false);
    EXPECT_EQ(client->port(), 2121);
    EXPECT_FALSE(client->isPassive());
    master->SetConnectionData(QStringLiteral("ftp.example.org"), QString(), QStringLiteral("u"), QStringLiteral("p"), 0);
    master->Connect(false);
    EXPECT_EQ(client->port(), 21);
    EXPECT_TRUE(client->isPassive());
    EXPECT_EQ(client->attempts, 2);
}

TEST_F(SessionTest, FailedAttemptsCountTowardsTheRetryLimit)
{
    startServer();
    master->SetConnectionData(server->host(), QString::number(server->port()), server->user(), QStringLiteral("wrong"), 0);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        EXPECT_FALSE(master->Connect(false));
        EXPECT_EQ(master->retryCounter(), attempt);
        ASSERT_EQ(prompts.shown.size(), attempt);
        EXPECT_TRUE(prompts.shown.last().startsWith(QStringLiteral("error: 530 "))) << prompts.shown.last().toStdString();
        EXPECT_EQ(protocol().last(), QStringLiteral("2: ") + prompts.shown.last().mid(7));
    }
    EXPECT_FALSE(master->isConnected());
    EXPECT_FALSE(QFileInfo::exists(folders.appDataFile(QStringLiteral("last-login.ini"))));

    host.calls.clear();
    const qsizetype linesBefore = log.entries().size();
    EXPECT_FALSE(master->Connect(false));
    EXPECT_EQ(prompts.shown.last(), QStringLiteral("error: Maximum number of retries to connect reached!"));
    EXPECT_EQ(host.calls, QStringList{QStringLiteral("idle")});
    EXPECT_EQ(log.entries().size(), linesBefore);

    // The site manager resets the counter before it connects.
    master->resetRetryCounter();
    master->SetConnectionData(server->host(), QString::number(server->port()), server->user(), server->password(), 0);
    EXPECT_TRUE(master->Connect(true));
    EXPECT_EQ(master->retryCounter(), 0);
}

TEST_F(SessionTest, DisconnectQuitsAndEmptiesTheServerGrid)
{
    connectToServer();
    host.calls.clear();
    master->Disconnect();
    EXPECT_FALSE(master->isConnected());
    EXPECT_FALSE(master->connectFailed());
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("busy"), QStringLiteral("clearServerGrid"), QStringLiteral("normal")}));
    EXPECT_TRUE(protocol().contains(QStringLiteral("1: Connection terminated.")));
    EXPECT_FALSE(master->CheckConnection());
}

TEST_F(SessionTest, DisconnectDuringADownloadEndsItAndTheSessionAndClientAgree)
{
    connectToServer();
    server->writeFile(QStringLiteral("big.bin"), QByteArray(48 * 1024 * 1024, 'b'));
    QTemporaryDir localDir;
    const QString target = localDir.filePath(QStringLiteral("big.bin"));
    bool disconnected = false;
    QObject::connect(&master->client(), &FtpClient::workProgressed, &master->client(), [&] {
        if (disconnected)
            return;
        disconnected = true;
        master->Disconnect(); // from inside the wait, as a click in the window would
        EXPECT_FALSE(master->isConnected());
        EXPECT_FALSE(master->client().isConnected());
    });
    try {
        master->client().download(QStringLiteral("big.bin"), target);
        FAIL() << "the download went on after Disconnect";
    } catch (const FtpError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Disconnected."));
        EXPECT_EQ(error.kind(), FtpError::Kind::Aborted);
    }
    EXPECT_TRUE(disconnected);
    EXPECT_FALSE(master->isConnected());
    EXPECT_FALSE(master->client().isConnected());
    EXPECT_FALSE(QFileInfo::exists(target)) << "the partial file is removed";
    EXPECT_FALSE(master->CheckConnection()) << "the connection is gone, not left open behind the session's back";

    // The client works again after the next connect.
    ASSERT_TRUE(master->Connect(false));
    server->writeFile(QStringLiteral("small.bin"), "small");
    ASSERT_NO_THROW(master->client().download(QStringLiteral("small.bin"), localDir.filePath(QStringLiteral("small.bin"))));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

TEST_F(SessionTest, DisconnectWhileTheServerIsSilentEndsTheCommandAtOnce)
{
    // The server never answers CWD: without Disconnect the command would wait for its time-out.
    ScriptedFtpServer scripted;
    scripted.addRule("CWD /silent", "");
    ASSERT_TRUE(scripted.start());
    master->SetConnectionData(QStringLiteral("127.0.0.1"), QString::number(scripted.port()), QStringLiteral("u"),
                              QStringLiteral("p"), 0);
    ASSERT_TRUE(master->Connect(false));
    master->client().setTimeouts({3000, 60000, 60000});
    QTimer::singleShot(0, master.get(), [this] { master->Disconnect(); });
    try {
        master->client().changeDirectory(QStringLiteral("/silent"));
        FAIL() << "CWD answered by a silent server";
    } catch (const FtpError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Disconnected."));
    }
    EXPECT_FALSE(master->isConnected());
    EXPECT_FALSE(master->client().isConnected());
    EXPECT_FALSE(scripted.received("QUIT")) << "no command interleaves with the one cut off";
    for (const QString &line : protocol())
        EXPECT_FALSE(line.contains(QStringLiteral("still running"))) << line.toStdString();

    // A connect cut off by Disconnect is no failed attempt and shows no box.
    ScriptedFtpServer mute;
    mute.setGreeting({});
    ASSERT_TRUE(mute.start());
    master->SetConnectionData(QStringLiteral("127.0.0.1"), QString::number(mute.port()), QStringLiteral("u"), QStringLiteral("p"), 0);
    // Once the connection stands, the client waits for the greeting.
    QObject::connect(&master->client(), &FtpClient::statusReported, master.get(), [this](const QString &status) {
        if (status == u"Connected.")
            master->Disconnect();
    });
    EXPECT_FALSE(master->Connect(false));
    EXPECT_EQ(master->retryCounter(), 0);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(protocol().last(), QStringLiteral("2: Disconnected."));
}

TEST_F(SessionTest, ReconnectsSilentlyAfterAServerRestart)
{
    connectToServer();
    server->writeFile(QStringLiteral("a.txt"), "a");
    ASSERT_TRUE(server->restart()) << server->errorText().toStdString();
    EXPECT_FALSE(master->CheckConnection());
    QStringList records;
    EXPECT_TRUE(master->GetListing(QStringLiteral("/"), records));
    EXPECT_EQ(records.size(), 1);
    EXPECT_EQ(protocolCount(QStringLiteral("1: Try to connect: 127.0.0.1")), 2);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(master->CheckConnection());
}

TEST_F(SessionTest, UnexpectedErrorsReconnectOnlyWhenNotConnected)
{
    connectToServer();
    master->handleUnexpectedError();
    EXPECT_EQ(protocolCount(QStringLiteral("1: Try to connect: 127.0.0.1")), 1);
    master->Disconnect();
    master->handleUnexpectedError();
    EXPECT_TRUE(master->isConnected());
    EXPECT_EQ(protocolCount(QStringLiteral("1: Try to connect: 127.0.0.1")), 2);
}

TEST_F(SessionTest, StatusTextsBecomeProtocolLinesOnce)
{
    master->setCurrentItem(QStringLiteral("Retrieve directory listing /www"));
    for (const char *text : {"Verbunden.", "Transfer abgeschlossen", "Transfer abgeschlossen", "Transfer abgeschlossen",
                             "FTP-Transfer wird gestartet", "Transfer completed", "Transfer abgeschlossen"})
        master->handleStatusText(QString::fromUtf8(text));
    EXPECT_EQ(protocol(), (QStringList{QStringLiteral("1: Connected."), QStringLiteral("1: Transfer finished"),
                                       QStringLiteral("1: Retrieve directory listing /www "),
                                       QStringLiteral("1: Transfer finished")}));
    EXPECT_EQ(master->lastStatusText(), QStringLiteral("Transfer finished"));
}

TEST(LoginFile, KeysInOrderWithTheEncodedPassword)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("last-login.ini");
    LoginData data;
    data.host = QStringLiteral("ftp.example.org");
    data.user = QStringLiteral("m\u00fcller");
    data.password = QStringLiteral("abc");
    data.port = QStringLiteral("2121");
    data.activeMode = 1;
    data.localPath = QStringLiteral("/home/me/");
    data.serverPath = QStringLiteral("/www");
    ASSERT_TRUE(WriteLoginFile(path, data));
    EXPECT_EQ(TestEnvironment::readFile(path),
              QByteArray("[SETTINGS]\r\nHost=ftp.example.org\r\nUser=m\xFCller\r\nPassword=097098099\r\nPort=2121\r\n"
                         "ActivMode=1\r\nLocalPath=/home/me/\r\nServerPath=/www\r\nProtocol=ftp\r\n\r\n"));
    EXPECT_EQ(QFileInfo(path).permissions() & 0x7777, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                                                          | QFileDevice::WriteUser);
    EXPECT_EQ(ReadLoginFile(path), data);

    // Rewriting an existing file that others could read makes it private again.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    ASSERT_TRUE(WriteLoginFile(path, data));
    EXPECT_FALSE(QFileInfo(path).permissions() & QFileDevice::ReadOther);
}

TEST_F(SessionTest, LoadLoginSetsFieldsAndPathBoxesWithoutConnecting)
{
    const QString path = env.writeFile(QStringLiteral("queue.ftp"),
                                       "[SETTINGS]\r\nHost=ftp.example.org\r\nUser=me\r\nPassword=115101099\r\nPort=2121\r\nActivMode=1\r\n");
    host.setLocalPathText(QStringLiteral("/somewhere/"));
    host.setServerPathText(QStringLiteral("/else"));
    EXPECT_TRUE(master->LoadLogin(path));
    EXPECT_EQ(master->host(), QStringLiteral("ftp.example.org"));
    EXPECT_EQ(master->user(), QStringLiteral("me"));
    EXPECT_EQ(master->password(), QStringLiteral("sec"));
    EXPECT_EQ(master->port(), QStringLiteral("2121"));
    EXPECT_EQ(master->activeMode(), 1);
    EXPECT_EQ(host.localPathText(), QStringLiteral("\\"));
    EXPECT_EQ(host.serverPathText(), QStringLiteral("/"));
    EXPECT_TRUE(log.entries().isEmpty());
    EXPECT_FALSE(master->isConnected());

    EXPECT_FALSE(master->LoadLogin(env.root() + QStringLiteral("missing.ftp")));
    EXPECT_EQ(master->host(), QString());
}

TEST_F(SessionTest, SaveLoginWritesTheFieldsAndPathBoxes)
{
    master->SetConnectionData(QStringLiteral("  ftp.example.org "), QStringLiteral("21"), QStringLiteral("u"),
                              QStringLiteral("p\u00e4ss"), 0);
    host.setLocalPathText(QStringLiteral("/l/"));
    host.setServerPathText(QStringLiteral("/s"));
    const QString path = env.root() + QStringLiteral("saved.ftp");
    ASSERT_TRUE(master->SaveLogin(path));
    const LoginData data = ReadLoginFile(path);
    EXPECT_EQ(data.host, QStringLiteral("ftp.example.org"));
    EXPECT_EQ(data.password, QStringLiteral("p\u00e4ss"));
    EXPECT_EQ(data.localPath, QStringLiteral("/l/"));
    EXPECT_EQ(data.serverPath, QStringLiteral("/s"));
}

} // namespace
