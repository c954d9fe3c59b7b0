// The host-key window and the passphrase question as the user sees them: the buttons in both
// languages and what each answers, the hidden passphrase; and the status bar of an SFTP
// connection.
#include "AppFixture.h"
#include "MessageBoxAnswer.h"
#include "QtPrinters.h"
#include "SshTestServer.h"

#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "engine/SessionHostKeyTrust.h"
#include "shell/DialogUserPrompts.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

using Seen = SeenMessageBox;

// Answers the host-key window, once it is up, with the button of the given text.
Seen answerWith(const QString &button, const std::function<void()> &ask)
{
    return answerMessageBox(QStringLiteral("HostKeyWindow"), button, ask);
}

SshHostKey hostKey()
{
    SshHostKey key;
    key.host = QStringLiteral("shell.example.org");
    key.port = 2222;
    key.keyType = QStringLiteral("ssh-ed25519");
    key.fingerprint = QStringLiteral("SHA256:abcDEF123");
    key.knownHostsFile = QStringLiteral("/home/jo/.ssh/known_hosts");
    return key;
}

TEST(HostKeyWindow, EachButtonGivesItsAnswer)
{
    Language language;
    DialogUserPrompts prompts(language, [] { return nullptr; }, [] { return QStringLiteral("Velmora"); });
    const struct {
        const char *button;
        UserPrompts::CertificateAnswer answer;
    } cases[] = {{"Trust always", UserPrompts::CertificateAnswer::TrustAlways},
                 {"Trust this time", UserPrompts::CertificateAnswer::TrustThisTime},
                 {"Cancel", UserPrompts::CertificateAnswer::Cancel}};
    for (const auto &c : cases) {
        UserPrompts::CertificateAnswer answer{};
        const Seen seen = answerWith(QString::fromLatin1(c.button), [&] {
            answer = prompts.askHostKey(SessionHostKeyTrust::WindowTitle(language),
                                        SessionHostKeyTrust::WindowText(hostKey(), language));
        });
        EXPECT_EQ(answer, c.answer) << c.button;
        EXPECT_EQ(seen.buttons, (QStringList{u"Cancel"_qs, u"Trust always"_qs, u"Trust this time"_qs}));
        EXPECT_EQ(seen.title, u"Unknown host key"_qs);
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(seen.text, u"The host key of [shell.example.org]:2222 is not known.\n"
                             u"Key type: ssh-ed25519\n"
                             u"Fingerprint (SHA-256): SHA256:abcDEF123\n"
                             u"Compare the fingerprint with the one the server's administrator gives you before you trust "
                             u"the key. \"Trust always\" adds it to /home/jo/.ssh/known_hosts."_qs);
    }
}

TEST(HostKeyWindow, GermanButtonsAndText)
{
    Language language;
    language.setCurrent(Language::German);
    DialogUserPrompts prompts(language, [] { return nullptr; }, [] { return QStringLiteral("Velmora"); });
    const SshHostKey key = hostKey();
    UserPrompts::CertificateAnswer answer{};
    const Seen seen = answerWith(QString::fromUtf8("Immer vertrauen"), [&] {
        answer = prompts.askHostKey(SessionHostKeyTrust::WindowTitle(language), SessionHostKeyTrust::WindowText(key, language));
    });
    EXPECT_EQ(answer, UserPrompts::CertificateAnswer::TrustAlways);
    EXPECT_EQ(seen.buttons, (QStringList{u"Abbrechen"_qs, u"Diesmal vertrauen"_qs, u"Immer vertrauen"_qs}));
    EXPECT_EQ(seen.title, QString::fromUtf8("Unbekannter Hostschlüssel"));
    EXPECT_EQ(seen.text.split(u'\n').first(),
              QString::fromUtf8("Der Hostschlüssel von [shell.example.org]:2222 ist nicht bekannt."));
}

// The passphrase is typed hidden; OK gives it, Cancel gives none.
TEST(PassphraseWindow, HiddenInputOkAndCancel)
{
    Language language;
    DialogUserPrompts prompts(language, [] { return nullptr; }, [] { return QStringLiteral("Velmora"); });
    const QString text = SessionHostKeyTrust::PassphraseText(QStringLiteral("/k/id_ed25519"), 1, language);
    for (const bool ok : {true, false}) {
        QLineEdit::EchoMode echo = QLineEdit::Normal;
        QString label;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != QStringLiteral("SecretWindow"))
                return;
            poll.stop();
            echo = dialog->textEchoMode();
            label = dialog->labelText();
            dialog->setTextValue(QStringLiteral("s3cret phrase"));
            QTimer::singleShot(0, dialog, ok ? &QDialog::accept : &QDialog::reject);
        });
        poll.start();
        const std::optional<QString> answer = prompts.askSecret(SessionHostKeyTrust::PassphraseTitle(language), text);
        EXPECT_EQ(echo, QLineEdit::Password);
        EXPECT_EQ(label, u"The key file /k/id_ed25519 is protected by a passphrase. Enter it to log in:"_qs);
        EXPECT_EQ(answer, ok ? std::optional<QString>(QStringLiteral("s3cret phrase")) : std::nullopt);
    }
}

// An SFTP connection shows as encrypted by SSH in the status bar.
class SftpStatus : public AppFixture {
protected:
    void TearDown() override
    {
        if (starter && starter->ftp().isConnected())
            starter->ftp().Disconnect();
        AppFixture::TearDown();
    }
    SshTestServer ssh;
};

TEST_F(SftpStatus, ConnectionIsShownEncryptedBySsh)
{
    existingProfile(true, true, "GERMAN");
    ASSERT_TRUE(start());
    ASSERT_TRUE(ssh.start()) << ssh.errorText().toStdString();
    MasterFTP &master = starter->ftp();
    master.SetConnectionData(ssh.host(), QString::number(ssh.port()), ssh.user(), QString(), 0);
    master.setEncryption(FtpEncryption::Sftp);
    master.setKeyFile(ssh.userKeyFile());
    prompts.hostKeyAnswers = {UserPrompts::CertificateAnswer::TrustThisTime};
    ASSERT_TRUE(master.Connect(false)) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(w().encryptionText->text(), QString::fromUtf8("Verschlüsselt (SSH)"));
    EXPECT_TRUE(w().encryptionText->toolTip().startsWith(QString::fromUtf8("Verschlüsselte Verbindung: SSH, ")))
        << w().encryptionText->toolTip().toStdString();
    master.Disconnect();
    EXPECT_EQ(w().encryptionText->text(), QString());
}

} // namespace
