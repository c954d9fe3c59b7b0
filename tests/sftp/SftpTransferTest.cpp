#include "SftpTestSupport.h"
#include "engine/sftp/SftpProtocol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fstream>

using namespace Velmora;
using namespace Velmora::Testing;
using Answer = SshHostKeyTrust::Answer;

namespace {

QByteArray randomBytes(qint64 size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(seed);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char(generator.bounded(256));
    return bytes;
}

QByteArray readLocal(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeLocal(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// A file of this size without writing it: the server reads zeros, as many as it has.
void makeSparse(const QString &path, qint64 size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(size));
}

struct TransferCase {
    const char *name;
    QByteArray content;
};

// The names and contents every transfer must carry unchanged: nothing, one byte, binary bytes
// with NULs and every byte value, sizes on and next to the piece boundaries of reads and
// writes, a few MiB that do not end on a piece boundary, blanks, umlauts and a leading blank.
QList<TransferCase> transferCases()
{
    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes.append(char(i));
    return {
        {"empty.bin", QByteArray()},
        {"nul and every byte.bin", allBytes + QByteArray(100, '\0') + allBytes + "\r\n\n\r"},
        {"one byte.bin", QByteArray(1, '\xff')},
        {"one read piece.bin", randomBytes(int(SftpProtocol::ReadChunk), 11)},
        {"one read piece and one byte.bin", randomBytes(int(SftpProtocol::ReadChunk) + 1, 12)},
        {"two write pieces.bin", randomBytes(int(2 * SftpProtocol::WriteChunk), 13)},
        {"two write pieces less one byte.bin", randomBytes(int(2 * SftpProtocol::WriteChunk) - 1, 14)},
        {"größere Datei.bin", randomBytes(5 * 1024 * 1024 + 123, 7)},
        {" leading blank.txt", "line one\r\nline two\n"},
    };
}

class SftpTransferTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = new SshTestServer;
        ASSERT_TRUE(server->start()) << qPrintable(server->errorText());
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(server, nullptr);
        ASSERT_TRUE(work.isValid());
        QDir(server->root()).removeRecursively();
        QDir().mkpath(server->root());
        client = user.client(*server, &trust);
        client->connectAndLogin();
        ASSERT_TRUE(client->isConnected());
    }
    QString local(const QString &name) const { return work.filePath(name); }
    QString remote(const QString &name) const { return server->remotePath(name); }

    static SshTestServer *server;
    SshUserFolder user;
    ScriptedHostKeyTrust trust{{Answer::TrustOnce}};
    std::unique_ptr<SftpClient> client;
    QTemporaryDir work;
};

SshTestServer *SftpTransferTest::server = nullptr;

} // namespace

TEST_F(SftpTransferTest, DownloadIsByteExact)
{
    for (const TransferCase &c : transferCases()) {
        const QString name = QString::fromUtf8(c.name);
        server->writeFile(name, c.content);
        const SftpTransferResult result = client->download(remote(name), local(name));
        EXPECT_EQ(readLocal(local(name)), c.content) << c.name;
        EXPECT_EQ(result.bytes, c.content.size()) << c.name;
        EXPECT_EQ(result.expectedBytes, c.content.size()) << c.name;
    }
}

TEST_F(SftpTransferTest, UploadIsByteExactAndReplacesALongerFile)
{
    for (const TransferCase &c : transferCases()) {
        const QString name = QString::fromUtf8(c.name);
        writeLocal(local(name), c.content);
        // What the upload replaces is longer: nothing of it may remain.
        server->writeFile(name, randomBytes(c.content.size() + 70000, 3));
        const SftpTransferResult result = client->upload(local(name), remote(name));
        EXPECT_EQ(server->readFile(name), c.content) << c.name;
        EXPECT_EQ(result.bytes, c.content.size()) << c.name;
    }
}

