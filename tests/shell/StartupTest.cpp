#include "AppFixture.h"
#include "app/ProtocolLog.h"
#include "sites/FTPConnectionsForm.h"

#include "shell/SplashForm.h"
#include "common/Language.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QTableView>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

using Startup = AppFixture;

namespace {

// The folders and files under a folder that group or others may use (links are not followed).
QStringList openToOthers(const QString &folder)
{
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                          | QFile::WriteOther | QFile::ExeOther;
    QStringList open;
    if (QFile::permissions(folder) & others)
        open.append(folder);
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        if (!entry.isSymLink() && (entry.permissions() & others))
            open.append(entry.filePath());
    }
    return open;
}

} // namespace

// A profile of an older version, readable by everyone, is closed at the first start: the folder
// 0700, every folder in it 0700 and every file 0600. A link in it is left alone, and so is the
// file it points at, which lies outside the profile.
TEST_F(Startup, AnOldProfileOpenToOthersIsClosedAtStart)
{
    existingProfile();
    const QString profile = env.appDataFolder();
    env.writeFile(profile + QStringLiteral("options.ini"), "[SETTINGS]\r\n");
    env.writeFile(profile + QStringLiteral("lastqueue.ini"), "");
    env.writeFile(profile + QStringLiteral("Saved-Queues/site.queue"), "");
    env.writeFile(profile + QStringLiteral("Saved-Queues/site.ftp"), "");
    const QString outside = env.root() + QStringLiteral("shared-notes.txt");
    env.writeFile(outside, "mine to share");
    ASSERT_TRUE(QFile::link(outside, profile + QStringLiteral("notes-link.txt")));
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions sharedFolder = shared | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    for (const QString &file : {QStringLiteral("options.ini"), QStringLiteral("lastqueue.ini"), QStringLiteral("ver.ini"),
                                QStringLiteral("Saved-Queues/site.queue"), QStringLiteral("Saved-Queues/site.ftp")})
        ASSERT_TRUE(QFile::setPermissions(profile + file, shared));
    ASSERT_TRUE(QFile::setPermissions(outside, shared));
    ASSERT_TRUE(QFile::setPermissions(profile + QStringLiteral("Saved-Queues"), sharedFolder));
    ASSERT_TRUE(QFile::setPermissions(profile, sharedFolder));
    ASSERT_FALSE(openToOthers(profile).isEmpty());

    ASSERT_TRUE(start());
    EXPECT_EQ(openToOthers(profile), QStringList());
    EXPECT_EQ(QFile::permissions(profile) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(QFile::permissions(profile + QStringLiteral("options.ini")) & ~(QFile::ReadUser | QFile::WriteUser),
              QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(QFile::permissions(outside) & (QFile::ReadGroup | QFile::ReadOther), QFile::ReadGroup | QFile::ReadOther)
        << "the file outside the profile keeps its mode";
    EXPECT_EQ(TestEnvironment::readFile(profile + QStringLiteral("notes-link.txt")), QByteArray("mine to share"));
}

// Everything a run writes into a new profile (the protocol, options, last queue and login, the
// batch log...) is created for the owner only, up to the program's end.
TEST_F(Startup, FilesOfANewProfileAreTheOwnersOnly)
{
    ASSERT_TRUE(start());
    context().protocol.AddProtocolMessage(1, QStringLiteral("a line for the log file"));
    starter->mainForm()->endFromRun();
    starter.reset();
    const QString profile = env.appDataFolder();
    EXPECT_GE(QDir(profile).entryList(QDir::Files).size(), 3) << QDir(profile).entryList(QDir::Files).join(u' ').toStdString();
    EXPECT_EQ(openToOthers(profile), QStringList());
}

TEST_F(Startup, AnOlderVersionFileIsRefreshed)
{
    existingProfile();
    env.writeFile(env.appDataFolder() + QStringLiteral("ver.ini"), "Version 7.1\r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("ver.ini")), QByteArray(VELMORA_VERSION_TEXT "\r\n"));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Velmora - " VELMORA_VERSION_TEXT));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

TEST_F(Startup, NewProfileStartsWithoutAnyErrorBox)
{
    ASSERT_TRUE(start());
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("LanguageIsSet.ini")), QByteArray("ENGLISH\r\n"));
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("ver.ini")),
              QByteArray(VELMORA_VERSION_TEXT "\r\n"));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Velmora - " VELMORA_VERSION_TEXT));
    EXPECT_TRUE(QFileInfo::exists(env.appDataFolder() + QStringLiteral("Lastbatchjob.log")));
    EXPECT_EQ(QFileInfo(env.appDataFolder() + QStringLiteral("Lastbatchjob.log")).size(), 0);
    const QFileInfo temp(env.tempFolder());
    EXPECT_TRUE(temp.isDir());
    EXPECT_EQ(temp.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), QFile::Permissions());
}

