// Passwords kept in a keyring (here one in memory): the store lines and login files that point
// there, moving passwords in and out without losing one, sites renamed, copied and deleted, and
// a keyring that cannot be reached.
#include "MemoryVault.h"
#include "SitesTestSupport.h"

#include "common/IniFile.h"
#include "engine/LoginFile.h"
#include "sites/ConnectionStore.h"
#include "sites/PasswordMove.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

const QString S = QString(QChar(0xA7)); // "§"

class KeyringPasswordTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    ProtocolLog log{folder};
    MemoryVault vault;
    PasswordPlace toKeyring{&vault, true};
    PasswordPlace toFile{&vault, false};

    // Three sites written the way every earlier version wrote them.
    void writePlainStore(const QList<FTPConnection> &sites)
    {
        ConnectionStore plain(folder);
        plain.sites() = sites;
        ASSERT_TRUE(plain.SaveConnections());
    }
    QList<FTPConnection> threeSites() const
    {
        return {site(QStringLiteral("Alpha"), QStringLiteral("a.example"), QStringLiteral("ann"), QStringLiteral("pa§s1"),
                     QStringLiteral("21"), QStringLiteral("\\"), QStringLiteral("/"), QStringLiteral("Passive")),
                site(QStringLiteral("Beta"), QStringLiteral("b.example"), QStringLiteral("bob"), QStringLiteral("geheim ü"),
                     QStringLiteral("2121"), QStringLiteral("\\"), QStringLiteral("/pub"), QStringLiteral("Active")),
                site(QStringLiteral("Gamma"), QStringLiteral("c.example"), QStringLiteral("anonymous"), QString(),
                     QStringLiteral("21"), QStringLiteral("\\"), QStringLiteral("/"), QStringLiteral("Passive"))};
    }
    QStringList fileLines() const { return TextCodec::ReadLines(folder + ConnectionStore::FileName); }
    // The sites as a fresh site manager window reads them through the given place.
    QList<FTPConnection> reread(const PasswordPlace &place)
    {
        ConnectionStore store(folder, &log);
        store.setPasswordPlace(&place);
        store.LoadConnections();
        return store.sites();
    }
    static QStringList passwords(const QList<FTPConnection> &sites)
    {
        QStringList out;
        for (const FTPConnection &s : sites)
            out << s.Password;
        return out;
    }
};

TEST_F(KeyringPasswordTest, MovingInBlanksThePasswordFieldsAndMovingOutWritesThemBack)
{
    writePlainStore(threeSites());
    ASSERT_TRUE(PasswordMove(folder, toKeyring, &log).run());

    const QString alphaKey = QStringLiteral("site Alpha (ann@a.example:21)");
    const QString betaKey = QStringLiteral("site Beta (bob@b.example:2121)");
    EXPECT_EQ(fileLines(), (QStringList{
                               QStringLiteral("Alpha§a.example§ann§§21§\\§/§Passive§ §keyring:") + alphaKey,
                               QStringLiteral("Beta§b.example§bob§§2121§\\§/pub§Active§ §keyring:") + betaKey,
                               QStringLiteral("Gamma§c.example§anonymous§§21§\\§/§Passive"),
                           }));
    EXPECT_EQ(vault.entries, (QMap<QString, QString>{{alphaKey, QStringLiteral("pa§s1")}, {betaKey, QStringLiteral("geheim ü")}}));
    EXPECT_EQ(passwords(reread(toKeyring)), (QStringList{QStringLiteral("pa§s1"), QStringLiteral("geheim ü"), QString()}));
    // An older version reads every field in its place, without the password.
    const FTPConnection old = ConnectionStore::ParseLine(fileLines().at(1));
    EXPECT_EQ(old.Mode, QStringLiteral("Active"));
    EXPECT_EQ(old.Password, QString());

    ASSERT_TRUE(PasswordMove(folder, toFile, &log).run());
    ConnectionStore plain(folder);
    plain.LoadConnections();
    EXPECT_EQ(plain.sites(), threeSites());
    EXPECT_EQ(fileLines().at(0), ConnectionStore::StoreLine(threeSites().at(0)));
    EXPECT_TRUE(vault.entries.isEmpty());
    EXPECT_TRUE(protocolErrors(log).isEmpty()) << protocolErrors(log).join(u'\n').toStdString();
}