// Relative paths start from the current folder, which starts at the home folder.
TEST_F(SftpTransferTest, RelativePathsStartFromTheCurrentFolder)
{
    EXPECT_EQ(client->currentDirectory(), client->realPath(QStringLiteral(".")));
    server->writeFile(QStringLiteral("sub folder/inner.txt"), "inner");
    client->changeDirectory(server->root());
    EXPECT_EQ(client->currentDirectory(), QFileInfo(server->root()).canonicalFilePath());
    client->changeDirectory(QStringLiteral("sub folder"));
    client->download(QStringLiteral("inner.txt"), local(QStringLiteral("inner.txt")));
    EXPECT_EQ(readLocal(local(QStringLiteral("inner.txt"))), "inner");
    client->changeDirectory(QStringLiteral(".."));
    EXPECT_EQ(client->currentDirectory(), QFileInfo(server->root()).canonicalFilePath());

    try {
        client->changeDirectory(QStringLiteral("sub folder/inner.txt"));
        FAIL() << "a file became the current folder";
    } catch (const SftpError &error) {
        EXPECT_EQ(error.kind(), SftpError::Kind::Refused);
    }
}

TEST_F(SftpTransferTest, DownloadRefusesAnExistingLocalFileAndKeepsIt)
{
    server->writeFile(QStringLiteral("a.txt"), "server");
    writeLocal(local(QStringLiteral("a.txt")), "mine");
    try {
        client->download(remote(QStringLiteral("a.txt")), local(QStringLiteral("a.txt")));
        FAIL() << "the download overwrote a local file";
    } catch (const SftpError &error) {
        EXPECT_EQ(error.kind(), SftpError::Kind::Local);
        EXPECT_EQ(error.message(), QStringLiteral("The local file %1 exists already.").arg(local(QStringLiteral("a.txt"))));
    }
    EXPECT_EQ(readLocal(local(QStringLiteral("a.txt"))), "mine");
    EXPECT_TRUE(client->isConnected());
}

TEST_F(SftpTransferTest, FailedDownloadsLeaveNoLocalFile)
{
    struct Case {
        const char *what;
        QString remotePath;
        QString message;
    };
    QDir().mkpath(server->root() + QStringLiteral("/folder"));
    const QList<Case> cases = {
        {"missing", remote(QStringLiteral("missing.txt")), remote(QStringLiteral("missing.txt")) + QStringLiteral(" cannot be downloaded: no such file or folder")},
        {"folder", remote(QStringLiteral("folder")), remote(QStringLiteral("folder")) + QStringLiteral(" cannot be downloaded: it is a folder")},
    };
    for (const Case &c : cases) {
        try {
            client->download(c.remotePath, local(QStringLiteral("target")));
            ADD_FAILURE() << c.what << ": the download succeeded";
        } catch (const SftpError &error) {
            EXPECT_EQ(error.kind(), SftpError::Kind::Refused) << c.what;
            EXPECT_EQ(error.message(), c.message) << c.what;
        }
        EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("target")))) << c.what;
        EXPECT_TRUE(client->isConnected()) << c.what;
    }
}

// A refused upload says why, and the connection goes on in step: also when the server refuses
// writes while several are on their way (a full disk, here /dev/full).
TEST_F(SftpTransferTest, RefusedUploadsSayWhyAndTheConnectionGoesOn)
{
    writeLocal(local(QStringLiteral("data.bin")), randomBytes(3 * 1024 * 1024, 5));
    struct Case {
        const char *what;
        QString remotePath;
        QString message;
    };
    const QList<Case> cases = {
        {"missing folder", remote(QStringLiteral("missing/data.bin")),
         remote(QStringLiteral("missing/data.bin")) + QStringLiteral(" cannot be uploaded: no such file or folder")},
        {"full disk", QStringLiteral("/dev/full"), QStringLiteral("The upload of /dev/full failed: ")},
    };
    for (const Case &c : cases) {
        try {
            client->upload(local(QStringLiteral("data.bin")), c.remotePath);
            ADD_FAILURE() << c.what << ": the upload succeeded";
        } catch (const SftpError &error) {
            EXPECT_EQ(error.kind(), SftpError::Kind::Refused) << c.what;
            EXPECT_TRUE(error.message().startsWith(c.message)) << c.what << ": " << qPrintable(error.message());
        }
        EXPECT_TRUE(client->isConnected()) << c.what;
        server->writeFile(QStringLiteral("after.txt"), c.what);
        EXPECT_EQ(client->size(remote(QStringLiteral("after.txt"))), qint64(strlen(c.what))) << c.what;
    }
}

