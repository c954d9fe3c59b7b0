// A site whose password is kept in a real desktop keyring that is locked (a GNOME keyring on a
// private session bus, started by tests/support/run-in-keyring-session.sh, locked as the
// desktop's "Lock" does): the session never logs in without the password. The user hears where
// it is and may try again or type it for this connection; the server's own log shows that no
// USER or PASS went out otherwise.
#include "MemoryVault.h"
#include "SessionFixture.h"

#include "app/KeyringVault.h"
#include "common/TextCodec.h"
#include "engine/LockedKeyringPassword.h"
#include "engine/LoginFile.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>

using namespace Velmora;
using namespace Velmora::Testing;
using Locked = UserPrompts::LockedKeyringAnswer;

namespace {

constexpr int TimeoutMs = 5000;

class LockedKeyringConnectTest : public SessionTest {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            GTEST_SKIP() << "run through tests/support/run-in-keyring-session.sh";
        ASSERT_TRUE(vault.reachable()) << vault.lastError().toStdString();
        FtpTestServer::Setup setup;
        setup.commandLog = env.root() + QStringLiteral("commands.log");
        startServer(setup);
        // Written while the keyring is open, then locked; a keyring a test before locked stays so.
        if (vault.write(entry(), server->password()) == PasswordVault::Result::Ok)
            ASSERT_TRUE(lockKeyring());
        QString ignored;
        ASSERT_NE(vault.read(entry(), &ignored), PasswordVault::Result::Ok) << "the keyring must be locked";
        master->setPasswordPlace(&place);
    }

    // Locks the default collection as the desktop's "Lock" does.
    static bool lockKeyring()
    {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.secrets"),
                                                           QStringLiteral("/org/freedesktop/secrets"),
                                                           QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("Lock"));
        call << QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(QStringLiteral("/org/freedesktop/secrets/aliases/default")),
                                                           QDBusObjectPath(QStringLiteral("/org/freedesktop/secrets/collection/login"))});
        const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, TimeoutMs);
        return reply.type() == QDBusMessage::ReplyMessage;
    }

    QString site() const { return server->user() + QStringLiteral("@127.0.0.1:") + QString::number(server->port()); }
    QString entry() const { return QStringLiteral("site Work (") + site() + u')'; }
    // The commands the server received, in order.
    QStringList commands() const { return TextCodec::ReadLines(env.root() + QStringLiteral("commands.log")); }
    QString question(bool stillLocked) const
    {
        return QStringLiteral("locked keyring text: ") + LockedKeyringPassword::Text(site(), entry(), stillLocked, language);
    }

    KeyringVault vault{TimeoutMs};
    PasswordPlace place{&vault, true};
};

} // namespace

