// "Keep passwords in the desktop keyring" as the user meets it: on by itself at the first start
// that finds a keyring (and the stored passwords move there), one protocol line when no keyring
// answers, and the options window's switch moving them back and forth.
#include "AppFixture.h"

#include "app/OptionsForm.h"
#include "app/ProtocolLog.h"
#include "common/IniFile.h"
#include "common/PasswordCodec.h"
#include "common/TextCodec.h"
#include "engine/MasterFTP.h"
#include "queue/QueueController.h"
#include "queue/QueueFile.h"
#include "shell/PasswordKeepingWiring.h"
#include "shell/QueueWiring.h"
#include "engine/LoginFile.h"
#include "sites/ConnectionStore.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class KeyringOption : public AppFixture {
protected:
    QString folder() const { return env.appDataFolder(); }
    OptionsForm &form() { return *starter->dialogs().options; }
    QCheckBox *keyringBox() { return form().findChild<QCheckBox *>(QStringLiteral("KeyringPasswordsCheckBox")); }
    QStringList protocolTexts() const
    {
        QStringList out;
        for (const ProtocolEntry &entry : starter->context().protocol.entries())
            out << entry.text;
        return out;
    }
    // A site and a last login, as a version without the keyring left them.
    void storedPasswords()
    {
        ConnectionStore store(folder());
        FTPConnection site = FTPConnection::newSite(QStringLiteral("Home"));
        site.Host = QStringLiteral("ftp.example");
        site.User = QStringLiteral("ann");
        site.Password = QStringLiteral("site-pass");
        store.sites() = {site};
        ASSERT_TRUE(store.SaveConnections());
        LoginData login;
        login.host = QStringLiteral("ftp.example");
        login.user = QStringLiteral("ann");
        login.password = QStringLiteral("login-pass");
        login.port = QStringLiteral("21");
        ASSERT_TRUE(WriteLoginFile(folder() + QStringLiteral("last-login.ini"), login));
        // A queue left over, so that the start reads the last login back.
        ASSERT_TRUE(QueueFile::write(folder() + QStringLiteral("lastqueue.ini"),
                                     {{QStringLiteral("/a.dat"), QStringLiteral("RETR"), env.root() + QStringLiteral("a.dat"),
                                       QStringLiteral("5"), QStringLiteral("05/20/2010 10:12:00")}}));
    }
    QString storeText() const { return TextCodec::ReadLines(folder() + ConnectionStore::FileName).join(u'\n'); }
    QString loginPasswordField() const
    {
        IniFile ini(folder() + QStringLiteral("last-login.ini"));
        ini.load();
        return ini.readString(IniFile::Settings, QStringLiteral("Password"));
    }
};

TEST_F(KeyringOption, TheFirstStartWithAKeyringTurnsItOnAndMovesTheStoredPasswords)
{
    existingProfile();
    storedPasswords();
    vault.answers = true;
    ASSERT_TRUE(start());

    EXPECT_EQ(vault.entries.value(QStringLiteral("site Home (ann@ftp.example:21)")), QStringLiteral("site-pass"));
    EXPECT_EQ(vault.entries.value(QStringLiteral("login ann@ftp.example:21")), QStringLiteral("login-pass"));
    EXPECT_FALSE(storeText().contains(EncodePassword(QStringLiteral("site-pass"))));
    EXPECT_EQ(loginPasswordField(), QString());
    // The session read the last login's password from the keyring.
    EXPECT_EQ(starter->ftp().password(), QStringLiteral("login-pass"));
    EXPECT_TRUE(TestEnvironment::readFile(folder() + QStringLiteral("options.ini")).contains("\r\nKeyringPasswords=1"));
    EXPECT_TRUE(protocolTexts().contains(QStringLiteral("The passwords are now kept in the desktop keyring.")));

    form().show();
    EXPECT_EQ(keyringBox()->text(), QStringLiteral("Keep passwords in the desktop keyring"));
    EXPECT_TRUE(keyringBox()->isChecked());
    // Switched off with OK: back into the files, out of the keyring.
    keyringBox()->click();
    form().okButton()->click();
    EXPECT_TRUE(vault.entries.value(QStringLiteral("site Home (ann@ftp.example:21)")).isEmpty());
    EXPECT_TRUE(storeText().contains(EncodePassword(QStringLiteral("site-pass")))) << storeText().toStdString();
    EXPECT_EQ(loginPasswordField(), EncodePassword(QStringLiteral("login-pass")));
    EXPECT_TRUE(protocolTexts().contains(QStringLiteral("The passwords are now kept in the program's files.")));
    EXPECT_TRUE(TestEnvironment::readFile(folder() + QStringLiteral("options.ini")).contains("\r\nKeyringPasswords=0"));
}

