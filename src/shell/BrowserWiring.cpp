#include "BrowserWiring.h"

#include "MainForm.h"

#include "browser/BrowserController.h"
#include "browser/DriveListWidget.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "queue/QueueController.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QToolButton>

namespace Velmora {

namespace {

BrowserWidgets paneWidgets(MainWindowWidgets &w)
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

} // namespace

BrowserWiring::BrowserWiring(AppContext &context, MainForm &main, MasterFTP &ftp, TypeAheadSearch &typeAhead)
    : QObject(&main)
    , m_main(main)
{
    ServerBrowser::Hooks hooks;
    hooks.setBusyState = [&main] { main.SetBusyState(); };
    hooks.setIdleState = [&main] { main.SetIdleState(); };
    hooks.clearQueueGrid = [this] {
        if (m_queue)
            m_queue->ClearGrid();
    };
    m_browser = new BrowserController(context, ftp, typeAhead, paneWidgets(main.widgets()), std::move(hooks), this);

    BrowserController *browser = m_browser;
    connect(&main, &MainForm::localListingRequested, browser,
            [browser] { browser->FillLocalGrid(browser->pane(BrowserSide::Local).pathText()); });
    connect(&main, &MainForm::serverListingRequested, browser,
            [browser] { browser->FillServerGrid(browser->pane(BrowserSide::Server).pathText()); });
    connect(&main, &MainForm::idleStateEntered, browser, &BrowserController::restoreActiveGrid);
    connect(&main, &MainForm::closingCleanupStarted, browser, &BrowserController::saveColumnLayouts);
    // The column layouts are read when the main window is shown, before the first listing.
    main.installEventFilter(this);
}

BrowserWiring::~BrowserWiring() = default;

bool BrowserWiring::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_main && event->type() == QEvent::Show && !m_browser->columnLayoutsLoaded())
        m_browser->loadColumnLayouts();
    return QObject::eventFilter(watched, event);
}

} // namespace Velmora