TEST_F(Startup, NewProfileOnAGermanSystemSpeaksGerman)
{
    platform.german = true;
    ASSERT_TRUE(start());
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("LanguageIsSet.ini")), QByteArray("GERMAN\r\n"));
    EXPECT_EQ(w().connectionsButton->text(), QStringLiteral("FTP Verbindungen [F12]"));
    EXPECT_TRUE(w().statusText->text().startsWith(QStringLiteral("Hilfe [F1] - Anzeigen/Bearbeiten [F4]")));
}

TEST_F(Startup, FilesMissingFromAnExistingProfileAreReported)
{
    existingProfile(false, false);
    ASSERT_TRUE(start());
    EXPECT_EQ(prompts.shown, (QStringList{
        QStringLiteral("error: ") + env.appDataFolder() + QStringLiteral("LanguageIsSet.ini not found!"),
        QStringLiteral("error: ") + env.appDataFolder() + QStringLiteral("ver.ini not found!")}));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Velmora - Version 0"));
    EXPECT_EQ(context().language.current(), Language::English);
}

TEST_F(Startup, WindowsAreCreatedInTheirFixedOrder)
{
    existingProfile();
    ASSERT_TRUE(start());
    EXPECT_EQ(starter->creationOrder(), (QStringList{
        QStringLiteral("MainForm"), QStringLiteral("MasterFTP"), QStringLiteral("FTPConnectionsForm"),
        QStringLiteral("GetFilesListForm"), QStringLiteral("PermissionForm"), QStringLiteral("FilterForm"),
        QStringLiteral("RenameForm"), QStringLiteral("OptionsForm"), QStringLiteral("AskOverwriteForm"),
        QStringLiteral("EditFTPDataForm"), QStringLiteral("SearchAndReplaceForm"), QStringLiteral("RestoreForm"),
        QStringLiteral("DeleteBackupForm"), QStringLiteral("WizardFilterForm"), QStringLiteral("ConnectivityCheckForm"),
        QStringLiteral("OnlineUpdateForm"), QStringLiteral("DesignForm"), QStringLiteral("BatchJobForm"),
        QStringLiteral("BatchJobLogForm"), QStringLiteral("CopyFileToEachDirForm"), QStringLiteral("MultiRenameToolForm"),
        QStringLiteral("EditorForm"), QStringLiteral("TrustedCertificatesForm")}));
}

TEST_F(Startup, SplashShowsTheLanguagesPictureForThreeSeconds)
{
    existingProfile(true, true, "GERMAN");
    ASSERT_TRUE(start());
    SplashForm *splash = starter->splash();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->closeTimer().interval(), 3000);
    EXPECT_TRUE(splash->closeTimer().isActive());
    EXPECT_FALSE(splash->pixmap().isNull());
    EXPECT_EQ(SplashForm::picturePath(QStringLiteral("/p/"), QStringLiteral("GERMAN")), QStringLiteral("/p/recom_GR/m_splash.jpg"));
    EXPECT_EQ(SplashForm::picturePath(QStringLiteral("/p/"), QString()), QStringLiteral("/p/recom_EN/m_splash.jpg"));
    QMetaObject::invokeMethod(&splash->closeTimer(), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(splash->isVisible());
}

TEST_F(Startup, CommandLineChecks)
{
    existingProfile();
    // A command line with a queue file and a switch has nobody at the screen: no box waits, the
    // messages go to standard error and the protocol.
    EXPECT_FALSE(start({QStringLiteral("/nowhere/a.queue"), QStringLiteral("-R")}));
    EXPECT_EQ(console, QStringList{QStringLiteral("velmora: Parameter format not correct!")});
    EXPECT_EQ(context().protocol.entries().last().text, QStringLiteral("Parameter format not correct!"));
    starter.reset();
    console.clear();
    EXPECT_FALSE(start({QStringLiteral("\"/nowhere/a.queue\""), QStringLiteral("-r")}));
    EXPECT_EQ(console, QStringList{QStringLiteral("velmora: Queue file not found: /nowhere/a.queue")});
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
}