// Each way out of the question; the connection data comes as the site manager gives it.
TEST_F(LockedKeyringConnectTest, NoLoginGoesOutWithoutThePassword)
{
    const QString title = QStringLiteral("askLockedKeyring: Keyring locked");
    const struct {
        const char *name;
        QList<Locked> answers;
        QList<std::optional<QString>> typed;
        bool connects;
        QStringList shown;
    } cases[] = {
        {"cancel", {Locked::Cancel}, {}, false, {title, question(false)}},
        {"try again while still locked, then cancel", {Locked::TryAgain, Locked::Cancel}, {}, false,
         {title, question(false), title, question(true)}},
        {"type it, but cancel that, then cancel", {Locked::TypePassword, Locked::Cancel}, {std::nullopt}, false,
         {title, question(false), QStringLiteral("askSecret: Keyring locked"),
          QStringLiteral("secret text: Password of ") + site() + QStringLiteral(" for this connection (it is not stored):"),
          title, question(false)}},
        {"type it for this connection", {Locked::TypePassword}, {server->password()}, true,
         {title, question(false), QStringLiteral("askSecret: Keyring locked"),
          QStringLiteral("secret text: Password of ") + site() + QStringLiteral(" for this connection (it is not stored):")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(env.root() + QStringLiteral("commands.log"));
        makeMaster();
        master->setPasswordPlace(&place);
        master->SetConnectionData(QStringLiteral("127.0.0.1"), QString::number(server->port()), server->user(), QString(), 0);
        master->setPasswordInLockedKeyring(entry());
        prompts.clear();
        prompts.lockedKeyringAnswers = c.answers;
        prompts.secretAnswers = c.typed;

        EXPECT_EQ(master->Connect(false), c.connects);
        EXPECT_EQ(prompts.shown, c.shown);
        if (c.connects) {
            EXPECT_EQ(commands().count(QStringLiteral("PASS")), 1);
            // The typed password is kept nowhere: the login file still points at the keyring.
            const QString file = env.root() + QStringLiteral("login.ini");
            ASSERT_TRUE(master->SaveLogin(file));
            const QStringList lines = TextCodec::ReadLines(file);
            EXPECT_TRUE(lines.contains(QStringLiteral("PasswordInKeyring=1")));
            EXPECT_TRUE(lines.contains(QStringLiteral("Password=")));
            master->Disconnect();
            continue;
        }
        // A run goes on to connect for every row: nobody is asked again, nothing is sent.
        prompts.clear();
        for (int attempt = 0; attempt < 3; ++attempt)
            EXPECT_FALSE(master->Connect(false));
        master->EnsureConnected();
        EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
        EXPECT_FALSE(commands().contains(QStringLiteral("USER")));
        EXPECT_FALSE(commands().contains(QStringLiteral("PASS")));
        EXPECT_TRUE(protocol().contains(QStringLiteral("2: Not connected to %1: its password is in the locked desktop keyring.")
                                            .arg(site())));
        // A new connect from the site manager asks again.
        master->resetRetryCounter();
        EXPECT_FALSE(master->Connect(false));
        EXPECT_EQ(prompts.shown.value(0), title);
    }
}

// The last login (and a saved queue's side file) that points at the locked keyring: the same.
TEST_F(LockedKeyringConnectTest, LastLoginInTheLockedKeyringIsNotSentEmpty)
{
    LoginData login;
    login.host = QStringLiteral("127.0.0.1");
    login.user = server->user();
    login.port = QString::number(server->port());
    login.password = server->password();
    MemoryVault unlockedThen;
    const PasswordPlace then{&unlockedThen, true};
    const QString file = env.root() + QStringLiteral("last-login.ini");
    ASSERT_TRUE(WriteLoginFile(file, login, &then));

    ASSERT_TRUE(master->LoadLogin(file));
    EXPECT_TRUE(master->passwordUnavailable());
    prompts.lockedKeyringAnswers = {Locked::Cancel};
    EXPECT_FALSE(master->Connect(false));
    EXPECT_EQ(prompts.shown.value(1), QStringLiteral("locked keyring text: ")
                                          + LockedKeyringPassword::Text(site(), LoginKeyringKey(login), false, language));
    EXPECT_FALSE(commands().contains(QStringLiteral("USER")));
    EXPECT_FALSE(commands().contains(QStringLiteral("PASS")));
}

// The question and its buttons' meaning in German.
TEST(LockedKeyringPasswordText, German)
{
    Language language;
    language.setCurrent(Language::German);
    EXPECT_EQ(LockedKeyringPassword::Text(QStringLiteral("jo@h:21"), QStringLiteral("site A (jo@h:21)"), false, language),
              QString::fromUtf8("Das Passwort von jo@h:21 liegt im Schlüsselbund des Desktops (Eintrag \"site A (jo@h:21)\"), der "
                                "gesperrt ist.\nEs wurde nichts an den Server gesendet. Entsperren Sie den Schlüsselbund und "
                                "wählen Sie \"Erneut versuchen\", oder geben Sie das Passwort nur für diese Verbindung ein."));
}
