#include "MainFormBuilder.h"

#include "app/Named.h"
#include "browser/DriveListWidget.h"
#include "browser/FileGridView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace Velmora {

namespace {

QAction *addAction(QMenu *menu, const char *name, const QKeySequence &shortcut = {}, bool checkable = false)
{
    QAction *action = named(menu->addAction(QString()), name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setCheckable(checkable);
    return action;
}

QToolButton *toolButton(QWidget *parent, const char *name, QStyle::StandardPixmap icon = QStyle::SP_CustomBase)
{
    auto *button = named(new QToolButton(parent), name);
    button->setAutoRaise(true);
    if (icon != QStyle::SP_CustomBase) {
        button->setIcon(parent->style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    return button;
}

QTableView *grid(QWidget *parent, const char *name)
{
    auto *view = named(new QTableView(parent), name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(false);
    view->setAlternatingRowColors(true);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(20);
    view->horizontalHeader()->setHighlightSections(false);
    return view;
}

} // namespace

void MainFormBuilder::build(QMainWindow &window, MainWindowWidgets &w)
{
    window.setMinimumSize(1000, 600);
    buildMenus(window, w);

    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildMainToolBar(window, w));
    layout->addWidget(buildFilterPanel(window, w));

    w.queueSplitter = named(new QSplitter(Qt::Vertical, central), "QueueSplitter");
    w.queueSplitter->setHandleWidth(3);
    w.queueSplitter->setChildrenCollapsible(false);
    w.topSplitter = named(new QSplitter(Qt::Vertical, w.queueSplitter), "TopSplitter");
    w.topSplitter->setHandleWidth(3);
    w.topSplitter->setChildrenCollapsible(false);

    w.protocolGrid = grid(w.topSplitter, "ProtocolNextGrid");
    w.protocolGrid->horizontalHeader()->hide();
    w.protocolGrid->setFocusPolicy(Qt::ClickFocus);
    w.protocolGrid->setMinimumHeight(52);
    w.protocolGrid->setAlternatingRowColors(false);
    w.protocolGrid->verticalHeader()->setDefaultSectionSize(18);

    auto *middle = new QWidget(w.topSplitter);
    auto *middleLayout = new QVBoxLayout(middle);
    middleLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->setSpacing(0);
    w.gridSplitter = named(new QSplitter(Qt::Horizontal, middle), "GridSplitter");
    w.gridSplitter->setChildrenCollapsible(false);
    w.leftPanel = buildPane(w.gridSplitter, w, true);
    w.rightPanel = buildPane(w.gridSplitter, w, false);
    // The local pane takes half the width, the server pane the rest.
    w.gridSplitter->setStretchFactor(0, 1);
    w.gridSplitter->setStretchFactor(1, 1);
    middleLayout->addWidget(w.gridSplitter, 1);
    middleLayout->addWidget(buildChartsPanel(middle, w), 1);
    middleLayout->addWidget(buildProgressPanel(middle, w));
    middleLayout->addWidget(buildQueuePanel(middle, w));

    w.topSplitter->addWidget(w.protocolGrid);
    w.topSplitter->addWidget(middle);
    w.topSplitter->setStretchFactor(0, 0);
    w.topSplitter->setStretchFactor(1, 1);
    w.topSplitter->setSizes({70, 600});

    w.queueGrid = grid(w.queueSplitter, "QueueNextGrid");
    w.queueGrid->setFocusPolicy(Qt::ClickFocus);
    w.queueSplitter->addWidget(w.topSplitter);
    w.queueSplitter->addWidget(w.queueGrid);
    w.queueSplitter->setStretchFactor(0, 1);
    w.queueSplitter->setStretchFactor(1, 0);
    w.queueSplitter->setSizes({700, 100});
    layout->addWidget(w.queueSplitter, 1);

    window.setCentralWidget(central);
    w.statusText = named(new QLabel(&window), "StatusBar1");
    window.statusBar()->setObjectName(QStringLiteral("StatusBar"));
    window.statusBar()->addWidget(w.statusText, 1);
    w.encryptionText = named(new QLabel(&window), "EncryptionStatus");
    window.statusBar()->addPermanentWidget(w.encryptionText);
}

void MainFormBuilder::buildMenus(QMainWindow &window, MainWindowWidgets &w)
{
    QMenuBar *bar = window.menuBar();
    w.fileMenu = named(bar->addMenu(QString()), "FileMenu");
    w.ftpConnectionsAction = addAction(w.fileMenu, "FTPConnections1", QKeySequence(Qt::Key_F12));
    w.fileMenu->addSeparator();
    w.exitAction = addAction(w.fileMenu, "Exit1", QKeySequence(Qt::ALT | Qt::Key_F4));

    w.filterMenu = named(bar->addMenu(QString()), "FilterMenu");
    w.editFilterAction = addAction(w.filterMenu, "EditFilter1", QKeySequence(Qt::Key_F2));
    w.transferFilterOnAction = addAction(w.filterMenu, "TransferFilterOn1", {}, true);

    w.batchjobMenu = named(bar->addMenu(QString()), "BatchjobMenu");
    w.createBatchjobAction = addAction(w.batchjobMenu, "CreateBatchjob1");
    w.showBatchjobsAction = addAction(w.batchjobMenu, "ShowLastBatchjobs1");

    w.toolsMenu = named(bar->addMenu(QString()), "ExtendedToolsMenu");
    w.createFileAction = addAction(w.toolsMenu, "CreateAFile1");
    w.copyToEachDirAction = addAction(w.toolsMenu, "CopyFileToEachDir1");
    w.multiRenameAction = addAction(w.toolsMenu, "MultiRenameTool1");

    w.settingsMenu = named(bar->addMenu(QString()), "SettingsMenu");
    w.optionsAction = addAction(w.settingsMenu, "Options1", QKeySequence(Qt::ALT | Qt::Key_O));
    w.designAction = addAction(w.settingsMenu, "Design1", QKeySequence(Qt::ALT | Qt::Key_D));
    w.languageMenu = named(w.settingsMenu->addMenu(QString()), "LanguageMenu");
    w.germanAction = addAction(w.languageMenu, "German1");
    w.englishAction = addAction(w.languageMenu, "English1");

    w.viewMenu = named(bar->addMenu(QString()), "ViewMenu");
    w.protocolViewAction = addAction(w.viewMenu, "Protocalwindow1", {}, true);
    w.navigationViewAction = addAction(w.viewMenu, "Navigation1", {}, true);
    w.queueViewAction = addAction(w.viewMenu, "Queuewindow1", {}, true);
    w.filterViewAction = addAction(w.viewMenu, "Filterwindow1", {}, true);
    for (QAction *action : {w.protocolViewAction, w.navigationViewAction, w.queueViewAction, w.filterViewAction})
        action->setChecked(true);

    w.helpMenu = named(bar->addMenu(QString()), "HelpMenu");
    w.showHelpAction = addAction(w.helpMenu, "ShowHelp1", QKeySequence(Qt::Key_F1));
    w.aboutAction = addAction(w.helpMenu, "About1");
    w.checkUpdateAction = addAction(w.helpMenu, "CheckNowForUpdate1");
    w.updateAtStartAction = addAction(w.helpMenu, "CheckForUpdatesAtStart1", {}, true);
}

QWidget *MainFormBuilder::buildMainToolBar(QMainWindow &window, MainWindowWidgets &w)
{
    w.mainControlBar = named(new QWidget(&window), "MainControlBar");
    auto *layout = new QHBoxLayout(w.mainControlBar);
    layout->setContentsMargins(4, 2, 4, 2);
    w.mainToolBar = named(new QToolBar(w.mainControlBar), "MainToolBar");
    w.mainToolBar->setIconSize(QSize(20, 20));
    w.connectionsButton = toolButton(w.mainToolBar, "FTPConnectionsButton", QStyle::SP_DriveNetIcon);
    w.disconnectButton = toolButton(w.mainToolBar, "DisconnectButton", QStyle::SP_BrowserStop);
    w.protocolButton = toolButton(w.mainToolBar, "ProtocolWindowButton", QStyle::SP_FileDialogDetailedView);
    w.navigationButton = toolButton(w.mainToolBar, "NavigationButton", QStyle::SP_DirIcon);
    w.queueWindowButton = toolButton(w.mainToolBar, "QueueWindowButton", QStyle::SP_FileDialogListView);
    w.filterWindowButton = toolButton(w.mainToolBar, "FilterWindowButton", QStyle::SP_FileDialogContentsView);
    w.restoreButton = toolButton(w.mainToolBar, "RestoreButton", QStyle::SP_BrowserReload);
    for (QToolButton *button : {w.connectionsButton, w.disconnectButton, w.protocolButton, w.navigationButton,
                                w.queueWindowButton, w.filterWindowButton})
        w.mainToolBar->addWidget(button);
    w.restoreButtonAction = w.mainToolBar->addWidget(w.restoreButton);
    layout->addWidget(w.mainToolBar);
    layout->addStretch();
    return w.mainControlBar;
}

QWidget *MainFormBuilder::buildFilterPanel(QMainWindow &window, MainWindowWidgets &w)
{
    w.filterPanel = named(new QFrame(&window), "FilterPanel");
    w.filterPanel->setFrameShape(QFrame::StyledPanel);
    w.filterPanel->setFixedHeight(62);
    auto *layout = new QHBoxLayout(w.filterPanel);
    layout->setContentsMargins(10, 4, 10, 4);
    w.filterOnOffButton = named(new QPushButton(w.filterPanel), "ONOFFBitBtn");
    w.filterOnOffButton->setCheckable(true);
    w.editFilterButton = named(new QPushButton(w.filterPanel), "EditFilterBitBtn");
    w.filterLabel = named(new QLabel(w.filterPanel), "FilterLabel");
    w.filterLabel->setWordWrap(true);
    w.filterLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    w.searchFilesButton = named(new QPushButton(w.filterPanel), "SearchFilesBitBtn");
    w.searchInFilesButton = named(new QPushButton(w.filterPanel), "SearchInFilesBitBtn");
    w.searchAndReplaceButton = named(new QPushButton(w.filterPanel), "SearchAndReplaceBitBtn");
    layout->addWidget(w.filterOnOffButton);
    layout->addWidget(w.editFilterButton);
    layout->addSpacing(16);
    layout->addWidget(w.filterLabel, 1);
    for (QPushButton *search : {w.searchFilesButton, w.searchInFilesButton, w.searchAndReplaceButton})
        layout->addWidget(search);
    return w.filterPanel;
}

QWidget *MainFormBuilder::buildPane(QWidget *parent, MainWindowWidgets &w, bool local)
{
    auto *pane = named(new QWidget(parent), local ? "LeftPanel" : "RightPanel");
    pane->setMinimumSize(100, 320);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(2, 2, 2, 0);
    layout->setSpacing(2);

    auto *buttons = named(new QWidget(pane), local ? "LocalButtonsPanel" : "ServerButtonsPanel");
    auto *row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    auto *path = named(new QComboBox(buttons), local ? "LocalPathEdit" : "ServerPathEdit");
    path->setEditable(true);
    path->setInsertPolicy(QComboBox::NoInsert);
    path->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *root = toolButton(buttons, local ? "LocalCDBACKButton" : "ServerCDBACKButton");
    root->setText(local ? QStringLiteral("\\") : QStringLiteral("/"));
    auto *up = toolButton(buttons, local ? "LocalCDPPButton" : "ServerCDPPButton");
    up->setText(QStringLiteral(".."));
    root->setFixedWidth(22);
    up->setFixedWidth(22);
    row->addWidget(path, 1);
    row->addWidget(root);
    row->addWidget(up);
    layout->addWidget(buttons);

    auto *toolbar = named(new QToolBar(pane), local ? "LocalToolBar" : "ServerToolBar");
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *transfer = toolbar->addAction(pane->style()->standardIcon(local ? QStyle::SP_ArrowRight : QStyle::SP_ArrowLeft),
                                           QString());
    transfer->setObjectName(local ? QStringLiteral("UploadAction") : QStringLiteral("DownloadAction"));
    layout->addWidget(toolbar);

    QTableView *view = named(new FileGridView(pane), local ? "LocalNextGrid" : "ServerNextGrid");
    layout->addWidget(view, 1);
    if (local) {
        w.localDriveList = new DriveListWidget(pane);
        w.localDriveList->hide();
        layout->addWidget(w.localDriveList, 1);
    }
    auto *status = named(new QLabel(pane), local ? "LocalStatusLabel" : "ServerStatusLabel");
    status->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(status);

    if (local) {
        w.localButtonsPanel = buttons;
        w.localPathEdit = path;
        w.localRootButton = root;
        w.localUpButton = up;
        w.localToolBar = toolbar;
        w.uploadAction = transfer;
        w.localGrid = view;
        w.localStatusLabel = status;
    } else {
        w.serverButtonsPanel = buttons;
        w.serverPathEdit = path;
        w.serverRootButton = root;
        w.serverUpButton = up;
        w.serverToolBar = toolbar;
        w.downloadAction = transfer;
        w.serverGrid = view;
        w.serverStatusLabel = status;
    }
    return pane;
}

QWidget *MainFormBuilder::buildProgressPanel(QWidget *parent, MainWindowWidgets &w)
{
    w.progressPanel = named(new QFrame(parent), "ProgressPanel");
    w.progressPanel->setFrameShape(QFrame::StyledPanel);
    w.progressPanel->setFixedHeight(55);
    auto *layout = new QHBoxLayout(w.progressPanel);
    layout->setContentsMargins(6, 3, 6, 3);
    auto *bars = new QVBoxLayout;
    w.progressBar1 = named(new QProgressBar(w.progressPanel), "ProgressBar1");
    w.progressBar2 = named(new QProgressBar(w.progressPanel), "ProgressBar2");
    for (QProgressBar *bar : {w.progressBar1, w.progressBar2}) {
        bar->setMaximumHeight(16);
        bar->setTextVisible(false);
        bars->addWidget(bar);
    }
    auto *texts = new QVBoxLayout;
    w.bytesPanel = named(new QLabel(w.progressPanel), "BytesPanel");
    w.totalsPanel = named(new QLabel(w.progressPanel), "TotalsPanel");
    texts->addWidget(w.bytesPanel);
    texts->addWidget(w.totalsPanel);
    auto *checks = new QVBoxLayout;
    w.closeCheckBox = named(new QCheckBox(w.progressPanel), "CloseCheckBox");
    w.shutdownCheckBox = named(new QCheckBox(w.progressPanel), "ShutdownCheckBox");
    checks->addWidget(w.closeCheckBox);
    checks->addWidget(w.shutdownCheckBox);
    w.abortButton = named(new QPushButton(w.progressPanel), "AbortBitBtn");
    w.abortButton->setIcon(w.progressPanel->style()->standardIcon(QStyle::SP_DialogCancelButton));
    layout->addLayout(bars, 1);
    layout->addSpacing(8);
    layout->addLayout(texts);
    layout->addSpacing(8);
    layout->addLayout(checks);
    layout->addWidget(w.abortButton);
    return w.progressPanel;
}

QWidget *MainFormBuilder::buildQueuePanel(QWidget *parent, MainWindowWidgets &w)
{
    w.queuePanel = named(new QFrame(parent), "QueuePanel");
    w.queuePanel->setFixedHeight(28);
    auto *layout = new QHBoxLayout(w.queuePanel);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setSpacing(2);
    w.queueLabel = named(new QLabel(w.queuePanel), "Panel2");
    layout->addWidget(w.queueLabel);
    w.queueLoadButton = toolButton(w.queuePanel, "QueueLoadSpeedButton", QStyle::SP_DialogOpenButton);
    w.queueSaveButton = toolButton(w.queuePanel, "QueueSaveSpeedButton", QStyle::SP_DialogSaveButton);
    w.queueRunButton = toolButton(w.queuePanel, "QueueRunSpeedButton", QStyle::SP_MediaPlay);
    w.queuePauseButton = toolButton(w.queuePanel, "QueuePauseSpeedButton", QStyle::SP_MediaPause);
    w.queueDeleteButton = toolButton(w.queuePanel, "QueueDeleteSpeedButton", QStyle::SP_TrashIcon);
    w.automaticRunButton = toolButton(w.queuePanel, "AutomaticRunQueueSpeedButton");
    w.automaticRunButton->setFixedWidth(48);
    QFont bold = w.automaticRunButton->font();
    bold.setBold(true);
    w.automaticRunButton->setFont(bold);
    for (QToolButton *button : {w.queueLoadButton, w.queueSaveButton, w.queueRunButton, w.queuePauseButton,
                                w.queueDeleteButton, w.automaticRunButton})
        layout->addWidget(button);
    layout->addSpacing(12);
    w.queueInfoPanel = named(new QLabel(w.queuePanel), "QueueInfoPanel");
    w.queueSizePanel = named(new QLabel(w.queuePanel), "QueueSizePanel");
    layout->addWidget(w.queueInfoPanel);
    layout->addWidget(w.queueSizePanel);
    layout->addStretch();

    // Queue actions for the menu and shortcuts share the buttons' behaviour.
    w.loadQueueAction = named(new QAction(w.queuePanel), "Loadqueue1");
    w.saveQueueAction = named(new QAction(w.queuePanel), "Savequeue1");
    w.runQueueAction = named(new QAction(w.queuePanel), "Runqueue1");
    w.pauseQueueAction = named(new QAction(w.queuePanel), "Pausequeue1");
    w.deleteQueueAction = named(new QAction(w.queuePanel), "Deletequeue1");
    return w.queuePanel;
}

QWidget *MainFormBuilder::buildChartsPanel(QWidget *parent, MainWindowWidgets &w)
{
    auto *holder = new QWidget(parent);
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    w.chartsPanel = named(new QFrame(holder), "ChartsPanel");
    w.chartsPanel->setFrameShape(QFrame::StyledPanel);
    auto *top = new QHBoxLayout(w.chartsPanel);
    top->addStretch();
    // The two buttons share one place over the charts' top right corner (MainFormLayout puts
    // them there); "Close charts window" lies over "Abort transfer" once the run is over.
    w.abortTransferButton = named(new QPushButton(w.chartsPanel), "AbortBitBtn2");
    w.closeChartsButton = named(new QPushButton(w.chartsPanel), "CloseChartsButton");
    w.chartsClosePanel = named(new QFrame(holder), "ChartsClosePanel");
    w.chartsClosePanel->setFixedHeight(55); // as high as the progress panel
    auto *closeRow = new QHBoxLayout(w.chartsClosePanel);
    w.closeChartsButton2 = named(new QPushButton(w.chartsClosePanel), "CloseChartsButton2");
    w.autoCloseChartsCheckBox = named(new QCheckBox(w.chartsClosePanel), "AutoCloseChartsCheckBox");
    closeRow->addWidget(w.closeChartsButton2);
    closeRow->addWidget(w.autoCloseChartsCheckBox);
    closeRow->addStretch();
    layout->addWidget(w.chartsPanel, 1);
    layout->addWidget(w.chartsClosePanel);
    holder->setObjectName(QStringLiteral("ChartsHolder"));
    holder->hide();
    return holder;
}

} // namespace Velmora
