// A site named by an alias of ~/.ssh/config, as users of ssh keep their servers: the session
// connects where the alias leads, as its user, with its IdentityFile, and asks about the host
// key of the real address.
#include "SftpSessionFixture.h"

#include <QDir>

using namespace Velmora;
using namespace Velmora::Testing;

TEST_F(SftpSessionTest, ASiteNamedByItsSshConfigAliasLogsInWithTheKeyAndPortOfTheConfig)
{
    ASSERT_TRUE(QDir().mkpath(sshFolder()));
    QFile config(sshFolder() + QStringLiteral("/config"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("Host velmora-alias\n"
                                "    HostName 127.0.0.1\n"
                                "    Port %1\n"
                                "    User %2\n"
                                "    IdentityFile %3\n")
                     .arg(QString::number(ssh.port()), ssh.user(), ssh.userKeyFile())
                     .toUtf8());
    config.close();
    // The site as a user of ssh enters it: the alias, the default port, no user, no key file.
    master->SetConnectionData(QStringLiteral("velmora-alias"), QStringLiteral("22"), QString(), QString(), 0);
    master->setEncryption(FtpEncryption::Sftp);
    master->setKeyFile(QString());
    prompts.hostKeyAnswers = {UserPrompts::CertificateAnswer::TrustAlways};

    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    ASSERT_GE(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0], QStringLiteral("askHostKey: Unknown host key"));
    EXPECT_TRUE(prompts.shown[1].startsWith(QStringLiteral("host key text: The host key of %1 is not known.").arg(hostPattern())))
        << prompts.shown[1].toStdString();
    EXPECT_TRUE(protocol().contains(QStringLiteral("1: Connecting to 127.0.0.1:%1 (velmora-alias in %2/config)")
                                        .arg(QString::number(ssh.port()), sshFolder())))
        << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(protocol().contains(QStringLiteral("1: Logged in to velmora-alias:22 (public key %1)").arg(ssh.userKeyFile())))
        << protocol().join(u'\n').toStdString();
    EXPECT_FALSE(knownHosts().isEmpty());

    // The next program run knows the host under its real address.
    master->Disconnect();
    makeMaster();
    master->SetConnectionData(QStringLiteral("velmora-alias"), QStringLiteral("22"), QString(), QString(), 0);
    master->setEncryption(FtpEncryption::Sftp);
    prompts.clear();
    EXPECT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}
