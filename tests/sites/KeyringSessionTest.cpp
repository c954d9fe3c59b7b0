// Passwords in a real Secret Service: a GNOME keyring on a private session bus, started for
// these tests by tests/support/run-in-keyring-session.sh. Stores, reads back, moves the site
// and login passwords both ways, follows a rename and a delete, and meets a locked keyring.
#include "SitesTestSupport.h"

#include "app/KeyringVault.h"
#include "app/SecretServiceLabel.h"
#include "common/IniFile.h"
#include "engine/LoginFile.h"
#include "sites/ConnectionStore.h"
#include "sites/PasswordMove.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

// Short enough that a keyring waiting for a prompt nobody answers fails the call quickly.
constexpr int TimeoutMs = 5000;

class KeyringSessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            GTEST_SKIP() << "run through tests/support/run-in-keyring-session.sh";
        ASSERT_TRUE(vault.reachable()) << vault.lastError().toStdString();
    }

    QList<FTPConnection> sites() const
    {
        return {site(QStringLiteral("Alpha"), QStringLiteral("a.example"), QStringLiteral("ann"), QStringLiteral("pa§s1"),
                     QStringLiteral("21"), QStringLiteral("\\"), QStringLiteral("/"), QStringLiteral("Passive")),
                site(QStringLiteral("Beta"), QStringLiteral("b.example"), QStringLiteral("bob"), QStringLiteral("geheim ü"),
                     QStringLiteral("2121"), QStringLiteral("\\"), QStringLiteral("/pub"), QStringLiteral("Active")),
                site(QStringLiteral("Gamma"), QStringLiteral("c.example"), QStringLiteral("cy"), QStringLiteral("third"),
                     QStringLiteral("21"), QStringLiteral("\\"), QStringLiteral("/"), QStringLiteral("Passive"))};
    }
    void writePlainStore(const QList<FTPConnection> &list)
    {
        ConnectionStore plain(folder);
        plain.sites() = list;
        ASSERT_TRUE(plain.SaveConnections());
    }
    QList<FTPConnection> reread(const PasswordPlace &place)
    {
        ConnectionStore store(folder, &log);
        store.setPasswordPlace(&place);
        store.LoadConnections();
        return store.sites();
    }
    static QStringList passwords(const QList<FTPConnection> &list)
    {
        QStringList out;
        for (const FTPConnection &s : list)
            out << s.Password;
        return out;
    }
    QStringList fileLines() const { return TextCodec::ReadLines(folder + ConnectionStore::FileName); }
    QString entry(const QString &key)
    {
        QString password;
        return vault.read(key, &password) == PasswordVault::Result::Ok ? password : QStringLiteral("<none>");
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

    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    ProtocolLog log{folder};
    KeyringVault vault{TimeoutMs};
    PasswordPlace toKeyring{&vault, true};
    PasswordPlace toFile{&vault, false};
};

TEST_F(KeyringSessionTest, StoresReadsBackAndRemovesAnEntry)
{
    const QString key = QStringLiteral("test entry ü");
    ASSERT_EQ(vault.write(key, QStringLiteral("pässwort§1")), PasswordVault::Result::Ok) << vault.lastError().toStdString();
    // Another instance (another program run) reads what this one wrote.
    KeyringVault other(TimeoutMs);
    QString read;
    ASSERT_EQ(other.read(key, &read), PasswordVault::Result::Ok);
    EXPECT_EQ(read, QStringLiteral("pässwort§1"));
    EXPECT_EQ(vault.remove(key), PasswordVault::Result::Ok);
    EXPECT_EQ(other.read(key, &read), PasswordVault::Result::NotFound);
    EXPECT_EQ(vault.remove(key), PasswordVault::Result::Ok); // nothing left to remove is fine
}

// The keyring window lists each entry by its own name, as the README says, not as "Velmora";
// writing the entry again (a new password) keeps that label.
TEST_F(KeyringSessionTest, EachEntryIsLabelledWithItsName)
{
    const QStringList keys{QStringLiteral("site Shop ü (anna@ftp.example:2121)"), QStringLiteral("login anna@ftp.example:2121")};
    for (const QString &key : keys) {
        for (const QString &password : {QStringLiteral("first"), QStringLiteral("second")}) {
            ASSERT_EQ(vault.write(key, password), PasswordVault::Result::Ok) << vault.lastError().toStdString();
            EXPECT_EQ(SecretServiceLabel::of(KeyringVault::ServiceName, key, TimeoutMs), key);
        }
        EXPECT_EQ(entry(key), QStringLiteral("second"));
        EXPECT_EQ(vault.remove(key), PasswordVault::Result::Ok);
    }
}

