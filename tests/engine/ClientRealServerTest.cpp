// The FTP client against a real server (pyftpdlib on loopback).
#include "ClientTestSupport.h"
#include "FtpTestServer.h"
#include "QtPrinters.h"

#include "engine/ftp/FtpError.h"
#include "engine/ftp/ListingLine.h"
#include "engine/ftp/QtFtpClient.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QByteArray readLocal(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeLocal(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct Mode {
    const char *name;
    bool passive;
    bool refuseEpsv;
    bool ipv6;
};

class RealServer : public ::testing::Test {
protected:
    void startServer(FtpTestServer::Setup setup = {})
    {
        server = std::make_unique<FtpTestServer>(setup);
        ASSERT_TRUE(server->start()) << server->errorText().toStdString();
        client.setHost(server->host());
        client.setPort(server->port());
        client.setUser(server->user());
        client.setPassword(server->password());
        client.setTimeouts({5000, 10000, 10000});
    }
    void connectClient()
    {
        startServer();
        ASSERT_NO_THROW(client.connectAndLogin());
    }
    QString local(const QString &name) const { return localDir.path() + u'/' + name; }

    std::unique_ptr<FtpTestServer> server;
    QtFtpClient client;
    ClientEventLog events{client};
    QTemporaryDir localDir;
};

TEST_F(RealServer, ConnectsAndLogsIn)
{
    connectClient();
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(client.greeting(), QStringLiteral("Velmora test server ready."));
    EXPECT_EQ(client.systemDescription(), QStringLiteral("UNIX Type: L8"));
    EXPECT_TRUE(client.isUtf8());
    EXPECT_EQ(client.currentDirectory(), QStringLiteral("/"));
    EXPECT_EQ(events.events.count(QStringLiteral("connected")), 1);
    EXPECT_TRUE(events.events.contains(QStringLiteral("status: Connection established")));

    client.quit();
    EXPECT_FALSE(client.isConnected());
    EXPECT_TRUE(events.events.contains(QStringLiteral("status: Connection terminated.")));
    try {
        client.currentDirectory();
        FAIL() << "PWD after QUIT";
    } catch (const FtpError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Not connected."));
    }
}

TEST_F(RealServer, WrongPasswordIsRefused)
{
    startServer();
    client.setPassword(QStringLiteral("wrong"));
    try {
        client.connectAndLogin();
        FAIL() << "logged in with a wrong password";
    } catch (const FtpError &error) {
        EXPECT_TRUE(error.isRefusal());
        EXPECT_EQ(error.replyCode(), 530);
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("530 "))) << error.message().toStdString();
    }
    EXPECT_FALSE(client.isConnected());
    EXPECT_FALSE(events.events.contains(QStringLiteral("connected")));
}

TEST_F(RealServer, ConnectionRefusedGivesAClearMessage)
{
    startServer();
    server->stop();
    try {
        client.connectAndLogin();
        FAIL() << "connected to a stopped server";
    } catch (const FtpError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Could not connect to 127.0.0.1 port "))) << error.message().toStdString();
        EXPECT_FALSE(error.isRefusal());
    }
}

class Transfers : public RealServer, public ::testing::WithParamInterface<Mode> {};

