#include "MainForm.h"

#include "app/ColumnWidth.h"
#include "app/DesignState.h"
#include "DesignApplier.h"
#include "MainFormBuilder.h"
#include "MainFormTexts.h"
#include "MainWindowWidgets.h"
#include "PaintThrottle.h"
#include "app/Options.h"
#include "app/Platform.h"
#include "app/ProfileFiles.h"
#include "app/ProtocolLog.h"
#include "ProtocolTableModel.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

namespace Velmora {

MainForm::MainForm(AppContext &context, WorkControl &work, StartupArguments arguments, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_work(work)
    , m_arguments(std::move(arguments))
    , m_widgets(std::make_unique<MainWindowWidgets>())
    , m_w(*m_widgets)
{
    setObjectName(QStringLiteral("MainForm"));
    MainFormBuilder::build(*this, m_w);
    new PaintThrottle(*this, [this] { return m_busy; });

    m_protocolModel = new ProtocolTableModel(context.protocol, this);
    m_w.protocolGrid->setModel(m_protocolModel);
    const QFontMetrics metrics = m_w.protocolGrid->fontMetrics();
    m_w.protocolGrid->setColumnWidth(0, ColumnWidth::scaled(20, metrics));
    m_w.protocolGrid->setColumnWidth(1, std::max(ColumnWidth::scaled(35, metrics), ColumnWidth::forText(QStringLiteral("00000"), metrics)));
    m_w.protocolGrid->setColumnWidth(2, ColumnWidth::scaled(850, metrics));
    m_w.protocolGrid->horizontalHeader()->setStretchLastSection(true);
    // Selecting and scrolling costs more the longer the grid is, so a burst of lines is shown
    // once per pass of the event loop: the newest line ends up selected and in view.
    m_protocolScroll.setSingleShot(true);
    m_protocolScroll.setInterval(0);
    connect(&m_protocolScroll, &QTimer::timeout, this, &MainForm::showNewestProtocolLine);
    connect(m_protocolModel, &QAbstractItemModel::rowsInserted, this, [this] {
        if (!m_protocolScroll.isActive())
            m_protocolScroll.start();
    });

    // Timers of the window: stopped until the show handler decides.
    m_siteManagerTimer.setSingleShot(true);
    m_siteManagerTimer.setInterval(1);
    m_batchJobTimer.setSingleShot(true);
    m_batchJobTimer.setInterval(10);
    connect(&m_siteManagerTimer, &QTimer::timeout, this, [this] {
        if (m_context.options.data().ftpConnections)
            Q_EMIT siteManagerRequested();
    });
    connect(&m_batchJobTimer, &QTimer::timeout, this, &MainForm::batchJobStarted);
    connect(&context.language, &Language::languageChanged, this, &MainForm::retranslate);
    m_designApplier = new DesignApplier(MainFormBuilder::designAreas(m_w), *menuBar(), context.folders.programFolder, this);
    connect(&context.design, &DesignState::designChanged, this, &MainForm::applyDesign);
    applyDesign(context.design.name());

    connectControls();
    setInitialState();
    retranslate();
}

void MainForm::setHooks(MainFormHooks hooks)
{
    if (!hooks.isConnected || !hooks.deleteAllBackups)
        qFatal("MainForm::setHooks: every question of the main window needs an answer");
    m_hooks = std::move(hooks);
}

MainForm::~MainForm()
{
    if (m_busyCursor)
        QApplication::restoreOverrideCursor();
}

void MainForm::connectControls()
{
    connect(m_w.abortButton, &QPushButton::clicked, this, &MainForm::AbortBitBtnClick);
    connect(m_w.abortTransferButton, &QPushButton::clicked, this, &MainForm::AbortBitBtnClick);
    // At most one of the two end-of-run boxes is checked.
    connect(m_w.closeCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_w.shutdownCheckBox->setChecked(false);
    });
    connect(m_w.shutdownCheckBox, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_w.closeCheckBox->setChecked(false);
    });
    connect(m_w.germanAction, &QAction::triggered, this, [this] { SetLanguage(Language::German); });
    connect(m_w.englishAction, &QAction::triggered, this, [this] { SetLanguage(Language::English); });
    connect(m_w.exitAction, &QAction::triggered, this, &QWidget::close);
    connect(m_w.optionsAction, &QAction::triggered, this, &MainForm::optionsRequested);
    connect(m_w.ftpConnectionsAction, &QAction::triggered, this, &MainForm::siteManagerRequested);
    connect(m_w.connectionsButton, &QToolButton::clicked, this, &MainForm::siteManagerRequested);
    connect(m_w.disconnectButton, &QToolButton::clicked, this, &MainForm::disconnectRequested);
    connect(m_w.designAction, &QAction::triggered, this, &MainForm::designRequested);
    connect(m_w.uploadAction, &QAction::triggered, this, &MainForm::uploadRequested);
    connect(m_w.downloadAction, &QAction::triggered, this, &MainForm::downloadRequested);
    connect(m_w.createFileAction, &QAction::triggered, this, &MainForm::createFileRequested);
    connect(m_w.createBatchjobAction, &QAction::triggered, this, &MainForm::createBatchjobRequested);
    connect(m_w.showBatchjobsAction, &QAction::triggered, this, &MainForm::batchjobLogRequested);
    connect(m_w.multiRenameAction, &QAction::triggered, this, &MainForm::multiRenameRequested);
    connect(m_w.copyToEachDirAction, &QAction::triggered, this, &MainForm::copyToEachDirRequested);
    connect(m_w.restoreButton, &QToolButton::clicked, this, &MainForm::restoreRequested);
    connect(m_w.aboutAction, &QAction::triggered, this, &MainForm::aboutRequested);
    connect(m_w.checkUpdateAction, &QAction::triggered, this, &MainForm::updateCheckRequested);
    connect(m_w.updateAtStartAction, &QAction::toggled, this, &MainForm::updateCheckAtStartToggled);
    connect(m_w.showHelpAction, &QAction::triggered, this, [this] {
        const QString folder = m_context.language.isGerman() ? QStringLiteral("help_GR/") : QStringLiteral("help_EN/");
        m_context.platform.openWithSystem(m_context.folders.programFolder + folder + QStringLiteral("help.html"));
    });
    // Giving the protocol grid the focus returns the window to the idle state.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now == m_w.protocolGrid)
            SetIdleState();
        if (now == m_w.localGrid || now == m_w.serverGrid)
            m_lastFocusedGrid = now;
    });
}

