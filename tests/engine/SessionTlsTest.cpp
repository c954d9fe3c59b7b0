// The session over FTP over TLS against a real server: the certificate window's texts and
// answers, the file of trusted certificates, and the encryption in the login file.
#include "SessionFixture.h"
#include "TlsTestCertificates.h"

#include "engine/CertificateTrustStore.h"
#include "engine/LoginFile.h"
#include "engine/TlsFailureText.h"

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
    // The window is all the user sees: no second box repeats its reason.
    ASSERT_EQ(prompts.shown.size(), 2) << prompts.shown.join(u'\n').toStdString();
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
    EXPECT_TRUE(protocol().contains(QStringLiteral("2: The certificate of %1 is not trusted (SHA-256 %2): The host name "
                                                   "did not match any of the valid hosts for this certificate")
                                        .arg(site, fp)))
        << protocol().join(u'\n').toStdString();
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

// "TLS if available" against a server without TLS goes on in plain FTP: the protocol shows that
// as a warning, never as an ordinary status line.
TEST_F(SessionTlsTest, FallbackToPlainFtpIsAWarning)
{
    startServer();
    master->setEncryption(FtpEncryption::ExplicitIfAvailable);
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    const QStringList fallback = protocol().filter(QStringLiteral("The server does not offer TLS"));
    ASSERT_EQ(fallback.size(), 1) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(fallback.first().startsWith(QStringLiteral("4: The server does not offer TLS (AUTH TLS: 50")))
        << fallback.first().toStdString();
}

// Failures of TLS reach the user as sentences to act on, in the window's language; the protocol
// keeps the TLS library's own text behind the sentence. No user name went out in any case.
TEST_F(SessionTlsTest, TlsFailuresAreToldAsSentencesInBothLanguages)
{
    struct Case {
        const char *name;
        Language::Id language;
        bool outdated;           // a server of TLS 1.0 and 1.1 only, else a plain FTP server
        FtpEncryption encryption;
        QString shown;           // the box
        QString libraryMarker;   // part of the library's text in the protocol
    };
    const QString outdatedEnglish = QStringLiteral("The server offers only outdated TLS (1.0/1.1); nothing was sent.");
    const QString outdatedGerman = QString::fromUtf8("Der Server bietet nur veraltetes TLS (1.0/1.1) an; es wurde nichts gesendet.");
    const QList<Case> cases = {
        {"outdated, English", Language::English, true, FtpEncryption::ExplicitRequired, outdatedEnglish,
         QStringLiteral("protocol version")},
        {"outdated, German", Language::German, true, FtpEncryption::ExplicitRequired, outdatedGerman,
         QStringLiteral("protocol version")},
        {"implicit on a plain port, English", Language::English, false, FtpEncryption::Implicit,
         QStringLiteral("The server does not speak TLS on port %1: implicit FTP over TLS needs the port that starts with TLS "
                        "(usually 990); nothing was sent."),
         QStringLiteral("The TLS handshake failed: ")},
        {"implicit on a plain port, German", Language::German, false, FtpEncryption::Implicit,
         QString::fromUtf8("Der Server spricht auf Port %1 kein TLS: implizites FTP über TLS braucht den Port, der mit TLS "
                           "beginnt (meist 990); es wurde nichts gesendet."),
         QStringLiteral("The TLS handshake failed: ")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FtpTestServer::Setup setup;
        if (c.outdated) {
            setup.tls = QStringLiteral("explicit");
            setup.certificateFile = certificates.file(QStringLiteral("server.pem"));
            setup.outdatedTlsOnly = true;
        }
        setup.commandLog = env.root() + QStringLiteral("commands.log");
        QFile::remove(setup.commandLog);
        makeMaster();
        startServer(setup);
        master->setEncryption(c.encryption);
        language.setCurrent(c.language);
        prompts.clear();
        EXPECT_FALSE(master->Connect(false));
        const QString shown = c.shown.contains(QStringLiteral("%1")) ? c.shown.arg(server->port()) : c.shown;
        EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: ") + shown});
        const QStringList lines = protocol().filter(QStringLiteral("2: ") + shown + QStringLiteral(" ("));
        ASSERT_EQ(lines.size(), 1) << protocol().join(u'\n').toStdString();
        EXPECT_TRUE(lines.first().contains(c.libraryMarker)) << lines.first().toStdString();
        EXPECT_FALSE(TestEnvironment::readFile(setup.commandLog).contains("USER"));
    }
    language.setCurrent(Language::English);
}

// A certificate from an authority this computer does not know (the server sends the whole
// chain, up to a root nobody here trusts) is named so in the window, in both languages.
TEST_F(SessionTlsTest, UnknownAuthorityIsNamedAsSuch)
{
    const QByteArray trusted = qgetenv("SSL_CERT_FILE");
    qputenv("SSL_CERT_FILE", certificates.file(QStringLiteral("self-signed.pem")).toLocal8Bit()); // not the authority
    startTlsServer(QStringLiteral("server.pem"));
    for (const Language::Id id : {Language::English, Language::German}) {
        language.setCurrent(id);
        prompts.clear();
        EXPECT_FALSE(master->Connect(false));
        ASSERT_GE(prompts.shown.size(), 2) << prompts.shown.join(u'\n').toStdString();
        EXPECT_TRUE(prompts.shown[1].endsWith(
            id == Language::English
                ? QStringLiteral("\nReason: The certificate is issued by an authority this computer does not know.")
                : QString::fromUtf8("\nGrund: Das Zertifikat stammt von einer Zertifizierungsstelle, die dieser Computer nicht "
                                    "kennt.")))
            << prompts.shown[1].toStdString();
    }
    qputenv("SSL_CERT_FILE", trusted);
    language.setCurrent(Language::English);
    // The protocol keeps the library's words.
    EXPECT_FALSE(protocol().filter(QStringLiteral("self-signed, and untrusted")).isEmpty()) << protocol().join(u'\n').toStdString();
}

// A certificate accepted "this time" stands for the server for the rest of the run: another
// certificate in its place gets the warning of a changed certificate, not the plain question.
TEST_F(SessionTlsTest, CertificateTrustedThisTimeThatChangesInTheSameRunWarnsAsChanged)
{
    startTlsServer(QStringLiteral("self-signed.pem"));
    prompts.certificateAnswers = {CertificateAnswer::TrustThisTime};
    ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    master->Disconnect();
    server->setCertificateFile(certificates.file(QStringLiteral("self-signed-2.pem")));
    ASSERT_TRUE(server->restart());
    prompts.clear();
    EXPECT_FALSE(master->Connect(false));
    ASSERT_GE(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0], QStringLiteral("askCertificate: WARNING: the server's certificate has changed"));
    EXPECT_TRUE(prompts.shown[1].contains(QStringLiteral("Trusted fingerprint (SHA-256): ") + fingerprint(QStringLiteral("self-signed.pem"))))
        << prompts.shown[1].toStdString();
    EXPECT_FALSE(QFileInfo::exists(trustFile()));
}

