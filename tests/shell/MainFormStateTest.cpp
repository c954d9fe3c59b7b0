#include "AppFixture.h"
#include "app/OptionsForm.h"

#include "app/ProtocolLog.h"
#include "app/SystemPlatform.h"
#include "shell/VelmoraApplication.h"
#include "app/WorkControl.h"
#include "common/Language.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

class MainFormStates : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        // Passwords kept in the files by choice: the start writes no keyring line into the
        // protocol, whose first lines these tests count.
        env.writeFile(env.appDataFolder() + QStringLiteral("options.ini"), "[SETTINGS]\r\nKeyringPasswords=0\r\n");
        ASSERT_TRUE(start());
    }
};

TEST_F(MainFormStates, BusyLocksEverythingButPauseAndIdleUnlocks)
{
    starter->work().cancel.cancel();
    starter->work().filesFound = 12;
    w().queueInfoPanel->setText(QStringLiteral("    3 operations"));
    main().SetBusyState();
    EXPECT_TRUE(main().isBusy());
    EXPECT_FALSE(starter->work().cancel.isCancelled());
    EXPECT_EQ(starter->work().filesFound, 0);
    for (QWidget *control : {w().mainControlBar, static_cast<QWidget *>(w().filterPanel),
                             static_cast<QWidget *>(w().localPathEdit), static_cast<QWidget *>(w().localGrid),
                             static_cast<QWidget *>(w().localUpButton), static_cast<QWidget *>(w().localRootButton),
                             static_cast<QWidget *>(w().queueLoadButton), static_cast<QWidget *>(w().queueRunButton)})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    for (QMenu *menu : {w().fileMenu, w().settingsMenu, w().viewMenu, w().helpMenu, w().filterMenu, w().batchjobMenu, w().toolsMenu})
        EXPECT_FALSE(menu->menuAction()->isEnabled()) << menu->objectName().toStdString();
    EXPECT_TRUE(w().queuePauseButton->isEnabled());
    EXPECT_TRUE(w().pauseQueueAction->isEnabled());
    EXPECT_TRUE(w().queueInfoPanel->text().isEmpty());
    EXPECT_FALSE(w().uploadAction->isEnabled()); // not connected

    main().SetIdleState();
    EXPECT_FALSE(main().isBusy());
    for (QWidget *control : {w().mainControlBar, static_cast<QWidget *>(w().filterPanel),
                             static_cast<QWidget *>(w().localGrid), static_cast<QWidget *>(w().queueLoadButton),
                             static_cast<QWidget *>(w().queueGrid)})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_TRUE(w().fileMenu->menuAction()->isEnabled());
    EXPECT_FALSE(w().queuePauseButton->isEnabled());
    // An empty queue leaves nothing to save, run or clear.
    EXPECT_FALSE(w().queueSaveButton->isEnabled());
    EXPECT_FALSE(w().queueRunButton->isEnabled());
    EXPECT_FALSE(w().queueDeleteButton->isEnabled());
    EXPECT_TRUE(w().progressPanel->isHidden());
    EXPECT_FALSE(w().serverGrid->isEnabled());
    EXPECT_TRUE(w().serverToolBar->isHidden());
}

TEST_F(MainFormStates, IdleWhileConnectedShowsTheServerSide)
{
    fakeConnected([] { return true; });
    main().SetIdleState();
    EXPECT_TRUE(w().uploadAction->isEnabled());
    EXPECT_FALSE(w().serverToolBar->isHidden());
    EXPECT_FALSE(w().serverPathEdit->isHidden());
    EXPECT_FALSE(w().serverRootButton->isHidden());
    EXPECT_FALSE(w().serverUpButton->isHidden());
}

TEST_F(MainFormStates, AbortRequestsAndClearsBothEndOfRunBoxes)
{
    w().closeCheckBox->setChecked(true);
    w().shutdownCheckBox->setChecked(true);
    EXPECT_FALSE(w().closeCheckBox->isChecked()); // at most one of the two
    w().closeCheckBox->setChecked(true);
    EXPECT_FALSE(w().shutdownCheckBox->isChecked());
    w().abortButton->click();
    EXPECT_TRUE(starter->work().cancel.isCancelled());
    EXPECT_FALSE(w().closeCheckBox->isChecked());
    EXPECT_FALSE(w().shutdownCheckBox->isChecked());
    starter->work().cancel = CancelToken();
    w().abortTransferButton->click();
    EXPECT_TRUE(starter->work().cancel.isCancelled());
}

TEST_F(MainFormStates, SwitchingLanguageTwiceLeavesOneLine)
{
    int localListings = 0;
    QObject::connect(&main(), &MainForm::localListingRequested, [&] { ++localListings; });
    w().germanAction->trigger();
    EXPECT_EQ(w().queueLoadButton->text(), QString::fromUtf8("Warteschlange öffnen"));
    EXPECT_EQ(w().exitAction->text(), QStringLiteral("Verlassen"));
    w().englishAction->trigger();
    EXPECT_EQ(w().queueLoadButton->text(), QStringLiteral("Load queue"));
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("LanguageIsSet.ini")), QByteArray("ENGLISH\r\n"));
    EXPECT_EQ(localListings, 2);
    w().germanAction->trigger();
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("LanguageIsSet.ini")), QByteArray("GERMAN\r\n"));
    // Dialogs follow the switch too.
    EXPECT_EQ(starter->dialogs().options->findChild<QPushButton *>(QStringLiteral("AbortButton"))->text(),
              QStringLiteral("Abbrechen"));
}

