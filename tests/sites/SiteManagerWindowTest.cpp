// The site manager window, offscreen: opening, New/Edit/Copy/Delete, keys, table-edit mode,
// the bulk mode switches and the remembered site.
#include "SiteWindowFixture.h"

#include "app/TypeAheadSearch.h"
#include "sites/SiteTableModel.h"
#include "engine/MasterFTP.h"
#include "shell/SitesWiring.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTableView>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class SiteManagerWindow : public SiteWindowTest {};

TEST_F(SiteManagerWindow, FirstStartOpensNewWithTheImportButton)
{
    ASSERT_TRUE(start());
    fire(main().siteManagerTimer());
    ASSERT_TRUE(sites().isVisible());
    EXPECT_EQ(sites().headerTitle(), u"FTP Connections"_s);
    for (const char *name : {"EditBitBtn", "DeleteBitBtn", "CopyBitBtn", "MultiEditBitBtn", "ConnectBitBtn"})
        EXPECT_FALSE(sitesControl<QPushButton>(name)->isEnabled()) << name;
    ASSERT_TRUE(sites().newSiteTimer().isActive());

    fire(sites().newSiteTimer());
    ASSERT_TRUE(edit().isVisible());
    EXPECT_TRUE(edit().importButtonVisible());
    EXPECT_EQ(edit().header()->title(), u"New FTP connection"_s);
    // A new site asks for TLS unless the user chooses otherwise.
    EXPECT_EQ(edit().connection(), site(u"New site"_s, {}, {}, {}, u"21"_s, u"\\"_s, u"/"_s, u"Passive"_s, u"ftpes"_s));
    EXPECT_EQ(edit().findChild<QComboBox *>(u"EncryptionComboBox"_s)->currentText(), u"Require explicit FTP over TLS"_s);
    EXPECT_EQ(editButton("ImportBitBtn")->text(), u"Import data from othe FTP client"_s);

    // The import button closes the dialog and opens the site manager's import menu.
    editButton("ImportBitBtn")->click();
    EXPECT_FALSE(edit().isVisible());
    EXPECT_TRUE(sites().importMenu()->isVisible());
    QStringList items;
    for (QAction *action : sites().importMenu()->actions())
        items << action->text();
    EXPECT_EQ(items, (QStringList{u"Import WS FTP 12 connections"_s, u"Import CuteFTP 8 connections"_s,
                                  u"Import FileZilla 3 connections"_s, u"Import FileZilla 2 connections"_s,
                                  u"Import FlashFXP 3 connections"_s, u"Import SmartFTP 4 connections"_s}));
    sites().importMenu()->hide();
    EXPECT_FALSE(QFile::exists(env.appDataFolder() + u"ftp_connections.bin"_s));

    // Opened again, the import button is gone.
    sites().reject();
    storeSites({namedSite(u"One"_s)});
    openSites();
    EXPECT_FALSE(edit().importButtonVisible());
    EXPECT_FALSE(sites().newSiteTimer().isActive());
}

