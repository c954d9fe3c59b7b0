// The session over FTP over TLS against a real server: the certificate window's texts and
// answers, the file of trusted certificates, and the encryption in the login file.
#include "SessionFixture.h"
#include "TlsTestCertificates.h"

#include "engine/CertificateTrustStore.h"
#include "engine/LoginFile.h"

#include <QFile>
#include <QFileInfo>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

using CertificateAnswer = UserPrompts::CertificateAnswer;

void writeAt(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

class SessionTlsTest : public SessionTest {
protected:
    void SetUp() override { ASSERT_TRUE(certificates.isValid()) << certificates.errorText().toStdString(); }

    void startTlsServer(const QString &certificate)
    {
        FtpTestServer::Setup setup;
        setup.tls = QStringLiteral("explicit");
        setup.certificateFile = certificates.file(certificate);
        setup.requireSessionReuse = true;
        startServer(setup);
        master->setEncryption(FtpEncryption::ExplicitRequired);
    }
    QString trustFile() const { return folders.appDataFile(CertificateTrustStore::FileName); }
    QString fingerprint(const QString &certificate) const { return certificates.fingerprint(certificate); }
    QStringList questions() const { return prompts.shown.filter(QStringLiteral("askCertificate: ")); }

    TlsTestCertificates certificates;
};

TEST_F(SessionTlsTest, TrustAlwaysIsKeptPerHostAndPortInAFileOnlyTheUserReads)
{
    startTlsServer(QStringLiteral("self-signed.pem"));
    prompts.certificateAnswers = {CertificateAnswer::TrustAlways};
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(questions(), QStringList{QStringLiteral("askCertificate: Untrusted certificate")});
    EXPECT_TRUE(master->encryptionText().startsWith(QStringLiteral("TLSv1."))) << master->encryptionText().toStdString();
    EXPECT_EQ(protocol().filter(QStringLiteral("TLS connection established: TLSv1.")).size(), 1)
        << protocol().join(u'\n').toStdString();

    ASSERT_TRUE(QFileInfo::exists(trustFile()));
    // Owner, group and other: rw-------.
    EXPECT_EQ(QFileInfo(trustFile()).permissions() & 0xF0FF, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile file(trustFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              QStringLiteral("127.0.0.1 %1 %2\n").arg(server->port()).arg(fingerprint(QStringLiteral("self-signed.pem"))));

    // Next program run: no question.
    master->Disconnect();
    makeMaster();
    master->SetConnectionData(server->host(), QString::number(server->port()), server->user(), server->password(), 0);
    master->setEncryption(FtpEncryption::ExplicitRequired);
    prompts.clear();
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(questions().isEmpty());
}

TEST_F(SessionTlsTest, TrustThisTimeLastsForTheProgramRunOnly)
{
    startTlsServer(QStringLiteral("expired.pem"));
    prompts.certificateAnswers = {CertificateAnswer::TrustThisTime};
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_FALSE(QFileInfo::exists(trustFile()));
    // A reconnect in the same run asks nothing.
    ASSERT_TRUE(server->restart());
    master->EnsureConnected();
    EXPECT_TRUE(master->isConnected());
    EXPECT_EQ(questions().size(), 1);

    makeMaster();
    master->SetConnectionData(server->host(), QString::number(server->port()), server->user(), server->password(), 0);
    master->setEncryption(FtpEncryption::ExplicitRequired);
    EXPECT_FALSE(master->Connect(false)) << "unscripted, the window answers Cancel";
    EXPECT_EQ(questions().size(), 2);
}

TEST_F(SessionTlsTest, CancelShowsTheCertificateAndConnectsNot)
{
    startTlsServer(QStringLiteral("wrong-host.pem"));
    EXPECT_FALSE(master->Connect(false));
    const QString fp = fingerprint(QStringLiteral("wrong-host.pem"));
    const QString site = QStringLiteral("127.0.0.1:") + QString::number(server->port());
    ASSERT_EQ(prompts.shown.size(), 3) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(prompts.shown[0], QStringLiteral("askCertificate: Untrusted certificate"));
    const QStringList text = prompts.shown[1].mid(QStringLiteral("certificate text: ").size()).split(u'\n');
    ASSERT_EQ(text.size(), 7) << prompts.shown[1].toStdString();
    EXPECT_EQ(text[0], QStringLiteral("The certificate of %1 is not trusted.").arg(site));
    EXPECT_EQ(text[1], QStringLiteral("Fingerprint (SHA-256): ") + fp);
    EXPECT_EQ(text[2], QStringLiteral("Subject: CN=elsewhere.invalid, O=Velmora Test"));
    EXPECT_EQ(text[3], QStringLiteral("Valid for: elsewhere.invalid"));
    EXPECT_EQ(text[4], QStringLiteral("Issuer: CN=Velmora Test CA, O=Velmora Test"));
    EXPECT_TRUE(text[5].startsWith(QStringLiteral("Valid from 20"))) << text[5].toStdString();
    EXPECT_TRUE(text[5].endsWith(QStringLiteral(" UTC"))) << text[5].toStdString();
    EXPECT_EQ(text[6], QStringLiteral("Reason: The host name did not match any of the valid hosts for this certificate"));
    EXPECT_EQ(prompts.shown[2], QStringLiteral("error: The certificate of %1 is not trusted (SHA-256 %2): The host name did "
                                               "not match any of the valid hosts for this certificate")
                                    .arg(site, fp));
    EXPECT_FALSE(QFileInfo::exists(trustFile()));
}

TEST_F(SessionTlsTest, AChangedCertificateWarnsWithBothFingerprintsAndConnectsOnlyWhenAcceptedAgain)
{
    startTlsServer(QStringLiteral("self-signed.pem"));
    prompts.certificateAnswers = {CertificateAnswer::TrustAlways};
    ASSERT_TRUE(master->Connect(false));
    master->Disconnect();

    server->setCertificateFile(certificates.file(QStringLiteral("self-signed-2.pem")));
    ASSERT_TRUE(server->restart());
    prompts.clear();
    EXPECT_FALSE(master->Connect(false)) << "Cancel keeps the old trust and does not connect";
    ASSERT_GE(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0], QStringLiteral("askCertificate: WARNING: the server's certificate has changed"));
    const QStringList text = prompts.shown[1].split(u'\n');
    EXPECT_TRUE(text[0].contains(QStringLiteral("has CHANGED since you trusted it"))) << text[0].toStdString();
    EXPECT_EQ(text[1], QStringLiteral("Trusted fingerprint (SHA-256): ") + fingerprint(QStringLiteral("self-signed.pem")));
    EXPECT_EQ(text[2], QStringLiteral("New fingerprint (SHA-256): ") + fingerprint(QStringLiteral("self-signed-2.pem")));

    prompts.clear();
    prompts.certificateAnswers = {CertificateAnswer::TrustAlways};
    master->resetRetryCounter();
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(CertificateTrustStore(folders.appDataFolder).fingerprint(server->host(), server->port()),
              fingerprint(QStringLiteral("self-signed-2.pem")));
}

TEST_F(SessionTlsTest, LoginFilesKeepTheEncryptionAsProtocol)
{
    struct Case {
        FtpEncryption encryption;
        const char *written;
    };
    const Case cases[] = {{FtpEncryption::Plain, "ftp"},
                          {FtpEncryption::ExplicitIfAvailable, "ftp-tls-if-available"},
                          {FtpEncryption::ExplicitRequired, "ftpes"},
                          {FtpEncryption::Implicit, "ftps"},
                          {FtpEncryption::Sftp, "sftp"}};
    const QString path = folders.appDataFile(QStringLiteral("job.ftp"));
    for (const Case &c : cases) {
        master->SetConnectionData(QStringLiteral("example.org"), QStringLiteral("21"), QStringLiteral("u"), QStringLiteral("p"), 0);
        master->setEncryption(c.encryption);
        ASSERT_TRUE(master->SaveLogin(path));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains(QByteArray(QByteArray("Protocol=") + c.written + "\r\n"))) << c.written;
        master->setEncryption(FtpEncryption::Plain == c.encryption ? FtpEncryption::Implicit : FtpEncryption::Plain);
        ASSERT_TRUE(master->LoadLogin(path));
        EXPECT_EQ(master->encryption(), c.encryption) << c.written;
    }

    // A file of an older version has no key: plain FTP. A value this version does not know
    // asks for TLS rather than sending a password in clear.
    writeAt(path, "[SETTINGS]\r\nHost=example.org\r\nUser=u\r\nPort=21\r\n");
    EXPECT_EQ(ReadLoginFile(path).encryption, FtpEncryption::Plain);
    writeAt(path, "[SETTINGS]\r\nHost=example.org\r\nProtocol=webdav\r\n");
    EXPECT_EQ(ReadLoginFile(path).encryption, FtpEncryption::ExplicitRequired);
}

} // namespace
