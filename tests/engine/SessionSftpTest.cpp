// The session on an SFTP site against OpenSSH's sshd: the host-key window with each answer, a
// changed key, the login with a key file and its passphrase, listings from the attributes and
// the commands the rest of the program sends through the client contract.
#include "SftpSessionFixture.h"

#include "engine/LoginFile.h"
#include "engine/ftp/FtpError.h"

#include <QFileInfo>
#include <QProcess>

using namespace Velmora;
using namespace Velmora::Testing;
using Trust = UserPrompts::CertificateAnswer;

namespace {

QString windowText(const QString &site, const QString &type, const QString &fingerprint, const QString &file)
{
    return QStringLiteral("The host key of %1 is not known.\n"
                          "Key type: %2\n"
                          "Fingerprint (SHA-256): %3\n"
                          "Compare the fingerprint with the one the server's administrator gives you before you trust "
                          "the key. \"Trust always\" adds it to %4.")
        .arg(site, type, fingerprint, file);
}

} // namespace

// The window shows key type and fingerprint exactly; "Trust always" writes known_hosts so that
// the next program run asks nothing, "Trust this time" connects without writing, "Cancel"
// connects nowhere (the window has said why: no box repeats it; the protocol keeps the reason).
TEST_F(SftpSessionTest, UnknownHostKeyIsAnsweredInTheWindow)
{
    struct Case {
        const char *name;
        Trust answer;
        bool connects;
        bool written;
    };
    const Case cases[] = {
        {"trust always", Trust::TrustAlways, true, true},
        {"trust this time", Trust::TrustThisTime, true, false},
        {"cancel", Trust::Cancel, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(knownHostsFile());
        makeMaster();
        master->setSessionHost(&host);
        useSite(*master);
        prompts.clear();
        prompts.hostKeyAnswers = {c.answer};

        EXPECT_EQ(master->Connect(false), c.connects);
        ASSERT_GE(prompts.shown.size(), 2);
        EXPECT_EQ(prompts.shown[0], QStringLiteral("askHostKey: Unknown host key"));
        EXPECT_EQ(prompts.shown[1], QStringLiteral("host key text: ")
                                        + windowText(hostPattern(), QStringLiteral("ssh-ed25519"),
                                                     ssh.hostKeyFingerprint(), knownHostsFile()));
        EXPECT_EQ(master->isConnected(), c.connects);
        EXPECT_EQ(!knownHosts().isEmpty(), c.written) << knownHosts().constData();
        if (!c.connects) {
            const QString refusal = QStringLiteral("The host key of %1 is not known (ssh-ed25519 %2); no connection was made.")
                                        .arg(hostPattern(), ssh.hostKeyFingerprint());
            EXPECT_EQ(prompts.shown.mid(2), QStringList()) << "the window said why: no second box";
            EXPECT_TRUE(protocol().contains(QStringLiteral("2: ") + refusal)) << protocol().join(u'\n').toStdString();
        } else {
            EXPECT_EQ(prompts.shown.size(), 2) << prompts.shown.join(u'\n').toStdString();
        }

        // A new program run: only a key kept in known_hosts is trusted without the window.
        makeMaster();
        useSite(*master);
        prompts.clear();
        EXPECT_EQ(master->Connect(false), c.written);
        EXPECT_EQ(prompts.shown.isEmpty() || !prompts.shown.first().startsWith(QStringLiteral("askHostKey")), c.written)
            << prompts.shown.join(u'\n').toStdString();
    }
}

TEST_F(SftpSessionTest, HostKeyWindowInGerman)
{
    language.setCurrent(Language::German);
    prompts.hostKeyAnswers = {Trust::Cancel};
    EXPECT_FALSE(master->Connect(false));
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0], QStringLiteral("askHostKey: Unbekannter Hostschlüssel"));
    EXPECT_EQ(prompts.shown[1],
              QStringLiteral("host key text: Der Hostschlüssel von %1 ist nicht bekannt.\n"
                             "Schlüsseltyp: ssh-ed25519\n"
                             "Fingerabdruck (SHA-256): %2\n"
                             "Vergleichen Sie den Fingerabdruck mit dem, den der Administrator des Servers nennt, bevor "
                             "Sie dem Schlüssel vertrauen. \"Immer vertrauen\" trägt ihn in %3 ein.")
                  .arg(hostPattern(), ssh.hostKeyFingerprint(), knownHostsFile()));
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: Der Hostschlüssel von %1 ist nicht bekannt (ssh-ed25519 %2); es wurde "
                                                   "keine Verbindung aufgebaut.")
                                        .arg(hostPattern(), ssh.hostKeyFingerprint())));
}

