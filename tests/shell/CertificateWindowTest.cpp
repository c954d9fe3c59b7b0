// The certificate window as the user sees it: its buttons in both languages, what each answers,
// and that a changed certificate is shown as a critical warning.
#include "AppFixture.h"
#include "MessageBoxAnswer.h"
#include "FtpTestServer.h"
#include "QtPrinters.h"
#include "TlsTestCertificates.h"

#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "engine/SessionCertificateTrust.h"
#include "engine/ftp/FtpTls.h"
#include "shell/DialogUserPrompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSslError>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

using Seen = SeenMessageBox;

// Answers the certificate window, once it is up, with the button of the given text.
Seen answerWith(const QString &button, const std::function<void()> &ask)
{
    return answerMessageBox(QStringLiteral("CertificateWindow"), button, ask);
}

FtpCertificate certificate(bool changed)
{
    FtpCertificate c;
    c.host = QStringLiteral("ftp.example.org");
    c.port = 21;
    c.subject = QStringLiteral("CN=ftp.example.org");
    c.names = {QStringLiteral("ftp.example.org"), QStringLiteral("www.example.org")};
    c.issuer = QStringLiteral("CN=ftp.example.org");
    c.validFrom = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    c.validUntil = QDateTime(QDate(2027, 1, 1), QTime(0, 0), Qt::UTC);
    c.reason = QStringLiteral("The certificate is self-signed, and untrusted");
    c.fingerprint = QStringLiteral("AA:BB");
    if (changed)
        c.previousFingerprint = QStringLiteral("CC:DD");
    return c;
}

TEST(CertificateWindow, EachButtonGivesItsAnswer)
{
    Language language;
    DialogUserPrompts prompts(language, [] { return nullptr; }, [] { return QStringLiteral("Velmora"); });
    const FtpCertificate c = certificate(false);
    const QString title = SessionCertificateTrust::WindowTitle(c, language);
    const QString text = SessionCertificateTrust::WindowText(c, language);
    const struct {
        const char *button;
        UserPrompts::CertificateAnswer answer;
    } cases[] = {{"Trust always", UserPrompts::CertificateAnswer::TrustAlways},
                 {"Trust this time", UserPrompts::CertificateAnswer::TrustThisTime},
                 {"Cancel", UserPrompts::CertificateAnswer::Cancel}};
    for (const auto &c2 : cases) {
        UserPrompts::CertificateAnswer answer{};
        const Seen seen = answerWith(QString::fromLatin1(c2.button), [&] { answer = prompts.askCertificate(title, text); });
        EXPECT_EQ(answer, c2.answer) << c2.button;
        EXPECT_EQ(seen.buttons, (QStringList{u"Cancel"_qs, u"Trust always"_qs, u"Trust this time"_qs}));
        EXPECT_EQ(seen.title, u"Untrusted certificate"_qs);
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(seen.text, u"The certificate of ftp.example.org:21 is not trusted.\n"
                             u"Fingerprint (SHA-256): AA:BB\n"
                             u"Subject: CN=ftp.example.org\n"
                             u"Valid for: ftp.example.org, www.example.org\n"
                             u"Issuer: CN=ftp.example.org\n"
                             u"Valid from 2026-01-01 00:00 UTC to 2027-01-01 00:00 UTC\n"
                             u"Reason: The certificate is self-signed, and untrusted"_qs);
    }
}

TEST(CertificateWindow, AChangedCertificateIsACriticalWarningInGermanToo)
{
    Language language;
    language.setCurrent(Language::German);
    DialogUserPrompts prompts(language, [] { return nullptr; }, [] { return QStringLiteral("Velmora"); });
    const FtpCertificate c = certificate(true);
    UserPrompts::CertificateAnswer answer{};
    const Seen seen = answerWith(u"Abbrechen"_qs, [&] {
        answer = prompts.askCertificate(SessionCertificateTrust::WindowTitle(c, language),
                                        SessionCertificateTrust::WindowText(c, language));
    });
    EXPECT_EQ(answer, UserPrompts::CertificateAnswer::Cancel);
    EXPECT_EQ(seen.buttons, (QStringList{u"Abbrechen"_qs, u"Diesmal vertrauen"_qs, u"Immer vertrauen"_qs}));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.title, QString::fromUtf8("WARNUNG: Das Zertifikat des Servers hat sich geändert"));
    const QStringList lines = seen.text.split(u'\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QString::fromUtf8("Das Zertifikat von ftp.example.org:21 hat sich GEÄNDERT")));
    EXPECT_EQ(lines[1], u"Vertrauter Fingerabdruck (SHA-256): CC:DD"_qs);
    EXPECT_EQ(lines[2], u"Neuer Fingerabdruck (SHA-256): AA:BB"_qs);
}


