// The FTP client over TLS against a real server (pyftpdlib's TLS handler on loopback) with a
// certificate authority and certificates made for the test.
#include "ClientTestSupport.h"
#include "FtpTestServer.h"
#include "QtPrinters.h"
#include "TlsTestCertificates.h"

#include "engine/ftp/FtpEncryption.h"
#include "engine/ftp/FtpError.h"
#include "engine/ftp/QtFtpClient.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QByteArray readLocal(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(23);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(generator.bounded(256));
    return bytes;
}

// Answers certificate questions as a user would and records what was shown.
class ScriptedTrust : public FtpCertificateTrust {
public:
    QString trustedFingerprint(const QString &host, quint16 port) const override
    {
        return host == trustedHost && port == trustedPort ? trusted : QString();
    }
    bool accept(const FtpCertificate &certificate) override
    {
        shown << certificate;
        return answer;
    }
    bool answer = false;
    QString trusted;
    QString trustedHost;
    quint16 trustedPort = 0;
    QList<FtpCertificate> shown;
};

class TlsServer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(certificates.isValid()) << certificates.errorText().toStdString(); }

    void startServer(const QString &tls, const QString &certificate = QStringLiteral("server.pem"),
                     bool requireSessionReuse = true)
    {
        FtpTestServer::Setup setup;
        setup.tls = tls;
        setup.certificateFile = certificates.file(certificate);
        setup.requireSessionReuse = requireSessionReuse;
        setup.commandLog = commandLogPath();
        server = std::make_unique<FtpTestServer>(setup);
        ASSERT_TRUE(server->start()) << server->errorText().toStdString();
        client.setHost(server->host());
        client.setPort(server->port());
        client.setUser(server->user());
        client.setPassword(server->password());
        client.setTimeouts({5000, 10000, 10000});
        client.setCertificateTrust(&trust);
    }
    QString commandLogPath() const { return localDir.filePath(QStringLiteral("commands.log")); }
    // The command verbs the server received, in order.
    QStringList receivedCommands() const
    {
        return QString::fromLatin1(readLocal(commandLogPath())).split(u'\n', Qt::SkipEmptyParts);
    }
    QStringList statusLines(const QString &start, const QString &kind = QStringLiteral("status: ")) const
    {
        QStringList found;
        for (const QString &event : events.events) {
            if (event.startsWith(kind + start))
                found << event;
        }
        return found;
    }
    QString local(const QString &name) const { return localDir.filePath(name); }

    TlsTestCertificates certificates;
    QTemporaryDir localDir;
    std::unique_ptr<FtpTestServer> server;
    QtFtpClient client;
    ClientEventLog events{client};
    ScriptedTrust trust;
};

struct TlsMode {
    const char *name;
    const char *serverTls;
    FtpEncryption encryption;
    bool passive;
};

class TlsTransfers : public TlsServer, public ::testing::WithParamInterface<TlsMode> {};

// The server refuses every data connection that does not resume the control connection's TLS
// session, so these transfers also prove the session is reused.
TEST_P(TlsTransfers, FilesTravelByteExactOverTls)
{
    startServer(QString::fromLatin1(GetParam().serverTls));
    client.setEncryption(GetParam().encryption);
    client.setPassive(GetParam().passive);
    ASSERT_NO_THROW(client.connectAndLogin());
    EXPECT_TRUE(trust.shown.isEmpty()) << "a certificate of a trusted authority needs no question";

    const QByteArray content = randomBytes(3 * 1024 * 1024 + 17);
    server->writeFile(QStringLiteral("down/big.bin"), content);
    const FtpTransferResult down = client.download(QStringLiteral("/down/big.bin"), local(QStringLiteral("big.bin")));
    EXPECT_EQ(down.fileBytes, content.size());
    EXPECT_TRUE(readLocal(local(QStringLiteral("big.bin"))) == content);

    const QByteArray text = binarySample(300);
    QFile upload(local(QStringLiteral("up.bin")));
    ASSERT_TRUE(upload.open(QIODevice::WriteOnly));
    upload.write(text);
    upload.close();
    client.upload(local(QStringLiteral("up.bin")), QStringLiteral("/up.bin"));
    EXPECT_EQ(server->readFile(QStringLiteral("up.bin")).size(), text.size());
    EXPECT_TRUE(server->readFile(QStringLiteral("up.bin")) == text);

    const QStringList lines = client.list(QStringLiteral("/down"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral(" big.bin"))) << lines.first().toStdString();

    const QStringList established = statusLines(QStringLiteral("TLS connection established: TLSv1."));
    EXPECT_EQ(established.size(), 1) << events.events.join(u'\n').toStdString();
    EXPECT_TRUE(client.encryptionText().startsWith(QStringLiteral("TLSv1."))) << client.encryptionText().toStdString();

    const QStringList commands = receivedCommands();
    if (GetParam().encryption == FtpEncryption::ExplicitRequired) {
        ASSERT_GE(commands.size(), 2);
        EXPECT_EQ(commands.first(), QStringLiteral("AUTH"));
    }
    EXPECT_TRUE(commands.contains(QStringLiteral("PBSZ")));
    EXPECT_TRUE(commands.contains(QStringLiteral("PROT")));
    client.quit();
}