TEST_P(Transfers, BinaryFilesTravelUnchangedBothWays)
{
    const Mode mode = GetParam();
    if (mode.ipv6 && !FtpTestServer::hasIpv6Loopback())
        GTEST_SKIP() << "no IPv6 loopback on this machine";
    FtpTestServer::Setup setup;
    setup.refuseEpsv = mode.refuseEpsv;
    if (mode.ipv6)
        setup.host = QStringLiteral("::1");
    startServer(setup);
    client.setPassive(mode.passive);
    ASSERT_NO_THROW(client.connectAndLogin());

    const QByteArray sample = binarySample();
    writeLocal(local(QStringLiteral("up.bin")), sample);
    ASSERT_NO_THROW(client.upload(local(QStringLiteral("up.bin")), QStringLiteral("copy.bin")));
    EXPECT_EQ(server->readFile(QStringLiteral("copy.bin")), sample);
    EXPECT_TRUE(events.events.contains(QStringLiteral("begin: upload %1").arg(sample.size())));
    EXPECT_TRUE(events.events.contains(QStringLiteral("work: upload %1").arg(sample.size())));
    EXPECT_EQ(events.events.last(), QStringLiteral("status: Transfer completed"));

    ASSERT_NO_THROW(client.download(QStringLiteral("copy.bin"), local(QStringLiteral("down.bin"))));
    EXPECT_EQ(readLocal(local(QStringLiteral("down.bin"))), sample);
    EXPECT_EQ(events.lastWork, sample.size());
    EXPECT_TRUE(events.events.contains(QStringLiteral("end: download")));

    const QStringList lines = client.list();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral(" copy.bin"))) << lines.first().toStdString();
    EXPECT_EQ(client.listedDates().size(), 1);
    EXPECT_TRUE(client.listedDates().first().isValid());
}

INSTANTIATE_TEST_SUITE_P(Modes, Transfers,
                         ::testing::Values(Mode{"passive_epsv", true, false, false}, Mode{"passive_pasv", true, true, false},
                                           Mode{"active_port", false, false, false}, Mode{"ipv6_epsv", true, false, true},
                                           Mode{"ipv6_eprt", false, false, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(RealServer, AsciiTextDownloadedAndUploadedAgainIsUnchanged)
{
    connectClient();
    const QByteArray text = "first line\nzweite Zeile \xC3\xA4\xC3\xB6\xC3\xBC\n\n\tindented\nlast line without end";
    server->writeFile(QStringLiteral("text.txt"), text);
    client.setTransferType(FtpClient::TransferType::Ascii);
    ASSERT_NO_THROW(client.download(QStringLiteral("text.txt"), local(QStringLiteral("text.txt"))));
    EXPECT_EQ(readLocal(local(QStringLiteral("text.txt"))), text);
    ASSERT_NO_THROW(client.upload(local(QStringLiteral("text.txt")), QStringLiteral("again.txt")));
    EXPECT_EQ(server->readFile(QStringLiteral("again.txt")), text);
    // The server answers SIZE only in binary mode.
    EXPECT_EQ(client.size(QStringLiteral("text.txt")), -1);
    client.setTransferType(FtpClient::TransferType::Binary);
    EXPECT_EQ(client.size(QStringLiteral("text.txt")), text.size());
}

TEST_F(RealServer, FileAndFolderCommands)
{
    connectClient();
    server->writeFile(QStringLiteral("a.txt"), "abc");
    ASSERT_NO_THROW(client.makeDirectory(QStringLiteral("/New Folder")));
    EXPECT_TRUE(QFileInfo(server->localPath(QStringLiteral("New Folder"))).isDir());
    ASSERT_NO_THROW(client.changeDirectory(QStringLiteral("/New Folder")));
    EXPECT_EQ(client.currentDirectory(), QStringLiteral("/New Folder"));
    ASSERT_NO_THROW(client.rename(QStringLiteral("/a.txt"), QStringLiteral("/New Folder/b.txt")));
    EXPECT_EQ(server->readFile(QStringLiteral("New Folder/b.txt")), QByteArray("abc"));
    ASSERT_NO_THROW(client.site(QStringLiteral("CHMOD 600 b.txt")));
    const QFileDevice::Permissions unixBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFileInfo(server->localPath(QStringLiteral("New Folder/b.txt"))).permissions() & unixBits,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(client.size(QStringLiteral("b.txt")), 3);
    EXPECT_EQ(client.size(QStringLiteral("missing.txt")), -1);
    ASSERT_NO_THROW(client.deleteFile(QStringLiteral("b.txt")));
    EXPECT_FALSE(QFileInfo::exists(server->localPath(QStringLiteral("New Folder/b.txt"))));
    ASSERT_NO_THROW(client.changeDirectory(QStringLiteral("/")));
    ASSERT_NO_THROW(client.removeDirectory(QStringLiteral("New Folder")));
    EXPECT_FALSE(QFileInfo::exists(server->localPath(QStringLiteral("New Folder"))));
}

TEST_F(RealServer, RefusedCommandsRaiseAndKeepTheConnection)
{
    connectClient();
    const QList<std::pair<const char *, std::function<void()>>> refused = {
        {"CWD", [&] { client.changeDirectory(QStringLiteral("/missing")); }},
        {"DELE", [&] { client.deleteFile(QStringLiteral("missing.txt")); }},
        {"RMD", [&] { client.removeDirectory(QStringLiteral("missing")); }},
        {"RNFR", [&] { client.rename(QStringLiteral("missing"), QStringLiteral("other")); }},
        {"SITE", [&] { client.site(QStringLiteral("CHMOD 644 missing.txt")); }},
        {"LIST .*", [&] { client.list(QStringLiteral(".*")); }},
        {"STOR", [&] { client.upload(local(QStringLiteral("missing-local.bin")), QStringLiteral("x")); }},
    };
    for (const auto &[name, call] : refused) {
        EXPECT_THROW(call(), FtpError) << name;
        EXPECT_TRUE(client.isConnected()) << name;
    }
    // RETR of a missing file leaves no local file behind.
    EXPECT_THROW(client.download(QStringLiteral("missing.txt"), local(QStringLiteral("m.txt"))), FtpError);
    EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("m.txt"))));
    EXPECT_EQ(client.currentDirectory(), QStringLiteral("/"));
}