// A key that differs from the one in known_hosts is never offered: the connect is refused with
// the warning that names both fingerprints and how to remove the old entry.
TEST_F(SftpSessionTest, ChangedHostKeyIsRefusedWithBothFingerprints)
{
    prompts.hostKeyAnswers = {Trust::TrustAlways};
    ASSERT_TRUE(master->Connect(false));
    const QString known = ssh.hostKeyFingerprint();
    master->Disconnect();
    ASSERT_TRUE(ssh.changeHostKey(QStringLiteral("ed25519"))) << ssh.errorText().toStdString();
    const QString offered = ssh.hostKeyFingerprint();
    ASSERT_NE(known, offered);
    const QByteArray before = knownHosts();

    makeMaster();
    useSite(*master);
    prompts.clear();
    prompts.hostKeyAnswers = {Trust::TrustAlways};
    EXPECT_FALSE(master->Connect(false));
    const QString warning = QStringLiteral("WARNING: THE HOST KEY OF %1 HAS CHANGED!\n"
                                           "Someone could be eavesdropping on you right now (man-in-the-middle attack), "
                                           "or the host key has just been changed.\n"
                                           "Known key: ssh-ed25519 %2\n"
                                           "Offered key: ssh-ed25519 %3\n"
                                           "No connection was made. If the change is expected, remove the old entry with\n"
                                           "  ssh-keygen -R \"%1\" -f \"%4\"\n"
                                           "and connect again.")
                                .arg(hostPattern(), known, offered, knownHostsFile());
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: ") + warning});
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: ") + warning));
    EXPECT_EQ(knownHosts(), before);
    EXPECT_FALSE(master->isConnected());
}

// A revoked key and a key of another type than the one on record reach the user as the loud
// warnings, in the window's language, and never as the question.
TEST_F(SftpSessionTest, RevokedKeyAndKeyOfAnotherTypeAreRefusedAsWarnings)
{
    const QByteArray serverKey = ssh.hostPublicKey().split(' ').mid(0, 2).join(' ');
    const QString ecdsa = ssh.makeUserKey(QStringLiteral("other_type"), QStringLiteral("ecdsa"), QString(), false);
    QFile ecdsaPublic(ecdsa + QStringLiteral(".pub"));
    ASSERT_TRUE(ecdsaPublic.open(QIODevice::ReadOnly));
    const QByteArray ecdsaKey = ecdsaPublic.readAll().split(' ').mid(0, 2).join(' ');
    const QByteArray host = hostPattern().toLatin1();
    const struct {
        QByteArray content;
        Language::Id language;
        QString warning;
    } cases[] = {
        {"@revoked " + host + ' ' + serverKey + '\n', Language::German,
         QString::fromUtf8("WARNUNG: DER HOSTSCHLÜSSEL VON %1 WURDE GESPERRT!\n"
                           "Der Server zeigt den Schlüssel ssh-ed25519 %2, den known_hosts als gesperrt markiert "
                           "(@revoked): er darf nie angenommen werden. Jemand könnte Sie gerade belauschen "
                           "(Man-in-the-Middle-Angriff), oder der Server benutzt noch einen Schlüssel, den sein "
                           "Administrator zurückgezogen hat.\n"
                           "Es wurde keine Verbindung aufgebaut. Fragen Sie den Administrator des Servers nach seinem "
                           "aktuellen Hostschlüssel.")
             .arg(hostPattern(), ssh.hostKeyFingerprint())},
        {host + ' ' + ecdsaKey + '\n', Language::English,
         QStringLiteral("WARNING: THE HOST KEY OF %1 HAS CHANGED!\n"
                        "Someone could be eavesdropping on you right now (man-in-the-middle attack), "
                        "or the host key has just been changed.\n"
                        "Known key: ecdsa-sha2-nistp256 %2\n"
                        "Offered key: ssh-ed25519 %3\n"
                        "No connection was made. If the change is expected, remove the old entry with\n"
                        "  ssh-keygen -R \"%1\" -f \"%4\"\n"
                        "and connect again.")
             .arg(hostPattern(), SshTestServer::fingerprintOf(ecdsa + QStringLiteral(".pub")), ssh.hostKeyFingerprint(),
                  knownHostsFile())},
    };
    for (const auto &c : cases) {
        QDir().mkpath(sshFolder());
        QFile file(knownHostsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.content);
        file.close();
        language.setCurrent(c.language);
        makeMaster();
        useSite(*master);
        prompts.clear();
        prompts.hostKeyAnswers = {Trust::TrustAlways};
        EXPECT_FALSE(master->Connect(false));
        EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: ") + c.warning});
        EXPECT_EQ(knownHosts(), c.content);
    }
}