void MainForm::setInitialState()
{
    m_w.localStatusLabel->clear();
    m_w.serverStatusLabel->clear();
    m_w.progressPanel->hide();
    m_w.serverToolBar->hide();
    m_w.serverPathEdit->hide();
    m_w.serverRootButton->hide();
    m_w.serverUpButton->hide();
    m_w.uploadAction->setEnabled(false);
    for (QWidget *button : {static_cast<QWidget *>(m_w.queueSaveButton), static_cast<QWidget *>(m_w.queueRunButton),
                            static_cast<QWidget *>(m_w.queuePauseButton), static_cast<QWidget *>(m_w.queueDeleteButton)})
        button->setEnabled(false);
    for (QAction *action : {m_w.saveQueueAction, m_w.runQueueAction, m_w.pauseQueueAction, m_w.deleteQueueAction})
        action->setEnabled(false);
    m_w.queueGrid->setEnabled(false);
    m_w.serverGrid->setEnabled(false);
    m_w.protocolGrid->setFocusPolicy(Qt::ClickFocus);
    m_w.queueGrid->setFocusPolicy(Qt::ClickFocus);
    m_w.restoreButtonAction->setVisible(false);
    m_w.chartsPanel->hide();
    m_w.chartsClosePanel->hide();
    m_w.closeChartsButton->hide();
    m_lastFocusedGrid = m_w.localGrid;
}

void MainForm::showNewestProtocolLine()
{
    const int rows = m_protocolModel->rowCount();
    if (rows == 0)
        return;
    const QModelIndex index = m_protocolModel->index(rows - 1, 2);
    m_w.protocolGrid->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_w.protocolGrid->scrollTo(index);
}