TEST_F(RealServer, ListsWithAndWithoutSpecifier)
{
    connectClient();
    server->writeFile(QStringLiteral("sub/inner.txt"), "x");
    server->writeFile(QStringLiteral("top.txt"), "y");
    const QStringList root = client.list();
    ASSERT_EQ(root.size(), 2);
    EXPECT_TRUE(root[0].startsWith(u'd') && root[0].endsWith(QStringLiteral(" sub"))) << root[0].toStdString();
    const QStringList sub = client.list(QStringLiteral(" sub "));
    ASSERT_EQ(sub.size(), 1);
    EXPECT_TRUE(sub[0].endsWith(QStringLiteral(" inner.txt")));
    ASSERT_NO_THROW(client.changeDirectory(QStringLiteral("sub")));
    EXPECT_EQ(client.list(), sub);
}

TEST_F(RealServer, NamesWithAnyCharactersRoundTrip)
{
    connectClient();
    const QStringList names = {QStringLiteral("a b  c.txt"), QString::fromUtf8("\u00dcmlaut \u00e4\u00f6\u00fc \u00df.txt"),
                               QStringLiteral(".hidden"), QStringLiteral("-dash"), QStringLiteral("semi;colon,comma'quote\""),
                               QStringLiteral(" leading blank.txt"), QStringLiteral("leading blank.txt")};
    for (const QString &name : names) {
        writeLocal(local(QStringLiteral("src")), name.toUtf8());
        ASSERT_NO_THROW(client.upload(local(QStringLiteral("src")), name)) << name.toStdString();
        QFile::remove(local(QStringLiteral("src")));
    }
    QStringList listed;
    for (const QString &line : client.list())
        listed << SplitListingLine(line).name().toString();
    for (const QString &name : names) {
        EXPECT_TRUE(listed.contains(name)) << name.toStdString();
        EXPECT_EQ(server->readFile(name), name.toUtf8()) << name.toStdString();
        const QString copy = local(QStringLiteral("copy"));
        ASSERT_NO_THROW(client.download(name, copy)) << name.toStdString();
        EXPECT_EQ(readLocal(copy), name.toUtf8());
        QFile::remove(copy);
        ASSERT_NO_THROW(client.rename(name, name + QStringLiteral(" renamed")));
        EXPECT_EQ(server->readFile(name + QStringLiteral(" renamed")), name.toUtf8());
    }
}

