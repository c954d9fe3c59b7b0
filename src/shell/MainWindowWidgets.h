#pragma once

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
class QToolBar;
class QToolButton;
class QWidget;

namespace Velmora {

// Every control of the main window that behaviour code touches, named as the window's
// components are named (object names match, so tests find them).
struct MainWindowWidgets {
    // Menus and their items
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

    // Main toolbar
    QWidget *mainControlBar = nullptr;
    QToolBar *mainToolBar = nullptr;
    QToolButton *connectionsButton = nullptr, *disconnectButton = nullptr, *protocolButton = nullptr,
                *navigationButton = nullptr, *queueWindowButton = nullptr, *filterWindowButton = nullptr,
                *restoreButton = nullptr;
    QAction *restoreButtonAction = nullptr; // the toolbar's handle on the Restore button

    // Filter panel
    QFrame *filterPanel = nullptr;
    QPushButton *filterOnOffButton = nullptr; // "ONOFFBitBtn", checked while the transfer filter is on
    QPushButton *editFilterButton = nullptr;
    QPushButton *searchFilesButton = nullptr, *searchInFilesButton = nullptr, *searchAndReplaceButton = nullptr;
    QLabel *filterLabel = nullptr;

    // Protocol grid and the panes
    QTableView *protocolGrid = nullptr;
    QSplitter *topSplitter = nullptr, *gridSplitter = nullptr;
    QWidget *leftPanel = nullptr, *rightPanel = nullptr;
    QWidget *localButtonsPanel = nullptr, *serverButtonsPanel = nullptr;
    QComboBox *localPathEdit = nullptr, *serverPathEdit = nullptr;
    QToolButton *localRootButton = nullptr, *localUpButton = nullptr;   // "\" and ".."
    QToolButton *serverRootButton = nullptr, *serverUpButton = nullptr; // "/" and ".."
    QToolBar *localToolBar = nullptr, *serverToolBar = nullptr;
    QAction *uploadAction = nullptr, *downloadAction = nullptr;
    QTableView *localGrid = nullptr, *serverGrid = nullptr; // FileGridView, the browser's grid widget
    QListWidget *localDriveList = nullptr;                   // "JvDriveList1", in place of the local grid
    QLabel *localStatusLabel = nullptr, *serverStatusLabel = nullptr;

    // Progress panel
    QFrame *progressPanel = nullptr;
    QProgressBar *progressBar1 = nullptr, *progressBar2 = nullptr;
    QLabel *bytesPanel = nullptr, *totalsPanel = nullptr;
    QCheckBox *closeCheckBox = nullptr, *shutdownCheckBox = nullptr;
    QPushButton *abortButton = nullptr;

    // Queue toolbar and grid
    QFrame *queuePanel = nullptr;
    QToolButton *queueLoadButton = nullptr, *queueSaveButton = nullptr, *queueRunButton = nullptr,
                *queuePauseButton = nullptr, *queueDeleteButton = nullptr, *automaticRunButton = nullptr;
    QLabel *queueLabel = nullptr, *queueInfoPanel = nullptr, *queueSizePanel = nullptr;
    QSplitter *queueSplitter = nullptr;
    QTableView *queueGrid = nullptr;

    // Status bar and charts
    QLabel *statusText = nullptr;
    // Whether the server connection is encrypted; empty while not connected.
    QLabel *encryptionText = nullptr;
    QFrame *chartsPanel = nullptr, *chartsClosePanel = nullptr;
    QPushButton *abortTransferButton = nullptr, *closeChartsButton = nullptr, *closeChartsButton2 = nullptr;
    QCheckBox *autoCloseChartsCheckBox = nullptr;
};

} // namespace Velmora