// An encrypted key file: the passphrase is asked (again after a wrong one), used, and kept
// nowhere: neither the login file nor the next program run has it.
TEST_F(SftpSessionTest, EncryptedKeyFileAsksForItsPassphrase)
{
    const QString key = ssh.makeUserKey(QStringLiteral("locked"), QStringLiteral("ed25519"), QStringLiteral("open sesame"), true);
    ASSERT_FALSE(key.isEmpty());
    master->setKeyFile(key);
    prompts.hostKeyAnswers = {Trust::TrustAlways};
    prompts.secretAnswers = {QStringLiteral("wrong"), QStringLiteral("open sesame")};
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    const QString text = QStringLiteral("The key file %1 is protected by a passphrase. Enter it to log in:").arg(key);
    EXPECT_EQ(prompts.shown.mid(2), (QStringList{QStringLiteral("askSecret: Passphrase of the key"),
                                                 QStringLiteral("secret text: ") + text,
                                                 QStringLiteral("askSecret: Passphrase of the key"),
                                                 QStringLiteral("secret text: The passphrase was wrong. ") + text}));
    const QByteArray login = TestEnvironment::readFile(folders.appDataFile(MasterFTP::LoginFileName));
    EXPECT_FALSE(login.contains("sesame"));
    EXPECT_TRUE(login.contains("Protocol=sftp")) << login.constData();
    EXPECT_TRUE(login.contains(QByteArray(QByteArray("KeyFile=") + key.toUtf8()))) << login.constData();

    makeMaster();
    useSite(*master);
    master->setKeyFile(key);
    prompts.clear();
    EXPECT_FALSE(master->Connect(false)) << "cancelling the question leaves no way to log in";
    EXPECT_EQ(prompts.shown.value(0), QStringLiteral("askSecret: Passphrase of the key"));
}

// The site's protocol and key file travel in the login file; a file of an older version
// without them is a plain FTP site.
TEST_F(SftpSessionTest, LoginFileKeepsProtocolAndKeyFile)
{
    const QString file = env.root() + QStringLiteral("site.ftp");
    ASSERT_TRUE(master->SaveLogin(file));
    makeMaster();
    ASSERT_TRUE(master->LoadLogin(file));
    EXPECT_EQ(master->encryption(), FtpEncryption::Sftp);
    EXPECT_EQ(master->keyFile(), ssh.userKeyFile());
    EXPECT_EQ(master->port(), QString::number(ssh.port()));
    prompts.hostKeyAnswers = {Trust::TrustThisTime};
    EXPECT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();

    env.writeFile(file, "[SETTINGS]\r\nHost=127.0.0.1\r\nUser=u\r\nPassword=\r\nPort=\r\nActivMode=0\r\n");
    ASSERT_TRUE(master->LoadLogin(file));
    EXPECT_EQ(master->encryption(), FtpEncryption::Plain);
    EXPECT_TRUE(master->keyFile().isEmpty());
    EXPECT_FALSE(master->isConnected()) << "choosing another protocol ends the SFTP connection";
}

