// The FTP client against a scripted server, for replies a real server will not give.
#include "ClientTestSupport.h"
#include "QtPrinters.h"
#include "ScriptedFtpServer.h"

#include "engine/ftp/FtpError.h"
#include "engine/ftp/QtFtpClient.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <vector>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class Scripted : public ::testing::Test {
protected:
    void startServer()
    {
        ASSERT_TRUE(server.start());
        client.setHost(QStringLiteral("127.0.0.1"));
        client.setPort(server.port());
        client.setUser(QStringLiteral("velmora"));
        client.setPassword(QStringLiteral("secret"));
        client.setTimeouts({2000, 2000, 2000});
    }
    void connectClient()
    {
        startServer();
        ASSERT_NO_THROW(client.connectAndLogin());
    }
    QList<QByteArray> commandsStartingWith(const QByteArray &prefix) const
    {
        QList<QByteArray> out;
        for (const QByteArray &c : server.commands()) {
            if (c.startsWith(prefix))
                out << c;
        }
        return out;
    }
    QString local(const QString &name) const { return localDir.path() + u'/' + name; }

    ScriptedFtpServer server;
    QtFtpClient client;
    ClientEventLog events{client};
    QTemporaryDir localDir;
};

TEST_F(Scripted, LoginSequenceWithoutFeatures)
{
    connectClient();
    EXPECT_EQ(server.commands(), (QList<QByteArray>{"USER velmora", "PASS secret", "FEAT", "TYPE I", "SYST"}));
    EXPECT_FALSE(client.isUtf8());
}

TEST_F(Scripted, UserAnsweredWith230NeedsNoPassword)
{
    server.addRule("USER velmora", "230 Welcome, no password needed.");
    connectClient();
    EXPECT_TRUE(client.isConnected());
    EXPECT_TRUE(commandsStartingWith("PASS").isEmpty());
}

TEST_F(Scripted, SystRefusedGivesAnUnknownSystem)
{
    server.addRule("SYST", "500 SYST not understood.");
    connectClient();
    EXPECT_EQ(client.systemDescription(), QStringLiteral("Unknown system type"));
}

TEST_F(Scripted, MultiLineRepliesAreReadWhole)
{
    server.setGreeting("220-Welcome to\n220-the scripted server\n   an indented line\n220 Ready.");
    server.addRule("CWD /x", "250-Changed to /x\n250 still inside\n 250 indented\n250 Done.");
    server.addRule("PWD", "257-\"/x\" is current\n257 End.");
    connectClient();
    EXPECT_EQ(client.greeting(), QStringLiteral("Welcome to\nthe scripted server\n   an indented line\nReady."));
    ASSERT_NO_THROW(client.changeDirectory(QStringLiteral("/x")));
    // The next reply belongs to the next command.
    EXPECT_EQ(client.currentDirectory(), QStringLiteral("/x"));
}

TEST_F(Scripted, PasvReplyNamingAnotherHostIsNotFollowed)
{
    server.setEpsvEnabled(false);
    server.setPasvHost("10,9,8,7");
    server.addRule("LIST", "150 Here it comes.\n226 Done.", "line one\r\nline two\r\n");
    connectClient();
    EXPECT_EQ(client.list(), (QStringList{QStringLiteral("line one"), QStringLiteral("line two")}));
    EXPECT_EQ(client.list(), (QStringList{QStringLiteral("line one"), QStringLiteral("line two")}));
    // EPSV was refused once and not asked again.
    EXPECT_EQ(commandsStartingWith("EPSV").size(), 1);
    EXPECT_EQ(commandsStartingWith("PASV").size(), 2);
}