void MainForm::applyDesign(const QString &designName)
{
    // A missing picture is an error no feature handles; its area keeps what it showed before.
    for (const QString &file : m_designApplier->apply(designName)) {
        const QString what = text(QStringLiteral("Design picture not found: "), QStringLiteral("Design-Bild nicht gefunden: ")) + file;
        if (m_hooks.isConnected)
            HandleUnexpectedError(what);
        else // still being built: nothing to return to the idle state yet
            m_context.protocol.AddProtocolMessage(ProtocolEntry::Error, text(QStringLiteral("Unexpected error: "), QStringLiteral("Unerwarteter Fehler: ")) + what);
    }
}

void MainForm::retranslate()
{
    MainFormBuilder::setTexts(m_w, m_context.language);
    m_w.statusText->setText(MainFormTexts::keyHelpLine(m_context.language));
    setAutomaticRunButton(m_context.options.data().automaticRunQueue);
}

MainForm::StartOutcome MainForm::FormShow()
{
    setWindowTitle(m_context.captionText());
    m_context.language.setCurrent(m_context.language.current()); // relabel every window
    m_w.bytesPanel->setText(text(QStringLiteral("Bytes:"), QStringLiteral("Bytes:")) + u' ');
    m_w.totalsPanel->setText(text(QStringLiteral("Total files:"), QStringLiteral("Dateien gesamt:")) + u' ');
    m_w.statusText->setText(MainFormTexts::keyHelpLine(m_context.language));
    Q_EMIT startFoldersRequested(m_context.folders.startDrive, QStringLiteral("/"));

    QFile::remove(m_context.folders.appDataFile(QStringLiteral("lastlogin.ini")));
    const QFileInfo lastQueue(m_context.folders.appDataFile(QStringLiteral("lastqueue.ini")));
    if (lastQueue.exists() && lastQueue.size() > 0)
        Q_EMIT lastSessionRequested();
    m_hooks.deleteAllBackups(QString());

    switch (m_arguments.check()) {
    case StartupArguments::Verdict::BadMode:
        m_context.prompts.information(text(QStringLiteral("Parameter format not correct!"),
                                            QStringLiteral("Parameterformat nicht korrekt!")));
        return StartOutcome::EndProgram;
    case StartupArguments::Verdict::QueueFileMissing:
        m_context.prompts.information(text(QStringLiteral("Queue file not found: "),
                                            QStringLiteral("Warteschlangendatei nicht gefunden: "))
                                       + m_arguments.queueFile);
        return StartOutcome::EndProgram;
    case StartupArguments::Verdict::Batch:
        m_batchMode = true;
        m_batchJobTimer.start();
        return StartOutcome::Continue;
    case StartupArguments::Verdict::NoBatch:
        break;
    }
    if (queueRowCount() > 0) {
        if (QFileInfo::exists(m_context.folders.appDataFile(QStringLiteral("last-login.ini"))))
            SetIdleState();
    } else {
        m_siteManagerTimer.start();
    }
    return StartOutcome::Continue;
}

int MainForm::queueRowCount() const
{
    return m_w.queueGrid->model() ? m_w.queueGrid->model()->rowCount() : 0;
}

void MainForm::setLockedControlsEnabled(bool enabled)
{
    const QList<QWidget *> controls = {
        m_w.mainControlBar, m_w.filterPanel, m_w.localPathEdit, m_w.serverPathEdit, m_w.localGrid, m_w.serverGrid,
        m_w.localButtonsPanel, m_w.serverButtonsPanel, m_w.localToolBar, m_w.serverToolBar, m_w.serverUpButton,
        m_w.serverRootButton, m_w.localRootButton, m_w.localUpButton, m_w.queueLoadButton, m_w.queueSaveButton,
        m_w.queueRunButton, m_w.queueDeleteButton, m_w.localDriveList};
    for (QWidget *control : controls)
        control->setEnabled(enabled);
    for (QAction *action : {m_w.loadQueueAction, m_w.saveQueueAction, m_w.runQueueAction, m_w.deleteQueueAction})
        action->setEnabled(enabled);
    for (QMenu *menu : {m_w.fileMenu, m_w.settingsMenu, m_w.viewMenu, m_w.helpMenu, m_w.filterMenu, m_w.batchjobMenu,
                        m_w.toolsMenu})
        menu->menuAction()->setEnabled(enabled);
}

