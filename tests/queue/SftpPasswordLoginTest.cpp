// An SFTP site that logs in with user and password, as a user runs it: the session connects,
// lists, and the queue downloads and uploads byte for byte; a wrong password fails with the
// text the user sees. Both ways servers take a password: as a password login and as the answer
// to a keyboard-interactive question. The server is a real SFTP server that checks a password of its own
// (python3-asyncssh), since OpenSSH's sshd would need a system account with a password.
#include "QueueServerFixture.h"
#include "SftpPasswordServer.h"

#include "engine/ftp/FtpEncryption.h"

#include <QRandomGenerator>

using namespace Velmora;
using namespace Velmora::Testing;
using Trust = UserPrompts::CertificateAnswer;

namespace {

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    return bytes + QByteArray("\r\n\n\r\0", 5); // line ends a text transfer would change
}

class SftpPasswordLoginTest : public QueueServerTest, public ::testing::WithParamInterface<SftpPasswordServer::Method> {
protected:
    SftpPasswordLoginTest()
        : sftp(GetParam())
        , m_agent(qgetenv("SSH_AUTH_SOCK"))
    {
        // No agent: the password is the only way in.
        qunsetenv("SSH_AUTH_SOCK");
    }
    ~SftpPasswordLoginTest() override
    {
        if (!m_agent.isNull())
            qputenv("SSH_AUTH_SOCK", m_agent);
    }

    void SetUp() override
    {
        ASSERT_TRUE(SftpPasswordServer::isAvailable()) << "python3-asyncssh is not installed (scripts/install-deps.sh)";
        ASSERT_TRUE(sftp.start()) << sftp.errorText().toStdString();
    }

    // The site as the site dialog saves it: SFTP, user and password, no key file.
    void useSite(const QString &password)
    {
        master->SetConnectionData(sftp.host(), QString::number(sftp.port()), sftp.user(), password, 0);
        master->setEncryption(FtpEncryption::Sftp);
        master->setKeyFile(QString());
    }

    SftpPasswordServer sftp;

private:
    QByteArray m_agent;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Methods, SftpPasswordLoginTest,
                         ::testing::Values(SftpPasswordServer::Method::Password,
                                           SftpPasswordServer::Method::KeyboardInteractive),
                         [](const ::testing::TestParamInfo<SftpPasswordServer::Method> &info) {
                             return info.param == SftpPasswordServer::Method::Password ? "Password" : "KeyboardInteractive";
                         });

TEST_P(SftpPasswordLoginTest, PasswordSiteConnectsListsAndTransfersByteForByte)
{
    const QByteArray binary = randomBytes((3 << 20) + 123); // not a whole number of pieces
    const QByteArray text("Grüße\r\nübers Meer\n");
    sftp.writeFile(QStringLiteral("site/data.bin"), binary);
    sftp.writeFile(QStringLiteral("site/ Grüße mit Leerzeichen.txt"), text);
    sftp.writeFile(QStringLiteral("site/empty.txt"), QByteArray());
    QDir().mkpath(sftp.root() + QStringLiteral("/up"));
    useSite(sftp.password());
    prompts.hostKeyAnswers = {Trust::TrustThisTime};

    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString() << '\n'
                                        << protocol().join(u'\n').toStdString();
    ASSERT_EQ(prompts.shown.size(), 2) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(prompts.shown[0], QStringLiteral("askHostKey: Unknown host key"));
    EXPECT_TRUE(prompts.shown[1].contains(sftp.hostKeyFingerprint())) << prompts.shown[1].toStdString();
    EXPECT_TRUE(protocol().contains(QStringLiteral("1: Logged in to 127.0.0.1:%1 (password)").arg(sftp.port())))
        << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(master->isConnected());

    QList<ListingEntry> entries;
    ASSERT_TRUE(master->GetListing(QStringLiteral("/site"), entries)) << protocol().join(u'\n').toStdString();
    QMap<QString, qint64> sizes;
    for (const ListingEntry &e : std::as_const(entries))
        sizes.insert(e.name, e.size);
    EXPECT_EQ(sizes, (QMap<QString, qint64>{{QStringLiteral(" Grüße mit Leerzeichen.txt"), text.size()},
                                            {QStringLiteral("data.bin"), binary.size()},
                                            {QStringLiteral("empty.txt"), 0}}));

    // Down and up again through the queue, each file under another name.
    const RunResult result = run({
        QStringLiteral("RETR|/site/data.bin|") + local + QStringLiteral("data.bin"),
        QStringLiteral("RETR|/site/ Grüße mit Leerzeichen.txt|") + local + QStringLiteral(" Grüße mit Leerzeichen.txt"),
        QStringLiteral("RETR|/site/empty.txt|") + local + QStringLiteral("empty.txt"),
        QStringLiteral("STOR|") + local + QStringLiteral("data.bin|/up/data copy.bin"),
        QStringLiteral("STOR|") + local + QStringLiteral(" Grüße mit Leerzeichen.txt|/up/ Grüße Kopie.txt"),
        QStringLiteral("STOR|") + local + QStringLiteral("empty.txt|/up/empty copy.txt"),
    });
    EXPECT_TRUE(result.allSucceeded()) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(model.isEmpty());
    EXPECT_TRUE(readLocal(local + QStringLiteral("data.bin")) == binary) << "the downloaded copy differs";
    EXPECT_EQ(readLocal(local + QStringLiteral(" Grüße mit Leerzeichen.txt")), text);
    EXPECT_TRUE(QFileInfo(local + QStringLiteral("empty.txt")).isFile());
    EXPECT_EQ(QFileInfo(local + QStringLiteral("empty.txt")).size(), 0);
    EXPECT_TRUE(sftp.readFile(QStringLiteral("up/data copy.bin")) == binary) << "the uploaded copy differs";
    EXPECT_EQ(sftp.readFile(QStringLiteral("up/ Grüße Kopie.txt")), text);
    EXPECT_TRUE(QFileInfo(sftp.root() + QStringLiteral("/up/empty copy.txt")).isFile());
    EXPECT_EQ(QFileInfo(sftp.root() + QStringLiteral("/up/empty copy.txt")).size(), 0);
}

// A wrong password: no connection, the user reads why in the error window and the protocol;
// the right password connects afterwards (the failed attempt left nothing in the way).
TEST_P(SftpPasswordLoginTest, WrongPasswordFailsWithAClearText)
{
    useSite(QStringLiteral("not the password"));
    prompts.hostKeyAnswers = {Trust::TrustThisTime};

    EXPECT_FALSE(master->Connect(false));
    const QString refusal =
        QStringLiteral("The login of velmora at 127.0.0.1:%1 failed: the password was refused.").arg(sftp.port());
    ASSERT_EQ(prompts.shown.size(), 3) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(prompts.shown[0], QStringLiteral("askHostKey: Unknown host key"));
    EXPECT_EQ(prompts.shown[2], QStringLiteral("error: ") + refusal);
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: ") + refusal)) << protocol().join(u'\n').toStdString();
    EXPECT_FALSE(master->isConnected());

    // Trusted for this run: the host key is not asked about again.
    prompts.clear();
    useSite(sftp.password());
    EXPECT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(master->isConnected());
}