TEST_F(Scripted, ListingLinesKeepBlankLinesAndLastLineWithoutEnd)
{
    server.addRule("LIST", "150 Here.\n226 Done.", "a\r\n\r\nb\nc");
    server.addRule("LIST empty", "226 Nothing to list.");
    connectClient();
    EXPECT_EQ(client.list(), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_TRUE(client.list(QStringLiteral("empty")).isEmpty());
    EXPECT_TRUE(client.listedDates().isEmpty());
}

TEST_F(Scripted, AServerThatNeverAnswersTimesOutAndTheWindowStaysUsable)
{
    server.setGreeting({});
    startServer();
    client.setTimeouts({2000, 300, 300});
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    try {
        client.connectAndLogin();
        FAIL() << "connected to a silent server";
    } catch (const FtpError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Time-out: the server did not answer within 300 ms."));
    }
    EXPECT_GT(ticks, 0) << "the caller's event loop did not run while waiting";
    EXPECT_FALSE(client.isConnected());
}

// A host that never completes the TCP handshake: a listener whose queue of waiting connections
// is full, so the system drops the next handshake instead of answering it. Disconnect (cancel)
// must end the attempt at once, not after the 20 s connect time-out.
TEST(ClientConnect, ACancelEndsAConnectToAHostThatNeverAnswersTheHandshake)
{
    QTcpServer full;
    full.setListenBacklogSize(0);
    ASSERT_TRUE(full.listen(QHostAddress::LocalHost));
    full.pauseAccepting();
    // Fill the queue: these handshakes complete (nobody accepts them); later ones are dropped.
    std::vector<std::unique_ptr<QTcpSocket>> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(std::make_unique<QTcpSocket>());
        fillers.back()->connectToHost(QHostAddress::LocalHost, full.serverPort());
        fillers.back()->waitForConnected(200);
    }
    QtFtpClient client;
    client.setHost(QStringLiteral("127.0.0.1"));
    client.setPort(full.serverPort());
    client.setUser(QStringLiteral("velmora"));
    client.setPassword(QStringLiteral("secret"));
    client.setTimeouts({20000, 20000, 20000});
    QTimer::singleShot(300, &client, [&client] { client.cancel(); });
    QElapsedTimer clock;
    clock.start();
    try {
        client.connectAndLogin();
        FAIL() << "connected to a host that never answered";
    } catch (const FtpError &error) {
        EXPECT_EQ(error.kind(), FtpError::Kind::Aborted) << error.message().toStdString();
        EXPECT_FALSE(error.message().contains(QStringLiteral("no answer within"))) << error.message().toStdString();
    }
    EXPECT_FALSE(client.isConnected());
    // Not a speed figure: before the cancel was looked at, the attempt ran its whole 20 s.
    EXPECT_LT(clock.elapsed(), 10000) << "the cancel waited for the connect time-out";
}

TEST_F(Scripted, ASilentCommandDropsTheConnection)
{
    server.addRule("PWD", "");
    connectClient();
    client.setTimeouts({2000, 200, 200});
    EXPECT_THROW(client.currentDirectory(), FtpError);
    EXPECT_FALSE(client.isConnected());
    try {
        client.changeDirectory(QStringLiteral("/"));
        FAIL();
    } catch (const FtpError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Not connected."));
    }
}

TEST_F(Scripted, ServerClosingWith421Disconnects)
{
    server.addRule("CWD /busy", "421 Too many users, closing.");
    connectClient();
    try {
        client.changeDirectory(QStringLiteral("/busy"));
        FAIL();
    } catch (const FtpError &error) {
        EXPECT_EQ(error.replyCode(), 421);
    }
    EXPECT_FALSE(client.isConnected());
}

TEST_F(Scripted, InvalidReplyIsAnError)
{
    server.addRule("PWD", "this is no reply");
    connectClient();
    try {
        client.currentDirectory();
        FAIL();
    } catch (const FtpError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("The server sent an invalid reply: this is no reply"));
    }
    EXPECT_FALSE(client.isConnected());
}

TEST_F(Scripted, TypeIsSentOnlyWhenItChanges)
{
    connectClient();
    client.setTransferType(FtpClient::TransferType::Binary);
    client.setTransferType(FtpClient::TransferType::Ascii);
    client.setTransferType(FtpClient::TransferType::Ascii);
    client.setTransferType(FtpClient::TransferType::Binary);
    EXPECT_EQ(commandsStartingWith("TYPE"), (QList<QByteArray>{"TYPE I", "TYPE A", "TYPE I"}));
}

