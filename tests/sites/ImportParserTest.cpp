// The six importers' parsing rules, on fixture files written in each client's format.
#include "SitesTestSupport.h"

#include "sites/CuteFtp8Importer.h"
#include "sites/FileZilla2Importer.h"
#include "sites/FileZilla3Importer.h"
#include "sites/FlashFxp3Importer.h"
#include "sites/ImportText.h"
#include "sites/SiteImporter.h"
#include "sites/SmartFtp4Importer.h"
#include "sites/WsFtp12Importer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

QStringList fixtureLines(const QString &relative)
{
    QFile file(fixture(relative));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
    return ImportLines(file.readAll());
}

QStringList lines(const char *text)
{
    return ImportLines(QByteArray(text));
}

const QString blank = u" "_s;
const QString root = u"\\"_s;

TEST(RepairGermanLetters, FoldsTwoByteSequencesInOrder)
{
    const struct {
        const char *in;
        QString out;
    } cases[] = {
        {"gr\xC3\xBCn", QString::fromUtf8("grün")},
        {"\xC3\x9C\xC3\x84\xC3\x96\xC3\xA4\xC3\xB6\xC3\x9F", QString::fromUtf8("ÜÄÖäöß")},
        {"\xC3\x22 \xC3\xFB", QString::fromUtf8("Ä Ö")},
        {"5 \x80", u"5 Euro"_s},
        {"5 \xE2\x82\xAC", u"5 Euro"_s + QChar(0xAC)}, // the third byte of the UTF-8 euro stays
        {"plain.example", u"plain.example"_s},
        {"\xC3\xA9t\xC3\xA9", cp1252("\xC3\xA9t\xC3\xA9")}, // only German letters are repaired
    };
    for (const auto &c : cases)
        EXPECT_EQ(RepairGermanLetters(cp1252(c.in)), c.out) << c.in;
}

TEST(ImportText, TrimRemovesBlanksAndControlCharactersOnly)
{
    EXPECT_EQ(Trim(u"\t x y \x01"_s), u"x y"_s);
    EXPECT_EQ(Trim(QChar(0xA0) + u"x"_s), QChar(0xA0) + u"x"_s); // a no-break space is text
    EXPECT_EQ(RemoveAll(u"<HOST>a</host>"_s, u"<Host>"_s), u"a</host>"_s);
}

TEST(FileZilla3Import, FindsTheSiteFileFromConfigLocation)
{
    const QString tag = u"<Setting name=\"Config Location\">"_s;
    QString path;
    const struct {
        QStringList lines;
        QString file;
    } cases[] = {
        {{tag + u"config\\</Setting>"_s}, u"/fz/config/sitemanager.xml"_s},
        {{tag + u" /srv/fz </Setting>"_s}, u"/srv/fz/sitemanager.xml"_s},
        {{tag + u"C:\\Users\\jo\\</Setting>"_s}, u"C:/Users/jo/sitemanager.xml"_s},
        {{tag + u"first/</Setting>"_s, tag + u"last/</Setting>"_s}, u"/fz/last/sitemanager.xml"_s},
        {{tag + u"</Setting>"_s}, u"/fz/sitemanager.xml"_s},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(FileZilla3Importer::SiteFilePath(c.lines, u"/fz/"_s, &path)) << c.lines.join(u'|').toStdString();
        EXPECT_EQ(path, c.file);
    }
    EXPECT_FALSE(FileZilla3Importer::SiteFilePath({u"<Setting name=\"Other\">x</Setting>"_s}, u"/fz/"_s, &path));
}

