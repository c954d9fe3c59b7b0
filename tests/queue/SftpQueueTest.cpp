// The queue on an SFTP site, as a user runs it: uploads and downloads of trees through the
// builders and the run (byte for byte, empty files, names with blanks, umlauts and a leading
// blank), a deep tree, a server deletion of a tree and a chmod walk, against OpenSSH's sshd.
#include "QueueServerFixture.h"
#include "SshTestServer.h"

#include "engine/ftp/FtpEncryption.h"
#include "filter/TransferModeQuestion.h"
#include "queue/QueueRecord.h"
#include "queue/TransferBuilders.h"
#include "queue/TransferPorts.h"

#include <QRandomGenerator>
#include <QRegularExpression>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    return bytes + QByteArray("\r\n\n\r\0", 5); // line ends a text transfer would change
}

// The main window as the builders see it.
class SelectionHost : public RecordingHost, public TransferHost {
public:
    void listLocalPath() override {}
    void listServerPath() override {}
    QList<SelectionLine> selectionLines(GridSide side) const override { return side == GridSide::Local ? localLines : serverLines; }
    void setLocalPathText(const QString &path) override { localPath = path; }
    void restoreRememberedRow(GridSide) override {}
    void selectRowByName(GridSide, const QString &) override {}
    void focusGrid(GridSide) override {}
    QList<SelectionLine> localLines;
    QList<SelectionLine> serverLines;
};

class BinaryModeQuestion : public TransferModeQuestion {
public:
    bool askTransferMode() override { return true; }
};

class SftpQueueTest : public QueueServerTest {
protected:
    SftpQueueTest()
        : m_agent(qgetenv("SSH_AUTH_SOCK"))
    {
        qunsetenv("SSH_AUTH_SOCK");
        runner->setHost(selection);
        builders = std::make_unique<TransferBuilders>(TransferBuilderSetup{
            context, *master, work, selection, *runner, *walker, walkProgress, selection, modeQuestion, filter, search});
        OptionsData data = options.data();
        data.automaticRunQueue = true;
        options.setData(data);
    }
    ~SftpQueueTest() override
    {
        if (!m_agent.isNull())
            qputenv("SSH_AUTH_SOCK", m_agent);
    }

    void SetUp() override
    {
        ASSERT_TRUE(ssh.start()) << ssh.errorText().toStdString();
        master->SetConnectionData(ssh.host(), QString::number(ssh.port()), ssh.user(), QString(), 0);
        master->setEncryption(FtpEncryption::Sftp);
        master->setKeyFile(ssh.userKeyFile());
        prompts.hostKeyAnswers = {UserPrompts::CertificateAnswer::TrustThisTime};
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
        prompts.clear();
    }

    static SelectionLine localLine(const QString &path)
    {
        const QFileInfo info(path);
        SelectionLine line;
        line.kind = info.isDir() ? EntryKind::Folder : EntryKind::File;
        line.name = info.fileName();
        line.size = info.isDir() ? QString() : QString::number(info.size());
        line.date = info.lastModified().toString(u"MM/dd/yyyy hh:mm:ss");
        return line;
    }
    // A server row as the grid shows it: from the session's own listing.
    SelectionLine serverLine(const QString &folder, const QString &name)
    {
        QList<ListingEntry> entries;
        EXPECT_TRUE(master->GetListing(folder, entries));
        for (const ListingEntry &e : std::as_const(entries)) {
            if (e.name != name)
                continue;
            SelectionLine line;
            line.server = true;
            line.kind = e.kind;
            line.name = e.listedName();
            line.size = e.kind == EntryKind::Folder ? QString() : e.sizeText;
            line.date = e.dateText;
            line.permissions = e.permissions;
            line.owner = e.owner;
            return line;
        }
        ADD_FAILURE() << "not listed: " << name.toStdString();
        return {};
    }

    // A tree of awkward names and sizes below 'base': empty files, blanks, umlauts, a leading
    // blank, binary data, an empty folder and a folder eight levels deep.
    QMap<QString, QByteArray> makeTree(const std::function<QString(const QString &, const QByteArray &)> &write,
                                       const std::function<void(const QString &)> &makeFolder)
    {
        QMap<QString, QByteArray> files;
        files.insert(QStringLiteral("empty.txt"), QByteArray());
        files.insert(QStringLiteral("with blanks.bin"), randomBytes(70000));
        files.insert(QStringLiteral("Grüße übers Meer.txt"), QByteArray("Zeile 1\nZeile 2\r\n"));
        files.insert(QStringLiteral(" leading blank.txt"), QByteArray("lead"));
        files.insert(QStringLiteral("sub dir/Ä ö ü.dat"), randomBytes(1 << 20));
        files.insert(QStringLiteral("sub dir/empty.dat"), QByteArray());
        QString deep = QStringLiteral("d1");
        for (int i = 2; i <= 8; ++i)
            deep += QStringLiteral("/d") + QString::number(i);
        files.insert(deep + QStringLiteral("/bottom.txt"), "bottom");
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            write(it.key(), it.value());
        makeFolder(QStringLiteral("empty folder"));
        return files;
    }