TEST_F(SiteManagerWindow, NewEditAndCopySaveAtOnce)
{
    storeSites({namedSite(u"Beta"_s), namedSite(u"Gamma"_s)});
    startQuietly();
    openSites();

    sitesControl<QPushButton>("NewBitBtn")->click();
    ASSERT_TRUE(edit().isVisible());
    editField("NameEdit")->setText(u"alpha"_s);
    editField("HostEdit")->setText(u"a.example"_s);
    editButton("BitBtn1")->click();
    EXPECT_FALSE(edit().isVisible());
    EXPECT_EQ(storedNames(), (QStringList{u"alpha"_s, u"Beta"_s, u"Gamma"_s}));
    EXPECT_EQ(selectedRow(), 0);

    // Edit keeps the position; the new name may move the site elsewhere.
    sites().grid()->selectRow(2);
    key(Qt::Key_F4);
    ASSERT_TRUE(edit().isVisible());
    EXPECT_EQ(edit().header()->title(), u"Edit FTP connection"_s);
    EXPECT_EQ(editField("NameEdit")->text(), u"Gamma"_s);
    editField("NameEdit")->setText(u"Aardvark"_s);
    editButton("BitBtn1")->click();
    EXPECT_EQ(storedNames(), (QStringList{u"Aardvark"_s, u"alpha"_s, u"Beta"_s}));
    EXPECT_EQ(selectedRow(), 2);

    // A copy left unchanged is the same site and disappears in the save.
    key(Qt::Key_F6);
    EXPECT_EQ(edit().header()->title(), u"Copy FTP connection"_s);
    editButton("BitBtn1")->click();
    EXPECT_EQ(storedNames().size(), 3);
    key(Qt::Key_F6);
    editField("NameEdit")->setText(u"Beta 2"_s);
    editButton("BitBtn1")->click();
    EXPECT_EQ(storedNames(), (QStringList{u"Aardvark"_s, u"alpha"_s, u"Beta"_s, u"Beta 2"_s}));
    EXPECT_EQ(selectedRow(), 3);

    // Abort changes nothing.
    key(Qt::Key_F5);
    editButton("BitBtn2")->click();
    EXPECT_EQ(storedNames().size(), 4);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(SiteManagerWindow, CancelledOrFailedImportKeepsTheSelectedSite)
{
    storeSites({namedSite(u"A"_s), namedSite(u"B"_s), namedSite(u"C"_s)});
    startQuietly();
    openSites();
    sites().grid()->selectRow(1);
    ASSERT_EQ(selectedRow(), 1);

    // The file dialog cancelled, then a file that holds no sites.
    const QString empty = env.writeFile(u"empty.xml"_s, "<FileZilla3/>\n");
    for (const QString &answer : {QString(), empty}) {
        prompts.fileAnswers = {answer};
        sites().runImport(SiteImporter::FileZilla3);
        EXPECT_EQ(selectedRow(), 1) << answer.toStdString();
        EXPECT_EQ(storedNames(), (QStringList{u"A"_s, u"B"_s, u"C"_s}));
    }
}

TEST_F(SiteManagerWindow, DeleteAsksWithTheNumberOfSites)
{
    storeSites({namedSite(u"A"_s), namedSite(u"B"_s), namedSite(u"C"_s)});
    startQuietly();
    openSites();

    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Delete);
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 3 Entries?"_s}); // unanswered: No
    EXPECT_EQ(storedNames().size(), 3);

    prompts.clear();
    prompts.confirmAnswers = {true};
    sites().grid()->selectRow(2);
    sitesControl<QPushButton>("DeleteBitBtn")->click();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 1 Entry?"_s});
    EXPECT_EQ(storedNames(), (QStringList{u"A"_s, u"B"_s}));
    EXPECT_EQ(selectedRow(), 1); // the remembered row, lowered to the last one

    main().SetLanguage(Language::German);
    prompts.clear();
    prompts.confirmAnswers = {true};
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Delete);
    EXPECT_EQ(prompts.shown, QStringList{QString::fromUtf8("confirm:   2 Einträge löschen?")});
    EXPECT_TRUE(storedNames().isEmpty());
    EXPECT_FALSE(sitesControl<QPushButton>("ConnectBitBtn")->isEnabled());
}