TEST(FileZilla3Import, ReadsEveryClosedSite)
{
    const SiteImportResult result = FileZilla3Importer::Parse(fixtureLines(u"filezilla3/config/sitemanager.xml"_s));
    ASSERT_EQ(result.sites.size(), 3);
    // Host, name, password and folder are repaired; the user name keeps its UTF-8 bytes.
    EXPECT_EQ(result.sites[0], site(QString::fromUtf8("Müller Shop"), QString::fromUtf8("ftp.grün.example"), cp1252("j\xC3\xBCrgen"),
                                    QString::fromUtf8("pässword"), u"2121"_s, u"/home/jo/shop"_s, u"/home/www"_s, u"Passive"_s,
                                    u"ftp-tls-if-available"_s));
    // FileZilla's default protocol (no element) is FTP with TLS when the server offers it.
    EXPECT_EQ(result.sites[1], site(u"Active one"_s, u"active.example.org"_s, blank, blank, blank, root, u"/"_s, u"Active"_s,
                                    u"ftp-tls-if-available"_s));
    // An unknown mode leaves the mode as it was; at most seven folder segments are taken.
    EXPECT_EQ(result.sites[2], site(u"Deep"_s, u"deep.example.org"_s, blank, blank, blank, root, u"/a/b/c/d/e/f/g"_s, blank,
                                    u"ftp-tls-if-available"_s));
    // The last site has no "</Server>": left out, and said so.
    ASSERT_EQ(result.problems.size(), 1);
    EXPECT_EQ(result.problems[0].english,
              u"The last site (\"Cut off\", host \"cut.example.net\") has no closing </Server> line and was not imported."_s);
}

TEST(FileZilla3Import, DecodesRemoteDir)
{
    const struct {
        const char *value;
        QString path;
    } cases[] = {
        {"1 0 4 home 3 www", u"/home/www"_s},
        {"", u"/"_s},
        {"1 0 3 pub", u"/pub"_s},
        {"1 0 2 my 4 site 3 www", u"/my/site/www"_s},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileZilla3Importer::ServerPathFromRemoteDir(QString::fromLatin1(c.value)), c.path) << c.value;
}

TEST(FileZilla2Import, EmptyAttributeKeepsTheLaterValuesInPlace)
{
    const SiteImportResult result = FileZilla2Importer::Parse(fixtureLines(u"FileZilla.xml"_s));
    ASSERT_EQ(result.sites.size(), 2);
    EXPECT_EQ(result.sites[0], site(u"Home page"_s, u"home.example.com"_s, u"web"_s, blank, u"21"_s, u"/home/jo/web"_s,
                                    u"/htdocs"_s, u"Passive"_s));
    // No repair in this format.
    EXPECT_EQ(result.sites[1], site(u"Anon mirror"_s, cp1252("mirr\xC3\xB6r.example.com"), blank, blank, u"2121"_s,
                                    u"/srv/mirror"_s, u"/pub"_s, u"Passive"_s));
}

TEST(WsFtp12Import, ReadsSectionsWithDefaults)
{
    const SiteImportResult result = WsFtp12Importer::Parse(fixtureLines(u"ws_ftp.ini"_s));
    ASSERT_EQ(result.sites.size(), 3); // "[_config_]" is not a site
    EXPECT_EQ(result.sites[0], site(u"Company site"_s, u"ftp.company.example"_s, u"webmaster"_s, blank, u"990"_s,
                                    u"/home/jo/company"_s, u"/var/www"_s, u"Active"_s));
    EXPECT_EQ(result.sites[1], site(u"Minimal"_s, u"min.example"_s, blank, blank, u"21"_s, root, u"/"_s, u"Passive"_s));
    EXPECT_EQ(result.sites[2].Mode, u"2"_s);
}

TEST(CuteFtp8Import, ReadsEnglishAndGermanExports)
{
    const SiteImportResult english = CuteFtp8Importer::Parse(fixtureLines(u"cuteftp_english.txt"_s));
    ASSERT_EQ(english.sites.size(), 3);
    EXPECT_EQ(english.sites[0], site(u"Shop server"_s, QString::fromUtf8("ftp.grün.example"), cp1252("j\xC3\xBCrgen"), blank,
                                     u"21"_s, u"C:\\Sites"_s, u"/public_html"_s, u"Passive"_s));
    // A value is cut at its own ":"; empty folders get their defaults.
    EXPECT_EQ(english.sites[1], site(u"Backup box"_s, u"backup.example"_s, blank, blank, u"2222"_s, root, u"/"_s, u"Active"_s));
    // The file's end ends the last site, though only one blank line follows it.
    EXPECT_EQ(english.sites[2], site(u"Last one"_s, u"last.example"_s, blank, blank, u"21"_s, root, u"/"_s, u"Active"_s));

    const SiteImportResult german = CuteFtp8Importer::Parse(fixtureLines(u"cuteftp_german.txt"_s));
    ASSERT_EQ(german.sites.size(), 1); // a third blank line starts no empty site
    EXPECT_EQ(german.sites[0], site(u"Firmenserver"_s, u"firma.example"_s, u"chef"_s, blank, u"2121"_s, u"/home/chef/firma"_s,
                                    u"/web"_s, u"Passive"_s));
}

