// An import from start to end: the dialogs and their starting folders, the save, the messages.
#include "SitesTestSupport.h"

#include "FakeUserPrompts.h"
#include "MemoryVault.h"
#include "TestEnvironment.h"

#include "app/AppFolders.h"
#include "common/Language.h"
#include "sites/ConnectionStore.h"
#include "sites/SiteImporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class SiteImporterTest : public ::testing::Test {
protected:
    static AppFolders makeFolders()
    {
        AppFolders f = AppFolders::detect();
        f.create();
        return f;
    }

    bool import(SiteImporter::Kind kind) { return importer.run(kind, store); }
    QStringList names() const
    {
        QStringList out;
        for (const FTPConnection &s : store.sites())
            out.append(s.Name);
        return out;
    }
    // A copy of a fixture below the test's root; returns its path.
    QString copyFixture(const QString &relative, const QString &target)
    {
        QFile in(fixture(relative));
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return env.writeFile(target, in.readAll());
    }

    TestEnvironment env; // first: the folders below depend on it
    AppFolders folders = makeFolders();
    FakeUserPrompts prompts;
    Language language;
    ProtocolLog log{folders.appDataFolder};
    ConnectionStore store{folders.appDataFolder, &log, &language};
    SiteImporter importer{prompts, language, &log, folders};
};

TEST_F(SiteImporterTest, FileZilla3ImportsPasswordsWithoutAMessage)
{
    const QString defaults = copyFixture(u"filezilla3/fzdefaults.xml"_s, u"fz/fzdefaults.xml"_s);
    copyFixture(u"filezilla3/config/sitemanager.xml"_s, u"fz/config/sitemanager.xml"_s);
    store.sites() = {site(u"Zulu"_s, u"z"_s, u"u"_s, u"p"_s, u"21"_s, u"/"_s, u"/"_s, u"Passive"_s)};
    prompts.fileAnswers = {defaults};
    ASSERT_TRUE(import(SiteImporter::FileZilla3));
    EXPECT_EQ(prompts.shown, QStringList{u"openFile: Import FileZilla 3 connections"_s});
    EXPECT_EQ(names(), (QStringList{u"Active one"_s, u"Deep"_s, QString::fromUtf8("Müller Shop"), u"Zulu"_s}));
    EXPECT_EQ(store.sites()[2].Password, QString::fromUtf8("pässword"));
    EXPECT_EQ(store.sites()[0].Password, QString()); // nothing to take: no password, not a blank
    EXPECT_EQ(protocolErrors(log).size(), 1);

    // Importing the same file again adds nothing.
    prompts.fileAnswers = {defaults};
    ASSERT_TRUE(import(SiteImporter::FileZilla3));
    EXPECT_EQ(store.sites().size(), 4);
    ConnectionStore reread(folders.appDataFolder);
    reread.LoadConnections();
    EXPECT_EQ(reread.sites(), store.sites());
}

TEST_F(SiteImporterTest, EveryOtherClientSaysThatPasswordsWereNotTaken)
{
    const struct {
        SiteImporter::Kind kind;
        const char *fixture;
        int sites;
        QString message;
    } cases[] = {
        {SiteImporter::FileZilla2, "FileZilla.xml", 2, u"information: The FileZilla2 format password was not imported!"_s},
        {SiteImporter::WsFtp12, "ws_ftp.ini", 3, u"information: Passwords are not imported at WS FTP 12 format!"_s},
        {SiteImporter::CuteFtp8, "cuteftp_english.txt", 3, u"information: Passwords are not imported at CuteFTP 8 format!"_s},
        {SiteImporter::FlashFxp3, "Sites.dat", 2, u"information: Passwords are not imported at FlashFXP 3 format!"_s},
    };
    for (const auto &c : cases) {
        store.sites().clear();
        prompts.clear();
        prompts.fileAnswers = {fixture(QString::fromLatin1(c.fixture))};
        ASSERT_TRUE(import(c.kind)) << c.fixture;
        EXPECT_EQ(store.sites().size(), c.sites) << c.fixture;
        EXPECT_EQ(prompts.shown.last(), c.message);
        EXPECT_TRUE(QFileInfo::exists(store.filePath()));
        if (c.kind == SiteImporter::CuteFtp8) {
            EXPECT_EQ(prompts.shown.first(), u"information: Please export the CuteFTP accounts in text format first. "
                                             u"Afterwards you can import this file."_s);
        }
    }
}

TEST_F(SiteImporterTest, SmartFtpReadsAFolderTree)
{
    prompts.folderAnswers = {fixture(u"smartftp/Favorites/"_s)};
    ASSERT_TRUE(import(SiteImporter::SmartFtp4));
    EXPECT_EQ(prompts.shown, (QStringList{u"chooseFolder: Select the \"SmartFTP/Favorites\"  folder!"_s,
                                          u"information: Passwords are not imported at SmartFXP 4 format!"_s}));
    EXPECT_EQ(names(), (QStringList{u"Private"_s, u"Work server"_s}));
}

