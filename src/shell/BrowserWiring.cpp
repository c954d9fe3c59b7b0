#include "BrowserWiring.h"

#include "MainForm.h"
#include "MainWindowPort.h"

#include "browser/BrowserController.h"
#include "browser/DriveListWidget.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QToolButton>

namespace Velmora {

namespace {

} // namespace

BrowserWiring::BrowserWiring(AppContext &context, MainForm &main, MainWindowPort &port, MasterFTP &ftp,
                             TypeAheadSearch &typeAhead)
    : QObject(&main)
    , m_main(main)
{
    m_browser = new BrowserController(context, ftp, typeAhead, main.browserWidgets(), port, this);

    BrowserController *browser = m_browser;
    connect(&main, &MainForm::startFoldersRequested, browser, [browser](const QString &local, const QString &server) {
        browser->pane(BrowserSide::Server).setPathText(server);
        browser->FillLocalGrid(local);
    });
    connect(&main, &MainForm::localListingRequested, browser,
            [browser] { browser->FillLocalGrid(browser->pane(BrowserSide::Local).folder()); });
    connect(&main, &MainForm::serverListingRequested, browser,
            [browser] { browser->FillServerGrid(browser->pane(BrowserSide::Server).folder()); });
    connect(&port, &MainWindowPort::localListingRequested, browser,
            [browser] { browser->FillLocalGrid(browser->pane(BrowserSide::Local).folder()); });
    connect(&port, &MainWindowPort::serverListingRequested, browser,
            [browser] { browser->FillServerGrid(browser->pane(BrowserSide::Server).folder()); });
    connect(&port, &MainWindowPort::serverGridClearRequested, browser, &BrowserController::clearServerGrid);
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
