#include "BrowserController.h"

#include "DriveListWidget.h"
#include "FileGridColumns.h"
#include "FileGridPane.h"
#include "FileGridView.h"
#include "FileIconDecorations.h"
#include "LocalBrowser.h"
#include "MasterFtpListingSource.h"
#include "ServerBrowser.h"

#include "app/AppContext.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>

namespace Velmora {

BrowserController::BrowserController(AppContext &context, MasterFTP &ftp, TypeAheadSearch &typeAhead,
                                     const BrowserWidgets &w, BrowserHost &host, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_typeAhead(typeAhead)
    , m_decorations(std::make_unique<FileIconDecorations>())
    , m_sessionSource(std::make_unique<MasterFtpListingSource>([&ftp] { return &ftp; }))
    , m_source(m_sessionSource.get())
{
    m_localPane = makePane(BrowserSide::Local, w.localGrid, w.localPathBox, w.localStatusLabel);
    m_serverPane = makePane(BrowserSide::Server, w.serverGrid, w.serverPathBox, w.serverStatusLabel);

    LocalBrowser::Setup local;
    local.pane = m_localPane;
    local.driveList = w.localDriveList;
    local.rootButton = w.localRootButton;
    local.upButton = w.localUpButton;
    local.language = &context.language;
    local.platform = &context.platform;
    local.startDrive = context.folders.startDrive;
    m_local = new LocalBrowser(local, this);

    ServerBrowser::Setup server;
    server.pane = m_serverPane;
    server.rootButton = w.serverRootButton;
    server.upButton = w.serverUpButton;
    server.source = m_source;
    server.language = &context.language;
    m_server = new ServerBrowser(server, host, this);

    connect(m_localPane->view(), &FileGridView::enterPressed, m_local, &LocalBrowser::OpenLocalEntry);
    connect(m_localPane->view(), &QAbstractItemView::doubleClicked, m_local, &LocalBrowser::OpenLocalEntry);
    connect(m_serverPane->view(), &FileGridView::enterPressed, m_server, &ServerBrowser::OpenServerEntry);
    connect(m_serverPane->view(), &QAbstractItemView::doubleClicked, m_server, &ServerBrowser::OpenServerEntry);

    // Rows go from one grid to the other only. The work starts after the drag has ended.
    m_localPane->view()->setDropPartner(m_serverPane->view());
    m_serverPane->view()->setDropPartner(m_localPane->view());
    for (FileGridPane *target : {m_localPane, m_serverPane}) {
        const BrowserSide side = target->side();
        connect(target->view(), &FileGridView::rowsDropped, this,
                [this, side](const QString &folder) { Q_EMIT rowsDropped(side, folder); }, Qt::QueuedConnection);
    }
}

BrowserController::~BrowserController() = default;

FileGridPane *BrowserController::makePane(BrowserSide side, FileGridView *view, QComboBox *pathBox, QLabel *statusLabel)
{
    const bool isLocal = side == BrowserSide::Local;
    FileGridPane::Setup setup;
    setup.side = side;
    setup.view = view;
    setup.pathBox = pathBox;
    setup.statusLabel = statusLabel;
    setup.language = &m_context.language;
    setup.decorations = m_decorations.get();
    setup.sortFile = m_context.folders.appDataFile(isLocal ? QStringLiteral("local_sort.ini") : QStringLiteral("server_sort.ini"));
    setup.layoutFile = m_context.folders.appDataFile(isLocal ? QStringLiteral("localgrid.ini") : QStringLiteral("servergrid.ini"));
    setup.germanDates = m_context.systemIsGerman;
    auto *pane = new FileGridPane(setup, this);

    view->setTypeAhead(&m_typeAhead, FileGridColumns::Name);
    view->commandKey = [this, side](int key, Qt::KeyboardModifiers modifiers) {
        return m_commands.dispatchKey(side, key, modifiers);
    };
    connect(pane, &FileGridPane::focusReceived, this, [this, side] { m_activeSide = side; });
    return pane;
}

FileGridPane &BrowserController::pane(BrowserSide side) const
{
    return side == BrowserSide::Local ? *m_localPane : *m_serverPane;
}

FileGridPane *BrowserController::paneOf(const QTableView *grid) const
{
    if (grid && grid == m_localPane->view())
        return m_localPane;
    if (grid && grid == m_serverPane->view())
        return m_serverPane;
    return nullptr;
}

std::optional<BrowserSide> BrowserController::focusedSide() const
{
    const QWidget *focus = QApplication::focusWidget();
    if (!focus)
        return std::nullopt;
    for (BrowserSide side : {BrowserSide::Local, BrowserSide::Server}) {
        const FileGridPane &p = pane(side);
        if (focus == p.view() || focus == p.pathBox() || p.pathBox()->isAncestorOf(focus))
            return side;
    }
    return std::nullopt;
}

FileGridView *BrowserController::activeGrid() const
{
    return pane(m_activeSide).view();
}

void BrowserController::FillLocalGrid(const QString &path)
{
    Q_EMIT listingStarted(BrowserSide::Local, path);
    m_local->FillLocalGrid(path);
}

void BrowserController::FillServerGrid(const QString &path)
{
    Q_EMIT listingStarted(BrowserSide::Server, path);
    m_server->FillServerGrid(path);
}

void BrowserController::refresh(BrowserSide side)
{
    if (side == BrowserSide::Local)
        FillLocalGrid(m_local->listedPath().isEmpty() ? m_localPane->folder() : m_local->listedPath());
    else
        FillServerGrid(m_server->listedPath().isEmpty() ? m_serverPane->folder() : m_server->listedPath());
}

void BrowserController::SelectRowByName(BrowserSide side, const QString &name)
{
    pane(side).selectRowByName(name);
}

bool BrowserController::CheckSelection(BrowserSide side, SelectionRule rule) const
{
    return pane(side).checkSelection(rule, m_context.prompts);
}

bool BrowserController::CheckSelection(const QTableView *grid, SelectionRule rule) const
{
    FileGridPane *found = paneOf(grid);
    return found ? found->checkSelection(rule, m_context.prompts) : false;
}

void BrowserController::setListingSource(RemoteListingSource *source)
{
    m_source = source ? source : m_sessionSource.get();
    m_server->setSource(m_source);
}

RemoteListingSource &BrowserController::listingSource() const
{
    return *m_source;
}

void BrowserController::clearServerGrid()
{
    m_server->clearGrid();
}

void BrowserController::restoreActiveGrid()
{
    FileGridPane &active = pane(m_activeSide);
    if (active.view()->isVisible() && active.view()->isEnabled())
        active.restoreRememberedRow();
}

void BrowserController::setDragAllowed(std::function<bool()> allowed)
{
    m_localPane->view()->dragAllowed = allowed;
    m_serverPane->view()->dragAllowed = std::move(allowed);
}

void BrowserController::loadColumnLayouts()
{
    m_localPane->loadColumnLayout();
    m_serverPane->loadColumnLayout();
    m_layoutsLoaded = true;
}

void BrowserController::saveColumnLayouts()
{
    m_serverPane->saveColumnLayout();
    m_localPane->saveColumnLayout();
}


namespace {

BrowserSide browserSide(GridSide side)
{
    return side == GridSide::Local ? BrowserSide::Local : BrowserSide::Server;
}

} // namespace

QList<SelectionLine> BrowserController::selectionLines(GridSide side) const
{
    return pane(browserSide(side)).selectionLines();
}

void BrowserController::setLocalPathText(const QString &path)
{
    pane(BrowserSide::Local).setPathText(path);
}

void BrowserController::restoreRememberedRow(GridSide side)
{
    pane(browserSide(side)).restoreRememberedRow();
}

void BrowserController::selectRowByName(GridSide side, const QString &name)
{
    SelectRowByName(browserSide(side), name);
}

void BrowserController::focusGrid(GridSide side)
{
    FileGridView *grid = pane(browserSide(side)).view();
    if (grid->isEnabled() && grid->isVisible())
        grid->setFocus();
}

} // namespace Velmora
