// The dialog for one site: completeness, the folder defaults, the folder picker and its keys.
#include "SiteWindowFixture.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class EditFTPDataDialog : public SiteWindowTest {
protected:
    void openNew()
    {
        startQuietly();
        openSites();
        fire(sites().newSiteTimer()); // an empty list opens New at once
        ASSERT_TRUE(edit().isVisible());
    }
};

TEST_F(EditFTPDataDialog, RefusesIncompleteDataAndKeepsTheInput)
{
    openNew();
    const struct {
        const char *name;
        const char *host;
        const char *port;
        QString message;
    } cases[] = {
        {"Site", "h.example", "   ", u"information: Data not complete!"_s},
        {" ", "h.example", "21", u"information: Data not complete!"_s},
        {"Site", "", "21", u"information: Data not complete!"_s},
        {"Site", "h.example", "ftp", u"information: The port must be a number from 1 to 65535."_s},
        {"Site", "h\xC2\xA7.example", "21", QString::fromUtf8("information: The character \"§\" cannot be stored in a site. Please remove it.")},
    };
    for (const auto &c : cases) {
        prompts.clear();
        editField("NameEdit")->setText(QString::fromUtf8(c.name));
        editField("HostEdit")->setText(QString::fromUtf8(c.host));
        editField("PortEdit")->setText(QString::fromUtf8(c.port));
        editButton("BitBtn1")->click();
        EXPECT_EQ(prompts.shown, QStringList{c.message}) << c.name << '|' << c.host << '|' << c.port;
        EXPECT_TRUE(edit().isVisible());
        EXPECT_EQ(editField("PortEdit")->text(), QString::fromUtf8(c.port));
    }
    EXPECT_TRUE(storedNames().isEmpty());

    main().SetLanguage(Language::German);
    prompts.clear();
    editField("HostEdit")->clear();
    editButton("BitBtn1")->click();
    EXPECT_EQ(prompts.shown, QStringList{QString::fromUtf8("information: Daten nicht vollständig!")});
}

TEST_F(EditFTPDataDialog, EmptyFoldersBecomeTheDefaultsAndValuesStayAsTyped)
{
    openNew();
    editField("NameEdit")->setText(u" Spaced "_s);
    editField("HostEdit")->setText(u"h.example"_s);
    editField("LocalDirEdit")->setText(u"  "_s);
    editField("ServerDirEdit")->clear();
    edit().findChild<QComboBox *>(u"FTPModusComboBox"_s)->setCurrentIndex(1);
    QTest::keyClick(editField("PasswortEdit"), Qt::Key_Return); // Enter in any field is OK
    EXPECT_FALSE(edit().isVisible());
    ConnectionStore store(env.appDataFolder());
    store.LoadConnections();
    ASSERT_EQ(store.sites().size(), 1);
    EXPECT_EQ(store.sites()[0],
              site(u" Spaced "_s, u"h.example"_s, u" "_s, QString(), u"21"_s, u"\\"_s, u"/"_s, u"Active"_s, u"ftpes"_s));

    // Escape aborts, and the folders are filled in on that way too.
    key(Qt::Key_F5);
    editField("LocalDirEdit")->clear();
    QTest::keyClick(editField("NameEdit"), Qt::Key_Escape);
    EXPECT_FALSE(edit().isVisible());
    EXPECT_EQ(editField("LocalDirEdit")->text(), u"\\"_s);
    EXPECT_EQ(store.sites().size(), 1);
}

TEST_F(EditFTPDataDialog, FolderPickerFillsTheLocalFolder)
{
    openNew();
    prompts.clear();
    prompts.folderAnswers = {u"/home/jo/site"_s};
    edit().findChild<QPushButton *>(u"OpenButton"_s)->click();
    EXPECT_EQ(prompts.shown, QStringList{u"chooseFolder: Please select a folder"_s});
    EXPECT_EQ(prompts.lastStartFolder, QString());
    EXPECT_EQ(editField("LocalDirEdit")->text(), u"/home/jo/site/"_s);

    edit().findChild<QPushButton *>(u"OpenButton"_s)->click(); // cancelled
    EXPECT_EQ(editField("LocalDirEdit")->text(), u"/home/jo/site/"_s);
    EXPECT_EQ(editField("PasswortEdit")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit().findChild<QComboBox *>(u"FTPModusComboBox"_s)->itemText(0), u"FTP-Mode: Passive (empfohlen)"_s);
}

} // namespace