TEST(CuteFtp8Import, OnlyTwoBlankLinesEndASite)
{
    const SiteImportResult merged = CuteFtp8Importer::Parse(lines("Label: A\nHostName: a\n\nLabel: B\n\n\n"));
    ASSERT_EQ(merged.sites.size(), 1);
    EXPECT_EQ(merged.sites[0].Name, u"B"_s);
    EXPECT_EQ(merged.sites[0].Host, u"a"_s);

    const SiteImportResult split = CuteFtp8Importer::Parse(lines("Label: A\nHostName: a\nUses passive mode\n\n\nLabel: B\nHostName: b\n"));
    ASSERT_EQ(split.sites.size(), 2);
    EXPECT_EQ(split.sites[0].Mode, u"Passive"_s);
    EXPECT_EQ(split.sites[1].Host, u"b"_s);
    EXPECT_EQ(split.sites[1].Mode, u"Active"_s); // the passive flag ends with its site
}

TEST(FlashFxp3Import, ReadsSectionsWithDefaults)
{
    const SiteImportResult result = FlashFxp3Importer::Parse(fixtureLines(u"Sites.dat"_s));
    ASSERT_EQ(result.sites.size(), 2);
    EXPECT_EQ(result.sites[0], site(u"Office"_s, u"office.example.com"_s, u"office"_s, blank, u"2100"_s, u"/home/jo/office"_s,
                                    u"/www"_s, u"Passive"_s));
    EXPECT_EQ(result.sites[1], site(u"Bare"_s, u"bare.example"_s, blank, blank, u"21"_s, root, u"/"_s, u"Passive"_s));
}