TEST_F(MainFormStates, CloseAsksAndCleansTheTemporaryFolders)
{
    const QString temp = env.tempFolder();
    env.writeFile(temp + QStringLiteral("download/www/index.html"), "x");
    env.writeFile(temp + QStringLiteral("filemonitoring/a.txt"), "x");
    env.writeFile(temp + QStringLiteral("SEARCH_QUEUE.TXT"), "x");
    env.writeFile(temp + QStringLiteral("BACKUP001/BACKUPINFO.VELMORA"), "x");

    prompts.confirmAnswers = {false};
    QCloseEvent refused;
    QCoreApplication::sendEvent(&main(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_EQ(prompts.shown.last(), QStringLiteral("confirm: Do you really want to exit the program?"));
    EXPECT_TRUE(QFileInfo::exists(temp + QStringLiteral("SEARCH_QUEUE.TXT")));

    QStringList backupQuestions;
    MainFormHooks hooks = main().hooks();
    hooks.deleteAllBackups = [&](const QString &question) {
        backupQuestions.append(question);
        return false;
    };
    main().setHooks(hooks);
    prompts.confirmAnswers = {true};
    QCloseEvent keptForBackups;
    QCoreApplication::sendEvent(&main(), &keptForBackups);
    EXPECT_FALSE(keptForBackups.isAccepted());
    EXPECT_EQ(backupQuestions, QStringList{QStringLiteral(
        "If you close the program, all \"search and replace\" backups will be deletet! Close the program?")});

    hooks.deleteAllBackups = [](const QString &) { return true; };
    main().setHooks(hooks);
    prompts.confirmAnswers = {true};
    QCloseEvent accepted;
    QCoreApplication::sendEvent(&main(), &accepted);
    EXPECT_TRUE(accepted.isAccepted());
    EXPECT_FALSE(QFileInfo::exists(temp + QStringLiteral("download")));
    EXPECT_FALSE(QFileInfo::exists(temp + QStringLiteral("filemonitoring")));
    EXPECT_FALSE(QFileInfo::exists(temp + QStringLiteral("SEARCH_QUEUE.TXT")));
    EXPECT_TRUE(QFileInfo::exists(temp + QStringLiteral("BACKUP001/BACKUPINFO.VELMORA")));
}

TEST_F(MainFormStates, EndingFromARunSkipsQuestionAndCleanUp)
{
    env.writeFile(env.tempFolder() + QStringLiteral("download/a"), "x");
    main().endFromRun();
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(env.tempFolder() + QStringLiteral("download/a")));
}

TEST_F(MainFormStates, ShutdownGoesThroughThePlatform)
{
    main().ShutdownComputer();
    EXPECT_EQ(platform.shutdowns, 1);
}

TEST_F(MainFormStates, UnexpectedErrorReturnsToIdleAndReconnects)
{
    int reconnects = 0;
    QObject::connect(&main(), &MainForm::reconnectRequested, [&] { ++reconnects; });
    main().SetBusyState();

    // An exception escaping an event handler reaches the application's handler, not the user.
    auto *app = qobject_cast<VelmoraApplication *>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    QString seen;
    app->setUnexpectedErrorHandler([&](const QString &message) {
        seen = message;
        main().HandleUnexpectedError(message);
    });
    QTimer thrower;
    thrower.setSingleShot(true);
    QObject::connect(&thrower, &QTimer::timeout, [] { throw std::runtime_error("disk full"); });
    thrower.start(0);
    for (int i = 0; i < 10 && seen.isEmpty(); ++i)
        QCoreApplication::processEvents();
    app->setUnexpectedErrorHandler({});
    EXPECT_EQ(seen, QStringLiteral("disk full"));
    EXPECT_FALSE(main().isBusy());
    EXPECT_EQ(reconnects, 1);
    EXPECT_TRUE(prompts.shown.isEmpty());

    fakeConnected([] { return true; });
    main().HandleUnexpectedError(QString());
    EXPECT_EQ(reconnects, 1);
}

TEST_F(MainFormStates, ProtocolGridSelectsTheNewestLine)
{
    context().protocol.AddProtocolMessage(1, QStringLiteral("Try to connect: localhost"));
    context().protocol.AddProtocolMessage(2, QStringLiteral("Failed to retrieve directory listing"));
    QTableView *grid = w().protocolGrid;
    QCoreApplication::processEvents(); // the newest line is shown once per pass of the event loop
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), QStringLiteral("0002"));
    EXPECT_EQ(grid->model()->index(1, 2).data().toString(), QStringLiteral("Failed to retrieve directory listing"));
    EXPECT_EQ(grid->model()->index(1, 0).data(Qt::UserRole).toInt(), 2);
    const QModelIndexList selected = grid->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), 1);
}

TEST(SystemPlatform, ShutdownRunsTheConfiguredCommandInstead)
{
    TestEnvironment env;
    const QString record = env.root() + QStringLiteral("shutdown.txt");
    qputenv("VELMORA_SHUTDOWN_RECORD", record.toUtf8());
    ASSERT_FALSE(qEnvironmentVariable("VELMORA_SHUTDOWN_COMMAND").isEmpty());
    SystemPlatform platform;
    EXPECT_TRUE(platform.shutdownComputer());
    qunsetenv("VELMORA_SHUTDOWN_RECORD");
    EXPECT_EQ(TestEnvironment::readFile(record), QByteArray("shutdown\n"));
}