    SshTestServer ssh;
    SelectionHost selection;
    BinaryModeQuestion modeQuestion;
    NoTransferFilter filter;
    NoSearchFollowUp search;
    std::unique_ptr<TransferBuilders> builders;

private:
    QByteArray m_agent;
};

} // namespace

TEST_F(SftpQueueTest, UploadedTreeArrivesByteForByte)
{
    const QString site = local + QStringLiteral("site");
    const QMap<QString, QByteArray> files = makeTree(
        [&](const QString &path, const QByteArray &bytes) { return env.writeFile(QStringLiteral("local/site/") + path, bytes); },
        [&](const QString &path) { QDir().mkpath(site + u'/' + path); });
    QDir().mkpath(ssh.remotePath(QStringLiteral("pub")));
    selection.localPath = local;
    selection.serverPath = ssh.remotePath(QStringLiteral("pub"));
    selection.localLines = {localLine(site)};

    builders->Upload();
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        EXPECT_EQ(ssh.readFile(QStringLiteral("pub/site/") + it.key()), it.value()) << it.key().toStdString();
    EXPECT_TRUE(QFileInfo(ssh.remotePath(QStringLiteral("pub/site/empty folder"))).isDir());
    EXPECT_TRUE(protocol().filter(QRegularExpression(QStringLiteral("^2: "))).isEmpty()) << protocol().join(u'\n').toStdString();

    // Uploading again replaces every file (the queue's overwrite question says so once).
    question.answers = {{false, true, false, true}};
    ssh.writeFile(QStringLiteral("pub/site/empty.txt"), "not empty any more");
    builders->Upload();
    EXPECT_EQ(ssh.readFile(QStringLiteral("pub/site/empty.txt")), QByteArray());
}