INSTANTIATE_TEST_SUITE_P(Modes, TlsTransfers,
                         ::testing::Values(TlsMode{"ExplicitPassive", "explicit", FtpEncryption::ExplicitRequired, true},
                                           TlsMode{"ExplicitActive", "explicit", FtpEncryption::ExplicitRequired, false},
                                           TlsMode{"ImplicitPassive", "implicit", FtpEncryption::Implicit, true},
                                           TlsMode{"ImplicitActive", "implicit", FtpEncryption::Implicit, false},
                                           TlsMode{"IfAvailablePassive", "explicit", FtpEncryption::ExplicitIfAvailable, true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(TlsServer, RequiredTlsAgainstAServerWithoutTlsSendsNoLogin)
{
    startServer(QString()); // plain FTP only: "500 Command AUTH not understood"
    client.setEncryption(FtpEncryption::ExplicitRequired);
    try {
        client.connectAndLogin();
        FAIL() << "connected without TLS";
    } catch (const FtpError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("The server refused encryption (AUTH TLS: 5")))
            << error.message().toStdString();
        EXPECT_TRUE(error.message().endsWith(
            QStringLiteral("The connection was closed; neither the user name nor the password was sent.")));
    }
    EXPECT_FALSE(client.isConnected());
    const QStringList commands = receivedCommands();
    EXPECT_EQ(commands, QStringList{QStringLiteral("AUTH")});
}

TEST_F(TlsServer, TlsIfAvailableFallsBackToPlainAndSaysSo)
{
    startServer(QString());
    client.setEncryption(FtpEncryption::ExplicitIfAvailable);
    ASSERT_NO_THROW(client.connectAndLogin());
    // A warning, not a status: the password went out in clear.
    const QStringList fallback = statusLines(QStringLiteral("The server does not offer TLS (AUTH TLS: 50"), QStringLiteral("warning: "));
    ASSERT_EQ(fallback.size(), 1) << events.events.join(u'\n').toStdString();
    EXPECT_TRUE(statusLines(QStringLiteral("The server does not offer TLS")).isEmpty());
    EXPECT_TRUE(fallback.first().endsWith(QStringLiteral("The connection continues without encryption.")));
    EXPECT_TRUE(client.encryptionText().isEmpty());
    server->writeFile(QStringLiteral("a.txt"), "plain");
    client.download(QStringLiteral("/a.txt"), local(QStringLiteral("a.txt")));
    EXPECT_EQ(readLocal(local(QStringLiteral("a.txt"))), QByteArray("plain"));
    EXPECT_FALSE(receivedCommands().contains(QStringLiteral("PBSZ")));
}

struct UntrustedCase {
    const char *name;
    const char *certificate;
    const char *reason; // part of the reason the user is shown
    bool accept;
};

class UntrustedCertificates : public TlsServer, public ::testing::WithParamInterface<UntrustedCase> {};

TEST_P(UntrustedCertificates, AreShownAndConnectOnlyWhenAccepted)
{
    const UntrustedCase &c = GetParam();
    startServer(QStringLiteral("explicit"), QString::fromLatin1(c.certificate));
    client.setEncryption(FtpEncryption::ExplicitRequired);
    trust.answer = c.accept;
    bool connected = false;
    try {
        client.connectAndLogin();
        connected = true;
    } catch (const FtpCertificateError &error) {
        EXPECT_TRUE(error.message().contains(certificates.fingerprint(QString::fromLatin1(c.certificate))))
            << error.message().toStdString();
    }
    EXPECT_EQ(connected, c.accept);
    ASSERT_EQ(trust.shown.size(), 1);
    const FtpCertificate &shown = trust.shown.first();
    EXPECT_EQ(shown.host, server->host());
    EXPECT_EQ(shown.port, server->port());
    EXPECT_EQ(shown.fingerprint, certificates.fingerprint(QString::fromLatin1(c.certificate)));
    EXPECT_TRUE(shown.reason.contains(QString::fromLatin1(c.reason), Qt::CaseInsensitive)) << shown.reason.toStdString();
    EXPECT_FALSE(shown.subject.isEmpty());
    EXPECT_FALSE(shown.issuer.isEmpty());
    EXPECT_TRUE(shown.validFrom.isValid() && shown.validUntil.isValid());
    EXPECT_FALSE(shown.changed());
    const QStringList commands = receivedCommands();
    if (!c.accept) {
        EXPECT_FALSE(commands.contains(QStringLiteral("USER"))) << commands.join(u' ').toStdString();
        EXPECT_FALSE(commands.contains(QStringLiteral("PASS")));
        EXPECT_FALSE(client.isConnected());
        return;
    }
    // Accepted for this run: a transfer works, and reconnecting does not ask again.
    server->writeFile(QStringLiteral("a.bin"), randomBytes(70000));
    client.download(QStringLiteral("/a.bin"), local(QStringLiteral("a.bin")));
    EXPECT_TRUE(readLocal(local(QStringLiteral("a.bin"))) == randomBytes(70000));
    client.quit();
    ASSERT_NO_THROW(client.connectAndLogin());
    EXPECT_EQ(trust.shown.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UntrustedCertificates,
    ::testing::Values(UntrustedCase{"WrongHostCancelled", "wrong-host.pem", "host name", false},
                      UntrustedCase{"WrongHostAccepted", "wrong-host.pem", "host name", true},
                      UntrustedCase{"ExpiredCancelled", "expired.pem", "expired", false},
                      UntrustedCase{"ExpiredAccepted", "expired.pem", "expired", true},
                      UntrustedCase{"SelfSignedCancelled", "self-signed.pem", "self-signed", false},
                      UntrustedCase{"SelfSignedAccepted", "self-signed.pem", "self-signed", true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(TlsServer, WithoutATrustDeciderAnUntrustedCertificateFails)
{
    startServer(QStringLiteral("explicit"), QStringLiteral("self-signed.pem"));
    client.setCertificateTrust(nullptr);
    client.setEncryption(FtpEncryption::ExplicitRequired);
    EXPECT_THROW(client.connectAndLogin(), FtpCertificateError);
    EXPECT_FALSE(receivedCommands().contains(QStringLiteral("USER")));
}

TEST_F(TlsServer, ATrustedCertificateThatChangesIsShownWithBothFingerprints)
{
    startServer(QStringLiteral("explicit"), QStringLiteral("self-signed.pem"));
    client.setEncryption(FtpEncryption::ExplicitRequired);
    trust.trusted = certificates.fingerprint(QStringLiteral("self-signed.pem"));
    trust.trustedHost = server->host();
    trust.trustedPort = server->port();
    ASSERT_NO_THROW(client.connectAndLogin());
    EXPECT_TRUE(trust.shown.isEmpty()) << "a trusted certificate connects without a question";
    client.quit();

    server->setCertificateFile(certificates.file(QStringLiteral("self-signed-2.pem")));
    ASSERT_TRUE(server->restart());
    try {
        client.connectAndLogin();
        FAIL() << "connected with a changed certificate";
    } catch (const FtpCertificateError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("WARNING: the certificate of 127.0.0.1:")))
            << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QStringLiteral("has CHANGED since it was trusted")));
    }
    ASSERT_EQ(trust.shown.size(), 1);
    EXPECT_TRUE(trust.shown.first().changed());
    EXPECT_EQ(trust.shown.first().previousFingerprint, certificates.fingerprint(QStringLiteral("self-signed.pem")));
    EXPECT_EQ(trust.shown.first().fingerprint, certificates.fingerprint(QStringLiteral("self-signed-2.pem")));

    trust.answer = true;
    ASSERT_NO_THROW(client.connectAndLogin());
    EXPECT_TRUE(client.isConnected());
}

} // namespace