TEST_F(RealServer, CommandsNeverInterleave)
{
    connectClient();
    server->writeFile(QStringLiteral("data.bin"), QByteArray(4 * 1024 * 1024, 'x'));
    QStringList refused;
    QObject guard;
    QObject::connect(&client, &FtpClient::workProgressed, &guard, [&] {
        EXPECT_TRUE(client.isBusy());
        try {
            client.currentDirectory();
        } catch (const FtpError &error) {
            refused << error.message();
        }
    });
    ASSERT_NO_THROW(client.download(QStringLiteral("data.bin"), local(QStringLiteral("data.bin"))));
    ASSERT_FALSE(refused.isEmpty());
    EXPECT_EQ(refused.first(), QStringLiteral("Another FTP command is still running."));
    EXPECT_FALSE(client.isBusy());
    EXPECT_EQ(QFileInfo(local(QStringLiteral("data.bin"))).size(), 4 * 1024 * 1024);
    EXPECT_EQ(client.currentDirectory(), QStringLiteral("/"));
}

TEST_F(RealServer, AbortEndsALargeDownloadAndKeepsTheConnection)
{
    connectClient();
    {
        QFile big(server->localPath(QStringLiteral("big.bin")));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(qint64(1) << 30)); // sparse: no disk space needed
    }
    int progressCalls = 0;
    QObject guard;
    QObject::connect(&client, &FtpClient::workProgressed, &guard, [&] {
        ++progressCalls;
        client.abort();
    });
    try {
        client.download(QStringLiteral("big.bin"), local(QStringLiteral("big.bin")));
        FAIL() << "the download was not aborted";
    } catch (const FtpError &error) {
        EXPECT_EQ(error.kind(), FtpError::Kind::Aborted);
        EXPECT_EQ(error.message(), QStringLiteral("Transfer aborted"));
    }
    EXPECT_GE(progressCalls, 1);
    EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("big.bin"))));
    EXPECT_TRUE(events.events.contains(QStringLiteral("status: Transfer aborted")));
    EXPECT_TRUE(events.events.contains(QStringLiteral("end: download")));
    // The control connection is still in step.
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(client.currentDirectory(), QStringLiteral("/"));
    QObject::disconnect(&client, nullptr, &guard, nullptr);
    server->writeFile(QStringLiteral("small.txt"), "small");
    ASSERT_NO_THROW(client.download(QStringLiteral("small.txt"), local(QStringLiteral("small.txt"))));
    EXPECT_EQ(readLocal(local(QStringLiteral("small.txt"))), QByteArray("small"));
}

} // namespace