TEST_F(SftpQueueTest, DownloadedTreeArrivesByteForByte)
{
    const QMap<QString, QByteArray> files = makeTree(
        [&](const QString &path, const QByteArray &bytes) { return ssh.writeFile(QStringLiteral("www/") + path, bytes); },
        [&](const QString &path) { QDir().mkpath(ssh.remotePath(QStringLiteral("www/") + path)); });
    ssh.writeFile(QStringLiteral("readme.md"), "hello\n");
    selection.localPath = local;
    selection.serverPath = ssh.root();
    selection.serverLines = {serverLine(ssh.root(), QStringLiteral("www")), serverLine(ssh.root(), QStringLiteral("readme.md"))};

    builders->Download();
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        EXPECT_EQ(readLocal(local + QStringLiteral("www/") + it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(readLocal(local + QStringLiteral("readme.md")), "hello\n");
    EXPECT_TRUE(QFileInfo(local + QStringLiteral("www/empty folder")).isDir());
    EXPECT_TRUE(QFileInfo(local + QStringLiteral("www/d1/d2/d3/d4/d5/d6/d7/d8/bottom.txt")).isFile());
}

// With "Simultaneous transfers" 4 the files travel on four more SSH connections; the host key
// the user trusted for this program run only holds for them without asking again.
TEST_F(SftpQueueTest, ATreeGoesDownAndUpOnFourConnections)
{
    OptionsData data = options.data();
    data.simultaneousTransfers = 4;
    options.setData(data);
    const QMap<QString, QByteArray> files = makeTree(
        [&](const QString &path, const QByteArray &bytes) { return ssh.writeFile(QStringLiteral("www/") + path, bytes); },
        [&](const QString &path) { QDir().mkpath(ssh.remotePath(QStringLiteral("www/") + path)); });
    selection.localPath = local;
    selection.serverPath = ssh.root();
    selection.serverLines = {serverLine(ssh.root(), QStringLiteral("www"))};

    builders->Download();
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        EXPECT_EQ(readLocal(local + QStringLiteral("www/") + it.key()), it.value()) << it.key().toStdString();
    EXPECT_TRUE(protocol().contains(QStringLiteral("1: Simultaneous transfers on 4 connections"))) << protocol().join(u'\n').toStdString();

    QDir().mkpath(ssh.remotePath(QStringLiteral("pub")));
    selection.serverPath = ssh.remotePath(QStringLiteral("pub"));
    selection.localLines = {localLine(local + QStringLiteral("www"))};
    builders->Upload();
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        EXPECT_EQ(ssh.readFile(QStringLiteral("pub/www/") + it.key()), it.value()) << it.key().toStdString();
    EXPECT_EQ(protocol().filter(QStringLiteral("1: Simultaneous transfers on 4 connections")).size(), 2);
    EXPECT_TRUE(protocol().filter(QRegularExpression(QStringLiteral("^2: "))).isEmpty()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

// A big file goes up and comes back byte for byte through the queue (the pipelined reads and
// writes of the client keep many requests in flight; every one must land in its place).
TEST_F(SftpQueueTest, AHundredMebibyteFileGoesUpAndComesBackByteForByte)
{
    const QByteArray bytes = randomBytes(100 << 20);
    const QString source = env.writeFile(QStringLiteral("local/big up.bin"), bytes);
    const QString back = local + QStringLiteral("big back.bin");
    const QString remote = ssh.remotePath(QStringLiteral("big.bin"));
    const RunResult result = run({QStringLiteral("STOR|") + source + u'|' + remote, QStringLiteral("RETR|") + remote + u'|' + back});
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(ssh.readFile(QStringLiteral("big.bin")) == bytes) << "the server's copy differs";
    EXPECT_TRUE(readLocal(back) == bytes) << "the copy that came back differs";
    EXPECT_TRUE(model.isEmpty());
}

// A download that the server ends half-way fails whole: no local file poses as complete.
TEST_F(SftpQueueTest, DroppedConnectionFailsTheDownloadWhole)
{
    ssh.writeFile(QStringLiteral("big.bin"), randomBytes(64 << 20));
    const QString target = local + QStringLiteral("big.bin");
    bool dropped = false;
    QObject::connect(&master->client(), &FtpClient::workProgressed, &master->client(), [&](FtpClient::Direction, qint64 bytes) {
        if (!dropped && bytes > 0) {
            dropped = true;
            ssh.dropConnections();
        }
    });
    OptionsData data = options.data();
    data.automaticRunQueue = false;
    options.setData(data);
    run({QStringLiteral("RETR|") + ssh.remotePath(QStringLiteral("big.bin")) + u'|' + target});
    EXPECT_TRUE(dropped);
    EXPECT_FALSE(QFileInfo::exists(target)) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(QDir(local).entryList(QDir::Files | QDir::Hidden), QStringList()) << "no partial file either";
    EXPECT_EQ(model.rowCount(), 1) << "the record is not done";
}

// An upload that loses its connection half-way fails: the record stays, and once the server is
// back the next run sends the whole file again, byte for byte.
TEST_F(SftpQueueTest, DroppedConnectionFailsTheUploadAndTheNextRunSendsItWhole)
{
    const QByteArray bytes = randomBytes(64 << 20);
    const QString source = env.writeFile(QStringLiteral("local/up.bin"), bytes);
    const QString record = QStringLiteral("STOR|") + source + u'|' + ssh.remotePath(QStringLiteral("up.bin"));
    bool dropped = false;
    const QMetaObject::Connection dropper = QObject::connect(
        &master->client(), &FtpClient::workProgressed, &master->client(), [&](FtpClient::Direction, qint64 bytesSent) {
            if (!dropped && bytesSent > 0) {
                dropped = true;
                ssh.dropConnections();
            }
        });
    OptionsData data = options.data();
    data.automaticRunQueue = false;
    options.setData(data);

    const RunResult first = run({record});
    EXPECT_TRUE(dropped);
    EXPECT_EQ(first.failed(), 1) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(model.rowCount(), 1) << "the record is not done";
    EXPECT_FALSE(ssh.readFile(QStringLiteral("up.bin")) == bytes) << "the connection was dropped before the end";

    QObject::disconnect(dropper);
    const RunResult second = run({record});
    EXPECT_TRUE(second.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(ssh.readFile(QStringLiteral("up.bin")) == bytes) << "the server's copy differs";
}

TEST_F(SftpQueueTest, ServerDeletionRemovesTheWholeTree)
{
    makeTree([&](const QString &path, const QByteArray &bytes) { return ssh.writeFile(QStringLiteral("www/") + path, bytes); },
             [&](const QString &path) { QDir().mkpath(ssh.remotePath(QStringLiteral("www/") + path)); });
    ssh.writeFile(QStringLiteral("keep.txt"), "keep");
    ASSERT_TRUE(QFile::link(QStringLiteral("../keep.txt"), ssh.remotePath(QStringLiteral("www/tokeep"))));
    selection.serverPath = ssh.root();
    selection.serverLines = {serverLine(ssh.root(), QStringLiteral("www"))};
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("confirm: Really delete 1 Directory with contents?")});
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(ssh.remotePath(QStringLiteral("www"))));
    EXPECT_EQ(ssh.readFile(QStringLiteral("keep.txt")), "keep") << "the link went, not its target";
}

TEST_F(SftpQueueTest, ChmodWalkSetsTheModes)
{
    const QString file = ssh.writeFile(QStringLiteral("www/a.txt"), "a");
    const QString deep = ssh.writeFile(QStringLiteral("www/sub/b.txt"), "b");
    for (const QString &path : {file, deep})
        QFile::setPermissions(path, QFile::Permissions(0x6644));
    walker->CollectChmod(QStringLiteral("640"), ssh.root(), true, false, false, true, ssh.remotePath(QStringLiteral("www")));
    EXPECT_EQ(octalMode(file), QStringLiteral("640")) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(octalMode(deep), QStringLiteral("640"));
    EXPECT_EQ(octalMode(ssh.remotePath(QStringLiteral("www/sub"))), octalMode(ssh.remotePath(QStringLiteral("www"))))
        << "folders keep their modes";
}
