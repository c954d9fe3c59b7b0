#include "SftpTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace Velmora;
using namespace Velmora::Testing;
using Answer = SshHostKeyTrust::Answer;

namespace {

class SftpLoginTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.start()) << qPrintable(server.errorText()); }

    QByteArray knownHosts() const
    {
        QFile file(user.knownHostsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeKnownHosts(const QByteArray &content) const
    {
        QDir().mkpath(user.sshFolder());
        QFile file(user.knownHostsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QString hostPattern() const { return QStringLiteral("[127.0.0.1]:%1").arg(server.port()); }

    // Connects expecting a failure; returns it.
    static SftpError failure(SftpClient &client)
    {
        try {
            client.connectAndLogin();
        } catch (const SftpError &error) {
            return error;
        }
        ADD_FAILURE() << "the connect succeeded";
        return SftpError(QString(), SftpError::Kind::Connection);
    }

    SshTestServer server;
    SshUserFolder user;
};

} // namespace

// An unknown server: the user sees key type and fingerprint (as ssh-keygen prints them) and
// trusts it for good; the entry is written hashed, OpenSSH finds it, and the next connect
// asks nothing.
TEST_F(SftpLoginTest, UnknownHostKeyTrustedAlwaysIsWrittenHashedAndKnownNextTime)
{
    ScriptedHostKeyTrust trust({Answer::TrustAlways});
    auto client = user.client(server, &trust);
    client->connectAndLogin();
    EXPECT_TRUE(client->isConnected());
    ASSERT_EQ(trust.shown.size(), 1);
    const SshHostKey &key = trust.shown.first();
    EXPECT_EQ(key.status, SshHostKey::Status::Unknown);
    EXPECT_EQ(key.keyType, QStringLiteral("ssh-ed25519"));
    EXPECT_EQ(key.fingerprint, server.hostKeyFingerprint());
    EXPECT_TRUE(key.fingerprint.startsWith(QStringLiteral("SHA256:")));
    EXPECT_EQ(key.hostPattern(), hostPattern());
    EXPECT_EQ(key.knownHostsFile, user.knownHostsFile());

    const QByteArray written = knownHosts();
    EXPECT_TRUE(written.startsWith("|1|")) << written.constData();
    EXPECT_FALSE(written.contains("127.0.0.1"));
    bool found = false;
    SshTestServer::runTool(QStringLiteral("/usr/bin/ssh-keygen"),
                           {QStringLiteral("-F"), hostPattern(), QStringLiteral("-f"), user.knownHostsFile()}, &found);
    EXPECT_TRUE(found);

    auto again = user.client(server); // no one to ask: the key must be known
    again->connectAndLogin();
    EXPECT_EQ(again->hostKey().status, SshHostKey::Status::Known);
}

TEST_F(SftpLoginTest, UnknownHostKeyTrustedThisTimeIsNotWrittenAndNotAskedAgainInThisRun)
{
    ScriptedHostKeyTrust trust({Answer::TrustOnce});
    auto client = user.client(server, &trust);
    client->connectAndLogin();
    EXPECT_TRUE(client->isConnected());
    client->closeConnection();
    client->connectAndLogin();
    EXPECT_TRUE(client->isConnected());
    EXPECT_EQ(trust.shown.size(), 1);
    EXPECT_TRUE(knownHosts().isEmpty());

    // Another run (a new client) does not know it.
    auto later = user.client(server);
    EXPECT_EQ(failure(*later).kind(), SftpError::Kind::HostKey);
}

TEST_F(SftpLoginTest, UnknownHostKeyCancelledOrWithoutAnyoneToAskFailsAndWritesNothing)
{
    ScriptedHostKeyTrust trust({Answer::Cancel});
    auto asked = user.client(server, &trust);
    auto batch = user.client(server, nullptr); // a batch job never asks
    for (SftpClient *client : {asked.get(), batch.get()}) {
        const SftpError error = failure(*client);
        EXPECT_EQ(error.kind(), SftpError::Kind::HostKey);
        EXPECT_EQ(error.message(), QStringLiteral("The host key of %1 is not known (ssh-ed25519 %2); no connection was made.")
                                       .arg(hostPattern(), server.hostKeyFingerprint()));
        EXPECT_FALSE(client->isConnected());
    }
    EXPECT_EQ(trust.shown.size(), 1);
    EXPECT_TRUE(knownHosts().isEmpty());
}

// A changed key never connects and is never offered for trust: the warning names both keys
// and how to remove the old entry; the file is left as it was.
TEST_F(SftpLoginTest, ChangedHostKeyRefusesWithBothFingerprintsAndTheRemedy)
{
    ScriptedHostKeyTrust first({Answer::TrustAlways});
    user.client(server, &first)->connectAndLogin();
    const QString oldFingerprint = server.hostKeyFingerprint();
    ASSERT_TRUE(server.changeHostKey(QStringLiteral("ed25519"))) << qPrintable(server.errorText());
    const QString newFingerprint = server.hostKeyFingerprint();
    ASSERT_NE(oldFingerprint, newFingerprint);
    const QByteArray before = knownHosts();

    ScriptedHostKeyTrust trust({Answer::TrustAlways});
    auto client = user.client(server, &trust);
    const SftpError error = failure(*client);
    EXPECT_EQ(error.kind(), SftpError::Kind::HostKey);
    EXPECT_TRUE(trust.shown.isEmpty());
    EXPECT_FALSE(client->isConnected());
    EXPECT_EQ(client->hostKey().status, SshHostKey::Status::Changed);
    EXPECT_EQ(error.message(),
              QStringLiteral("WARNING: THE HOST KEY OF %1 HAS CHANGED!\n"
                             "Someone could be eavesdropping on you right now (man-in-the-middle attack), "
                             "or the host key has just been changed.\n"
                             "Known key: ssh-ed25519 %2\n"
                             "Offered key: ssh-ed25519 %3\n"
                             "No connection was made. If the change is expected, remove the old entry with\n"
                             "  ssh-keygen -R \"%1\" -f \"%4\"\n"
                             "and connect again.")
                  .arg(hostPattern(), oldFingerprint, newFingerprint, user.knownHostsFile()));
    EXPECT_EQ(knownHosts(), before);

    // The remedy named in the warning works.
    bool ok = false;
    SshTestServer::runTool(QStringLiteral("/usr/bin/ssh-keygen"),
                           {QStringLiteral("-R"), hostPattern(), QStringLiteral("-f"), user.knownHostsFile()}, &ok);
    ASSERT_TRUE(ok);
    ScriptedHostKeyTrust afterRemoval({Answer::TrustOnce});
    auto fresh = user.client(server, &afterRemoval);
    fresh->connectAndLogin();
    ASSERT_EQ(afterRemoval.shown.size(), 1);
    EXPECT_EQ(afterRemoval.shown.first().status, SshHostKey::Status::Unknown);
}

// How each state of known_hosts is judged: KnownHostsStatesTest.

TEST_F(SftpLoginTest, SiteKeyFileLogsIn)
{
    ScriptedHostKeyTrust trust({Answer::TrustOnce});
    auto client = user.client(server, &trust);
    client->connectAndLogin();
    EXPECT_TRUE(client->isConnected());
    EXPECT_EQ(client->loginMethod(), QStringLiteral("public key ") + server.userKeyFile());
    EXPECT_FALSE(client->currentDirectory().isEmpty());
    EXPECT_TRUE(client->serverBanner().startsWith(QStringLiteral("SSH-2.0-OpenSSH_"))) << qPrintable(client->serverBanner());
    EXPECT_TRUE(client->encryptionText().contains(QStringLiteral(", "))) << qPrintable(client->encryptionText());
    // The session works: the test folder lists.
    server.writeFile(QStringLiteral("hello.txt"), "hi");
    const QList<SftpEntry> entries = client->list(server.root());
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.first().name, QStringLiteral("hello.txt"));
}

// An encrypted key is unlocked with the passphrase the user gives; a wrong one is asked again.
TEST_F(SftpLoginTest, EncryptedKeyFileAsksForThePassphraseUntilItFits)
{
    const QString key = server.makeUserKey(QStringLiteral("locked"), QStringLiteral("ed25519"),
                                           QStringLiteral("correct horse"), true);
    ASSERT_FALSE(key.isEmpty());
    ScriptedHostKeyTrust trust({Answer::TrustOnce});
    ScriptedPassphrase passphrase({QStringLiteral("wrong"), QStringLiteral("correct horse")});
    auto client = user.client(server, &trust);
    client->setKeyFile(key);
    client->setPassphrasePrompt(&passphrase);
    client->connectAndLogin();
    EXPECT_TRUE(client->isConnected());
    EXPECT_EQ(passphrase.asked, QStringList({key + QStringLiteral("#1"), key + QStringLiteral("#2")}));
}

TEST_F(SftpLoginTest, EncryptedKeyWhosePassphraseIsNotGivenFailsTheLoginClearly)
{
    const QString key = server.makeUserKey(QStringLiteral("locked"), QStringLiteral("ed25519"),
                                           QStringLiteral("correct horse"), true);
    ScriptedHostKeyTrust trust({Answer::TrustOnce});
    ScriptedPassphrase passphrase({std::nullopt});
    auto client = user.client(server, &trust);
    client->setKeyFile(key);
    client->setPassphrasePrompt(&passphrase);
    const SftpError error = failure(*client);
    EXPECT_EQ(error.kind(), SftpError::Kind::Authentication);
    EXPECT_EQ(error.message(), QStringLiteral("The login of %1 at 127.0.0.1:%2 failed: No passphrase given for the key file %3.")
                                   .arg(server.user())
                                   .arg(server.port())
                                   .arg(key));
    EXPECT_FALSE(client->isConnected());
}

// A key the server does not take is never unlocked: no passphrase question in vain.
TEST_F(SftpLoginTest, KeyTheServerRefusesIsNotUnlocked)
{
    const QString key = server.makeUserKey(QStringLiteral("stranger"), QStringLiteral("ed25519"),
                                           QStringLiteral("secret"), false);
    ScriptedHostKeyTrust trust({Answer::TrustOnce});
    ScriptedPassphrase passphrase({QStringLiteral("secret")});
    auto client = user.client(server, &trust);
    client->setKeyFile(key);
    client->setPassphrasePrompt(&passphrase);
    const SftpError error = failure(*client);
    EXPECT_EQ(error.kind(), SftpError::Kind::Authentication);
    EXPECT_TRUE(error.message().contains(QStringLiteral("the key %1 was refused").arg(key))) << qPrintable(error.message());
    EXPECT_TRUE(passphrase.asked.isEmpty());
}

// Without a key for the site, the default key files in ~/.ssh are tried.
TEST_F(SftpLoginTest, DefaultKeyFileLogsIn)
{
    const QString key = server.makeUserKey(QStringLiteral("default_ecdsa"), QStringLiteral("ecdsa"), QString(), true);
    QDir().mkpath(user.sshFolder());
    const QString defaultKey = user.sshFolder() + QStringLiteral("/id_ecdsa");
    ASSERT_TRUE(QFile::copy(key, defaultKey));
    ASSERT_TRUE(QFile::copy(key + QStringLiteral(".pub"), defaultKey + QStringLiteral(".pub")));
    ScriptedHostKeyTrust trust({Answer::TrustOnce});
    auto client = user.client(server, &trust);
    client->setKeyFile(QString());
    client->setUseDefaultKeys(true);
    client->connectAndLogin();
    EXPECT_EQ(client->loginMethod(), QStringLiteral("public key ") + defaultKey);

    // With the default keys switched off, nothing is left to log in with.
    ScriptedHostKeyTrust trustAgain({Answer::TrustOnce});
    auto without = user.client(server, &trustAgain);
    without->setKeyFile(QString());
    EXPECT_EQ(failure(*without).kind(), SftpError::Kind::Authentication);
}

TEST_F(SftpLoginTest, AgentKeyLogsIn)
{
    QTemporaryDir agentFolder;
    const QString socket = agentFolder.filePath(QStringLiteral("agent.sock"));
    QProcess agent;
    agent.start(QStringLiteral("/usr/bin/ssh-agent"), {QStringLiteral("-D"), QStringLiteral("-a"), socket});
    ASSERT_TRUE(agent.waitForStarted(10000));
    for (int i = 0; i < 100 && !QFile::exists(socket); ++i)
        agent.waitForFinished(50);
    ASSERT_TRUE(QFile::exists(socket));
    bool added = false;
    SshTestServer::runTool(QStringLiteral("/usr/bin/ssh-add"), {server.userKeyFile()}, &added,
                           {QStringLiteral("SSH_AUTH_SOCK=") + socket});
    ASSERT_TRUE(added);

    ScriptedHostKeyTrust trust({Answer::TrustOnce});
    auto client = user.client(server, &trust);
    client->setKeyFile(QString());
    client->setUseAgent(true);
    client->setAgentSocket(socket);
    client->connectAndLogin();
    EXPECT_EQ(client->loginMethod(), QStringLiteral("ssh-agent"));
    client->closeConnection();
    agent.kill();
    agent.waitForFinished(5000);
}

// sshd checks passwords against the system's accounts, which the tests do not change: here its
// refusal of a wrong password is shown; a password login that succeeds runs against a server
// with a password of its own (SftpPasswordLoginTest).
TEST_F(SftpLoginTest, RefusedPasswordFailsTheLoginClearly)
{
    ScriptedHostKeyTrust trust({Answer::TrustOnce});
    auto client = user.client(server, &trust);
    client->setKeyFile(QString());
    client->setPassword(QStringLiteral("not the password"));
    const SftpError error = failure(*client);
    EXPECT_EQ(error.kind(), SftpError::Kind::Authentication);
    EXPECT_EQ(error.message(), QStringLiteral("The login of %1 at 127.0.0.1:%2 failed: the password was refused.")
                                   .arg(server.user())
                                   .arg(server.port()));
    EXPECT_FALSE(client->isConnected());
}
