// The states a known_hosts file can be in for a real sshd, each judged as OpenSSH judges it:
// only the same key connects, any other key on record for the host (of the same type or not)
// and a revoked key are refused loudly without a question, and only an unknown host is asked
// about. Each state is run as the window runs it (someone who would trust anything) and as a
// batch job runs it (nobody to ask); known_hosts is compared byte for byte afterwards.
#include "SftpTestSupport.h"
#include "engine/sftp/SshKnownHostsJudge.h"

#include <QFile>

using namespace Velmora;
using namespace Velmora::Testing;
using Answer = SshHostKeyTrust::Answer;
using Status = SshHostKey::Status;

namespace {

class KnownHostsStatesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.start()) << qPrintable(server.errorText()); }

    QByteArray knownHosts() const
    {
        QFile file(user.knownHostsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeKnownHosts(const QByteArray &content, bool hashed) const
    {
        QDir().mkpath(user.sshFolder());
        QFile::remove(user.knownHostsFile() + QStringLiteral(".old"));
        QFile file(user.knownHostsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        if (hashed) {
            bool ok = false;
            SshTestServer::runTool(QStringLiteral("/usr/bin/ssh-keygen"),
                                   {QStringLiteral("-H"), QStringLiteral("-f"), user.knownHostsFile()}, &ok);
            ASSERT_TRUE(ok);
            ASSERT_TRUE(knownHosts().startsWith("|1|"));
        }
    }
    // "type base64" of a key made for the test (not the server's).
    QByteArray otherKey(const QString &name, const QString &type)
    {
        const QString file = server.makeUserKey(name, type, QString(), false);
        QFile publicKey(file + QStringLiteral(".pub"));
        if (!publicKey.open(QIODevice::ReadOnly))
            return {};
        return publicKey.readAll().split(' ').mid(0, 2).join(' ');
    }
    QByteArray hostPattern() const { return QStringLiteral("[127.0.0.1]:%1").arg(server.port()).toLatin1(); }
    QByteArray serverKey() const { return server.hostPublicKey().split(' ').mid(0, 2).join(' '); }

    // Connects; the failure's message, or an empty text when it connected.
    static QString connectOutcome(SftpClient &client)
    {
        try {
            client.connectAndLogin();
        } catch (const SftpError &error) {
            return error.message();
        }
        return QString();
    }

    SshTestServer server;
    SshUserFolder user;
};

} // namespace

TEST_F(KnownHostsStatesTest, EachStateIsJudgedForTheWindowAndTheBatchJob)
{
    const QByteArray sameType = otherKey(QStringLiteral("same_type"), QStringLiteral("ed25519"));
    const QByteArray otherType = otherKey(QStringLiteral("other_type"), QStringLiteral("ecdsa"));
    ASSERT_FALSE(sameType.isEmpty());
    ASSERT_FALSE(otherType.isEmpty());
    const QByteArray host = hostPattern();
    const QByteArray key = serverKey();
    struct Case {
        const char *name;
        QByteArray content;
        bool hashed;
        Status status;
    };
    const QList<Case> cases = {
        {"same key", host + ' ' + key + '\n', false, Status::Known},
        {"same key, hashed", host + ' ' + key + '\n', true, Status::Known},
        {"same key, in a list of names", "other.example," + host + ' ' + key + '\n', false, Status::Known},
        {"same key, by wildcard", "[127.0.0.?]:*" + QByteArray(" ") + key + '\n', false, Status::Known},
        {"other key of the same type", host + ' ' + sameType + '\n', false, Status::Changed},
        {"other key of the same type, hashed", host + ' ' + sameType + '\n', true, Status::Changed},
        {"only a key of another type", host + ' ' + otherType + '\n', false, Status::OtherType},
        {"only a key of another type, hashed", host + ' ' + otherType + '\n', true, Status::OtherType},
        {"revoked", "@revoked " + host + ' ' + key + '\n', false, Status::Revoked},
        {"revoked for every host, beside a trusted entry", host + ' ' + key + "\n@revoked * " + key + '\n', false,
         Status::Revoked},
        {"another key revoked, the same key trusted", "@revoked " + host + ' ' + sameType + '\n' + host + ' ' + key + '\n',
         false, Status::Known},
        {"entry for the address without the port", "127.0.0.1 " + key + '\n', false, Status::Unknown},
        {"entry for the address without the port, hashed", "127.0.0.1 " + key + '\n', true, Status::Unknown},
        {"entry for the port without the address", "[127.0.0.2]:" + QByteArray::number(server.port()) + ' ' + key + '\n',
         false, Status::Unknown},
        {"the host ruled out by a negated pattern", "*,!" + host + ' ' + sameType + '\n', false, Status::Unknown},
        {"a certificate authority only", "@cert-authority " + host + ' ' + key + '\n', false, Status::Unknown},
        {"empty file", QByteArray(), false, Status::Unknown},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        // A batch job: nobody is asked, only a known key connects, the file stays as it was.
        writeKnownHosts(c.content, c.hashed);
        const QByteArray before = knownHosts();
        auto batch = user.client(server, nullptr);
        const QString batchOutcome = connectOutcome(*batch);
        EXPECT_EQ(batch->hostKey().status, c.status);
        EXPECT_EQ(batchOutcome.isEmpty(), c.status == Status::Known) << qPrintable(batchOutcome);
        EXPECT_EQ(knownHosts(), before);

        // The window, answered "Trust always": asked only about an unknown host, whose key is then
        // appended; every other state leaves the file alone.
        writeKnownHosts(c.content, c.hashed);
        const QByteArray beforeWindow = knownHosts(); // hashed again: another salt
        ScriptedHostKeyTrust trust({Answer::TrustAlways});
        auto window = user.client(server, &trust);
        const QString windowOutcome = connectOutcome(*window);
        const bool refused = c.status != Status::Known && c.status != Status::Unknown;
        EXPECT_EQ(trust.shown.size(), c.status == Status::Unknown ? 1 : 0);
        EXPECT_EQ(windowOutcome.isEmpty(), !refused) << qPrintable(windowOutcome);
        const QByteArray after = knownHosts();
        if (c.status == Status::Unknown) {
            EXPECT_TRUE(after.startsWith(beforeWindow));
            EXPECT_EQ(after.mid(beforeWindow.size()).count('\n'), 1);
            EXPECT_TRUE(after.mid(beforeWindow.size()).endsWith(QByteArray(' ' + key + '\n')));
        } else {
            EXPECT_EQ(after, beforeWindow);
        }
        if (refused) {
            EXPECT_TRUE(windowOutcome.startsWith(c.status == Status::Revoked
                                                     ? QStringLiteral("WARNING: THE HOST KEY OF %1 HAS BEEN REVOKED!\n")
                                                           .arg(QString::fromLatin1(host))
                                                     : QStringLiteral("WARNING: THE HOST KEY OF %1 HAS CHANGED!\n")
                                                           .arg(QString::fromLatin1(host))))
                << qPrintable(windowOutcome);
            EXPECT_EQ(batchOutcome, windowOutcome);
        }
    }
}

// A key of another type is refused with both keys named by type and fingerprint, and with the
// command that removes the old entry; OpenSSH still refuses the server afterwards.
TEST_F(KnownHostsStatesTest, KeyOfAnotherTypeIsRefusedLikeAChangedKey)
{
    const QString ecdsa = server.makeUserKey(QStringLiteral("other_type"), QStringLiteral("ecdsa"), QString(), false);
    QFile ecdsaPublic(ecdsa + QStringLiteral(".pub"));
    ASSERT_TRUE(ecdsaPublic.open(QIODevice::ReadOnly));
    writeKnownHosts(hostPattern() + ' ' + ecdsaPublic.readAll().split(' ').mid(0, 2).join(' ') + '\n', false);
    ScriptedHostKeyTrust trust({Answer::TrustAlways});
    auto client = user.client(server, &trust);
    EXPECT_EQ(connectOutcome(*client),
              QStringLiteral("WARNING: THE HOST KEY OF %1 HAS CHANGED!\n"
                             "Someone could be eavesdropping on you right now (man-in-the-middle attack), "
                             "or the host key has just been changed.\n"
                             "Known key: ecdsa-sha2-nistp256 %2\n"
                             "Offered key: ssh-ed25519 %3\n"
                             "No connection was made. If the change is expected, remove the old entry with\n"
                             "  ssh-keygen -R \"%1\" -f \"%4\"\n"
                             "and connect again.")
                  .arg(QString::fromLatin1(hostPattern()), SshTestServer::fingerprintOf(ecdsa + QStringLiteral(".pub")),
                       server.hostKeyFingerprint(), user.knownHostsFile()));
    EXPECT_TRUE(trust.shown.isEmpty());
}

// A key trusted "this time" stands for the host for the rest of the run: when the server then
// shows another key, that is a changed key, refused without a question; nothing is written.
TEST_F(KnownHostsStatesTest, KeyTrustedThisTimeThatChangesInTheSameRunIsRefused)
{
    ScriptedHostKeyTrust trust({Answer::TrustOnce, Answer::TrustAlways});
    auto client = user.client(server, &trust);
    client->connectAndLogin();
    client->closeConnection();
    const QString trusted = server.hostKeyFingerprint();
    ASSERT_TRUE(server.changeHostKey(QStringLiteral("ecdsa"))) << qPrintable(server.errorText());

    // The same client and a transfer session of the same run (which takes the run's keys over).
    auto transfer = user.client(server, &trust);
    transfer->setAcceptedThisRun(client->acceptedThisRun());
    for (SftpClient *c : {client.get(), transfer.get()}) {
        const QString outcome = connectOutcome(*c);
        EXPECT_EQ(c->hostKey().status, Status::Changed);
        EXPECT_TRUE(c->hostKey().trustedThisRunOnly);
        EXPECT_TRUE(outcome.startsWith(QStringLiteral("WARNING: THE HOST KEY OF %1 HAS CHANGED!\n")
                                           .arg(QString::fromLatin1(hostPattern()))))
            << qPrintable(outcome);
        EXPECT_TRUE(outcome.contains(QStringLiteral("Key trusted this time: ssh-ed25519 ") + trusted) ||
                    outcome.contains(QStringLiteral("Key trusted this time: ecdsa-sha2-nistp256 ") + trusted))
            << qPrintable(outcome);
        EXPECT_TRUE(outcome.contains(QStringLiteral("Offered key: ecdsa-sha2-nistp256 ") + server.hostKeyFingerprint()));
    }
    EXPECT_EQ(trust.shown.size(), 1);
    EXPECT_TRUE(knownHosts().isEmpty());
}

// The host patterns of known_hosts lines, as OpenSSH matches them.
TEST(KnownHostsJudge, HostFieldsMatchAsOpenSshMatchesThem)
{
    const struct {
        const char *field;
        const char *host;
        bool matches;
    } cases[] = {
        {"example.org", "example.org", true},
        {"EXAMPLE.org", "example.ORG", true},
        {"example.org", "[example.org]:2222", false},
        {"[example.org]:2222", "[example.org]:2222", true},
        {"[example.org]:2222", "[example.org]:22222", false},
        {"a.example,example.org", "example.org", true},
        {"*.example.org", "www.example.org", true},
        {"*.example.org", "example.org", false},
        {"www?.example.org", "www2.example.org", true},
        {"www?.example.org", "www.example.org", false},
        {"*", "[10.0.0.1]:2200", true},
        {"*,!bad.example", "bad.example", false},
        {"!bad.example,*", "good.example", true},
        {"!bad.example", "good.example", false}, // a negation alone names nobody
        {"[10.0.0.*]:22*", "[10.0.0.7]:2200", true},
        {"", "example.org", false},
        {"|1|bm90IGEgaGFzaA==|bm90IGEgaGFzaA==", "example.org", false},
        {"|1|", "example.org", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SshKnownHostsJudge::hostFieldMatches(QString::fromLatin1(c.field), QString::fromLatin1(c.host)), c.matches)
            << c.field << " / " << c.host;
    }
}

// Lines OpenSSH would not use are skipped, never taken for keys or for hosts.
TEST(KnownHostsJudge, DamagedAndForeignLinesAreSkipped)
{
    const QByteArray key = "AAAAC3NzaC1lZDI1NTE5AAAAIOMqqnkVzrm0SdG6UOoqKLsabgH5C9okWi0dh2l9GKJl";
    const QByteArray blob = QByteArray::fromBase64(key);
    const struct {
        const char *name;
        QByteArray content;
        Status status;
    } cases[] = {
        {"comment", "# example.org ssh-ed25519 " + key + '\n', Status::Unknown},
        {"no key", "example.org ssh-ed25519\n", Status::Unknown},
        {"unknown marker", "@trusted example.org ssh-ed25519 " + key + '\n', Status::Unknown},
        {"tabs and CR LF", "example.org\tssh-ed25519\t" + key + " comment\r\n", Status::Known},
        {"no line end", "example.org ssh-ed25519 " + key, Status::Known},
        {"not text", QByteArray("\xff\xfe\x00example.org", 14) + '\n', Status::Unknown},
        {"key of another type that is not base64", "example.org ssh-rsa ***\n", Status::Unknown},
    };
    for (const auto &c : cases) {
        const SshKnownHostsJudge::Verdict verdict =
            SshKnownHostsJudge::judge({c.content}, QStringLiteral("example.org"), QStringLiteral("ssh-ed25519"), blob);
        EXPECT_EQ(verdict.status, c.status) << c.name;
    }
}