namespace {

// A download that stops part of the way keeps what arrived when it was a continuation, and the
// next continuation goes on from there with REST: the file ends up whole and byte for byte.
TEST_F(RealServer, AnInterruptedContinuationKeepsItsBytesAndTheNextOneFinishesTheFile)
{
    // The server stops sending after 1 MiB until the client aborts.
    FtpTestServer::Setup held;
    held.holdTransfersAfter = 1024 * 1024;
    startServer(held);
    ASSERT_NO_THROW(client.connectAndLogin());
    ASSERT_TRUE(client.canResume()) << "pyftpdlib offers REST STREAM";
    QByteArray content(3 * 1024 * 1024, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = char((i * 131 + i / 977) & 0xFF);
    server->writeFile(QStringLiteral("big.bin"), content);
    const QString part = local(QStringLiteral("big.bin.part"));
    {
        QFile empty(part);
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    }
    QObject guard;
    QObject::connect(&client, &FtpClient::workProgressed, &guard, [&](FtpClient::Direction, qint64 bytes) {
        if (bytes >= held.holdTransfersAfter)
            client.abort();
    });
    EXPECT_THROW(client.resumeDownload(QStringLiteral("big.bin"), part), FtpError);
    QObject::disconnect(&client, nullptr, &guard, nullptr);
    const qint64 kept = QFileInfo(part).size();
    EXPECT_GT(kept, 0) << "what arrived stays";
    EXPECT_LT(kept, content.size());
    EXPECT_EQ(readLocal(part), content.left(kept));

    // The server comes back without the hold (every connection dropped), the client connects again.
    server->setHoldTransfersAfter(0);
    ASSERT_TRUE(server->restart());
    ASSERT_NO_THROW(client.connectAndLogin());
    const FtpTransferResult result = client.resumeDownload(QStringLiteral("big.bin"), part);
    EXPECT_EQ(result.fileBytes, content.size() - kept) << "only the rest travelled";
    EXPECT_TRUE(readLocal(part) == content) << "the file is whole";
    EXPECT_TRUE(client.isConnected());
}

// An upload goes on from the bytes the server holds (REST + STOR), and the end of a remote file
// can be read back to compare it; a remote file longer than asked fails that read, and the
// connection stays in step either way.
TEST_F(RealServer, AnUploadContinuesAfterTheServersBytesAndARemoteEndReadsBack)
{
    connectClient();
    ASSERT_TRUE(client.canResume());
    QByteArray content(2 * 1024 * 1024 + 77, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = char((i * 37 + i / 1013) & 0xFF);
    const qint64 held = 1000003;
    server->writeFile(QStringLiteral("up.bin"), content.left(held));
    QFile source(local(QStringLiteral("up.bin")));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(content);
    source.close();

    EXPECT_TRUE(client.readFrom(QStringLiteral("up.bin"), held - 4096, 4096) == content.mid(held - 4096, 4096));
    EXPECT_THROW(client.readFrom(QStringLiteral("up.bin"), held - 4096, 4095), FtpError);
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(client.modificationTime(QStringLiteral("up.bin")).timeSpec(), Qt::UTC);
    EXPECT_FALSE(client.modificationTime(QStringLiteral("missing.bin")).isValid());

    const FtpTransferResult moved = client.resumeUpload(local(QStringLiteral("up.bin")), QStringLiteral("up.bin"), held);
    EXPECT_EQ(moved.fileBytes, content.size() - held) << "only the rest travelled";
    EXPECT_TRUE(server->readFile(QStringLiteral("up.bin")) == content) << "the server's file is not whole";
    EXPECT_EQ(client.size(QStringLiteral("up.bin")), content.size());
    client.setTransferType(FtpClient::TransferType::Ascii);
    EXPECT_THROW(client.resumeUpload(local(QStringLiteral("up.bin")), QStringLiteral("up.bin"), held), FtpError);
    EXPECT_TRUE(server->readFile(QStringLiteral("up.bin")) == content) << "a refused continuation sends nothing";
}

TEST_F(RealServer, AContinuationInAsciiModeOrOfAMissingFileIsRefusedBeforeAnythingIsSent)
{
    connectClient();
    server->writeFile(QStringLiteral("a.txt"), "text\n");
    client.setTransferType(FtpClient::TransferType::Ascii);
    const QString part = local(QStringLiteral("a.txt.part"));
    {
        QFile some(part);
        ASSERT_TRUE(some.open(QIODevice::WriteOnly));
        some.write("te");
    }
    EXPECT_THROW(client.resumeDownload(QStringLiteral("a.txt"), part), FtpError);
    client.setTransferType(FtpClient::TransferType::Binary);
    EXPECT_THROW(client.resumeDownload(QStringLiteral("a.txt"), local(QStringLiteral("missing.part"))), FtpError);
    EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("missing.part"))));
    EXPECT_EQ(readLocal(part), QByteArray("te"));
    ASSERT_NO_THROW(client.resumeDownload(QStringLiteral("a.txt"), part));
    EXPECT_EQ(readLocal(part), QByteArray("text\n"));
}

} // namespace