TEST(SmartFtp4Import, CollectsFavouritesButNotPredefinedOnes)
{
    const QString favourites = fixture(u"smartftp/Favorites"_s);
    EXPECT_EQ(SmartFtp4Importer::CollectFiles(favourites),
              (QStringList{favourites + u"/Work.xml"_s, favourites + u"/Sub/Private.xml"_s}));

    // Hidden folders are skipped and a link back up is not followed twice.
    QTemporaryDir dir;
    const QString base = dir.path();
    QDir().mkpath(base + u"/.cache"_s);
    QDir().mkpath(base + u"/b"_s);
    for (const QString &file : {u"/.cache/x.xml"_s, u"/b/y.XML"_s, u"/a.xml"_s}) {
        QFile out(base + file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(base, base + u"/b/loop"_s));
    EXPECT_EQ(SmartFtp4Importer::CollectFiles(base), (QStringList{base + u"/a.xml"_s, base + u"/b/y.XML"_s}));
}

TEST(SmartFtp4Import, ReadsOneSitePerFavourite)
{
    bool recognised = false;
    EXPECT_EQ(SmartFtp4Importer::ParseFavourite(fixtureLines(u"smartftp/Favorites/Work.xml"_s), &recognised),
              site(u"Work server"_s, QString::fromUtf8("wörk.example.com"), u"worker"_s, blank, u"2021"_s, u"/home/jo/work"_s,
                   u"/srv/www"_s, u"Passive"_s));
    EXPECT_TRUE(recognised);
    // No port: 21; a value that starts with "<" is empty.
    EXPECT_EQ(SmartFtp4Importer::ParseFavourite(fixtureLines(u"smartftp/Favorites/Sub/Private.xml"_s)),
              site(u"Private"_s, u"private.example"_s, blank, blank, u"21"_s, root, u"/"_s, u"Passive"_s));
    SmartFtp4Importer::ParseFavourite(lines("<Other>x</Other>\n"), &recognised);
    EXPECT_FALSE(recognised);
}

// One site in FileZilla's current layout: tab-indented, inside <Servers> and a <Folder>.
// The elements are separated by "|" and given as the file's bytes.
QStringList fileZillaSite(const QByteArray &elements)
{
    QByteArray file = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                      "<FileZilla3 version=\"3.66.4\" platform=\"*nix\">\n\t<Servers>\n\t\t<Folder expanded=\"1\">Team\n"
                      "\t\t\t<Server>\n\t\t\t\t<Host>h.example</Host>\n\t\t\t\t<Name>Site</Name>\n";
    for (const QByteArray &element : elements.split('|')) {
        if (!element.isEmpty())
            file += "\t\t\t\t" + element + '\n';
    }
    file += "\t\t\t</Server>\n\t\t</Folder>\n\t</Servers>\n</FileZilla3>\n";
    return ImportLines(file);
}

TEST(FileZilla3Import, ReadsTheCurrentLinuxSiteFile)
{
    const SiteImportResult result = FileZilla3Importer::Parse(fixtureLines(u"filezilla3/linux/sitemanager.xml"_s));
    // Sites in nested folders count like the others; "<RemoteDir />" leaves "/"; a bookmark's name
    // and folders are not the site's; base64 passwords are decoded, a bare one is trimmed.
    ASSERT_EQ(result.sites.size(), 6);
    EXPECT_EQ(result.sites[0], site(u"Home NAS"_s, u"nas.home.example"_s, u"jo"_s, u"secret"_s, u"21"_s, u"/home/jo"_s, u"/"_s,
                                    u"Active"_s, u"ftp"_s));
    EXPECT_EQ(result.sites[1], site(u"Shop"_s, QString::fromUtf8("ftp.grün.example"), cp1252("j\xC3\xBCrgen"),
                                    QString::fromUtf8("pässword"), u"2121"_s, root, u"/home/www"_s, u"Passive"_s,
                                    u"ftp-tls-if-available"_s));
    // SFTP (1) becomes an SFTP site; implicit TLS (3) and required explicit TLS (4) come across
    // with their encryption.
    EXPECT_EQ(result.sites[2], site(u"Client SFTP"_s, u"sftp.client.example"_s, u"deploy"_s, u"key-less"_s, u"22"_s, root,
                                    u"/srv"_s, blank, u"sftp"_s));
    EXPECT_EQ(result.sites[3].Name, u"Client FTPS"_s);
    EXPECT_EQ(result.sites[3].Encryption, u"ftps"_s);
    EXPECT_EQ(result.sites[3].Password, u"implicit"_s);
    EXPECT_EQ(result.sites[4].Name, u"Client FTPES"_s);
    EXPECT_EQ(result.sites[4].Encryption, u"ftpes"_s);
    EXPECT_EQ(result.sites[5], site(u"Legacy"_s, u"legacy.example"_s, u"old"_s, u"plain"_s, u"21"_s, root, u"/"_s, blank,
                                    u"ftp-tls-if-available"_s));
    // A protocol that is neither FTP nor SFTP stays out.
    QStringList leftOut;
    for (const SiteImportResult::LeftOut &left : result.leftOut)
        leftOut.append(left.site.Name + u' ' + left.record);
    EXPECT_EQ(leftOut, (QStringList{u"Storage <Protocol>5</Protocol>"_s}));
    EXPECT_TRUE(result.problems.isEmpty());
}

TEST(FileZilla3Import, FtpAndSftpSitesComeAcrossWithTheirProtocol)
{
    const struct {
        const char *element; // empty: the site has no <Protocol>
        bool taken;
        SiteTransport::Kind transport;
        const char *encryption; // of a site taken over
    } cases[] = {
        {"", true, SiteTransport::FtpTlsWhenOffered, "ftp-tls-if-available"},
        {"<Protocol>0</Protocol>", true, SiteTransport::FtpTlsWhenOffered, "ftp-tls-if-available"},
        {"<Protocol>6</Protocol>", true, SiteTransport::Ftp, "ftp"},
        {"<Protocol>3</Protocol>", true, SiteTransport::FtpImplicitTls, "ftps"},
        {"<Protocol>4</Protocol>", true, SiteTransport::FtpExplicitTls, "ftpes"},
        {"<Protocol>1</Protocol>", true, SiteTransport::Sftp, "sftp"},
        {"<Protocol>2</Protocol>", false, SiteTransport::NotFtp, ""},
        {"<Protocol>5</Protocol>", false, SiteTransport::NotFtp, ""},
        {"<Protocol>13</Protocol>", false, SiteTransport::NotFtp, ""},
        {"<Protocol></Protocol>", false, SiteTransport::Unspecified, ""},
        {"<Protocol>sftp</Protocol>", false, SiteTransport::Unspecified, ""},
    };
    for (const auto &c : cases) {
        const SiteImportResult result = FileZilla3Importer::Parse(fileZillaSite(c.element));
        ASSERT_EQ(result.sites.size() + result.leftOut.size(), 1) << c.element;
        EXPECT_EQ(result.sites.size() == 1, c.taken) << c.element;
        if (c.taken)
            EXPECT_EQ(result.sites[0].Encryption, QString::fromLatin1(c.encryption)) << c.element;
        if (!c.taken) {
            ASSERT_EQ(result.leftOut.size(), 1) << c.element;
            EXPECT_EQ(result.leftOut[0].transport, c.transport) << c.element;
            EXPECT_EQ(result.leftOut[0].site.Name, u"Site"_s);
            EXPECT_EQ(result.leftOut[0].record, QString::fromLatin1(c.element));
        }
        if (*c.element) {
            const QString value = RemoveAll(RemoveAll(QString::fromLatin1(c.element), u"<Protocol>"_s), u"</Protocol>"_s);
            EXPECT_EQ(SiteTransport::FromFileZilla3Protocol(value), c.transport) << c.element;
        }
    }
}

// An SFTP site that logs in with a key file brings the file along; other sites have none.
TEST(FileZilla3Import, SftpSiteBringsItsKeyFile)
{
    const SiteImportResult withKey = FileZilla3Importer::Parse(
        fileZillaSite("<Port>2222</Port>|<Protocol>1</Protocol>|<Logontype>5</Logontype>|<User>deploy</User>|"
                      "<Keyfile>/home/jo/.ssh/Schl\xC3\xBCssel id</Keyfile>"));
    ASSERT_EQ(withKey.sites.size(), 1);
    EXPECT_EQ(withKey.sites[0].encryption(), FtpEncryption::Sftp);
    EXPECT_EQ(withKey.sites[0].Port, u"2222"_s);
    EXPECT_EQ(withKey.sites[0].KeyFile, QString::fromUtf8("/home/jo/.ssh/Schlüssel id"));
    const SiteImportResult agent = FileZilla3Importer::Parse(fileZillaSite("<Protocol>1</Protocol>|<Logontype>1</Logontype>"));
    ASSERT_EQ(agent.sites.size(), 1);
    EXPECT_TRUE(agent.sites[0].KeyFile.isEmpty());
}

TEST(FileZilla3Import, DecodesPasswords)
{
    const QString badBase64 = u"The password of the site \"Site\" (host \"h.example\") is not valid base64 and was not imported; "
                              u"the site has no password."_s;
    const struct {
        const char *element;
        QString password;
        QString problem;
    } cases[] = {
        {"<Pass encoding=\"base64\">c2VjcmV0</Pass>", u"secret"_s, {}},
        {"<Pass encoding=\"base64\">IHNwYWNlZCA=</Pass>", u" spaced "_s, {}},          // blanks are part of it
        {"<Pass encoding=\"base64\">cMOkc3N3w7ZyZA==</Pass>", QString::fromUtf8("pässwörd"), {}}, // UTF-8
        {"<Pass encoding=\"base64\">w6l0w6k=</Pass>", QString::fromUtf8("été"), {}},     // not only German letters
        {"<Pass encoding=\"base64\">6XTp</Pass>", QString::fromUtf8("été"), {}},         // not UTF-8: Windows-1252
        {"<Pass encoding=\"base64\">4oKsNQ==</Pass>", u"Euro5"_s, {}},                  // repaired like the rest
        {"<Pass encoding=\"base64\"></Pass>", blank, {}},
        {"<Pass encoding=\"base64\" />", blank, {}},
        {"<Pass encoding=\"base64\">not*base64</Pass>", blank, badBase64},
        {"<Pass encoding=\"base64\">c2VjcmV0=</Pass>", blank, badBase64},
        {"<Pass encoding=\"crypt\" pubkey=\"abc\">Zm9v</Pass>", blank,
         u"The password of the site \"Site\" (host \"h.example\") is stored in the encoding \"crypt\", which cannot be read; "
         u"the site has no password."_s},
        {"<Pass>  p\xC3\xA4ss  </Pass>", QString::fromUtf8("päss"), {}},               // bare: trimmed, repaired
        {"<Pass></Pass>", blank, {}},
    };
    for (const auto &c : cases) {
        const SiteImportResult result = FileZilla3Importer::Parse(fileZillaSite(c.element));
        ASSERT_EQ(result.sites.size(), 1) << c.element;
        EXPECT_EQ(result.sites[0].Password, c.password) << c.element;
        if (c.problem.isEmpty()) {
            EXPECT_TRUE(result.problems.isEmpty()) << c.element;
        } else {
            ASSERT_EQ(result.problems.size(), 1) << c.element;
            EXPECT_EQ(result.problems[0].english, c.problem);
        }
    }
    // In German too; and a site that is left out anyway gets no password line.
    const SiteImportResult bad = FileZilla3Importer::Parse(fileZillaSite("<Pass encoding=\"base64\">!</Pass>"));
    ASSERT_EQ(bad.problems.size(), 1);
    EXPECT_EQ(bad.problems[0].german, QString::fromUtf8("Das Passwort der Seite \"Site\" (Host \"h.example\") ist kein gültiges "
                                                        "Base64 und wurde nicht importiert; die Seite hat kein Passwort."));
    const SiteImportResult other =
        FileZilla3Importer::Parse(fileZillaSite("<Protocol>5</Protocol>|<Pass encoding=\"base64\">!</Pass>"));
    EXPECT_EQ(other.leftOut.size(), 1);
    EXPECT_TRUE(other.problems.isEmpty());
}

TEST(FileZilla3Import, TellsASiteListFromOtherFiles)
{
    EXPECT_TRUE(FileZilla3Importer::IsSiteList(fixtureLines(u"filezilla3/linux/sitemanager.xml"_s)));
    EXPECT_TRUE(FileZilla3Importer::IsSiteList(lines("<FileZilla3>\n\t<Servers />\n</FileZilla3>\n")));
    EXPECT_FALSE(FileZilla3Importer::IsSiteList(fixtureLines(u"filezilla3/fzdefaults.xml"_s)));
    EXPECT_FALSE(FileZilla3Importer::IsSiteList(lines("<Settings><Setting name=\"Server\">x</Setting></Settings>\n")));
}

TEST(SiteTransportImport, NoImporterTurnsAnEncryptedSiteIntoAPlainOne)
{
    const struct {
        SiteImporter::Kind kind;
        const char *file;
        SiteTransport::Kind transport; // Ftp: taken over
        const char *record;            // of a site left out; of one taken over: its encryption
    } cases[] = {
        {SiteImporter::FileZilla2, "<Site Name=\"a\" Host=\"h\" Port=\"21\" User=\"u\" Pass=\"\" RemoteDir=\"/\" LocalDir=\"/l\" />",
         SiteTransport::Ftp, ""},
        {SiteImporter::FileZilla2, "<Site Name=\"a\" Host=\"h\" Port=\"21\" User=\"u\" Pass=\"\" RemoteDir=\"/\" LocalDir=\"/l\" "
                                   "ServerType=\"0\" />",
         SiteTransport::Ftp, ""},
        {SiteImporter::FileZilla2, "<Site Name=\"a\" Host=\"h\" Port=\"990\" User=\"u\" Pass=\"\" RemoteDir=\"/\" LocalDir=\"/l\" "
                                   "ServerType=\"1\" />",
         SiteTransport::Unspecified, "ServerType=\"1\""},
        {SiteImporter::FileZilla2, "<Site Name=\"a\" Host=\"sftp://h\" Port=\"22\" User=\"u\" Pass=\"\" RemoteDir=\"/\" />",
         SiteTransport::Ftp, "sftp"},
        {SiteImporter::WsFtp12, "[a]\r\nHOST=sftp://h\r\n", SiteTransport::Ftp, "sftp"},
        {SiteImporter::WsFtp12, "[a]\r\nHOST=ftps://h\r\n", SiteTransport::Ftp, "ftps"},
        {SiteImporter::WsFtp12, "[a]\r\nHOST=FTP://h\r\n", SiteTransport::Ftp, ""},
        {SiteImporter::FlashFxp3, "[a]\r\nIP=ftpes://h\r\n", SiteTransport::Ftp, "ftpes"},
        {SiteImporter::SmartFtp4, "<Favorite>\n<Name>a</Name>\n<Host>FTPES://h</Host>\n</Favorite>\n", SiteTransport::Ftp, "ftpes"},
        {SiteImporter::FileZilla3, "<Server>\n<Host>ftps://h</Host>\n<Protocol>0</Protocol>\n<Name>a</Name>\n</Server>\n",
         SiteTransport::Ftp, "ftps"},
        {SiteImporter::FlashFxp3, "[a]\r\nIP=https://h\r\n", SiteTransport::NotFtp, "https://"},
        {SiteImporter::CuteFtp8, "Label: a\nHostName: sftp://h\n\n\n", SiteTransport::Ftp, "sftp"},
        {SiteImporter::CuteFtp8, "Label: a\nHostName: sftp://h:2222\n\n\n", SiteTransport::Ftp, "sftp"},
        {SiteImporter::CuteFtp8, "Label: a\nHostName: ftps://h\n\n\n", SiteTransport::Ftp, "ftps"},
        {SiteImporter::CuteFtp8, "Label: a\nHostName: h:8021\n", SiteTransport::Ftp, ""},
        {SiteImporter::SmartFtp4, "<Favorite>\n<Name>a</Name>\n<Host>sftp://h</Host>\n</Favorite>\n", SiteTransport::Ftp, "sftp"},
        {SiteImporter::FileZilla3, "<Server>\n<Host>ssh://h</Host>\n<Name>a</Name>\n</Server>\n", SiteTransport::Ftp, "sftp"},
    };
    for (const auto &c : cases) {
        const SiteImportResult result = SiteImporter::parse(c.kind, lines(c.file));
        ASSERT_EQ(result.sites.size() + result.leftOut.size(), 1) << c.file;
        if (c.transport == SiteTransport::Ftp) {
            ASSERT_EQ(result.sites.size(), 1) << c.file;
            if (*c.record) { // "ftps://h", "ftpes://h" and "sftp://h" become the host "h" with that protocol
                EXPECT_EQ(result.sites[0].Encryption, QString::fromLatin1(c.record)) << c.file;
                EXPECT_EQ(result.sites[0].Host, u"h"_s) << c.file;
            } else {
                EXPECT_NE(result.sites[0].Encryption, u"ftps"_s) << c.file;
            }
            continue;
        }
        ASSERT_EQ(result.leftOut.size(), 1) << c.file;
        EXPECT_EQ(result.leftOut[0].transport, c.transport) << c.file;
        EXPECT_EQ(result.leftOut[0].record, QString::fromLatin1(c.record)) << c.file;
        EXPECT_EQ(result.leftOut[0].site.Name, u"a"_s) << c.file;
    }
}

} // namespace