void MainForm::SetBusyState()
{
    if (!m_busyCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_busyCursor = true;
    }
    m_busy = true;
    m_work.startWork();
    setLockedControlsEnabled(false);
    m_w.queuePauseButton->setEnabled(true);
    m_w.pauseQueueAction->setEnabled(true);
    m_w.queueInfoPanel->clear();
    m_w.queueSizePanel->clear();
    m_w.uploadAction->setEnabled(isConnected());
}

void MainForm::updateQueueTexts()
{
    const int rows = queueRowCount();
    const bool any = rows > 0;
    for (QWidget *button : {static_cast<QWidget *>(m_w.queueSaveButton), static_cast<QWidget *>(m_w.queueRunButton),
                            static_cast<QWidget *>(m_w.queueDeleteButton)})
        button->setEnabled(any);
    for (QAction *action : {m_w.saveQueueAction, m_w.runQueueAction, m_w.deleteQueueAction})
        action->setEnabled(any);
    if (any) {
        m_w.queueInfoPanel->setText(QStringLiteral("    ") + QString::number(rows)
                                    + text(QStringLiteral(" operations"), QStringLiteral(" Operationen")));
    } else {
        m_w.queueInfoPanel->clear();
        m_w.queueSizePanel->clear();
    }
}

void MainForm::SetIdleState()
{
    m_busy = false;
    setLockedControlsEnabled(true);
    m_w.progressPanel->hide();
    m_w.queueGrid->setEnabled(true);
    m_w.queueLoadButton->setEnabled(true);
    m_w.loadQueueAction->setEnabled(true);
    m_w.queuePauseButton->setEnabled(false);
    m_w.pauseQueueAction->setEnabled(false);
    updateQueueTexts();

    const bool connected = isConnected();
    m_w.uploadAction->setEnabled(connected);
    for (QWidget *control : {static_cast<QWidget *>(m_w.serverToolBar), static_cast<QWidget *>(m_w.serverPathEdit),
                             static_cast<QWidget *>(m_w.serverRootButton), static_cast<QWidget *>(m_w.serverUpButton)})
        control->setVisible(connected);
    if (!connected)
        m_w.serverGrid->setEnabled(false);

    if (m_context.options.data().closeCharts) {
        m_w.chartsPanel->hide();
        m_w.chartsClosePanel->hide();
        m_w.closeChartsButton->hide();
        m_w.chartsPanel->parentWidget()->hide();
    } else if (!m_w.chartsPanel->isHidden()) {
        // The charts stay up for reading; the window stays locked until they are closed.
        m_w.closeChartsButton->show();
        m_w.chartsClosePanel->show();
        m_work.resetCounters();
        setLockedControlsEnabled(false);
        m_w.queuePauseButton->setEnabled(true);
        m_w.pauseQueueAction->setEnabled(true);
        m_w.queueLoadButton->setEnabled(false);
        m_w.loadQueueAction->setEnabled(false);
        for (QWidget *button : {static_cast<QWidget *>(m_w.queueSaveButton), static_cast<QWidget *>(m_w.queueRunButton),
                                static_cast<QWidget *>(m_w.queueDeleteButton)})
            button->setEnabled(true);
        m_w.queueInfoPanel->clear();
        m_w.queueSizePanel->clear();
    }

    if (m_lastFocusedGrid && m_lastFocusedGrid->isEnabled() && m_lastFocusedGrid->isVisible())
        m_lastFocusedGrid->setFocus();
    Q_EMIT idleStateEntered();
    if (m_busyCursor) {
        QApplication::restoreOverrideCursor();
        m_busyCursor = false;
    }
}

void MainForm::AbortBitBtnClick()
{
    m_work.cancel.cancel();
    m_w.closeCheckBox->setChecked(false);
    m_w.shutdownCheckBox->setChecked(false);
    QCoreApplication::processEvents();
}

void MainForm::SetLanguage(Language::Id id)
{
    ProfileFiles(m_context.folders.appDataFolder).writeLanguage(id);
    m_context.language.setCurrent(id);
    Q_EMIT localListingRequested();
    if (isConnected())
        Q_EMIT serverListingRequested();
}