TEST_F(KeyringPasswordTest, AKeyringThatRefusesHalfWayLosesNoPassword)
{
    writePlainStore(threeSites());
    vault.writesBeforeRefusal = 1; // locked after the first password
    EXPECT_FALSE(PasswordMove(folder, toKeyring, &log).run());

    const QStringList lines = fileLines();
    EXPECT_TRUE(lines.at(0).endsWith(QStringLiteral("§ §keyring:site Alpha (ann@a.example:21)"))) << lines.at(0).toStdString();
    EXPECT_EQ(lines.at(1), ConnectionStore::StoreLine(threeSites().at(1))); // still in the file
    EXPECT_EQ(passwords(reread(toKeyring)), (QStringList{QStringLiteral("pa§s1"), QStringLiteral("geheim ü"), QString()}));
    ASSERT_EQ(protocolErrors(log).size(), 1);
    EXPECT_EQ(protocolErrors(log).at(0), QStringLiteral("The desktop keyring refused the password of the site \"Beta\" (the keyring is "
                                                        "locked); it and the passwords after it stay in the file."));

    // Unlocked again, the next move finishes the job.
    vault.writesBeforeRefusal = -1;
    EXPECT_TRUE(PasswordMove(folder, toKeyring, &log).run());
    EXPECT_EQ(vault.entries.size(), 2);
    EXPECT_EQ(passwords(reread(toKeyring)), (QStringList{QStringLiteral("pa§s1"), QStringLiteral("geheim ü"), QString()}));
}

TEST_F(KeyringPasswordTest, RenamingCopyingAndDeletingKeepTheKeyringInStep)
{
    ConnectionStore store(folder, &log);
    store.setPasswordPlace(&toKeyring);
    store.sites() = threeSites();
    ASSERT_TRUE(store.SaveConnections());
    ASSERT_EQ(vault.entries.size(), 2);

    // Rename: the entry follows the name, the old one goes.
    store.sites()[0].Name = QStringLiteral("Aleph");
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(vault.entries.keys(), (QStringList{QStringLiteral("site Aleph (ann@a.example:21)"), QStringLiteral("site Beta (bob@b.example:2121)")}));

    // An unchanged copy is the same site and stays one; a renamed copy gets its own entry.
    store.sites().append(store.sites()[1]);
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(store.sites().size(), 3);
    EXPECT_EQ(vault.entries.size(), 2);
    FTPConnection copy = store.sites()[1];
    copy.Name = QStringLiteral("Beta 2");
    store.sites().append(copy);
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(vault.entries.value(QStringLiteral("site Beta 2 (bob@b.example:2121)")), QStringLiteral("geheim ü"));

    // Two sites alike in all but the password keep both passwords.
    FTPConnection twin = store.sites()[0];
    twin.Password = QStringLiteral("other");
    store.sites().append(twin);
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(vault.entries.value(QStringLiteral("site Aleph (ann@a.example:21) #2")).size() + vault.entries.value(QStringLiteral("site Aleph (ann@a.example:21)")).size(),
              QStringLiteral("other").size() + QStringLiteral("pa§s1").size());
    QStringList read = passwords(reread(toKeyring));
    read.sort();
    EXPECT_EQ(read, (QStringList{QString(), QStringLiteral("geheim ü"), QStringLiteral("geheim ü"), QStringLiteral("other"), QStringLiteral("pa§s1")}));

    // Delete: the entries of the deleted sites go, the rest stay.
    store.sites().removeIf([](const FTPConnection &s) { return s.Name.startsWith(QStringLiteral("Beta")); });
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(vault.entries.size(), 2);
    EXPECT_FALSE(vault.entries.contains(QStringLiteral("site Beta (bob@b.example:2121)")));
    // A changed password replaces the entry's value.
    store.sites()[0].Password = QStringLiteral("new");
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(passwords(reread(toKeyring)).count(QStringLiteral("new")), 1);
}

TEST_F(KeyringPasswordTest, AnUnreachableKeyringKeepsItsPasswordsAndTheFileKeepsPointingThere)
{
    writePlainStore(threeSites());
    ASSERT_TRUE(PasswordMove(folder, toKeyring, &log).run());
    const QStringList before = fileLines();
    const auto entries = vault.entries;

    vault.answers = false;
    ConnectionStore store(folder, &log);
    store.setPasswordPlace(&toKeyring);
    store.LoadConnections();
    ASSERT_EQ(store.sites().size(), 3);
    EXPECT_TRUE(store.sites()[0].PasswordUnread);
    EXPECT_EQ(store.sites()[0].Password, QString());
    ASSERT_EQ(protocolErrors(log).size(), 1); // one line, not one per site
    EXPECT_EQ(protocolErrors(log).at(0), QStringLiteral("The desktop keyring cannot be reached (the keyring is locked): sites whose "
                                                        "password is kept there have no password now; it stays in the keyring."));

    // Saving another change, or moving the passwords out, cannot drop what it cannot read.
    store.sites().append(site(QStringLiteral("Delta"), QStringLiteral("d.example"), QStringLiteral("dan"), QStringLiteral("d-pass"),
                              QStringLiteral("21"), QStringLiteral("\\"), QStringLiteral("/"), QStringLiteral("Passive")));
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_FALSE(PasswordMove(folder, toFile, &log).run());
    const QStringList after = fileLines();
    EXPECT_EQ(after.mid(0, 2), before.mid(0, 2));
    EXPECT_EQ(after.at(2), ConnectionStore::StoreLine(store.sites()[2])); // Delta, in the file

    vault.answers = true;
    EXPECT_EQ(vault.entries, entries);
    EXPECT_EQ(passwords(reread(toKeyring)), (QStringList{QStringLiteral("pa§s1"), QStringLiteral("geheim ü"), QStringLiteral("d-pass"), QString()}));
}