// Listings come from the attributes: names exactly as on the server (blanks, umlauts, a
// leading blank), 64-bit sizes, the modification time, the mode bits and links as links.
TEST_F(SftpSessionTest, ListingEntriesComeFromTheAttributes)
{
    ssh.writeFile(QStringLiteral("site/empty.txt"), QByteArray());
    ssh.writeFile(QStringLiteral("site/with blanks.txt"), "abc");
    ssh.writeFile(QStringLiteral("site/Grüße.txt"), "12345");
    ssh.writeFile(QStringLiteral("site/ leading.txt"), "x");
    QDir().mkpath(ssh.remotePath(QStringLiteral("site/folder")));
    QFile::link(QStringLiteral("Grüße.txt"), ssh.remotePath(QStringLiteral("site/link")));
    QFile::setPermissions(ssh.remotePath(QStringLiteral("site/with blanks.txt")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup);
    QFile big(ssh.remotePath(QStringLiteral("site/big.bin")));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(5) * 1024 * 1024 * 1024)); // sparse: 5 GiB without the disk space
    big.close();
    const QDateTime stamp(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
    QFile touched(ssh.remotePath(QStringLiteral("site/empty.txt")));
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(stamp, QFileDevice::FileModificationTime));
    touched.close();
    QFile::setPermissions(touched.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    connectTrusting();

    QList<ListingEntry> entries;
    ASSERT_TRUE(master->GetListing(ssh.remotePath(QStringLiteral("site")), entries)) << protocol().join(u'\n').toStdString();
    QStringList names;
    for (const ListingEntry &e : entries)
        names << e.name;
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral(" leading.txt"), QStringLiteral("Grüße.txt"), QStringLiteral("big.bin"),
                                  QStringLiteral("empty.txt"), QStringLiteral("folder"), QStringLiteral("link"),
                                  QStringLiteral("with blanks.txt")}));
    const auto find = [&](const QString &name) {
        for (const ListingEntry &e : entries) {
            if (e.name == name)
                return e;
        }
        return ListingEntry();
    };
    const ListingEntry empty = find(QStringLiteral("empty.txt"));
    EXPECT_EQ(empty.format(), QStringLiteral("1|empty.txt|0|04.03.2021 05:06|-rw-r-----|"))
        << empty.format().toStdString();
    EXPECT_EQ(empty.date, QDateTime(QDate(2021, 3, 4), QTime(5, 6), Qt::UTC));
    EXPECT_EQ(find(QStringLiteral("with blanks.txt")).permissions, QStringLiteral("-rwxr-----"));
    EXPECT_EQ(find(QStringLiteral("big.bin")).size, qint64(5) * 1024 * 1024 * 1024);
    EXPECT_EQ(find(QStringLiteral("Grüße.txt")).size, 5);
    const ListingEntry folder = find(QStringLiteral("folder"));
    EXPECT_EQ(folder.kind, EntryKind::Folder);
    EXPECT_TRUE(folder.permissions.startsWith(u'd'));
    const ListingEntry link = find(QStringLiteral("link"));
    EXPECT_EQ(link.kind, EntryKind::Link);
    EXPECT_EQ(link.linkTarget, QStringLiteral("Grüße.txt"));
    EXPECT_TRUE(link.permissions.startsWith(u'l'));
    EXPECT_TRUE(master->RemoteFileExists(ssh.remotePath(QStringLiteral("site/ leading.txt"))));

    // A name that is no valid UTF-8 could never be named back: it is left out and said so.
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import sys; open(sys.argv[1].encode() + b'/bad\\xff.txt', 'wb').close()"),
                  ssh.remotePath(QStringLiteral("site"))});
    ASSERT_TRUE(python.waitForFinished() && python.exitCode() == 0) << python.readAllStandardError().constData();
    ASSERT_TRUE(master->GetListing(ssh.remotePath(QStringLiteral("site")), entries));
    EXPECT_EQ(entries.size(), 7);
    EXPECT_EQ(protocol().filter(QStringLiteral("no valid UTF-8")).size(), 1) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(protocol().filter(QStringLiteral("no valid UTF-8")).value(0).startsWith(
        QStringLiteral("2: Skipped a name the server listed that is no valid UTF-8: bad")));
    // Qt cannot name the file either: it goes the way it came, or the server's folder stays.
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import os, sys; os.remove(sys.argv[1].encode() + b'/bad\\xff.txt')"),
                  ssh.remotePath(QStringLiteral("site"))});
    ASSERT_TRUE(python.waitForFinished() && python.exitCode() == 0) << python.readAllStandardError().constData();

    QList<ListingEntry> missing;
    EXPECT_FALSE(master->GetListing(ssh.remotePath(QStringLiteral("nowhere")), missing));
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: Failed to retrieve directory listing")));
}