TEST_F(SiteManagerWindow, KeysActOnlyWithoutAltAlone)
{
    storeSites({namedSite(u"Alpha"_s), namedSite(u"beta"_s), namedSite(u"Bravo"_s)});
    startQuietly();
    openSites();

    key(Qt::Key_F5, Qt::AltModifier);
    EXPECT_FALSE(edit().isVisible());
    key(Qt::Key_F5);
    EXPECT_TRUE(edit().isVisible());
    editButton("BitBtn2")->click();

    // Type-ahead on the Name column, through the buffer the file grids share.
    TypeAheadSearch &search = typeAhead();
    QTest::keyClicks(sites().grid(), u"br"_s);
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(search.buffer(), u"br"_s);
    fire(search.resetTimer());
    QTest::keyClicks(sites().grid(), u"x"_s);
    EXPECT_EQ(selectedRow(), 0);
    fire(search.resetTimer());

    sites().grid()->clearSelection();
    key(Qt::Key_F9);
    EXPECT_EQ(prompts.shown, QStringList{u"information: Select a site first!"_s});
    EXPECT_TRUE(sites().isVisible());
    EXPECT_TRUE(sitesControl<QPushButton>("ConnectBitBtn")->isEnabled());

    key(Qt::Key_Escape, Qt::AltModifier);
    EXPECT_TRUE(sites().isVisible());
    key(Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(sites().isVisible());
    EXPECT_EQ(sites().result(), int(QDialog::Rejected));
}

TEST_F(SiteManagerWindow, ConnectRemembersTheSiteAcrossRestarts)
{
    const QString port = closedPort();
    const QString local = env.root() + u"sites/c"_s;
    QDir().mkpath(local);
    storeSites({namedSite(u"A"_s), namedSite(u"B"_s), site(u"C"_s, u"127.0.0.1"_s, u"cu"_s, u"cp"_s, port,
                                                             local, u"/pub"_s, u"Active"_s)});
    startQuietly();
    openSites();
    sites().grid()->selectRow(2);
    QTest::keyClick(sitesControl<QPushButton>("AbortBitBtn"), Qt::Key_Return); // the keys serve the buttons too
    EXPECT_FALSE(sites().isVisible());
    EXPECT_EQ(sites().result(), int(QDialog::Accepted));
    EXPECT_EQ(sites().chosenSite().Name, u"C"_s);
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + u"ftp_lastconnection.ini"_s), QByteArray("2\r\n"));
    // The main window and the session took the site's paths and data; the server refused.
    EXPECT_EQ(w().localPathEdit->currentText(), local + u'/');
    EXPECT_EQ(w().serverPathEdit->currentText(), u"/pub"_s);
    const SiteConnector::ConnectionData data = starter->sites().connector().connectionData();
    EXPECT_EQ(data, (SiteConnector::ConnectionData{u"127.0.0.1"_s, port, u"cu"_s, u"cp"_s, 1}));
    EXPECT_EQ(starter->ftp().host(), u"127.0.0.1"_s);
    EXPECT_FALSE(starter->ftp().isConnected());

    main().endFromRun();
    starter.reset();
    startQuietly();
    openSites();
    EXPECT_EQ(selectedRow(), 2);

    // An index beyond the list: the window's own remembered row.
    sites().grid()->selectRow(1);
    sites().reject();
    env.writeFile(env.appDataFolder() + u"ftp_lastconnection.ini"_s, "9\r\n");
    openSites();
    EXPECT_EQ(selectedRow(), 1);
}