// The entries come from the server's attributes: kind, the name byte for byte, 64-bit size,
// modification time in UTC, permissions, and links with their target.
TEST_F(SftpTransferTest, ListingGivesTypedEntries)
{
    const QString file = server->writeFile(QStringLiteral("folder/data file.bin"), randomBytes(1234, 1));
    const QDateTime time(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
    {
        QFile touched(file);
        ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
        ASSERT_TRUE(touched.setFileTime(time, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    makeSparse(server->root() + QStringLiteral("/folder/huge.bin"), qint64(5) * 1024 * 1024 * 1024);
    QDir().mkpath(server->root() + QStringLiteral("/folder/sub"));
    ASSERT_TRUE(QFile::link(QStringLiteral("data file.bin"), server->root() + QStringLiteral("/folder/to file")));
    ASSERT_TRUE(QFile::link(QStringLiteral("sub"), server->root() + QStringLiteral("/folder/to sub")));
    ASSERT_TRUE(QFile::link(QStringLiteral("nowhere"), server->root() + QStringLiteral("/folder/dangling")));
    // A name that is not UTF-8 (Latin-1 "ä").
    const QByteArray latin1Name = QByteArray("caf") + char(0xE4);
    std::ofstream(QFile::encodeName(server->root() + QStringLiteral("/folder/")).toStdString() + latin1Name.toStdString());

    QHash<QString, SftpEntry> byName;
    for (const SftpEntry &entry : client->list(remote(QStringLiteral("folder"))))
        byName.insert(entry.name, entry);
    ASSERT_EQ(byName.size(), 7);

    const SftpEntry data = byName.value(QStringLiteral("data file.bin"));
    EXPECT_EQ(data.kind, SftpEntry::Kind::File);
    EXPECT_EQ(data.size, 1234);
    EXPECT_EQ(data.modified, time);
    EXPECT_EQ(data.modified.timeSpec(), Qt::UTC);
    EXPECT_EQ(data.permissions, 0640);
    EXPECT_TRUE(data.linkTarget.isEmpty());

    EXPECT_EQ(byName.value(QStringLiteral("huge.bin")).size, qint64(5) * 1024 * 1024 * 1024);
    EXPECT_EQ(byName.value(QStringLiteral("sub")).kind, SftpEntry::Kind::Folder);

    const SftpEntry toFile = byName.value(QStringLiteral("to file"));
    EXPECT_EQ(toFile.kind, SftpEntry::Kind::Link);
    EXPECT_EQ(toFile.linkTarget, QStringLiteral("data file.bin"));
    EXPECT_EQ(toFile.linkTargetKind, SftpEntry::Kind::File);
    EXPECT_FALSE(toFile.isFolderLike());

    const SftpEntry toSub = byName.value(QStringLiteral("to sub"));
    EXPECT_EQ(toSub.kind, SftpEntry::Kind::Link);
    EXPECT_EQ(toSub.linkTarget, QStringLiteral("sub"));
    EXPECT_TRUE(toSub.isFolderLike());

    const SftpEntry dangling = byName.value(QStringLiteral("dangling"));
    EXPECT_EQ(dangling.kind, SftpEntry::Kind::Link);
    EXPECT_EQ(dangling.linkTarget, QStringLiteral("nowhere"));
    EXPECT_EQ(dangling.linkTargetKind, SftpEntry::Kind::Other);

    bool foundLatin1 = false;
    for (const SftpEntry &entry : byName) {
        if (entry.rawName == latin1Name) {
            foundLatin1 = true;
            EXPECT_FALSE(entry.nameIsUtf8);
        } else {
            EXPECT_TRUE(entry.nameIsUtf8) << qPrintable(entry.name);
            EXPECT_EQ(entry.rawName, entry.name.toUtf8());
        }
    }
    EXPECT_TRUE(foundLatin1);

    // One entry on its own: a link is described as the link.
    const SftpEntry single = client->entry(remote(QStringLiteral("folder/to sub")));
    EXPECT_EQ(single.name, QStringLiteral("to sub"));
    EXPECT_EQ(single.kind, SftpEntry::Kind::Link);
    EXPECT_TRUE(single.isFolderLike());
}

TEST_F(SftpTransferTest, FolderOperationsAndPermissionsChangeTheServer)
{
    const QString folder = remote(QStringLiteral("new folder ä"));
    client->makeDirectory(folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());

    server->writeFile(QStringLiteral("new folder ä/file.txt"), "12345");
    EXPECT_EQ(client->size(folder + QStringLiteral("/file.txt")), 5);
    client->setPermissions(folder + QStringLiteral("/file.txt"), 0604);
    EXPECT_EQ(client->entry(folder + QStringLiteral("/file.txt")).permissions, 0604);
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/file.txt")).permissions()
                  & (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup
                     | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);

    // A folder with a file in it is not removed.
    try {
        client->removeDirectory(folder);
        ADD_FAILURE() << "a folder with a file was removed";
    } catch (const SftpError &error) {
        EXPECT_EQ(error.kind(), SftpError::Kind::Refused);
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("The folder %1 cannot be removed: ").arg(folder)))
            << qPrintable(error.message());
    }
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/file.txt")));

    client->rename(folder + QStringLiteral("/file.txt"), folder + QStringLiteral("/renamed file.txt"));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/file.txt")));
    EXPECT_EQ(server->readFile(QStringLiteral("new folder ä/renamed file.txt")), "12345");

    // Renaming onto an existing file is refused; both stay.
    server->writeFile(QStringLiteral("new folder ä/other.txt"), "other");
    EXPECT_THROW(client->rename(folder + QStringLiteral("/renamed file.txt"), folder + QStringLiteral("/other.txt")),
                 SftpError);
    EXPECT_EQ(server->readFile(QStringLiteral("new folder ä/other.txt")), "other");
    EXPECT_EQ(server->readFile(QStringLiteral("new folder ä/renamed file.txt")), "12345");

    client->deleteFile(folder + QStringLiteral("/renamed file.txt"));
    client->deleteFile(folder + QStringLiteral("/other.txt"));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/renamed file.txt")));
    try {
        client->deleteFile(folder + QStringLiteral("/other.txt"));
        ADD_FAILURE() << "a missing file was deleted";
    } catch (const SftpError &error) {
        EXPECT_EQ(error.kind(), SftpError::Kind::Refused);
        EXPECT_EQ(error.message(), folder + QStringLiteral("/other.txt cannot be deleted: no such file or folder"));
    }
    client->removeDirectory(folder);
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(client->isConnected());
}

// The connection dies while the bytes flow: the transfer fails as a lost connection, no part
// of a downloaded file stays behind, and the client connects again.
TEST_F(SftpTransferTest, DroppedConnectionDuringTransferFailsWhole)
{
    const qint64 size = qint64(256) * 1024 * 1024;
    makeSparse(server->root() + QStringLiteral("/down.bin"), size);
    makeSparse(local(QStringLiteral("up.bin")), size);
    bool dropped = false;
    QObject::connect(client.get(), &SftpClient::workProgressed, [&](SftpClient::Direction, qint64 bytes) {
        if (!dropped && bytes > 0) {
            dropped = true;
            server->dropConnections();
        }
    });
    for (const bool download : {true, false}) {
        dropped = false;
        const QString remotePath = remote(download ? QStringLiteral("down.bin") : QStringLiteral("up.bin"));
        try {
            if (download)
                client->download(remotePath, local(QStringLiteral("down.bin")));
            else
                client->upload(local(QStringLiteral("up.bin")), remotePath);
            ADD_FAILURE() << "the transfer succeeded";
        } catch (const SftpError &error) {
            EXPECT_EQ(error.kind(), SftpError::Kind::Connection);
            const QString expected = download ? QStringLiteral("The download of %1 failed (connection lost)")
                                              : QStringLiteral("The upload of %1 failed (connection lost)");
            EXPECT_TRUE(error.message().startsWith(expected.arg(remotePath))) << qPrintable(error.message());
        }
        EXPECT_TRUE(dropped);
        EXPECT_FALSE(client->isConnected());
        client->connectAndLogin();
    }
    EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("down.bin"))));
    EXPECT_EQ(client->size(remote(QStringLiteral("down.bin"))), size);
}