TEST_F(KeyringOption, WithoutAKeyringTheProtocolSaysSoOnceAndThePasswordsStayInTheFiles)
{
    existingProfile(true, true, "GERMAN");
    storedPasswords();
    const QString before = storeText();
    ASSERT_TRUE(start()); // the fixture's keyring does not answer
    EXPECT_EQ(protocolTexts().filter(QStringLiteral("Schlüsselbund")),
              QStringList{QStringLiteral("Kein Schlüsselbund des Desktops erreichbar: Passwörter bleiben in den Dateien.")});
    EXPECT_EQ(storeText(), before);
    EXPECT_EQ(loginPasswordField(), EncodePassword(QStringLiteral("login-pass")));
    EXPECT_EQ(starter->ftp().password(), QStringLiteral("login-pass"));

    form().show();
    EXPECT_EQ(keyringBox()->text(), QStringLiteral("Passwörter im Schlüsselbund des Desktops aufbewahren"));
    EXPECT_FALSE(keyringBox()->isChecked());
    form().okButton()->click();
    // Not chosen by the user: a later start with a keyring still turns it on.
    EXPECT_FALSE(TestEnvironment::readFile(folder() + QStringLiteral("options.ini")).contains("KeyringPasswords"));
}

TEST_F(KeyringOption, ASavedQueuesLoginFollowsTheOptionWhenTheQueueIsLoaded)
{
    existingProfile();
    // A queue saved before the keyring was used: its login holds the password encoded.
    const QString queue = env.root() + QStringLiteral("jobs/old.queue");
    QDir().mkpath(env.root() + QStringLiteral("jobs"));
    ASSERT_TRUE(QueueFile::write(queue, {{QStringLiteral("/a.dat"), QStringLiteral("RETR"), env.root() + QStringLiteral("a.dat"),
                                          QStringLiteral("5"), QStringLiteral("05/20/2010 10:12:00")}}));
    LoginData login;
    login.host = QStringLiteral("ftp.example");
    login.user = QStringLiteral("bob");
    login.password = QStringLiteral("queue-pass");
    login.port = QStringLiteral("2121");
    const QString side = env.root() + QStringLiteral("jobs/old.ftp");
    ASSERT_TRUE(WriteLoginFile(side, login));
    vault.answers = true;
    ASSERT_TRUE(start());

    ASSERT_TRUE(starter->queue().controller().LoadQueueFile(queue));
    EXPECT_EQ(starter->ftp().password(), QStringLiteral("queue-pass"));
    EXPECT_EQ(vault.entries.value(QStringLiteral("login bob@ftp.example:2121")), QStringLiteral("queue-pass"));
    const QStringList lines = TextCodec::ReadLines(side);
    EXPECT_TRUE(lines.contains(QStringLiteral("Password="))) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("PasswordInKeyring=1"))) << lines.join(u'\n').toStdString();

    // Saved again under another name, the new login file points at the keyring too.
    const QString copy = env.root() + QStringLiteral("jobs/new.queue");
    ASSERT_TRUE(starter->queue().controller().SaveQueueFile(copy));
    EXPECT_EQ(ReadLoginFile(env.root() + QStringLiteral("jobs/new.ftp")).password, QString());
    EXPECT_EQ(ReadLoginFile(env.root() + QStringLiteral("jobs/new.ftp"), nullptr, &starter->passwords().place()).password,
              QStringLiteral("queue-pass"));
}

} // namespace