TEST_F(KeyringPasswordTest, LinesOfEightOrNineFieldsLoadAsBefore)
{
    const struct {
        const char *what;
        QString line;
    } cases[] = {
        {"eight fields", QStringLiteral("Alpha§a.example§ann§097098099§21§\\§/§Passive")},
        {"a ninth field of another setting", QStringLiteral("Alpha§a.example§ann§097098099§21§\\§/§Passive§TLS")},
        {"a blank ninth and an empty tenth", QStringLiteral("Alpha§a.example§ann§097098099§21§\\§/§Passive§ §")},
        {"a tenth field of something else", QStringLiteral("Alpha§a.example§ann§097098099§21§\\§/§Passive§ §more")},
    };
    for (const auto &c : cases) {
        QFile file(folder + ConnectionStore::FileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(TextCodec::EncodeWindows1252(QString(c.line + QStringLiteral("\r\n"))));
        file.close();
        const QList<FTPConnection> sites = reread(toKeyring);
        ASSERT_EQ(sites.size(), 1) << c.what;
        EXPECT_EQ(sites[0].Password, QStringLiteral("abc")) << c.what;
        EXPECT_EQ(sites[0].Mode, QStringLiteral("Passive")) << c.what;
        EXPECT_TRUE(sites[0].PasswordKey.isEmpty()) << c.what;
    }
    EXPECT_TRUE(vault.entries.isEmpty());
}

TEST_F(KeyringPasswordTest, LoginFilesKeepTheirPasswordInTheKeyringAndMoveBack)
{
    const QString path = folder + PasswordMove::LoginFileName;
    LoginData login;
    login.host = QStringLiteral("ftp.example");
    login.user = QStringLiteral("ann");
    login.password = QStringLiteral("secret");
    login.port = QStringLiteral("21");
    ASSERT_TRUE(WriteLoginFile(path, login));

    ASSERT_TRUE(PasswordMove(folder, toKeyring, &log).run());
    IniFile ini(path);
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString(IniFile::Settings, QStringLiteral("Password")), QString());
    EXPECT_EQ(ini.readInteger(IniFile::Settings, QStringLiteral("PasswordInKeyring"), 0), 1);
    EXPECT_EQ(vault.entries.value(QStringLiteral("login ann@ftp.example:21")), QStringLiteral("secret"));
    EXPECT_EQ(ReadLoginFile(path, nullptr, &toKeyring).password, QStringLiteral("secret"));

    vault.answers = false;
    const LoginData unread = ReadLoginFile(path, nullptr, &toKeyring);
    EXPECT_TRUE(unread.passwordUnavailable);
    EXPECT_EQ(unread.password, QString());
    EXPECT_FALSE(PasswordMove(folder, toFile, &log).run());
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readInteger(IniFile::Settings, QStringLiteral("PasswordInKeyring"), 0), 1); // still pointing there

    vault.answers = true;
    ASSERT_TRUE(PasswordMove(folder, toFile, &log).run());
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readString(IniFile::Settings, QStringLiteral("Password")), QStringLiteral("115101099114101116"));
    EXPECT_FALSE(ini.hasKey(IniFile::Settings, QStringLiteral("PasswordInKeyring")));
    EXPECT_EQ(ReadLoginFile(path).password, QStringLiteral("secret"));
}

} // namespace

namespace {

// A locked keyring can answer "no such entry": that must not count as "no password".
TEST_F(KeyringPasswordTest, AnEntryTheKeyringDoesNotGiveStaysReferencedUntilANewPasswordIsTyped)
{
    writePlainStore(threeSites());
    ASSERT_TRUE(PasswordMove(folder, toKeyring, &log).run());
    const QStringList before = fileLines();
    const QString alphaKey = QStringLiteral("site Alpha (ann@a.example:21)");
    const QString alpha = vault.entries.take(alphaKey);

    ConnectionStore store(folder, &log);
    store.setPasswordPlace(&toKeyring);
    store.LoadConnections();
    EXPECT_TRUE(store.sites()[0].PasswordUnread);
    EXPECT_EQ(protocolErrors(log), (QStringList{QStringLiteral("The desktop keyring gives no password for the site \"Alpha\" (it may be "
                                                               "locked); the site keeps it there until a new password is entered.")}));
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_FALSE(PasswordMove(folder, toFile, &log).run());
    EXPECT_EQ(fileLines().at(0), before.at(0));

    vault.entries.insert(alphaKey, alpha); // unlocked again
    EXPECT_EQ(reread(toKeyring).at(0).Password, QStringLiteral("pa§s1"));

    // A password typed in for the site (here in the table) takes the place of the entry.
    vault.entries.remove(alphaKey);
    store.LoadConnections();
    store.sites()[0].setField(FTPConnection::PasswordField, QStringLiteral("typed"));
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(vault.entries.value(alphaKey), QStringLiteral("typed"));
    EXPECT_EQ(reread(toKeyring).at(0).Password, QStringLiteral("typed"));
}

} // namespace
