// The main window's side of connecting, step by step, against a recording connector.
#include "SitesTestSupport.h"

#include "common/Language.h"
#include "sites/SiteConnectSequence.h"
#include "sites/SiteConnector.h"

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class RecordingConnector : public SiteConnector {
public:
    ConnectionData connectionData() const override { return data; }
    void setConnectionData(const ConnectionData &d) override
    {
        data = d;
        calls << u"data %1:%2 %3 active=%4"_s.arg(d.host, d.port, d.user).arg(d.activeMode);
    }
    QString localPathText() const override { return local; }
    QString serverPathText() const override { return server; }
    void setPathTexts(const QString &l, const QString &s) override
    {
        local = l;
        server = s;
        calls << u"paths "_s + l + u' ' + s;
    }
    bool deleteAllBackups(const QString &question) override
    {
        calls << u"backups"_s;
        askedQuestion = question;
        return backupsAnswer;
    }
    bool isConnected() const override { return connected; }
    void disconnect() override
    {
        connected = false;
        calls << u"disconnect"_s;
    }
    bool connect(bool clearQueueGrid) override
    {
        calls << (clearQueueGrid ? u"connect clearing the queue"_s : u"connect"_s);
        connected = connectSucceeds;
        return connected;
    }
    void setCaption(const QString &caption) override { calls << u"caption "_s + caption; }
    void listServer() override { calls << u"list server"_s; }
    void listLocal() override { calls << u"list local"_s; }
    void stopFileMonitoring() override { calls << u"stop monitoring"_s; }
    void resetRetryCounter() override { calls << u"reset retries"_s; }
    void resetOverwriteQuestion() override { calls << u"reset overwrite question"_s; }
    void setIdleState() override { calls << u"idle"_s; }

    ConnectionData data{u"old.example"_s, u"21"_s, u"old"_s, u"pw"_s, 0};
    QString local = u"/old/"_s;
    QString server = u"/old"_s;
    bool connected = true;
    bool connectSucceeds = true;
    bool backupsAnswer = true;
    QString askedQuestion;
    QStringList calls;
};

class SiteConnectSequenceTest : public ::testing::Test {
protected:
    RecordingConnector connector;
    Language language;
    SiteConnectSequence sequence{connector, language, u"/"_s, [] { return u"Velmora - Version 7.1"_s; }};
    FTPConnection shop = site(u"Shop"_s, u"ftp.shop.example"_s, u"anna"_s, u"secret"_s, u"2121"_s, u"/home/anna/shop"_s,
                              u"/www"_s, u"Passive"_s);
};

TEST_F(SiteConnectSequenceTest, ConnectsListsAndStartsAfresh)
{
    EXPECT_TRUE(sequence.run(shop));
    EXPECT_EQ(connector.calls, (QStringList{
                                   u"paths /home/anna/shop/ /www"_s,
                                   u"data ftp.shop.example:2121 anna active=0"_s,
                                   u"backups"_s,
                                   u"disconnect"_s,
                                   u"reset retries"_s,
                                   u"connect clearing the queue"_s,
                                   u"caption Velmora - Version 7.1 - Shop"_s,
                                   u"list server"_s,
                                   u"list local"_s,
                                   u"stop monitoring"_s,
                                   u"reset retries"_s,
                                   u"reset overwrite question"_s,
                                   u"idle"_s,
                               }));
    EXPECT_EQ(connector.askedQuestion,
              u"If you change the host, all \"search and replace\" backups will be deleted! Change the host?"_s);
    EXPECT_EQ(connector.data.password, u"secret"_s);
    EXPECT_EQ(sequence.currentSiteName(), u"Shop"_s);
}

// A site whose password the locked keyring did not give hands the session the entry that holds
// it, so the session asks for it instead of logging in with an empty password.
TEST_F(SiteConnectSequenceTest, PasswordInALockedKeyringIsHandedOnAsItsEntry)
{
    FTPConnection locked = shop;
    locked.Password.clear();
    locked.PasswordKey = u"site Shop (anna@ftp.shop.example:2121)"_s;
    locked.PasswordUnread = true;
    FTPConnection read = shop;
    read.PasswordKey = locked.PasswordKey; // read from the keyring: the password is there
    const struct {
        const FTPConnection &site;
        QString entry;
    } cases[] = {{locked, locked.PasswordKey}, {read, QString()}, {shop, QString()}};
    for (const auto &c : cases) {
        EXPECT_TRUE(sequence.run(c.site));
        EXPECT_EQ(connector.data.lockedPasswordEntry, c.entry) << c.site.PasswordKey.toStdString();
        EXPECT_EQ(connector.data.password, c.site.Password);
    }
}

TEST_F(SiteConnectSequenceTest, NoToTheBackupQuestionKeepsTheOldConnection)
{
    const SiteConnector::ConnectionData old = connector.data;
    connector.backupsAnswer = false;
    language.setCurrent(Language::German);
    EXPECT_FALSE(sequence.run(shop));
    EXPECT_EQ(connector.askedQuestion,
              QString::fromUtf8("Wenn Sie den Host wechseln werden alle \"Suchen und Ersetzen\" Backups gelöscht. Wollen Sie wirklich den Host wechseln?"));
    EXPECT_EQ(connector.data, old);
    EXPECT_EQ(connector.local, u"/old/"_s);
    EXPECT_EQ(connector.server, u"/old"_s);
    EXPECT_TRUE(connector.connected);
    EXPECT_FALSE(connector.calls.contains(u"disconnect"_s));
    EXPECT_FALSE(connector.calls.contains(u"idle"_s));
    EXPECT_EQ(sequence.currentSiteName(), QString());
}

TEST_F(SiteConnectSequenceTest, AFailedConnectStillListsTheLocalFolder)
{
    connector.connected = false;
    connector.connectSucceeds = false;
    EXPECT_FALSE(sequence.run(shop));
    EXPECT_FALSE(connector.calls.contains(u"disconnect"_s));
    EXPECT_FALSE(connector.calls.contains(u"list server"_s));
    EXPECT_TRUE(std::none_of(connector.calls.begin(), connector.calls.end(),
                             [](const QString &call) { return call.startsWith(u"caption"_s); }));
    EXPECT_EQ(connector.calls.mid(connector.calls.indexOf(u"list local"_s)),
              (QStringList{u"list local"_s, u"stop monitoring"_s, u"reset retries"_s, u"reset overwrite question"_s, u"idle"_s}));
}

TEST_F(SiteConnectSequenceTest, ModeAndPathsOfTheSite)
{
    const struct {
        const char *mode;
        int active;
    } modes[] = {{"Passive", 0}, {"Active", 1}, {"2", 1}, {"passive", 1}, {"", 1}};
    for (const auto &m : modes) {
        FTPConnection s = shop;
        s.Mode = QString::fromLatin1(m.mode);
        sequence.run(s);
        EXPECT_EQ(connector.data.activeMode, m.active) << m.mode;
    }
    const struct {
        const char *stored;
        const char *shown;
    } locals[] = {{"\\", "/"}, {"", "/"}, {" ", "/"}, {"/home/a", "/home/a/"}, {"/home/a/", "/home/a/"}};
    for (const auto &l : locals)
        EXPECT_EQ(SiteConnectSequence::LocalPathFor(QString::fromLatin1(l.stored), u"/"_s), QString::fromLatin1(l.shown)) << l.stored;
    EXPECT_EQ(SiteConnectSequence::ServerPathFor(u" "_s), u"/"_s);
    EXPECT_EQ(SiteConnectSequence::ServerPathFor(u"/pub"_s), u"/pub"_s);
}

} // namespace
