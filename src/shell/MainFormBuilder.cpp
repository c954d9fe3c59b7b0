#include "MainFormBuilder.h"

#include "app/Named.h"
#include "common/Language.h"
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
    w.restoreButtonAction->setObjectName(QStringLiteral("RestoreButtonAction"));
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

void MainFormBuilder::setTexts(MainWindowWidgets &w, const Language &l)
{
    auto t = [&l](const char16_t *en, const char16_t *de) { return l.text(QString::fromUtf16(en), QString::fromUtf16(de)); };

    w.fileMenu->setTitle(t(u"&File", u"Da&tei")); // Alt+D is "Design" in both languages
    w.ftpConnectionsAction->setText(t(u"FTP Connections", u"FTP Verbindungen"));
    w.exitAction->setText(t(u"Exit", u"Verlassen"));
    w.filterMenu->setTitle(t(u"F&ilter", u"F&ilter"));
    w.editFilterAction->setText(t(u"Edit Filter", u"Filter bearbeiten"));
    w.transferFilterOnAction->setText(t(u"Transfer filter on", u"Tranfer Filter an"));
    w.batchjobMenu->setTitle(t(u"&Batchjob", u"&Batchjob"));
    w.createBatchjobAction->setText(t(u"Create Batchjob", u"Batchjob erzeugen"));
    w.showBatchjobsAction->setText(t(u"Show last batchjobs (Logfile)", u"Letzte Batchjobs anzeigen (Logdatei)"));
    w.toolsMenu->setTitle(t(u"E&xtended Tools", u"E&rweiterte Tools"));
    w.createFileAction->setText(t(u"Create a file", u"Datei erzeugen"));
    w.copyToEachDirAction->setText(t(u"Copy a file to each directory (and subdirectories)",
                                     u"Eine Datei in jedes Verzeichnis kopieren (Inklusiv Unterordner)"));
    w.multiRenameAction->setText(t(u"Multi rename tool", u"Mehrfach-Umbenennungs-Tool"));
    w.settingsMenu->setTitle(t(u"&Settings", u"&Einstellungen"));
    w.optionsAction->setText(t(u"Options", u"Optionen"));
    w.designAction->setText(t(u"Design", u"Design"));
    w.languageMenu->setTitle(t(u"Language", u"Sprache"));
    w.germanAction->setText(t(u"German", u"Deutsch"));
    w.englishAction->setText(t(u"English", u"English"));
    w.viewMenu->setTitle(t(u"&View", u"&Ansicht"));
    w.protocolViewAction->setText(t(u"Protocal window", u"Protokoll Fenster"));
    w.navigationViewAction->setText(t(u"Navigation", u"Navigation"));
    w.queueViewAction->setText(t(u"Queue window", u"Warteschlange Fenster"));
    w.filterViewAction->setText(t(u"Filter window", u"Filter Fenster"));
    w.helpMenu->setTitle(t(u"&Help", u"&Hilfe"));
    w.showHelpAction->setText(t(u"Show help", u"Hilfe anzeigen"));
    w.aboutAction->setText(t(u"About", u"Über"));
    w.checkUpdateAction->setText(t(u"Check now for update", u"Jetzt auf Update überprüfen"));
    w.updateAtStartAction->setText(t(u"Check for updates at program start", u"Bei jedem Programmstart auf Update überprüfen"));

    w.connectionsButton->setText(t(u"FTP connections (F12)", u"FTP Verbindungen [F12]"));
    w.disconnectButton->setText(t(u"Disconnect", u"Verbindung trennen"));
    w.protocolButton->setText(t(u"Protocol window", u"Protokoll Fenster"));
    w.navigationButton->setText(t(u"Navigation", u"Navigation"));
    w.queueWindowButton->setText(t(u"Queue window", u"Warteschlange Fenster"));
    w.filterWindowButton->setText(t(u"Filter window", u"Filter Fenster"));
    w.restoreButton->setText(t(u"Restore", u"Restore"));

    w.localRootButton->setToolTip(t(u"Drives and volumes", u"Laufwerke"));
    w.localUpButton->setToolTip(t(u"Parent folder", u"Übergeordneter Ordner"));
    w.serverRootButton->setToolTip(t(u"Root folder", u"Stammverzeichnis"));
    w.serverUpButton->setToolTip(t(u"Parent folder", u"Übergeordneter Ordner"));
    w.uploadAction->setText(t(u"Upload", u"Hochladen"));
    w.downloadAction->setText(t(u"Download", u"Herunterladen"));
    w.uploadAction->setToolTip(t(u"Upload [F5]", u"Hochladen [F5]"));
    w.downloadAction->setToolTip(t(u"Download [F5]", u"Herunterladen [F5]"));

    w.closeCheckBox->setText(t(u"Close program after transfer", u"Programm nach dem Transfer schließen"));
    w.shutdownCheckBox->setText(t(u"Shutdown PC after transfer", u"PC nach dem Transfer herunterfahren"));
    w.abortButton->setText(t(u"Abort", u"Abbrechen"));

    w.queueLabel->setText(t(u"Queue: ", u"Warteschlange: "));
    w.queueLoadButton->setText(t(u"Load queue", u"Warteschlange öffnen"));
    w.queueSaveButton->setText(t(u"Save queue", u"Warteschlange speichern"));
    w.queueRunButton->setText(t(u"Run queue", u"Warteschlange abarbeiten"));
    w.queuePauseButton->setText(t(u"Pause queue", u"Warteschlange Pause"));
    w.queueDeleteButton->setText(t(u"Clear queue", u"Warteschlange löschen"));
    w.automaticRunButton->setToolTip(t(u"Automatic run queue", u"Warteschlange automatisch abarbeiten"));
    for (QToolButton *button : {w.queueLoadButton, w.queueSaveButton, w.queueRunButton, w.queuePauseButton, w.queueDeleteButton})
        button->setToolTip(button->text());
    w.loadQueueAction->setText(w.queueLoadButton->text());
    w.saveQueueAction->setText(w.queueSaveButton->text());
    w.runQueueAction->setText(w.queueRunButton->text());
    w.pauseQueueAction->setText(w.queuePauseButton->text());
    w.deleteQueueAction->setText(t(u"Delete queue", u"Warteschlange löschen"));

    w.abortTransferButton->setText(t(u"Abort transfer", u"Transfer abbrechen"));
    w.closeChartsButton->setText(t(u"Close charts window", u"Diagramm Fenster schließen"));
    w.closeChartsButton2->setText(w.closeChartsButton->text());
    w.autoCloseChartsCheckBox->setText(t(u"Automatic close charts after transfer",
                                         u"Transfer Diagramme automatisch schließen nach dem Transfer"));
}

} // namespace Velmora