// A real server turns CR LF back into its own line ends, so only the bytes on the wire show
// whether an ASCII upload was converted. The 256 KiB cases put a line end across the client's
// read chunks.
TEST_F(Scripted, AsciiUploadsSendCrLfOnTheWireAndBinaryUploadsSendTheFile)
{
    connectClient();
    const QByteArray chunk(256 * 1024, 'x');
    const struct {
        const char *name;
        FtpClient::TransferType type;
        QByteArray file;
        QByteArray wire;
    } cases[] = {
        {"lf", FtpClient::TransferType::Ascii, "one\ntwo\n", "one\r\ntwo\r\n"},
        {"crlf", FtpClient::TransferType::Ascii, "one\r\ntwo\r\n", "one\r\ntwo\r\n"},
        {"lone-cr", FtpClient::TransferType::Ascii, "one\rtwo\n\r", "one\rtwo\r\n\r"},
        {"no-end", FtpClient::TransferType::Ascii, "one\nlast", "one\r\nlast"},
        {"empty-lines", FtpClient::TransferType::Ascii, "\n\n", "\r\n\r\n"},
        {"crlf-across-chunks", FtpClient::TransferType::Ascii, chunk.left(chunk.size() - 1) + "\r\ny\n",
         chunk.left(chunk.size() - 1) + "\r\ny\r\n"},
        {"lf-starting-a-chunk", FtpClient::TransferType::Ascii, chunk + "\nz", chunk + "\r\nz"},
        {"binary", FtpClient::TransferType::Binary, "one\ntwo\r\nthree\r", "one\ntwo\r\nthree\r"},
    };
    for (const auto &c : cases) {
        const QString name = QString::fromLatin1(c.name);
        {
            QFile file(local(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.file);
        }
        client.setTransferType(c.type);
        ASSERT_NO_THROW(client.upload(local(name), name)) << c.name;
        const QByteArray sent = server.upload(c.name);
        EXPECT_TRUE(sent == c.wire) << c.name << ": " << sent.size() << " bytes, ending "
                                    << sent.right(24).toPercentEncoding().constData();
    }
    EXPECT_EQ(commandsStartingWith("TYPE"), (QList<QByteArray>{"TYPE I", "TYPE A", "TYPE I"}));
}

TEST_F(Scripted, NamesGoBackByteForByte)
{
    server.addRule("FEAT", "211-Features:\n UTF8\n EPSV\n211 End");
    server.addRule("LIST", "150 Here.\n226 Done.",
                   "-rw-r--r-- 1 u g 3 Jan  1  2010 caf\xE9 au lait.txt\r\n"
                   "-rw-r--r-- 1 u g 3 Jan  1  2010 \xC3\xBC" "ber.txt\r\n");
    server.addRule("RETR", "150 Sending.\n226 Done.", "abc");
    connectClient();
    EXPECT_TRUE(server.received("OPTS UTF8 ON"));
    const QStringList lines = client.list();
    ASSERT_EQ(lines.size(), 2);
    const QString legacy = QString::fromUtf8("caf\u00e9 au lait.txt");
    const QString utf8 = QString::fromUtf8("\u00fcber.txt");
    EXPECT_TRUE(lines[0].endsWith(legacy));
    EXPECT_TRUE(lines[1].endsWith(utf8));
    ASSERT_NO_THROW(client.download(legacy, local(QStringLiteral("1"))));
    ASSERT_NO_THROW(client.download(QStringLiteral("/dir/") + utf8, local(QStringLiteral("2"))));
    EXPECT_TRUE(server.received("RETR caf\xE9 au lait.txt"));
    EXPECT_TRUE(server.received("RETR /dir/\xC3\xBC" "ber.txt"));
}

TEST_F(Scripted, WithoutUtf8NamesAreWindows1252)
{
    server.addRule("LIST", "150 Here.\n226 Done.", "-rw-r--r-- 1 u g 3 Jan  1  2010 caf\xE9.txt\r\n");
    server.addRule("DELE", "250 Deleted.");
    connectClient();
    const QString name = client.list().first().section(u' ', -1);
    EXPECT_EQ(name, QString::fromUtf8("caf\u00e9.txt"));
    ASSERT_NO_THROW(client.deleteFile(name));
    EXPECT_TRUE(server.received("DELE caf\xE9.txt"));
}

TEST_F(Scripted, DownloadRefusesAnExistingLocalFileWithoutAskingTheServer)
{
    connectClient();
    const QString path = local(QStringLiteral("there.txt"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    const qsizetype before = server.commands().size();
    try {
        client.download(QStringLiteral("there.txt"), path);
        FAIL();
    } catch (const FtpError &error) {
        EXPECT_EQ(error.kind(), FtpError::Kind::Local);
        EXPECT_EQ(error.message(), QStringLiteral("The local file already exists: ") + path);
    }
    EXPECT_EQ(server.commands().size(), before);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keep me"));
}

TEST_F(Scripted, AnnouncedSizeStartsTheWork)
{
    server.addRule("RETR", "150 Opening BINARY mode data connection for a (5 bytes).\n226 Done.", "hello");
    connectClient();
    FtpTransferResult moved;
    ASSERT_NO_THROW(moved = client.download(QStringLiteral("a"), local(QStringLiteral("a"))));
    EXPECT_TRUE(events.events.contains(QStringLiteral("begin: download 5")));
    EXPECT_EQ(events.lastWork, 5);
    EXPECT_EQ(moved.announcedBytes, 5);
    EXPECT_EQ(moved.wireBytes, 5);
}

TEST_F(Scripted, ADownloadEndingShortIsReportedAsItCame)
{
    // The server closes the data connection early and still says 226: the client reports what
    // arrived; judging it is the caller's part.
    server.addRule("RETR short", "150 Opening BINARY mode data connection for short (10 bytes).\n226 Transfer complete.", "12345");
    server.addRule("RETR text", "150 Sending.\n226 Done.", "a\r\nb\r\n");
    connectClient();
    FtpTransferResult moved;
    ASSERT_NO_THROW(moved = client.download(QStringLiteral("short"), local(QStringLiteral("short"))));
    EXPECT_EQ(moved.announcedBytes, 10);
    EXPECT_EQ(moved.wireBytes, 5);
    EXPECT_EQ(moved.fileBytes, 5);
    EXPECT_TRUE(events.events.contains(QStringLiteral("begin: download 10")));

    client.setTransferType(FtpClient::TransferType::Ascii);
    ASSERT_NO_THROW(moved = client.download(QStringLiteral("text"), local(QStringLiteral("text"))));
    EXPECT_EQ(moved.announcedBytes, -1);
    EXPECT_EQ(moved.wireBytes, 6) << "counted before the line ends are converted";
    EXPECT_EQ(moved.fileBytes, 4);
    EXPECT_TRUE(events.events.contains(QStringLiteral("begin: download 0"))) << "an unknown size starts the work with 0";
}

TEST_F(Scripted, LineBreaksInArgumentsAreRefused)
{
    connectClient();
    EXPECT_THROW(client.rename(QStringLiteral("a\r\nDELE x"), QStringLiteral("b")), FtpError);
    EXPECT_THROW(client.makeDirectory(QStringLiteral("x\ny")), FtpError);
    EXPECT_FALSE(server.received("DELE x"));
    EXPECT_TRUE(commandsStartingWith("RNFR").isEmpty());
    EXPECT_TRUE(client.isConnected());
}

TEST_F(Scripted, FailedTransferReplyRemovesThePartialFile)
{
    server.addRule("RETR", "150 Sending.\n451 Local error in processing.", "partial");
    connectClient();
    try {
        client.download(QStringLiteral("f"), local(QStringLiteral("f")));
        FAIL();
    } catch (const FtpError &error) {
        EXPECT_EQ(error.replyCode(), 451);
    }
    EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("f"))));
    EXPECT_TRUE(client.isConnected());
}

} // namespace