// Abort from a progress handler: the transfer ends as aborted, the partial local file is gone
// and the connection goes on.
TEST_F(SftpTransferTest, AbortFromProgressStopsTheTransferAndKeepsTheConnection)
{
    makeSparse(server->root() + QStringLiteral("/big.bin"), qint64(256) * 1024 * 1024);
    makeSparse(local(QStringLiteral("up.bin")), qint64(256) * 1024 * 1024);
    const QMetaObject::Connection aborting =
        QObject::connect(client.get(), &SftpClient::workProgressed, [&](SftpClient::Direction, qint64 bytes) {
            if (bytes > 0)
                client->abort();
        });
    for (const bool download : {true, false}) {
        try {
            if (download)
                client->download(remote(QStringLiteral("big.bin")), local(QStringLiteral("big.bin")));
            else
                client->upload(local(QStringLiteral("up.bin")), remote(QStringLiteral("up.bin")));
            ADD_FAILURE() << "the transfer was not aborted";
        } catch (const SftpError &error) {
            EXPECT_EQ(error.kind(), SftpError::Kind::Aborted);
            EXPECT_EQ(error.message(), QStringLiteral("Transfer aborted."));
        }
        EXPECT_TRUE(client->isConnected());
    }
    EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("big.bin"))));
    EXPECT_FALSE(QFileInfo::exists(remote(QStringLiteral("up.bin")))); // the partial upload is removed
    QObject::disconnect(aborting);
    server->writeFile(QStringLiteral("after.txt"), "still here");
    client->download(remote(QStringLiteral("after.txt")), local(QStringLiteral("after.txt")));
    EXPECT_EQ(readLocal(local(QStringLiteral("after.txt"))), "still here");
}