// The window names the hosts the certificate is valid for, as a TLS client checks them: its
// alternative names (host names, then addresses), else its common name; in German too.
TEST(CertificateWindow, ListsTheNamesTheCertificateIsValidFor)
{
    TlsTestCertificates certificates;
    ASSERT_TRUE(certificates.isValid()) << certificates.errorText().toStdString();
    const struct {
        const char *file;
        Language::Id language;
        QString line;
    } cases[] = {
        {"server.pem", Language::English, u"Valid for: localhost, 127.0.0.1, ::1"_qs},
        {"wrong-host.pem", Language::English, u"Valid for: elsewhere.invalid"_qs},
        {"ca.pem", Language::English, u"Valid for: Velmora Test CA"_qs},
        {"server.pem", Language::German, QString::fromUtf8("Gültig für: localhost, 127.0.0.1, ::1")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QList<QSslCertificate> chain = QSslCertificate::fromPath(certificates.file(QString::fromLatin1(c.file)));
        ASSERT_FALSE(chain.isEmpty());
        const FtpCertificate described = FtpTls::Describe(chain.first(), {}, u"127.0.0.1"_qs, 21);
        Language language;
        language.setCurrent(c.language);
        DialogUserPrompts prompts(language, [] { return nullptr; }, [] { return QStringLiteral("Velmora"); });
        const Seen seen = answerWith(c.language == Language::German ? u"Abbrechen"_qs : u"Cancel"_qs, [&] {
            prompts.askCertificate(SessionCertificateTrust::WindowTitle(described, language),
                                   SessionCertificateTrust::WindowText(described, language));
        });
        const QStringList lines = seen.text.split(u'\n');
        ASSERT_GE(lines.size(), 4) << seen.text.toStdString();
        EXPECT_TRUE(lines[2].startsWith(c.language == Language::German ? u"Inhaber: "_qs : u"Subject: "_qs));
        EXPECT_EQ(lines[3], c.line);
    }
}

// The reasons come from the TLS library in English; the usual ones are shown in German in the
// German interface, an unknown one stays as the library gave it.
TEST(CertificateWindow, TheReasonsFollowTheLanguage)
{
    FtpCertificate c = certificate(false);
    c.reason = u"The certificate is self-signed, and untrusted\nThe certificate has expired\nSome new reason"_qs;
    c.reasonCodes = {int(QSslError::SelfSignedCertificate), int(QSslError::CertificateExpired), 999};
    Language language;
    EXPECT_EQ(SessionCertificateTrust::WindowText(c, language).split(u'\n').last(),
              u"Reason: The certificate is self-signed, and untrusted; The certificate has expired; Some new reason"_qs);
    language.setCurrent(Language::German);
    EXPECT_EQ(SessionCertificateTrust::WindowText(c, language).split(u'\n').last(),
              QString::fromUtf8("Grund: Das Zertifikat ist selbst signiert und nicht vertrauenswürdig; Das Zertifikat ist "
                                "abgelaufen; Some new reason"));
}

// The status bar says whether the server connection is encrypted, in both languages, and the
// text goes when the connection does.
class EncryptionStatus : public AppFixture {
protected:
    QString connectShown(const QByteArray &language, const QString &tls)
    {
        existingProfile(true, true, language);
        EXPECT_TRUE(start());
        FtpTestServer::Setup setup;
        setup.tls = tls;
        setup.certificateFile = certificates.file(QStringLiteral("server.pem"));
        server = std::make_unique<FtpTestServer>(setup);
        EXPECT_TRUE(server->start()) << server->errorText().toStdString();
        MasterFTP &master = starter->ftp();
        master.setEncryption(tls.isEmpty() ? FtpEncryption::Plain : FtpEncryption::ExplicitRequired);
        master.SetConnectionData(server->host(), QString::number(server->port()), server->user(), server->password(), 0);
        EXPECT_TRUE(master.Connect(false)) << prompts.shown.join(u'\n').toStdString();
        return w().encryptionText->text();
    }
    void TearDown() override
    {
        if (starter && starter->ftp().isConnected())
            starter->ftp().Disconnect();
        AppFixture::TearDown();
        server.reset();
    }

    TlsTestCertificates certificates;
    std::unique_ptr<FtpTestServer> server;
};

TEST_F(EncryptionStatus, AnEncryptedConnectionShowsItsProtocolVersion)
{
    const QString shown = connectShown("ENGLISH", QStringLiteral("explicit"));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Encrypted (TLSv1."))) << shown.toStdString();
    EXPECT_TRUE(w().encryptionText->toolTip().startsWith(QStringLiteral("Encrypted connection: TLSv1.")));
    starter->ftp().Disconnect();
    EXPECT_EQ(w().encryptionText->text(), QString());
}

TEST_F(EncryptionStatus, APlainConnectionSaysItIsNotEncryptedInGerman)
{
    EXPECT_EQ(connectShown("GERMAN", QString()), QStringLiteral("Unverschlüsselt"));
    EXPECT_EQ(w().encryptionText->toolTip(), QStringLiteral("Verbunden ohne Verschlüsselung"));
}

TEST_F(EncryptionStatus, AnEncryptedConnectionInGerman)
{
    const QString shown = connectShown("GERMAN", QStringLiteral("explicit"));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Verschlüsselt (TLSv1."))) << shown.toStdString();
}

} // namespace