TEST_F(Startup, BatchRunsAlsoWriteTheirMessagesToStandardError)
{
    existingProfile(true, false);
    EXPECT_FALSE(start({QStringLiteral("/nowhere/a.queue"), QStringLiteral("-x")}));
    EXPECT_EQ(console, (QStringList{QStringLiteral("velmora: error: ") + env.appDataFolder() + QStringLiteral("ver.ini not found!"),
                                    QStringLiteral("velmora: Parameter format not correct!")}));
    EXPECT_TRUE(prompts.shown.isEmpty()) << "no box waits for a user who is not there";
    starter.reset();
    console.clear();
    EXPECT_FALSE(start({QStringLiteral("/nowhere/a.queue"), QStringLiteral("-rc")}));
    EXPECT_EQ(console.last(), QStringLiteral("velmora: Queue file not found: /nowhere/a.queue"));
    // Without a switch there is no batch run, and nothing goes to the console.
    starter.reset();
    console.clear();
    ASSERT_TRUE(start({QStringLiteral("/nowhere/a.queue")}));
    EXPECT_EQ(prompts.shown.last(), QStringLiteral("error: ") + env.appDataFolder() + QStringLiteral("ver.ini not found!"));
    EXPECT_TRUE(console.isEmpty());
}

TEST_F(Startup, ValidCommandLineStartsTheBatchTimer)
{
    existingProfile();
    const QString queue = env.writeFile(QStringLiteral("q/saved.queue"), "MKLOCALDIR|/tmp/x\r\n");
    ASSERT_TRUE(start({queue, QStringLiteral("-rc")}));
    EXPECT_TRUE(main().isBatchMode());
    EXPECT_TRUE(main().batchJobTimer().isActive());
    EXPECT_EQ(main().batchJobTimer().interval(), 10);
    EXPECT_FALSE(main().siteManagerTimer().isActive());
}

TEST_F(Startup, EmptyQueueOpensTheSiteManagerWhenTheOptionSaysSo)
{
    existingProfile();
    ASSERT_TRUE(start());
    ASSERT_TRUE(main().siteManagerTimer().isActive());
    EXPECT_EQ(main().siteManagerTimer().interval(), 1);
    QMetaObject::invokeMethod(&main().siteManagerTimer(), "timeout", Qt::DirectConnection);
    EXPECT_TRUE(starter->dialogs().sites->isVisible());
}

TEST_F(Startup, SiteManagerStaysClosedWhenSwitchedOff)
{
    existingProfile();
    env.writeFile(env.appDataFolder() + QStringLiteral("options.ini"), "[SETTINGS]\r\nFTPConnections=0\r\n");
    env.writeFile(env.appDataFolder() + QStringLiteral("lastlogin.ini"), "[SETTINGS]\r\n");
    ASSERT_TRUE(start());
    QMetaObject::invokeMethod(&main().siteManagerTimer(), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(starter->dialogs().sites->isVisible());
    EXPECT_FALSE(QFileInfo::exists(env.appDataFolder() + QStringLiteral("lastlogin.ini"))); // the outdated name goes
}

TEST_F(Startup, StartTextsAndPathBoxes)
{
    existingProfile();
    ASSERT_TRUE(start());
    EXPECT_EQ(w().bytesPanel->text(), QStringLiteral("Bytes: "));
    EXPECT_EQ(w().totalsPanel->text(), QStringLiteral("Total files: "));
    EXPECT_EQ(w().statusText->text(),
              QStringLiteral("Help [F1] - View/Edit [F4] - Upload/Download [F5] - Rename [F6] - Create Directory [F7] - "
                             "Delete [F8] - Permission [F11] - Connetions [F12] - Options [Alt+O]"));
    EXPECT_EQ(w().serverPathEdit->currentText(), QStringLiteral("/"));
    EXPECT_EQ(w().localPathEdit->currentText(), QStringLiteral("/"));
    // Not connected: the server side's navigation stays hidden, the queue grid disabled.
    EXPECT_TRUE(w().serverPathEdit->isHidden());
    EXPECT_FALSE(w().queueGrid->isEnabled());
    EXPECT_FALSE(w().restoreButtonAction->isVisible());
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("AUTO"));
}