// Cancel drops the connection at once, even in the middle of a transfer.
TEST_F(SftpTransferTest, CancelDuringTransferDisconnects)
{
    makeSparse(server->root() + QStringLiteral("/big.bin"), qint64(256) * 1024 * 1024);
    QObject::connect(client.get(), &SftpClient::workProgressed, [&](SftpClient::Direction, qint64 bytes) {
        if (bytes > 0 && client->isConnected())
            client->cancel();
    });
    try {
        client->download(remote(QStringLiteral("big.bin")), local(QStringLiteral("big.bin")));
        FAIL() << "the download was not cancelled";
    } catch (const SftpError &error) {
        EXPECT_EQ(error.kind(), SftpError::Kind::Aborted);
        EXPECT_EQ(error.message(), QStringLiteral("Disconnected."));
    }
    EXPECT_FALSE(client->isConnected());
    EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("big.bin"))));
    client->connectAndLogin();
    EXPECT_TRUE(client->isConnected());
}

// A server that falls silent does not hang the client: the call fails after the reply time-out
// and the connection is closed.
TEST_F(SftpTransferTest, SilentServerTimesOut)
{
    server->writeFile(QStringLiteral("a.txt"), "a");
    makeSparse(server->root() + QStringLiteral("/big.bin"), qint64(256) * 1024 * 1024);
    client->setTimeouts({20000, 300});
    const QString site = QStringLiteral("127.0.0.1:%1").arg(server->port());
    struct Case {
        const char *what;
        std::function<void()> call;
    };
    bool paused = false;
    // The download falls silent in the middle, after its first bytes.
    QObject::connect(client.get(), &SftpClient::workProgressed, [&](SftpClient::Direction, qint64 bytes) {
        if (bytes > 0 && !paused) {
            paused = true;
            server->pauseConnections(true);
        }
    });
    const QList<Case> cases = {
        {"request",
         [&] {
             paused = true;
             server->pauseConnections(true);
             client->size(remote(QStringLiteral("a.txt")));
         }},
        {"download", [&] { client->download(remote(QStringLiteral("big.bin")), local(QStringLiteral("big.bin"))); }},
    };
    for (const Case &c : cases) {
        paused = false;
        try {
            c.call();
            ADD_FAILURE() << c.what << ": a silent server answered";
        } catch (const SftpError &error) {
            EXPECT_EQ(error.kind(), SftpError::Kind::Connection) << c.what;
            EXPECT_EQ(error.message(), site + QStringLiteral(" did not answer within 0.3 s; the connection was closed."))
                << c.what;
        }
        server->pauseConnections(false);
        EXPECT_TRUE(paused) << c.what;
        EXPECT_FALSE(client->isConnected()) << c.what;
        EXPECT_FALSE(QFileInfo::exists(local(QStringLiteral("big.bin")))) << c.what;
        client->connectAndLogin();
    }
}