TEST_F(SiteManagerWindow, TableEditModeSavesEachCellAtOnce)
{
    storeSites({namedSite(u"Alpha"_s), namedSite(u"Beta"_s)});
    startQuietly();
    openSites();
    sites().grid()->selectRow(1);
    QAction *tableEdit = sites().multiEditMenu()->findChild<QAction *>(u"EditInTable1"_s);
    ASSERT_NE(tableEdit, nullptr);
    tableEdit->trigger();

    EXPECT_TRUE(tableEdit->isChecked());
    for (const char *name : {"NewBitBtn", "EditBitBtn", "ImportBitBtn", "DeleteBitBtn", "CopyBitBtn"})
        EXPECT_TRUE(sitesControl<QPushButton>(name)->isHidden()) << name;
    EXPECT_FALSE(sitesControl<QPushButton>("ConnectBitBtn")->isEnabled());
    const QModelIndex cell = sites().model().index(1, 0);
    EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QColor>(), QColor(255, 248, 223));
    EXPECT_EQ(sites().model().index(1, 3).data(Qt::EditRole).toString(), u"pw"_s); // in clear for editing

    // F9, Enter and double click do not connect.
    key(Qt::Key_F9);
    key(Qt::Key_Return);
    QTest::mouseDClick(sites().grid()->viewport(), Qt::LeftButton, {}, sites().grid()->visualRect(cell).center());
    EXPECT_TRUE(sites().isVisible());
    for (QLineEdit *opened : sites().grid()->findChildren<QLineEdit *>())
        QTest::keyClick(opened, Qt::Key_Escape); // the double click started an in-place edit
    QCoreApplication::processEvents(); // the grid closes its editor through a queued call
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // An in-place edit through the grid's own editor re-sorts and saves at once.
    sites().grid()->edit(cell);
    auto *editor = sites().grid()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText(u"Aardvark"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(); // the grid commits through a queued call,
    QCoreApplication::sendPostedEvents(); // and shows the new order after closing its editor
    EXPECT_EQ(storedNames(), (QStringList{u"Aardvark"_s, u"Alpha"_s}));
    EXPECT_EQ(selectedRow(), 0); // the edited site stays selected

    // A blank host is refused.
    EXPECT_FALSE(sites().model().setData(sites().model().index(0, 1), u"  "_s));
    EXPECT_EQ(prompts.shown, QStringList{u"information: Data not complete!"_s});

    tableEdit->trigger();
    EXPECT_FALSE(sitesControl<QPushButton>("NewBitBtn")->isHidden());
    EXPECT_TRUE(sitesControl<QPushButton>("ConnectBitBtn")->isEnabled());
    EXPECT_FALSE(sites().model().index(0, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(sites().model().flags(sites().model().index(0, 0)) & Qt::ItemIsEditable);

    // Table-edit mode is off whenever the window opens.
    tableEdit->trigger();
    sites().reject();
    openSites();
    EXPECT_FALSE(sites().tableEdit());
}

TEST_F(SiteManagerWindow, BulkModeSwitchesChangeEverySite)
{
    storeSites({namedSite(u"A"_s), namedSite(u"B"_s)});
    startQuietly();
    openSites();
    sites().multiEditMenu()->findChild<QAction *>(u"SwitchAllToActiveMode1"_s)->trigger();
    const QByteArray active = TestEnvironment::readFile(env.appDataFolder() + u"ftp_connections.bin"_s);
    EXPECT_EQ(active.count("Active\r\n"), 2) << active.constData();
    EXPECT_EQ(edit().modeIndex(), 1);

    key(Qt::Key_F9);
    EXPECT_EQ(starter->sites().connector().connectionData().activeMode, 1);

    openSites();
    sites().multiEditMenu()->findChild<QAction *>(u"SwitchAllToPassiveMode1"_s)->trigger();
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + u"ftp_connections.bin"_s).count("Passive\r\n"), 2);
}

TEST_F(SiteManagerWindow, MasksPasswordsAndSpeaksGerman)
{
    storeSites({namedSite(u"A"_s)});
    existingProfile(true, true, "GERMAN");
    startQuietly();
    openSites();
    EXPECT_EQ(sites().headerTitle(), u"FTP Verbindungen"_s);
    EXPECT_EQ(sitesControl<QPushButton>("DeleteBitBtn")->text(), QString::fromUtf8("Löschen [entf]"));
    EXPECT_EQ(sites().model().headerData(2, Qt::Horizontal).toString(), u"Benutzer:"_s);
    const QModelIndex password = sites().model().index(0, 3);
    EXPECT_EQ(password.data().toString(), QString(2, QChar(0x2022)));
    EXPECT_TRUE(password.data(Qt::FontRole).value<QFont>().bold());
    main().SetLanguage(Language::English);
    EXPECT_EQ(sites().model().headerData(5, Qt::Horizontal).toString(), u"Local path."_s);
    EXPECT_EQ(sitesControl<QPushButton>("ConnectBitBtn")->text(), u"Connect (F9)"_s);
}

} // namespace