// Every sentence for a failed handshake, in both languages ("answered AUTH TLS" is what a
// server says that confirms AUTH TLS and then talks in clear, which no real server here does).
TEST(TlsFailureText, EachCauseInBothLanguages)
{
    Language english;
    Language german;
    german.setCurrent(Language::German);
    using Cause = FtpTlsError::Cause;
    const struct {
        Cause cause;
        FtpEncryption encryption;
        const char *english;
        const char *german;
    } cases[] = {
        {Cause::OutdatedProtocol, FtpEncryption::ExplicitRequired,
         "The server offers only outdated TLS (1.0/1.1); nothing was sent.",
         "Der Server bietet nur veraltetes TLS (1.0/1.1) an; es wurde nichts gesendet."},
        {Cause::OutdatedProtocol, FtpEncryption::Implicit, "The server offers only outdated TLS (1.0/1.1); nothing was sent.",
         "Der Server bietet nur veraltetes TLS (1.0/1.1) an; es wurde nichts gesendet."},
        {Cause::NotTls, FtpEncryption::ExplicitRequired, "The server answered AUTH TLS but does not speak TLS.",
         "Der Server hat AUTH TLS bestätigt, spricht aber kein TLS."},
        {Cause::NotTls, FtpEncryption::ExplicitIfAvailable, "The server answered AUTH TLS but does not speak TLS.",
         "Der Server hat AUTH TLS bestätigt, spricht aber kein TLS."},
        {Cause::NotTls, FtpEncryption::Implicit,
         "The server does not speak TLS on port 2121: implicit FTP over TLS needs the port that starts with TLS (usually "
         "990); nothing was sent.",
         "Der Server spricht auf Port 2121 kein TLS: implizites FTP über TLS braucht den Port, der mit TLS beginnt (meist "
         "990); es wurde nichts gesendet."},
        {Cause::Other, FtpEncryption::ExplicitRequired, "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(TlsFailureText::sentence(c.cause, c.encryption, 2121, english), QString::fromUtf8(c.english));
        EXPECT_EQ(TlsFailureText::sentence(c.cause, c.encryption, 2121, german), QString::fromUtf8(c.german));
    }
}
