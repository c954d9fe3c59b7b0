#include "SshTestServer.h"
#include "engine/sftp/SshKnownHostsFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::SshTestServer;

namespace {

QString tool(const char *name)
{
    return QStringLiteral("/usr/bin/") + QLatin1String(name);
}

// A known_hosts file in the folder with this content.
QString knownHostsWith(const QTemporaryDir &folder, const QByteArray &content)
{
    const QString file = folder.filePath(QStringLiteral("known_hosts"));
    QFile out(file);
    if (out.open(QIODevice::WriteOnly))
        out.write(content);
    return file;
}

// A key pair made by ssh-keygen; returns the private key's file, empty on failure.
QString makeKey(const QTemporaryDir &folder, const char *type)
{
    const QString file = folder.filePath(QLatin1String(type));
    bool ok = false;
    SshTestServer::runTool(tool("ssh-keygen"), {QStringLiteral("-q"), QStringLiteral("-t"), QLatin1String(type),
                                                QStringLiteral("-N"), QString(), QStringLiteral("-f"), file},
                           &ok);
    return ok ? file : QString();
}

} // namespace

// The entries written for "Trust always" are found by OpenSSH itself, for port 22 and others.
TEST(KnownHostsFile, HashedEntriesAreFoundByOpenSsh)
{
    QTemporaryDir folder;
    const QString keyFile = makeKey(folder, "ed25519");
    ASSERT_FALSE(keyFile.isEmpty());
    bool ok = false;
    QFile publicKey(keyFile + QStringLiteral(".pub"));
    ASSERT_TRUE(publicKey.open(QIODevice::ReadOnly));
    const QString keyText = QString::fromLatin1(publicKey.readAll()).section(u' ', 0, 1);

    // Written into a folder that does not exist yet, as for a user without ~/.ssh.
    const QString file = folder.filePath(QStringLiteral("ssh/known_hosts"));
    QString error;
    ASSERT_TRUE(SshKnownHostsFile::appendEntry(file, QStringLiteral("[127.0.0.1]:2222"), keyText, &error)) << qPrintable(error);
    ASSERT_TRUE(SshKnownHostsFile::appendEntry(file, QStringLiteral("example.org"), keyText, &error)) << qPrintable(error);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray content = written.readAll();
    EXPECT_EQ(content.count('\n'), 2);
    EXPECT_TRUE(content.startsWith("|1|"));
    EXPECT_FALSE(content.contains("127.0.0.1")); // hashed: the hosts are not readable
    EXPECT_FALSE(content.contains("example.org"));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                      | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(file) & others, QFile::Permissions()); // 0600, like OpenSSH's

    for (const char *host : {"[127.0.0.1]:2222", "example.org"}) {
        const QByteArray found = SshTestServer::runTool(tool("ssh-keygen"), {QStringLiteral("-F"), QLatin1String(host),
                                                                            QStringLiteral("-f"), file},
                                                        &ok);
        EXPECT_TRUE(ok) << host;
        EXPECT_TRUE(found.contains(keyText.section(u' ', 1).toLatin1())) << host;
    }
    // The same host on another port is another host.
    SshTestServer::runTool(tool("ssh-keygen"), {QStringLiteral("-F"), QStringLiteral("[127.0.0.1]:2223"),
                                                QStringLiteral("-f"), file},
                           &ok);
    EXPECT_FALSE(ok);
}

TEST(KnownHostsFile, AnEntryGoesOnItsOwnLineAfterALastLineWithoutLineEnd)
{
    QTemporaryDir folder;
    const QString file = knownHostsWith(
        folder, "other.example ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIOMqqnkVzrm0SdG6UOoqKLsabgH5C9okWi0dh2l9GKJl");
    QFile existing(file);
    QString error;
    ASSERT_TRUE(SshKnownHostsFile::appendEntry(
        file, QStringLiteral("example.org"),
        QStringLiteral("ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIOMqqnkVzrm0SdG6UOoqKLsabgH5C9okWi0dh2l9GKJl"), &error));
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = existing.readAll().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("other.example "));
    EXPECT_TRUE(lines[1].startsWith("|1|"));
    EXPECT_TRUE(lines[2].isEmpty());
}

// OpenSSH's own hashing of a known salt, as "ssh-keygen -H" writes it.
TEST(KnownHostsFile, HashMatchesOpenSshForTheSameSalt)
{
    QTemporaryDir folder;
    const QString file = knownHostsWith(
        folder, "[10.0.0.7]:2200 ssh-ed25519 AAAAC3NzaC1lZDI1NTE5AAAAIOMqqnkVzrm0SdG6UOoqKLsabgH5C9okWi0dh2l9GKJl\n");
    QFile plain(file);
    bool ok = false;
    SshTestServer::runTool(tool("ssh-keygen"), {QStringLiteral("-H"), QStringLiteral("-f"), file}, &ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(plain.open(QIODevice::ReadOnly));
    const QByteArray hashed = plain.readAll().split(' ').value(0); // "|1|salt|hash"
    const QByteArray salt = QByteArray::fromBase64(hashed.split('|').value(2));
    ASSERT_EQ(salt.size(), 20);
    EXPECT_EQ(SshKnownHostsFile::hashedHost(QStringLiteral("[10.0.0.7]:2200"), salt), QString::fromLatin1(hashed));
}

TEST(KnownHostsFile, FingerprintIsWrittenAsOpenSshPrintsIt)
{
    QTemporaryDir folder;
    for (const char *type : {"ed25519", "ecdsa", "rsa"}) {
        const QString keyFile = makeKey(folder, type);
        ASSERT_FALSE(keyFile.isEmpty()) << type;
        const QByteArray printed = SshTestServer::runTool(tool("ssh-keygen"), {QStringLiteral("-l"), QStringLiteral("-E"),
                                                                               QStringLiteral("sha256"), QStringLiteral("-f"),
                                                                               keyFile + QStringLiteral(".pub")});
        QFile publicKey(keyFile + QStringLiteral(".pub"));
        ASSERT_TRUE(publicKey.open(QIODevice::ReadOnly));
        const QByteArray blob = QByteArray::fromBase64(publicKey.readAll().split(' ').value(1));
        EXPECT_EQ(SshKnownHostsFile::sha256Fingerprint(blob), QString::fromLatin1(printed.split(' ').value(1))) << type;
    }
}
