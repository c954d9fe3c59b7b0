// The site file: its line format, order, duplicates, password encoding, damaged lines and rights.
#include "SitesTestSupport.h"

#include "common/PasswordCodec.h"
#include "sites/ConnectionStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

const QString S = QString(QChar(0xA7)); // "§"

FTPConnection withKeyFile(FTPConnection site, const QString &keyFile)
{
    site.KeyFile = keyFile;
    return site;
}

// A store line's bytes from its fields.
QByteArray storeLine(const QStringList &fields)
{
    return TextCodec::EncodeWindows1252(fields.join(S));
}

class ConnectionStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    ProtocolLog log{folder};
    ConnectionStore store{folder, &log};

    QByteArray fileBytes() const
    {
        QFile file(store.filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeFile(const QByteArray &bytes) const
    {
        QFile file(store.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList names() const
    {
        QStringList out;
        for (const FTPConnection &s : store.sites())
            out.append(s.Name);
        return out;
    }
};

TEST_F(ConnectionStoreTest, EveryFieldKeepsItsPlace)
{
    struct Case {
        const char *what;
        FTPConnection stored;
        QStringList line;
        FTPConnection readBack;
    };
    const QString bs = QStringLiteral("\\");
    const QString sp = QStringLiteral(" ");
    const Case cases[] = {
        {"complete", site(u"Shop"_s, u"ftp.example"_s, u"anna"_s, u"abc"_s, u"21"_s, bs, u"/"_s, u"Passive"_s),
         {u"Shop"_s, u"ftp.example"_s, u"anna"_s, u"097098099"_s, u"21"_s, bs, u"/"_s, u"Passive"_s},
         site(u"Shop"_s, u"ftp.example"_s, u"anna"_s, u"abc"_s, u"21"_s, bs, u"/"_s, u"Passive"_s)},
        {"empty user", site(u"Shop"_s, u"h"_s, QString(), u"abc"_s, u"21"_s, bs, u"/"_s, u"Active"_s),
         {u"Shop"_s, u"h"_s, QString(), u"097098099"_s, u"21"_s, bs, u"/"_s, u"Active"_s},
         site(u"Shop"_s, u"h"_s, sp, u"abc"_s, u"21"_s, bs, u"/"_s, u"Active"_s)},
        {"empty name and password", site(QString(), u"h"_s, u"u"_s, QString(), u"21"_s, u"/l/"_s, u"/"_s, u"Active"_s),
         {QString(), u"h"_s, u"u"_s, QString(), u"21"_s, u"/l/"_s, u"/"_s, u"Active"_s},
         site(QString(), u"h"_s, u"u"_s, QString(), u"21"_s, u"/l/"_s, u"/"_s, u"Active"_s)},
        {"only a name", site(u"N"_s, {}, {}, {}, {}, {}, {}, {}),
         {u"N"_s, {}, {}, {}, {}, {}, {}, {}},
         site(u"N"_s, sp, sp, QString(), sp, sp, sp, QString())},
        {"separator in the name", site(u"Sh"_s + S + u"op"_s, u"h"_s, u"u"_s, S, u"21"_s, bs, u"/"_s, u"Passive"_s),
         {u"Shop"_s, u"h"_s, u"u"_s, u"167"_s, u"21"_s, bs, u"/"_s, u"Passive"_s},
         site(u"Shop"_s, u"h"_s, u"u"_s, S, u"21"_s, bs, u"/"_s, u"Passive"_s)},
        {"German letters", site(QString::fromUtf8("Müller"), u"h"_s, u"u"_s, QString::fromUtf8("ü"), u"21"_s, bs, u"/"_s, u"Passive"_s),
         {QString::fromUtf8("Müller"), u"h"_s, u"u"_s, u"252"_s, u"21"_s, bs, u"/"_s, u"Passive"_s},
         site(QString::fromUtf8("Müller"), u"h"_s, u"u"_s, QString::fromUtf8("ü"), u"21"_s, bs, u"/"_s, u"Passive"_s)},
        // An encrypted site adds a ninth field after the eight an older version reads, so the
        // older version still finds every site (as plain FTP).
        {"explicit TLS", site(u"Shop"_s, u"h"_s, u"u"_s, u"abc"_s, u"21"_s, bs, u"/"_s, u"Passive"_s, u"ftpes"_s),
         {u"Shop"_s, u"h"_s, u"u"_s, u"097098099"_s, u"21"_s, bs, u"/"_s, u"Passive"_s, u"ftpes"_s},
         site(u"Shop"_s, u"h"_s, u"u"_s, u"abc"_s, u"21"_s, bs, u"/"_s, u"Passive"_s, u"ftpes"_s)},
        {"implicit TLS with an empty mode", site(u"Shop"_s, u"h"_s, u"u"_s, u"abc"_s, u"990"_s, bs, u"/"_s, QString(), u"ftps"_s),
         {u"Shop"_s, u"h"_s, u"u"_s, u"097098099"_s, u"990"_s, bs, u"/"_s, QString(), u"ftps"_s},
         site(u"Shop"_s, u"h"_s, u"u"_s, u"abc"_s, u"990"_s, bs, u"/"_s, QString(), u"ftps"_s)},
        {"TLS if available", site(u"Shop"_s, u"h"_s, u"u"_s, u"abc"_s, u"21"_s, bs, u"/"_s, u"Active"_s, u"ftp-tls-if-available"_s),
         {u"Shop"_s, u"h"_s, u"u"_s, u"097098099"_s, u"21"_s, bs, u"/"_s, u"Active"_s, u"ftp-tls-if-available"_s},
         site(u"Shop"_s, u"h"_s, u"u"_s, u"abc"_s, u"21"_s, bs, u"/"_s, u"Active"_s, u"ftp-tls-if-available"_s)},
        {"SFTP", site(u"Shell"_s, u"h"_s, u"u"_s, QString(), u"22"_s, bs, u"/"_s, u"Passive"_s, u"sftp"_s),
         {u"Shell"_s, u"h"_s, u"u"_s, QString(), u"22"_s, bs, u"/"_s, u"Passive"_s, u"sftp"_s},
         site(u"Shell"_s, u"h"_s, u"u"_s, QString(), u"22"_s, bs, u"/"_s, u"Passive"_s, u"sftp"_s)},
        // An SFTP site's key file comes after the keyring's place, which a blank keeps.
        {"SFTP with a key file", withKeyFile(site(u"Shell"_s, u"h"_s, u"u"_s, QString(), u"22"_s, bs, u"/"_s, u"Passive"_s, u"sftp"_s), u"/home/jo/.ssh/my key"_s),
         {u"Shell"_s, u"h"_s, u"u"_s, QString(), u"22"_s, bs, u"/"_s, u"Passive"_s, u"sftp"_s, sp, u"/home/jo/.ssh/my key"_s},
         withKeyFile(site(u"Shell"_s, u"h"_s, u"u"_s, QString(), u"22"_s, bs, u"/"_s, u"Passive"_s, u"sftp"_s), u"/home/jo/.ssh/my key"_s)},
    };
    for (const Case &c : cases) {
        store.sites() = {c.stored};
        ASSERT_TRUE(store.SaveConnections()) << c.what;
        EXPECT_EQ(fileBytes(), storeLine(c.line) + "\r\n") << c.what;
        ASSERT_EQ(store.sites().size(), 1) << c.what;
        EXPECT_EQ(store.sites().first(), c.readBack) << c.what;
    }
    EXPECT_TRUE(protocolErrors(log).isEmpty());
}

// With the password in the keyring, the key file follows the keyring field.
TEST_F(ConnectionStoreTest, KeyFileFollowsTheKeyringField)
{
    const FTPConnection shell = withKeyFile(
        site(u"Shell"_s, u"h"_s, u"u"_s, u"pw"_s, u"22"_s, u"/l/"_s, u"/"_s, u"Passive"_s, u"sftp"_s), u"/k/id"_s);
    const QString line = ConnectionStore::StoreLine(shell, u"site Shell (u@h:22)"_s);
    EXPECT_EQ(line, QStringList({u"Shell"_s, u"h"_s, u"u"_s, QString(), u"22"_s, u"/l/"_s, u"/"_s, u"Passive"_s, u"sftp"_s,
                                 u"keyring:site Shell (u@h:22)"_s, u"/k/id"_s})
                        .join(S));
    const FTPConnection back = ConnectionStore::ParseLine(line);
    EXPECT_EQ(back.KeyFile, u"/k/id"_s);
    EXPECT_EQ(back.PasswordKey, u"site Shell (u@h:22)"_s);
    EXPECT_EQ(back.encryption(), FtpEncryption::Sftp);
}

TEST_F(ConnectionStoreTest, SortsWithoutRegardToCaseAndDropsOnlyExactDuplicates)
{
    const FTPConnection beta = site(u"beta"_s, u"b"_s, u"u"_s, {}, u"21"_s, u"/"_s, u"/"_s, u"Passive"_s);
    FTPConnection upperAlpha = beta;
    upperAlpha.Name = u"Alpha"_s;
    FTPConnection lowerAlpha = beta;
    lowerAlpha.Name = u"alpha"_s;
    FTPConnection gamma = beta;
    gamma.Name = u"Gamma"_s;
    FTPConnection beta2 = beta;
    beta2.Name = u"beta 2"_s;
    store.sites() = {beta2, beta, gamma, upperAlpha, beta, lowerAlpha};
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(names(), (QStringList{u"Alpha"_s, u"alpha"_s, u"beta"_s, u"beta 2"_s, u"Gamma"_s}));

    // A copy left unchanged collapses into its original.
    store.sites().append(store.sites().at(2));
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(store.sites().size(), 5);
}

TEST_F(ConnectionStoreTest, EncodesPasswordsAsThreeDigitsPerByte)
{
    EXPECT_EQ(ConnectionStore::EncodeStorePassword(u"abc"_s), u"097098099"_s);
    EXPECT_EQ(ConnectionStore::EncodeStorePassword(QString()), QString());
    EXPECT_EQ(ConnectionStore::EncodeStorePassword(S), u"167"_s);
    EXPECT_EQ(ConnectionStore::EncodeStorePassword(QString::fromUtf8("ü")), u"252"_s);
    // Windows-1252 bytes that would read back as UTF-8 are stored as UTF-8 instead.
    EXPECT_EQ(ConnectionStore::EncodeStorePassword(cp1252("\xC3\xBC")), u"195131194188"_s);
}

TEST_F(ConnectionStoreTest, EveryPasswordRoundTripsThroughTheFile)
{
    // Every character a byte can stand for, alone and in every pair (pairs such as "Ã¼" look
    // like UTF-8), and text beyond Windows-1252.
    for (int a = 0; a < 256; ++a) {
        for (int b = -1; b < 256; ++b) {
            QByteArray bytes(1, char(a));
            if (b >= 0)
                bytes.append(char(b));
            const QString password = TextCodec::DecodeWindows1252(bytes);
            ASSERT_EQ(DecodePassword(ConnectionStore::EncodeStorePassword(password)), password) << a << ' ' << b;
        }
    }
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QStringList passwords = {TextCodec::DecodeWindows1252(all), cp1252("\xC3\xBC"),
                                   QString::fromUtf8("pässwörd € Ω 密码 🔑"), u" "_s};
    QList<FTPConnection> sites;
    for (int i = 0; i < passwords.size(); ++i)
        sites.append(site(u"Site "_s + QString::number(i), cp1252("\xC3\xBC") + u"ber"_s, u"u"_s, passwords[i], u"21"_s,
                          u"/"_s, u"/"_s, u"Passive"_s));
    store.sites() = sites;
    ASSERT_TRUE(store.SaveConnections());
    ConnectionStore reread(folder);
    reread.LoadConnections();
    EXPECT_EQ(reread.sites(), sites);
    EXPECT_TRUE(protocolErrors(log).isEmpty());
}

TEST_F(ConnectionStoreTest, DamagedPasswordKeepsEverySiteAndIsReported)
{
    const QByteArray original = storeLine({u"A"_s, u"a.example"_s, u"ua"_s, u"097"_s, u"21"_s, u"/"_s, u"/"_s, u"Passive"_s}) + "\r\n"
        + storeLine({u"B"_s, u"b.example"_s, u"ub"_s, u"09x098"_s, u"2121"_s, u"/b/"_s, u"/www"_s, u"Active"_s}) + "\r\n"
        + storeLine({u"C"_s, u"c.example"_s, u"uc"_s, u"099"_s, u"21"_s, u"/"_s, u"/"_s, u"Passive"_s}) + "\r\n";
    writeFile(original);
    store.LoadConnections();
    ASSERT_EQ(store.sites().size(), 3);
    EXPECT_EQ(store.sites()[0], site(u"A"_s, u"a.example"_s, u"ua"_s, u"a"_s, u"21"_s, u"/"_s, u"/"_s, u"Passive"_s));
    EXPECT_EQ(store.sites()[1], site(u"B"_s, u"b.example"_s, u"ub"_s, {}, u"2121"_s, u"/b/"_s, u"/www"_s, u"Active"_s));
    EXPECT_EQ(store.sites()[2].Password, u"c"_s);
    EXPECT_EQ(protocolErrors(log),
              QStringList{QString::fromUtf8("ftp_connections.bin, line 2: the password of the site \"B\" is not readable; "
                                            "the site was kept without its password. The file as it was is kept in "
                                            "\"ftp_connections.bin.damaged\".")});
    // The original stays readable for the user, with the rights of the store.
    const QString copy = store.filePath() + ConnectionStore::DamagedCopySuffix;
    QFile saved(copy);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), original);
    EXPECT_EQ(QFileInfo(copy).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
}

TEST_F(ConnectionStoreTest, FileIsForTheOwnerOnlyWithCrLfLines)
{
    writeFile("old\r\n");
    QFile::setPermissions(store.filePath(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    store.sites() = {site(u"A"_s, u"h"_s, u"u"_s, u"p"_s, u"21"_s, u"/"_s, u"/"_s, u"Passive"_s)};
    ASSERT_TRUE(store.SaveConnections());
    const QFile::Permissions rights = QFileInfo(store.filePath()).permissions();
    EXPECT_TRUE(rights & QFile::ReadOwner);
    EXPECT_TRUE(rights & QFile::WriteOwner);
    EXPECT_FALSE(rights & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther));
    EXPECT_TRUE(fileBytes().endsWith("Passive\r\n"));

    store.sites().clear();
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(fileBytes(), QByteArray());
}

TEST_F(ConnectionStoreTest, AFailedWriteKeepsTheListAndIsReported)
{
    // A "folder" that is a file: nothing can be written below it.
    QFile blocker(folder + u"not-a-folder"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ConnectionStore blocked(folder + u"not-a-folder/"_s, &log);
    const QList<FTPConnection> unsaved = {site(u"z"_s, u"h"_s, u"u"_s, {}, u"21"_s, u"/"_s, u"/"_s, u"Passive"_s),
                                          site(u"a"_s, u"h"_s, u"u"_s, {}, u"21"_s, u"/"_s, u"/"_s, u"Passive"_s)};
    blocked.sites() = unsaved;
    EXPECT_FALSE(blocked.SaveConnections());
    EXPECT_EQ(blocked.sites(), unsaved);
    ASSERT_EQ(protocolErrors(log).size(), 1);
    EXPECT_TRUE(protocolErrors(log).first().startsWith(u"The sites could not be saved to"_s));
}

TEST_F(ConnectionStoreTest, SeparatorsAndLineBreaksInOtherFieldsAreRemovedAndReported)
{
    store.sites() = {site(u"Docs"_s, u"h"_s, u"u"_s, {}, u"21"_s, u"/home/jo/"_s + S + u"docs/"_s, u"/a\nb"_s, u"Passive"_s)};
    ASSERT_TRUE(store.SaveConnections());
    EXPECT_EQ(fileBytes().count('\xA7'), 7);
    ASSERT_EQ(store.sites().size(), 1);
    EXPECT_EQ(store.sites()[0].LocalPath, u"/home/jo/docs/"_s);
    EXPECT_EQ(store.sites()[0].ServerPath, u"/ab"_s);
    EXPECT_EQ(store.sites()[0].Mode, u"Passive"_s);
    const QStringList errors = protocolErrors(log);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].contains(u"\"Local path\""_s));
    EXPECT_TRUE(errors[1].contains(u"\"Server path\""_s));
}

TEST_F(ConnectionStoreTest, ReadsHandEditedFiles)
{
    store.LoadConnections();
    EXPECT_TRUE(store.sites().isEmpty()); // no file: no sites

    writeFile(storeLine({u"Short"_s, u"h"_s}) + "\n\n" + storeLine({u"Long"_s, u"h"_s, u"u"_s, u"097"_s, u"21"_s, u"/"_s, u"/"_s, u"Active"_s, u"extra"_s, u"more"_s}) + "\n");
    store.LoadConnections();
    ASSERT_EQ(store.sites().size(), 2);
    EXPECT_EQ(store.sites()[0], site(u"Short"_s, u"h"_s, {}, {}, {}, {}, {}, {}));
    // The ninth field is the encryption: a word this version does not know is kept as it is
    // (and connects only with TLS); fields after it are ignored.
    EXPECT_EQ(store.sites()[1], site(u"Long"_s, u"h"_s, u"u"_s, u"a"_s, u"21"_s, u"/"_s, u"/"_s, u"Active"_s, u"extra"_s));
    EXPECT_EQ(store.sites()[1].encryption(), FtpEncryption::ExplicitRequired);
}

TEST_F(ConnectionStoreTest, LastConnectionIsARowNumber)
{
    EXPECT_EQ(store.ReadLastConnection(), -1);
    ASSERT_TRUE(store.WriteLastConnection(3));
    EXPECT_EQ(store.ReadLastConnection(), 3);
    QFile file(store.lastConnectionPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("3\r\n"));
    file.close();

    for (const QByteArray &bad : {QByteArray("three\r\n"), QByteArray("-1\r\n")}) {
        QFile out(store.lastConnectionPath());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bad);
        out.close();
        EXPECT_EQ(store.ReadLastConnection(), -1) << bad.constData();
    }
    EXPECT_EQ(protocolErrors(log).size(), 2);
}

} // namespace