TEST_F(SiteImporterTest, CancelOrAnUnreadableFileSavesNothing)
{
    EXPECT_FALSE(import(SiteImporter::WsFtp12)); // the dialog was cancelled
    EXPECT_FALSE(import(SiteImporter::SmartFtp4));
    prompts.clear();

    prompts.fileAnswers = {env.root() + u"missing.ini"_s};
    EXPECT_FALSE(import(SiteImporter::FlashFxp3));
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_TRUE(prompts.shown[1].startsWith(u"error: The file cannot be read: "_s + env.root() + u"missing.ini"_s));

    // A FileZilla defaults file that names no site file.
    prompts.clear();
    prompts.fileAnswers = {env.writeFile(u"fz/fzdefaults.xml"_s, "<FileZilla3>\n</FileZilla3>\n")};
    EXPECT_FALSE(import(SiteImporter::FileZilla3));
    EXPECT_TRUE(prompts.shown.last().contains(u"\"Config Location\""_s));
    EXPECT_FALSE(QFileInfo::exists(store.filePath()));
    EXPECT_TRUE(store.sites().isEmpty());
}

TEST_F(SiteImporterTest, DialogsStartInTheClientsWindowsFolderWhenItExists)
{
    // Nothing there: the home folder, with the client's file name preselected.
    importer.run(SiteImporter::WsFtp12, store);
    EXPECT_EQ(prompts.lastStartFolder, QDir::homePath() + u"/ws_ftp.ini"_s);
    EXPECT_EQ(importer.startFolder(SiteImporter::CuteFtp8), folders.startDrive);

    // A Wine prefix holds the Windows folders; names match without regard to case.
    const QString wine = QDir::homePath() + u"/.wine/drive_c/"_s;
    QDir().mkpath(wine + u"users/jo/AppData/Roaming/Ipswitch/WS_FTP/Sites"_s);
    QDir().mkpath(wine + u"Program Files (x86)/FileZilla"_s);
    QDir().mkpath(wine + u"ProgramData/FlashFXP/3"_s);
    QDir().mkpath(wine + u"users/jo/Application Data/SmartFTP/Client 2.0/Favorites"_s);
    EXPECT_EQ(importer.startFolder(SiteImporter::WsFtp12), wine + u"users/jo/AppData/Roaming/Ipswitch/WS_FTP/Sites/"_s);
    EXPECT_EQ(importer.startFolder(SiteImporter::FileZilla3), wine + u"Program Files (x86)/FileZilla/"_s);
    EXPECT_EQ(importer.startFolder(SiteImporter::FlashFxp3), wine + u"ProgramData/FlashFXP/3/"_s);
    EXPECT_EQ(importer.startFolder(SiteImporter::SmartFtp4), wine + u"users/jo/Application Data/SmartFTP/Client 2.0/Favorites/"_s);

    // This system's own application data folder comes first.
    const QString roaming = folders.appDataFolder.chopped(QStringLiteral("Holmvik/Velmora/").size());
    QDir().mkpath(roaming + u"SmartFTP/Client 2.0/Favorites"_s);
    EXPECT_EQ(importer.startFolder(SiteImporter::SmartFtp4), roaming + u"SmartFTP/Client 2.0/Favorites/"_s);
}

TEST_F(SiteImporterTest, GermanMessages)
{
    language.setCurrent(Language::German);
    prompts.fileAnswers = {fixture(u"Sites.dat"_s)};
    ASSERT_TRUE(import(SiteImporter::FlashFxp3));
    EXPECT_EQ(prompts.shown, (QStringList{u"openFile: FlashFXP 3 Daten importieren"_s,
                                          QString::fromUtf8("information: Passwörter können nicht importiert werden im FlashFPX 3 Format!")}));
}

