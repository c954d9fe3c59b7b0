#pragma once

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace Velmora::Testing {

// The main window's controls as a user finds them: each one looked up by its object name in
// the window's menus, central area and status bar (the dialogs, also children of the window,
// are not searched).
struct MainWindowControls {
    QMenu *fileMenu = nullptr, *filterMenu = nullptr, *batchjobMenu = nullptr, *toolsMenu = nullptr,
          *settingsMenu = nullptr, *languageMenu = nullptr, *viewMenu = nullptr, *helpMenu = nullptr;
    QAction *ftpConnectionsAction = nullptr, *exitAction = nullptr;
    QAction *editFilterAction = nullptr, *transferFilterOnAction = nullptr;
    QAction *createBatchjobAction = nullptr, *showBatchjobsAction = nullptr;
    QAction *createFileAction = nullptr, *copyToEachDirAction = nullptr, *multiRenameAction = nullptr;
    QAction *optionsAction = nullptr, *designAction = nullptr, *germanAction = nullptr, *englishAction = nullptr;
    QAction *protocolViewAction = nullptr, *navigationViewAction = nullptr, *queueViewAction = nullptr,
            *filterViewAction = nullptr;
    QAction *showHelpAction = nullptr, *aboutAction = nullptr, *checkUpdateAction = nullptr,
            *updateAtStartAction = nullptr;
    QAction *loadQueueAction = nullptr, *saveQueueAction = nullptr, *runQueueAction = nullptr,
            *pauseQueueAction = nullptr, *deleteQueueAction = nullptr;

    QWidget *mainControlBar = nullptr;
    QToolBar *mainToolBar = nullptr;
    QToolButton *connectionsButton = nullptr, *disconnectButton = nullptr, *protocolButton = nullptr,
                *navigationButton = nullptr, *queueWindowButton = nullptr, *filterWindowButton = nullptr,
                *restoreButton = nullptr;
    QAction *restoreButtonAction = nullptr;

    QFrame *filterPanel = nullptr;
    QPushButton *filterOnOffButton = nullptr, *editFilterButton = nullptr;
    QPushButton *searchFilesButton = nullptr, *searchInFilesButton = nullptr, *searchAndReplaceButton = nullptr;
    QLabel *filterLabel = nullptr;

    QTableView *protocolGrid = nullptr;
    QSplitter *topSplitter = nullptr, *gridSplitter = nullptr;
    QWidget *leftPanel = nullptr, *rightPanel = nullptr;
    QWidget *localButtonsPanel = nullptr, *serverButtonsPanel = nullptr;
    QComboBox *localPathEdit = nullptr, *serverPathEdit = nullptr;
    QToolButton *localRootButton = nullptr, *localUpButton = nullptr;
    QToolButton *serverRootButton = nullptr, *serverUpButton = nullptr;
    QToolBar *localToolBar = nullptr, *serverToolBar = nullptr;
    QAction *uploadAction = nullptr, *downloadAction = nullptr;
    QTableView *localGrid = nullptr, *serverGrid = nullptr;
    QListWidget *localDriveList = nullptr;
    QLabel *localStatusLabel = nullptr, *serverStatusLabel = nullptr;

    QFrame *progressPanel = nullptr;
    QProgressBar *progressBar1 = nullptr, *progressBar2 = nullptr;
    QLabel *bytesPanel = nullptr, *totalsPanel = nullptr;
    QCheckBox *closeCheckBox = nullptr, *shutdownCheckBox = nullptr;
    QPushButton *abortButton = nullptr;

    QFrame *queuePanel = nullptr;
    QToolButton *queueLoadButton = nullptr, *queueSaveButton = nullptr, *queueRunButton = nullptr,
                *queuePauseButton = nullptr, *queueDeleteButton = nullptr, *automaticRunButton = nullptr;
    QLabel *queueLabel = nullptr, *queueInfoPanel = nullptr, *queueSizePanel = nullptr;
    QSplitter *queueSplitter = nullptr;
    QTableView *queueGrid = nullptr;

    QLabel *statusText = nullptr;
    QLabel *encryptionText = nullptr;
    QFrame *chartsPanel = nullptr, *chartsClosePanel = nullptr;
    QPushButton *abortTransferButton = nullptr, *closeChartsButton = nullptr, *closeChartsButton2 = nullptr;
    QCheckBox *autoCloseChartsCheckBox = nullptr;

    // The first control of that type and name in the window's own areas; a failed test when
    // there is none.
    template <typename T>
    static T *find(QMainWindow &window, const char *name)
    {
        const QString objectName = QString::fromLatin1(name);
        for (QObject *area : {static_cast<QObject *>(window.menuBar()), static_cast<QObject *>(window.centralWidget()),
                              static_cast<QObject *>(window.statusBar())}) {
            if (T *found = area->findChild<T *>(objectName))
                return found;
        }
        ADD_FAILURE() << "the main window has no control named " << name;
        return nullptr;
    }

    static MainWindowControls of(QMainWindow &window)
    {
        MainWindowControls c;
        c.fileMenu = find<QMenu>(window, "FileMenu");
        c.filterMenu = find<QMenu>(window, "FilterMenu");
        c.batchjobMenu = find<QMenu>(window, "BatchjobMenu");
        c.toolsMenu = find<QMenu>(window, "ExtendedToolsMenu");
        c.settingsMenu = find<QMenu>(window, "SettingsMenu");
        c.languageMenu = find<QMenu>(window, "LanguageMenu");
        c.viewMenu = find<QMenu>(window, "ViewMenu");
        c.helpMenu = find<QMenu>(window, "HelpMenu");
        c.ftpConnectionsAction = find<QAction>(window, "FTPConnections1");
        c.exitAction = find<QAction>(window, "Exit1");
        c.editFilterAction = find<QAction>(window, "EditFilter1");
        c.transferFilterOnAction = find<QAction>(window, "TransferFilterOn1");
        c.createBatchjobAction = find<QAction>(window, "CreateBatchjob1");
        c.showBatchjobsAction = find<QAction>(window, "ShowLastBatchjobs1");
        c.createFileAction = find<QAction>(window, "CreateAFile1");
        c.copyToEachDirAction = find<QAction>(window, "CopyFileToEachDir1");
        c.multiRenameAction = find<QAction>(window, "MultiRenameTool1");
        c.optionsAction = find<QAction>(window, "Options1");
        c.designAction = find<QAction>(window, "Design1");
        c.germanAction = find<QAction>(window, "German1");
        c.englishAction = find<QAction>(window, "English1");
        c.protocolViewAction = find<QAction>(window, "Protocalwindow1");
        c.navigationViewAction = find<QAction>(window, "Navigation1");
        c.queueViewAction = find<QAction>(window, "Queuewindow1");
        c.filterViewAction = find<QAction>(window, "Filterwindow1");
        c.showHelpAction = find<QAction>(window, "ShowHelp1");
        c.aboutAction = find<QAction>(window, "About1");
        c.checkUpdateAction = find<QAction>(window, "CheckNowForUpdate1");
        c.updateAtStartAction = find<QAction>(window, "CheckForUpdatesAtStart1");
        c.loadQueueAction = find<QAction>(window, "Loadqueue1");
        c.saveQueueAction = find<QAction>(window, "Savequeue1");
        c.runQueueAction = find<QAction>(window, "Runqueue1");
        c.pauseQueueAction = find<QAction>(window, "Pausequeue1");
        c.deleteQueueAction = find<QAction>(window, "Deletequeue1");

        c.mainControlBar = find<QWidget>(window, "MainControlBar");
        c.mainToolBar = find<QToolBar>(window, "MainToolBar");
        c.connectionsButton = find<QToolButton>(window, "FTPConnectionsButton");
        c.disconnectButton = find<QToolButton>(window, "DisconnectButton");
        c.protocolButton = find<QToolButton>(window, "ProtocolWindowButton");
        c.navigationButton = find<QToolButton>(window, "NavigationButton");
        c.queueWindowButton = find<QToolButton>(window, "QueueWindowButton");
        c.filterWindowButton = find<QToolButton>(window, "FilterWindowButton");
        c.restoreButton = find<QToolButton>(window, "RestoreButton");
        c.restoreButtonAction = find<QAction>(window, "RestoreButtonAction");

        c.filterPanel = find<QFrame>(window, "FilterPanel");
        c.filterOnOffButton = find<QPushButton>(window, "ONOFFBitBtn");
        c.editFilterButton = find<QPushButton>(window, "EditFilterBitBtn");
        c.searchFilesButton = find<QPushButton>(window, "SearchFilesBitBtn");
        c.searchInFilesButton = find<QPushButton>(window, "SearchInFilesBitBtn");
        c.searchAndReplaceButton = find<QPushButton>(window, "SearchAndReplaceBitBtn");
        c.filterLabel = find<QLabel>(window, "FilterLabel");

        c.protocolGrid = find<QTableView>(window, "ProtocolNextGrid");
        c.topSplitter = find<QSplitter>(window, "TopSplitter");
        c.gridSplitter = find<QSplitter>(window, "GridSplitter");
        c.leftPanel = find<QWidget>(window, "LeftPanel");
        c.rightPanel = find<QWidget>(window, "RightPanel");
        c.localButtonsPanel = find<QWidget>(window, "LocalButtonsPanel");
        c.serverButtonsPanel = find<QWidget>(window, "ServerButtonsPanel");
        c.localPathEdit = find<QComboBox>(window, "LocalPathEdit");
        c.serverPathEdit = find<QComboBox>(window, "ServerPathEdit");
        c.localRootButton = find<QToolButton>(window, "LocalCDBACKButton");
        c.localUpButton = find<QToolButton>(window, "LocalCDPPButton");
        c.serverRootButton = find<QToolButton>(window, "ServerCDBACKButton");
        c.serverUpButton = find<QToolButton>(window, "ServerCDPPButton");
        c.localToolBar = find<QToolBar>(window, "LocalToolBar");
        c.serverToolBar = find<QToolBar>(window, "ServerToolBar");
        c.uploadAction = find<QAction>(window, "UploadAction");
        c.downloadAction = find<QAction>(window, "DownloadAction");
        c.localGrid = find<QTableView>(window, "LocalNextGrid");
        c.serverGrid = find<QTableView>(window, "ServerNextGrid");
        c.localDriveList = find<QListWidget>(window, "JvDriveList1");
        c.localStatusLabel = find<QLabel>(window, "LocalStatusLabel");
        c.serverStatusLabel = find<QLabel>(window, "ServerStatusLabel");

        c.progressPanel = find<QFrame>(window, "ProgressPanel");
        c.progressBar1 = find<QProgressBar>(window, "ProgressBar1");
        c.progressBar2 = find<QProgressBar>(window, "ProgressBar2");
        c.bytesPanel = find<QLabel>(window, "BytesPanel");
        c.totalsPanel = find<QLabel>(window, "TotalsPanel");
        c.closeCheckBox = find<QCheckBox>(window, "CloseCheckBox");
        c.shutdownCheckBox = find<QCheckBox>(window, "ShutdownCheckBox");
        c.abortButton = find<QPushButton>(window, "AbortBitBtn");

        c.queuePanel = find<QFrame>(window, "QueuePanel");
        c.queueLoadButton = find<QToolButton>(window, "QueueLoadSpeedButton");
        c.queueSaveButton = find<QToolButton>(window, "QueueSaveSpeedButton");
        c.queueRunButton = find<QToolButton>(window, "QueueRunSpeedButton");
        c.queuePauseButton = find<QToolButton>(window, "QueuePauseSpeedButton");
        c.queueDeleteButton = find<QToolButton>(window, "QueueDeleteSpeedButton");
        c.automaticRunButton = find<QToolButton>(window, "AutomaticRunQueueSpeedButton");
        c.queueLabel = find<QLabel>(window, "Panel2");
        c.queueInfoPanel = find<QLabel>(window, "QueueInfoPanel");
        c.queueSizePanel = find<QLabel>(window, "QueueSizePanel");
        c.queueSplitter = find<QSplitter>(window, "QueueSplitter");
        c.queueGrid = find<QTableView>(window, "QueueNextGrid");

        c.statusText = find<QLabel>(window, "StatusBar1");
        c.encryptionText = find<QLabel>(window, "EncryptionStatus");
        c.chartsPanel = find<QFrame>(window, "ChartsPanel");
        c.chartsClosePanel = find<QFrame>(window, "ChartsClosePanel");
        c.abortTransferButton = find<QPushButton>(window, "AbortBitBtn2");
        c.closeChartsButton = find<QPushButton>(window, "CloseChartsButton");
        c.closeChartsButton2 = find<QPushButton>(window, "CloseChartsButton2");
        c.autoCloseChartsCheckBox = find<QCheckBox>(window, "AutoCloseChartsCheckBox");
        return c;
    }
};

} // namespace Velmora::Testing
