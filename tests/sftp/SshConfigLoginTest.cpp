// ~/.ssh/config read through libssh, against OpenSSH's sshd: an alias with HostName, Port, User,
// IdentityFile and UserKnownHostsFile logs in as "ssh alias" would; the site's own port, user
// and key file win; a configuration libssh cannot use stops the connect with a clear message.
#include "SftpTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>

using namespace Velmora;
using namespace Velmora::Testing;
using Answer = SshHostKeyTrust::Answer;

namespace {

// A port on the loopback address where nothing listens.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

class SshConfigLoginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start()) << qPrintable(server.errorText());
        ASSERT_TRUE(QDir().mkpath(sshFolder()));
    }

    QString sshFolder() const { return m_home.filePath(QStringLiteral(".ssh")); }
    QString file(const QString &name) const { return m_home.filePath(name); }
    void writeConfig(const QString &text) const
    {
        QFile config(sshFolder() + QStringLiteral("/config"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
        config.write(text.toUtf8());
    }
    static QByteArray read(const QString &path)
    {
        QFile in(path);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    // A site as the user enters it: the alias as host, no key file, no agent, no default keys,
    // no known-hosts file of its own (so the configuration's applies).
    std::unique_ptr<SftpClient> site(const QString &host, quint16 port, const QString &user, SshHostKeyTrust *trust) const
    {
        auto client = std::make_unique<SftpClient>();
        client->setHost(host);
        client->setPort(port);
        client->setUser(user);
        client->setUseAgent(false);
        client->setUseDefaultKeys(false);
        client->setSshFolder(sshFolder());
        client->setGlobalKnownHostsFile(file(QStringLiteral("no_global_known_hosts")));
        client->setHostKeyTrust(trust);
        return client;
    }

    SshTestServer server;

private:
    QTemporaryDir m_home;
};

} // namespace

// The alias alone: where it leads, as whom, with which key, and where its host key is kept all
// come from the configuration. The host key is judged (and trusted) under the real address.
TEST_F(SshConfigLoginTest, AnAliasLogsInWithHostNamePortUserIdentityFileAndKnownHostsFile)
{
    const QString knownHosts = file(QStringLiteral("config_known_hosts"));
    writeConfig(QStringLiteral("Host velmora-alias\n"
                               "  HostName 127.0.0.1\n"
                               "  Port %1\n"
                               "  User %2\n"
                               "  IdentityFile %3\n"
                               "  UserKnownHostsFile %4\n")
                    .arg(QString::number(server.port()), server.user(), server.userKeyFile(), knownHosts));
    ScriptedHostKeyTrust trust({Answer::TrustAlways});
    auto client = site(QStringLiteral("velmora-alias"), SftpClient::DefaultPort, QString(), &trust);
    QStringList statuses;
    QObject::connect(client.get(), &SftpClient::statusReported, [&](const QString &text) { statuses << text; });

    client->connectAndLogin();
    EXPECT_TRUE(client->isConnected());
    EXPECT_EQ(client->loginMethod(), QStringLiteral("public key %1").arg(server.userKeyFile()));
    ASSERT_EQ(trust.shown.size(), 1);
    const QString pattern = QStringLiteral("[127.0.0.1]:%1").arg(server.port());
    EXPECT_EQ(trust.shown.first().hostPattern(), pattern);
    EXPECT_EQ(trust.shown.first().knownHostsFile, knownHosts);
    EXPECT_TRUE(statuses.contains(QStringLiteral("Connecting to 127.0.0.1:%1 (velmora-alias in %2/config)")
                                      .arg(QString::number(server.port()), sshFolder())))
        << qPrintable(statuses.join(u'\n'));

    // "Trust always" wrote the configuration's file, where ssh looks as well.
    EXPECT_TRUE(read(sshFolder() + QStringLiteral("/known_hosts")).isEmpty());
    bool found = false;
    SshTestServer::runTool(QStringLiteral("/usr/bin/ssh-keygen"), {QStringLiteral("-F"), pattern, QStringLiteral("-f"), knownHosts},
                           &found);
    EXPECT_TRUE(found) << read(knownHosts).constData();
    auto again = site(QStringLiteral("velmora-alias"), SftpClient::DefaultPort, QString(), nullptr);
    again->connectAndLogin();
    EXPECT_EQ(again->hostKey().status, SshHostKey::Status::Known);
}

// What the site says itself wins over the configuration: its port (other than the default
// 22), its user name and its key file. A wrong value in the configuration is then never used.
TEST_F(SshConfigLoginTest, TheSitesOwnPortUserAndKeyFileWin)
{
    const QString refusedKey = server.makeUserKey(QStringLiteral("refused_key"), QStringLiteral("ed25519"), QString(), false);
    ASSERT_FALSE(refusedKey.isEmpty());
    struct Case {
        const char *name;
        QString config;
        quint16 sitePort;
        QString siteUser;
        QString siteKey;
    };
    const QString host = QStringLiteral("Host velmora-alias\n  HostName 127.0.0.1\n");
    const QString port = QString::number(server.port());
    const QString wrongPort = QString::number(closedPort());
    const QList<Case> cases = {
        {"port", host + QStringLiteral("  Port %1\n  IdentityFile %2\n").arg(wrongPort, server.userKeyFile()),
         server.port(), server.user(), QString()},
        {"user", host + QStringLiteral("  Port %1\n  User nobody-velmora\n  IdentityFile %2\n").arg(port, server.userKeyFile()),
         SftpClient::DefaultPort, server.user(), QString()},
        {"key file", host + QStringLiteral("  Port %1\n  IdentityFile %2\n").arg(port, refusedKey), SftpClient::DefaultPort,
         server.user(), server.userKeyFile()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeConfig(c.config);
        ScriptedHostKeyTrust trust({Answer::TrustOnce});
        auto client = site(QStringLiteral("velmora-alias"), c.sitePort, c.siteUser, &trust);
        client->setKeyFile(c.siteKey);
        try {
            client->connectAndLogin();
        } catch (const SftpError &error) {
            ADD_FAILURE() << qPrintable(error.message());
        }
        EXPECT_TRUE(client->isConnected());
        EXPECT_EQ(client->loginMethod(), QStringLiteral("public key %1").arg(server.userKeyFile()));
        EXPECT_EQ(client->hostKey().port, server.port());
    }
}

// A configuration libssh cannot use stops the connect before any connection, naming the file;
// nothing is written.
TEST_F(SshConfigLoginTest, AConfigurationLibsshCannotUseStopsTheConnectWithItsFileNamed)
{
    writeConfig(QStringLiteral("Host velmora-alias\n  HostName 127.0.0.1\n  Port %1\nMatch velmora-nonsense\n")
                    .arg(server.port()));
    ScriptedHostKeyTrust trust({Answer::TrustAlways});
    auto client = site(QStringLiteral("velmora-alias"), SftpClient::DefaultPort, server.user(), &trust);
    client->setKeyFile(server.userKeyFile());
    try {
        client->connectAndLogin();
        ADD_FAILURE() << "the connect succeeded";
    } catch (const SftpError &error) {
        EXPECT_EQ(error.kind(), SftpError::Kind::Connection);
        EXPECT_EQ(error.message(),
                  QStringLiteral("The SSH configuration %1/config (or the system's ssh_config) cannot be used: "
                                 "ERROR - Unknown argument 'velmora-nonsense' for Match keyword; no connection was made.")
                      .arg(sshFolder()));
    }
    EXPECT_FALSE(client->isConnected());
    EXPECT_TRUE(trust.shown.isEmpty());
    EXPECT_FALSE(QFile::exists(sshFolder() + QStringLiteral("/known_hosts")));
}