TEST_F(SiteImporterTest, SitesOfOtherProtocolsAreNamedNotImported)
{
    const QString oneSite = env.writeFile(u"one/sitemanager.xml"_s,
                                          "<FileZilla3>\n\t<Servers>\n\t\t<Server>\n\t\t\t<Host>s.example</Host>\n"
                                          "\t\t\t<Protocol>5</Protocol>\n\t\t\t<Name>Backup</Name>\n\t\t</Server>\n"
                                          "\t\t<Server>\n\t\t\t<Host>p.example</Host>\n\t\t\t<Protocol>6</Protocol>\n"
                                          "\t\t\t<Name>Plain</Name>\n\t\t</Server>\n\t</Servers>\n</FileZilla3>\n");
    const QString linux = fixture(u"filezilla3/linux/sitemanager.xml"_s);
    const QString wsFtp = env.writeFile(u"ws/ws_ftp.ini"_s, "[Secure]\r\nHOST=https://s.example\r\n[Open]\r\nHOST=o.example\r\n");
    const struct {
        Language::Id language;
        SiteImporter::Kind kind;
        QString file;
        QStringList shown; // after the open dialog
        int sites;
    } cases[] = {
        {Language::English, SiteImporter::FileZilla3, oneSite,
         {u"information: 1 site uses another protocol than FTP or SFTP and was not imported: Backup"_s}, 1},
        {Language::German, SiteImporter::FileZilla3, oneSite,
         {QString::fromUtf8("information: 1 Seite verwendet ein anderes Protokoll als FTP oder SFTP und wurde nicht importiert: Backup")}, 1},
        {Language::English, SiteImporter::FileZilla3, linux,
         {u"information: 1 site uses another protocol than FTP or SFTP and was not imported: Storage"_s}, 6},
        // After the importer's own message.
        {Language::English, SiteImporter::WsFtp12, wsFtp,
         {u"information: Passwords are not imported at WS FTP 12 format!"_s,
          u"information: 1 site uses another protocol than FTP or SFTP and was not imported: Secure"_s},
         1},
    };
    for (const auto &c : cases) {
        language.setCurrent(c.language);
        store.sites().clear();
        prompts.clear();
        prompts.fileAnswers = {c.file};
        ASSERT_TRUE(import(c.kind)) << c.file.toStdString();
        EXPECT_EQ(prompts.shown.mid(1), c.shown);
        EXPECT_EQ(store.sites().size(), c.sites) << c.file.toStdString();
    }

    // Two sites left out: the plural message.
    const QString twoSites = env.writeFile(u"two/ws_ftp.ini"_s, "[A]\r\nHOST=https://a.example\r\n[B]\r\nHOST=smb://b.example\r\n");
    language.setCurrent(Language::German);
    prompts.clear();
    prompts.fileAnswers = {twoSites};
    ASSERT_TRUE(import(SiteImporter::WsFtp12));
    EXPECT_EQ(prompts.shown.mid(2), QStringList{QString::fromUtf8("information: 2 Seiten verwenden ein anderes Protokoll als FTP "
                                                                  "oder SFTP und wurden nicht importiert: A, B")});

    // The protocol names each site with what it uses.
    QStringList status;
    for (const ProtocolEntry &entry : log.entries()) {
        if (entry.kind == ProtocolEntry::Status && entry.text.contains(u"\"Storage\""_s))
            status.append(entry.text);
    }
    ASSERT_EQ(status.size(), 1);
    EXPECT_TRUE(status[0].endsWith(u"was not imported: it uses another protocol than FTP (<Protocol>5</Protocol>)."_s))
        << status[0].toStdString();
    EXPECT_TRUE(protocolErrors(log).isEmpty());
}

// FileZilla's SFTP sites and "sftp://" hosts become SFTP sites that connect on their port.
TEST_F(SiteImporterTest, SftpSitesAreImportedAsSftpSites)
{
    const QString wsFtp = env.writeFile(u"ws/ws_ftp.ini"_s, "[Shell]\r\nHOST=sftp://shell.example\r\n");
    prompts.fileAnswers = {fixture(u"filezilla3/linux/sitemanager.xml"_s)};
    ASSERT_TRUE(import(SiteImporter::FileZilla3));
    prompts.fileAnswers = {wsFtp};
    ASSERT_TRUE(import(SiteImporter::WsFtp12));
    ConnectionStore reread(folders.appDataFolder);
    reread.LoadConnections();
    QStringList sftp;
    for (const FTPConnection &site : reread.sites()) {
        if (site.encryption() == FtpEncryption::Sftp)
            sftp << site.Name + u'|' + site.Host + u'|' + site.Port.trimmed();
    }
    EXPECT_EQ(sftp, (QStringList{u"Client SFTP|sftp.client.example|22"_s, u"Shell|shell.example|22"_s}))
        << "the importer's default port 21 is FTP's";
}