namespace {

TEST_F(EditFTPDataDialog, OffersTheFiveProtocolChoicesAndStoresTheOneChosen)
{
    openNew();
    auto *choice = edit().findChild<QComboBox *>(u"EncryptionComboBox"_s);
    ASSERT_NE(choice, nullptr);
    const auto items = [choice] {
        QStringList texts;
        for (int i = 0; i < choice->count(); ++i)
            texts << choice->itemText(i);
        return texts;
    };
    EXPECT_EQ(items(), (QStringList{u"Require explicit FTP over TLS"_s, u"Implicit FTP over TLS"_s,
                                    u"Use explicit FTP over TLS if available"_s, u"Only plain FTP (insecure)"_s,
                                    u"SFTP (SSH)"_s}));
    main().SetLanguage(Language::German);
    EXPECT_EQ(items(), (QStringList{QString::fromUtf8("Explizites FTP über TLS verlangen"), QString::fromUtf8("Implizites FTP über TLS"),
                                    QString::fromUtf8("Explizites FTP über TLS, wenn verfügbar"),
                                    u"Nur einfaches FTP (unsicher)"_s, u"SFTP (SSH)"_s}));
    main().SetLanguage(Language::English);

    editField("NameEdit")->setText(u"Secure"_s);
    editField("HostEdit")->setText(u"h.example"_s);
    editField("PortEdit")->setText(u"990"_s);
    choice->setCurrentIndex(1);
    editButton("BitBtn1")->click();
    ASSERT_FALSE(edit().isVisible());
    ConnectionStore store(env.appDataFolder());
    store.LoadConnections();
    ASSERT_EQ(store.sites().size(), 1);
    EXPECT_EQ(store.sites()[0].Encryption, u"ftps"_s);
    EXPECT_EQ(store.sites()[0].encryption(), FtpEncryption::Implicit);
}

// Choosing SFTP moves a port left at 21 to 22 (and back), leaves the FTP mode out and offers
// the key file, which the store keeps with the site.
TEST_F(EditFTPDataDialog, SftpSiteGetsPort22AndAKeyFile)
{
    openNew();
    auto *choice = edit().findChild<QComboBox *>(u"EncryptionComboBox"_s);
    auto *mode = edit().findChild<QComboBox *>(u"FTPModusComboBox"_s);
    auto *browse = edit().findChild<QPushButton *>(u"KeyFileButton"_s);
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(editField("PortEdit")->text(), u"21"_s);
    EXPECT_FALSE(editField("KeyFileEdit")->isEnabled());
    EXPECT_TRUE(mode->isEnabled());

    choice->setCurrentIndex(4);
    EXPECT_EQ(editField("PortEdit")->text(), u"22"_s);
    EXPECT_FALSE(mode->isEnabled());
    EXPECT_TRUE(editField("KeyFileEdit")->isEnabled());
    choice->setCurrentIndex(3);
    EXPECT_EQ(editField("PortEdit")->text(), u"21"_s);
    editField("PortEdit")->setText(u"2222"_s);
    choice->setCurrentIndex(4);
    EXPECT_EQ(editField("PortEdit")->text(), u"2222"_s) << "a port of the user's own stays";

    prompts.clear();
    prompts.fileAnswers = {u"/home/jo/.ssh/site_key"_s};
    browse->click();
    EXPECT_EQ(prompts.shown, QStringList{u"openFile: Please select the private key file"_s});
    EXPECT_EQ(prompts.lastStartFolder, QDir::homePath() + u"/.ssh"_s);
    EXPECT_EQ(editField("KeyFileEdit")->text(), u"/home/jo/.ssh/site_key"_s);

    editField("NameEdit")->setText(u"Shell host"_s);
    editField("HostEdit")->setText(u"ssh.example"_s);
    editField("UserEdit")->setText(u"jo"_s);
    editButton("BitBtn1")->click();
    ASSERT_FALSE(edit().isVisible());
    ConnectionStore store(env.appDataFolder());
    store.LoadConnections();
    ASSERT_EQ(store.sites().size(), 1);
    EXPECT_EQ(store.sites()[0].Encryption, u"sftp"_s);
    EXPECT_EQ(store.sites()[0].encryption(), FtpEncryption::Sftp);
    EXPECT_EQ(store.sites()[0].Port, u"2222"_s);
    EXPECT_EQ(store.sites()[0].KeyFile, u"/home/jo/.ssh/site_key"_s);

    // Opened again, the site shows its key file and its own port.
    edit().setConnection(store.sites()[0]);
    EXPECT_EQ(choice->currentText(), u"SFTP (SSH)"_s);
    EXPECT_EQ(editField("PortEdit")->text(), u"2222"_s);
    EXPECT_EQ(editField("KeyFileEdit")->text(), u"/home/jo/.ssh/site_key"_s);
    const auto keyLabel = [this] {
        for (QLabel *label : edit().findChildren<QLabel *>()) {
            if (label->buddy() == editField("KeyFileEdit"))
                return label->text();
        }
        return QString();
    };
    EXPECT_EQ(keyLabel(), u"Key file (SFTP)"_s);
    main().SetLanguage(Language::German);
    EXPECT_EQ(keyLabel(), QString::fromUtf8("Schlüsseldatei (SFTP)"));
    EXPECT_EQ(choice->currentText(), u"SFTP (SSH)"_s);
}

} // namespace