namespace Velmora {

BrowserWidgets MainFormBuilder::browserWidgets(const MainWindowWidgets &w)
{
    BrowserWidgets panes;
    panes.localGrid = qobject_cast<FileGridView *>(w.localGrid);
    panes.serverGrid = qobject_cast<FileGridView *>(w.serverGrid);
    panes.localPathBox = w.localPathEdit;
    panes.serverPathBox = w.serverPathEdit;
    panes.localRootButton = w.localRootButton;
    panes.localUpButton = w.localUpButton;
    panes.serverRootButton = w.serverRootButton;
    panes.serverUpButton = w.serverUpButton;
    panes.localStatusLabel = w.localStatusLabel;
    panes.serverStatusLabel = w.serverStatusLabel;
    panes.localDriveList = qobject_cast<DriveListWidget *>(w.localDriveList);
    Q_ASSERT(panes.localGrid && panes.serverGrid && panes.localDriveList);
    return panes;
}

PaneToolBars MainFormBuilder::paneToolBars(const MainWindowWidgets &w)
{
    return {w.localToolBar, w.serverToolBar};
}

QueueControls MainFormBuilder::queueControls(const MainWindowWidgets &w)
{
    QueueControls q;
    q.queueLoadButton = w.queueLoadButton;
    q.queueSaveButton = w.queueSaveButton;
    q.queueRunButton = w.queueRunButton;
    q.queuePauseButton = w.queuePauseButton;
    q.queueDeleteButton = w.queueDeleteButton;
    q.automaticRunButton = w.automaticRunButton;
    q.loadQueueAction = w.loadQueueAction;
    q.saveQueueAction = w.saveQueueAction;
    q.runQueueAction = w.runQueueAction;
    q.pauseQueueAction = w.pauseQueueAction;
    q.deleteQueueAction = w.deleteQueueAction;
    q.queueGrid = w.queueGrid;
    q.chartsPanel = w.chartsPanel;
    q.closeChartsButton = w.closeChartsButton;
    q.closeChartsButton2 = w.closeChartsButton2;
    q.autoCloseChartsCheckBox = w.autoCloseChartsCheckBox;
    return q;
}

ProgressControls MainFormBuilder::progressControls(const MainWindowWidgets &w)
{
    ProgressControls p;
    p.progressPanel = w.progressPanel;
    p.progressBar1 = w.progressBar1;
    p.progressBar2 = w.progressBar2;
    p.bytesPanel = w.bytesPanel;
    p.totalsPanel = w.totalsPanel;
    p.queueInfoPanel = w.queueInfoPanel;
    p.queueSizePanel = w.queueSizePanel;
    p.chartsPanel = w.chartsPanel;
    p.chartsClosePanel = w.chartsClosePanel;
    p.closeChartsButton = w.closeChartsButton;
    p.gridSplitter = w.gridSplitter;
    return p;
}

FilterControls MainFormBuilder::filterControls(const MainWindowWidgets &w)
{
    FilterControls f;
    f.filterPanel = w.filterPanel;
    f.filterOnOffButton = w.filterOnOffButton;
    f.editFilterButton = w.editFilterButton;
    f.searchFilesButton = w.searchFilesButton;
    f.searchInFilesButton = w.searchInFilesButton;
    f.searchAndReplaceButton = w.searchAndReplaceButton;
    f.filterLabel = w.filterLabel;
    f.editFilterAction = w.editFilterAction;
    f.transferFilterOnAction = w.transferFilterOnAction;
    return f;
}

LayoutControls MainFormBuilder::layoutControls(const MainWindowWidgets &w)
{
    LayoutControls l;
    l.protocolButton = w.protocolButton;
    l.navigationButton = w.navigationButton;
    l.queueWindowButton = w.queueWindowButton;
    l.filterWindowButton = w.filterWindowButton;
    l.protocolViewAction = w.protocolViewAction;
    l.navigationViewAction = w.navigationViewAction;
    l.queueViewAction = w.queueViewAction;
    l.filterViewAction = w.filterViewAction;
    l.topSplitter = w.topSplitter;
    l.queueSplitter = w.queueSplitter;
    l.protocolGrid = w.protocolGrid;
    l.queueGrid = w.queueGrid;
    l.localButtonsPanel = w.localButtonsPanel;
    l.serverButtonsPanel = w.serverButtonsPanel;
    l.queuePanel = w.queuePanel;
    l.filterPanel = w.filterPanel;
    l.chartsPanel = w.chartsPanel;
    l.abortTransferButton = w.abortTransferButton;
    l.closeChartsButton = w.closeChartsButton;
    return l;
}

DesignAreas MainFormBuilder::designAreas(const MainWindowWidgets &w)
{
    DesignAreas d;
    d.mainControlBar = w.mainControlBar;
    d.localToolBar = w.localToolBar;
    d.serverToolBar = w.serverToolBar;
    d.localButtonsPanel = w.localButtonsPanel;
    d.serverButtonsPanel = w.serverButtonsPanel;
    d.localStatusLabel = w.localStatusLabel;
    d.serverStatusLabel = w.serverStatusLabel;
    d.queuePanel = w.queuePanel;
    d.progressPanel = w.progressPanel;
    d.chartsPanel = w.chartsPanel;
    d.chartsClosePanel = w.chartsClosePanel;
    d.filterPanel = w.filterPanel;
    d.filterOnOffButton = w.filterOnOffButton;
    return d;
}

} // namespace Velmora