TEST_F(SiteImporterTest, FileZilla3TakesTheSiteListOrTheDefaultsFile)
{
    const QByteArray siteList = "<FileZilla3>\n\t<Servers>\n\t\t<Server>\n\t\t\t<Host>h.example</Host>\n"
                                "\t\t\t<Pass encoding=\"base64\">c2VjcmV0</Pass>\n\t\t\t<Name>Mine</Name>\n\t\t</Server>\n"
                                "\t</Servers>\n</FileZilla3>\n";
    const QString noSiteList = u"error: The file cannot be read: "_s + env.root()
        + u"any/notes.xml (it is no FileZilla site list and has no \"Config Location\" setting that names the folder of "
          u"sitemanager.xml)"_s;
    const struct {
        QString file;
        QByteArray content;
        bool imported;
        QString error;
    } cases[] = {
        {u"fz/sitemanager.xml"_s, siteList, true, {}},
        {u"any/exported sites.xml"_s, siteList, true, {}},                            // a site list by its content
        {u"fz/SiteManager.XML"_s, "<FileZilla3>\n</FileZilla3>\n", true, {}},          // by its name, even empty
        {u"defaults/fzdefaults.xml"_s, siteList, false, {}},                           // the defaults file keeps its meaning
        {u"any/notes.xml"_s, "<notes/>\n", false, noSiteList},
    };
    for (const auto &c : cases) {
        prompts.clear();
        prompts.fileAnswers = {env.writeFile(c.file, c.content)};
        EXPECT_EQ(import(SiteImporter::FileZilla3), c.imported) << c.file.toStdString();
        if (c.imported) {
            EXPECT_EQ(prompts.shown.size(), 1) << c.file.toStdString(); // the open dialog only
        } else {
            EXPECT_TRUE(prompts.shown.last().contains(u"\"Config Location\""_s)) << c.file.toStdString();
            if (!c.error.isEmpty()) {
                EXPECT_EQ(prompts.shown.last(), c.error);
            }
        }
    }
    ConnectionStore reread(folders.appDataFolder);
    reread.LoadConnections();
    ASSERT_EQ(reread.sites().size(), 1); // the same site, imported twice, is stored once
    EXPECT_EQ(reread.sites()[0].Password, u"secret"_s);
}

TEST_F(SiteImporterTest, FileZilla3StartsInItsLinuxSettingsFolder)
{
    const QString filter = u"sitemanager.xml, fzdefaults.xml (sitemanager.xml fzdefaults.xml);;All files (*)"_s;
    // A Wine installation is there too, but the Linux folder comes first.
    QDir().mkpath(QDir::homePath() + u"/.wine/drive_c/Program Files/FileZilla"_s);
    const QString config = QDir::homePath() + u"/.config/filezilla/"_s;
    env.writeFile(config + u"sitemanager.xml"_s, "<FileZilla3>\n</FileZilla3>\n");
    importer.run(SiteImporter::FileZilla3, store);
    EXPECT_EQ(prompts.lastStartFolder, config + u"sitemanager.xml"_s);
    EXPECT_EQ(prompts.lastFilter, filter);

    // XDG_CONFIG_HOME names the settings folder when it is set; without a site file there the
    // defaults file is preselected.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME") + u"/filezilla/"_s;
    QDir().mkpath(xdg);
    importer.run(SiteImporter::FileZilla3, store);
    EXPECT_EQ(prompts.lastStartFolder, xdg + u"fzdefaults.xml"_s);

    // Neither: the Wine installation, then the home folder.
    QDir(xdg).removeRecursively();
    QDir(config).removeRecursively();
    EXPECT_EQ(importer.startFolder(SiteImporter::FileZilla3), QDir::homePath() + u"/.wine/drive_c/Program Files/FileZilla/"_s);
    QDir(QDir::homePath() + u"/.wine"_s).removeRecursively();
    importer.run(SiteImporter::FileZilla3, store);
    EXPECT_EQ(prompts.lastStartFolder, QDir::homePath() + u"/fzdefaults.xml"_s);
}

} // namespace

namespace {

TEST_F(SiteImporterTest, ImportedPasswordsGoWhereTheKeyringOptionSays)
{
    MemoryVault vault;
    const PasswordPlace toKeyring{&vault, true};
    store.setPasswordPlace(&toKeyring);
    const QString defaults = copyFixture(u"filezilla3/fzdefaults.xml"_s, u"fz/fzdefaults.xml"_s);
    copyFixture(u"filezilla3/config/sitemanager.xml"_s, u"fz/config/sitemanager.xml"_s);
    prompts.fileAnswers = {defaults};
    ASSERT_TRUE(import(SiteImporter::FileZilla3));
    ASSERT_EQ(names(), (QStringList{u"Active one"_s, u"Deep"_s, QString::fromUtf8("Müller Shop")}));
    EXPECT_EQ(store.sites()[2].Password, QString::fromUtf8("pässword"));
    ASSERT_EQ(vault.entries.size(), 1);
    EXPECT_EQ(vault.entries.first(), QString::fromUtf8("pässword"));
    const QString line = TextCodec::ReadLines(store.filePath()).at(2);
    EXPECT_TRUE(line.contains(u"§keyring:"_s)) << line.toStdString();
    EXPECT_FALSE(line.contains(ConnectionStore::EncodeStorePassword(QString::fromUtf8("pässword")))) << line.toStdString();

    // The same file again adds no site and no entry.
    prompts.fileAnswers = {defaults};
    ASSERT_TRUE(import(SiteImporter::FileZilla3));
    EXPECT_EQ(store.sites().size(), 3);
    EXPECT_EQ(vault.entries.size(), 1);
}

} // namespace