// The commands the queue and the tools send: "SITE CHMOD", rename (onto an existing file it
// replaces it, as FTP servers do; onto a folder it is refused and nothing is lost), folders.
TEST_F(SftpSessionTest, CommandsMapToSftpRequests)
{
    ssh.writeFile(QStringLiteral("a.txt"), "new");
    ssh.writeFile(QStringLiteral("b.txt"), "old");
    QDir().mkpath(ssh.remotePath(QStringLiteral("dir")));
    connectTrusting();
    FtpClient &client = master->client();

    client.site(QStringLiteral("CHMOD 640 ") + ssh.remotePath(QStringLiteral("a.txt")));
    EXPECT_EQ(QFileInfo(ssh.remotePath(QStringLiteral("a.txt"))).permissions(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
    try {
        client.site(QStringLiteral("UTIME 20200101 ") + ssh.remotePath(QStringLiteral("a.txt")));
        ADD_FAILURE() << "an unknown SITE command was accepted";
    } catch (const FtpError &error) {
        EXPECT_TRUE(error.isRefusal());
        EXPECT_EQ(error.message(), QStringLiteral("SFTP knows no SITE command: UTIME 20200101 ") + ssh.remotePath(QStringLiteral("a.txt")));
    }

    client.rename(ssh.remotePath(QStringLiteral("a.txt")), ssh.remotePath(QStringLiteral("b.txt")));
    EXPECT_FALSE(QFileInfo::exists(ssh.remotePath(QStringLiteral("a.txt"))));
    EXPECT_EQ(ssh.readFile(QStringLiteral("b.txt")), "new");
    EXPECT_EQ(QDir(ssh.root()).entryList(QDir::Files), QStringList{QStringLiteral("b.txt")});

    EXPECT_THROW(client.rename(ssh.remotePath(QStringLiteral("b.txt")), ssh.remotePath(QStringLiteral("dir"))), FtpError);
    EXPECT_EQ(ssh.readFile(QStringLiteral("b.txt")), "new");
    EXPECT_TRUE(QFileInfo(ssh.remotePath(QStringLiteral("dir"))).isDir());

    client.makeDirectory(ssh.remotePath(QStringLiteral("dir/sub")));
    EXPECT_TRUE(QFileInfo(ssh.remotePath(QStringLiteral("dir/sub"))).isDir());
    client.removeDirectory(ssh.remotePath(QStringLiteral("dir/sub")));
    EXPECT_FALSE(QFileInfo::exists(ssh.remotePath(QStringLiteral("dir/sub"))));
    client.deleteFile(ssh.remotePath(QStringLiteral("b.txt")));
    EXPECT_FALSE(QFileInfo::exists(ssh.remotePath(QStringLiteral("b.txt"))));
    try {
        client.deleteFile(ssh.remotePath(QStringLiteral("b.txt")));
        ADD_FAILURE() << "deleting a missing file succeeded";
    } catch (const FtpError &error) {
        EXPECT_EQ(error.kind(), FtpError::Kind::Refused) << error.message().toStdString();
    }
    EXPECT_TRUE(master->CheckConnection());
    ssh.dropConnections();
    EXPECT_FALSE(master->CheckConnection()) << "the keep-alive check must reach the server";
}