TEST_F(KeyringSessionTest, SitesAndLastLoginMoveInFollowARenameAndADeleteAndMoveOut)
{
    writePlainStore(sites());
    LoginData login;
    login.host = QStringLiteral("ftp.example");
    login.user = QStringLiteral("ann");
    login.password = QStringLiteral("login-pass");
    login.port = QStringLiteral("21");
    ASSERT_TRUE(WriteLoginFile(folder + PasswordMove::LoginFileName, login));

    ASSERT_TRUE(PasswordMove(folder, toKeyring, &log).run()) << protocolErrors(log).join(u'\n').toStdString();
    for (const QString &line : fileLines())
        EXPECT_TRUE(line.contains(QStringLiteral("§§")) && line.contains(QStringLiteral("§ §keyring:site "))) << line.toStdString();
    EXPECT_EQ(entry(QStringLiteral("site Beta (bob@b.example:2121)")), QStringLiteral("geheim ü"));
    EXPECT_EQ(entry(QStringLiteral("login ann@ftp.example:21")), QStringLiteral("login-pass"));
    EXPECT_EQ(passwords(reread(toKeyring)), passwords(sites()));
    EXPECT_EQ(ReadLoginFile(folder + PasswordMove::LoginFileName, nullptr, &toKeyring).password, QStringLiteral("login-pass"));

    ConnectionStore store(folder, &log);
    store.setPasswordPlace(&toKeyring);
    store.LoadConnections();
    store.sites()[0].Name = QStringLiteral("Aleph");
    store.sites().removeAt(2);
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(entry(QStringLiteral("site Aleph (ann@a.example:21)")), QStringLiteral("pa§s1"));
    EXPECT_EQ(entry(QStringLiteral("site Alpha (ann@a.example:21)")), QStringLiteral("<none>"));
    EXPECT_EQ(entry(QStringLiteral("site Gamma (cy@c.example:21)")), QStringLiteral("<none>"));

    ASSERT_TRUE(PasswordMove(folder, toFile, &log).run()) << protocolErrors(log).join(u'\n').toStdString();
    ConnectionStore plain(folder);
    plain.LoadConnections();
    EXPECT_EQ(passwords(plain.sites()), (QStringList{QStringLiteral("pa§s1"), QStringLiteral("geheim ü")}));
    EXPECT_EQ(entry(QStringLiteral("site Aleph (ann@a.example:21)")), QStringLiteral("<none>"));
    EXPECT_EQ(entry(QStringLiteral("site Beta (bob@b.example:2121)")), QStringLiteral("<none>"));
    EXPECT_EQ(ReadLoginFile(folder + PasswordMove::LoginFileName).password, QStringLiteral("login-pass"));
    EXPECT_TRUE(protocolErrors(log).isEmpty()) << protocolErrors(log).join(u'\n').toStdString();
}

// Last, since nothing here unlocks the keyring again.
TEST_F(KeyringSessionTest, ZZ_ALockedKeyringRefusesHalfWayAndNoPasswordIsLost)
{
    // One site already moved in; two more join later, written in the file.
    writePlainStore({sites()[0]});
    ASSERT_TRUE(PasswordMove(folder, toKeyring, &log).run());
    ConnectionStore more(folder, &log);
    more.setPasswordPlace(&toFile);
    more.LoadConnections();
    more.sites() << sites()[1] << sites()[2];
    more.sites()[0].PasswordUnread = true; // as an unreadable keyring would leave it: keep the entry
    ASSERT_TRUE(more.SaveConnections());
    const QStringList before = fileLines();
    ASSERT_TRUE(before[0].contains(QStringLiteral("keyring:"))) << before[0].toStdString();

    ASSERT_TRUE(lockKeyring());
    EXPECT_FALSE(PasswordMove(folder, toKeyring, &log).run());
    EXPECT_FALSE(protocolErrors(log).isEmpty());
    // Nothing moved and nothing went: the file still holds the two, and still points at the one.
    EXPECT_EQ(fileLines(), before);
    EXPECT_FALSE(PasswordMove(folder, toFile, &log).run());
    EXPECT_EQ(fileLines(), before);
    ConnectionStore plain(folder);
    plain.LoadConnections();
    EXPECT_EQ(passwords(plain.sites()).mid(1), (QStringList{QStringLiteral("geheim ü"), QStringLiteral("third")}));
}

} // namespace