void MainForm::setAutomaticRunButton(bool automatic)
{
    m_w.automaticRunButton->setText(automatic ? QStringLiteral("AUTO") : QStringLiteral("MAN"));
    m_w.automaticRunButton->setStyleSheet(automatic ? QStringLiteral("color: rgb(0, 145, 0);")
                                                    : QStringLiteral("color: rgb(255, 0, 0);"));
}

void MainForm::setFilterState(bool on)
{
    m_w.filterOnOffButton->setChecked(on);
    m_w.transferFilterOnAction->setChecked(on);
}

bool MainForm::filterState() const
{
    return m_w.filterOnOffButton->isChecked();
}

bool MainForm::closeAfterRunChecked() const
{
    return m_w.closeCheckBox->isChecked();
}

bool MainForm::shutdownAfterRunChecked() const
{
    return m_w.shutdownCheckBox->isChecked();
}

void MainForm::showRestoreButton()
{
    m_w.restoreButtonAction->setVisible(true);
}

void MainForm::showEncryption(const QString &shown, const QString &details)
{
    m_w.disconnectButton->setToolTip(details);
    m_w.serverPathEdit->setToolTip(details);
    m_w.encryptionText->setText(shown);
    m_w.encryptionText->setToolTip(details);
}

void MainForm::setUpdateCheckAtStart(bool on)
{
    m_w.updateAtStartAction->setChecked(on);
}

BrowserWidgets MainForm::browserWidgets() const
{
    return MainFormBuilder::browserWidgets(m_w);
}

PaneToolBars MainForm::paneToolBars() const
{
    return MainFormBuilder::paneToolBars(m_w);
}

QueueControls MainForm::queueControls() const
{
    return MainFormBuilder::queueControls(m_w);
}

ProgressControls MainForm::progressControls() const
{
    return MainFormBuilder::progressControls(m_w);
}

FilterControls MainForm::filterControls() const
{
    return MainFormBuilder::filterControls(m_w);
}

LayoutControls MainForm::layoutControls() const
{
    return MainFormBuilder::layoutControls(m_w);
}

void MainForm::ShutdownComputer()
{
    m_context.platform.shutdownComputer();
}

void MainForm::endFromRun()
{
    m_endingFromRun = true;
    close();
}

void MainForm::HandleUnexpectedError(const QString &errorText)
{
    const QString what = errorText.isEmpty() ? text(QStringLiteral("unknown error"), QStringLiteral("unbekannter Fehler")) : errorText;
    m_context.protocol.AddProtocolMessage(ProtocolEntry::Error,
                                          text(QStringLiteral("Unexpected error: "), QStringLiteral("Unerwarteter Fehler: ")) + what);
    SetIdleState();
    if (!isConnected())
        Q_EMIT reconnectRequested();
}

void MainForm::closeEvent(QCloseEvent *event)
{
    if (m_endingFromRun) {
        event->accept();
        return;
    }
    if (!m_context.prompts.confirm(text(QStringLiteral("Do you really want to exit the program?"),
                                         QStringLiteral("Wollen Sie das Programm wirklich beenden?")))) {
        event->ignore();
        return;
    }
    const QString question = text(
        QStringLiteral("If you close the program, all \"search and replace\" backups will be deletet! Close the program?"),
        QStringLiteral("Wenn Sie das Programm beenden werden alle \"Suchen und Ersetzen\" Backups gelöscht! Programm beenden?"));
    if (!m_hooks.deleteAllBackups(question)) {
        event->ignore();
        return;
    }
    Q_EMIT closingCleanupStarted();
    deleteTemporaryFolders();
    event->accept();
}

void MainForm::deleteTemporaryFolders()
{
    QDir(m_context.folders.monitoringFolder()).removeRecursively();
    QDir(m_context.folders.downloadFolder()).removeRecursively();
    const QDir temp(m_context.folders.tempFolder);
    for (const QString &name : temp.entryList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(temp.filePath(name));
}

void MainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Q_EMIT windowActivated();
}

} // namespace Velmora
