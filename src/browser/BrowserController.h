#pragma once

#include "BrowserSide.h"
#include "BrowserWidgets.h"
#include "GridCommandDispatcher.h"
#include "SelectionRule.h"
#include "ServerBrowser.h"

#include "queue/TransferPorts.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QTableView;

namespace Velmora {

class FileGridPane;
class FileGridView;
class FileIconDecorations;
class LocalBrowser;
class MasterFTP;
class RemoteListingSource;
class BrowserHost;
class TypeAheadSearch;
struct AppContext;

// The two file panes: the local file system on the left, the server on the right, one grid
// widget and model for both, fed by the local folder reader and by a listing source on the FTP
// session. What the server side needs of the rest of the window comes in as a BrowserHost; the
// transfer builders see the grids through it (TransferHost).
class BrowserController : public QObject, public TransferHost {
    Q_OBJECT
public:
    BrowserController(AppContext &context, MasterFTP &ftp, TypeAheadSearch &typeAhead, const BrowserWidgets &widgets,
                      BrowserHost &host, QObject *parent = nullptr);
    ~BrowserController() override;

    LocalBrowser &local() const { return *m_local; }
    ServerBrowser &server() const { return *m_server; }
    FileGridPane &pane(BrowserSide side) const;
    // The pane of a grid widget; null for any other widget.
    FileGridPane *paneOf(const QTableView *grid) const;

    void FillLocalGrid(const QString &path);
    void FillServerGrid(const QString &path);
    // Lists the folder a side shows again (after work that changed it).
    void refresh(BrowserSide side);
    void SelectRowByName(BrowserSide side, const QString &name);

    // TransferHost: the grids as the transfer builders see them.
    QList<SelectionLine> selectionLines(GridSide side) const override;
    void setLocalPathText(const QString &path) override;
    void restoreRememberedRow(GridSide side) override;
    void selectRowByName(GridSide side, const QString &name) override;
    void focusGrid(GridSide side) override;
    // The selection rules of every grid command: false, after an information box, when unmet.
    bool CheckSelection(BrowserSide side, SelectionRule rule) const;
    bool CheckSelection(const QTableView *grid, SelectionRule rule) const;

    // The commands of F3 to F11 and Del; each feature installs its handler here.
    GridCommandDispatcher &commands() { return m_commands; }
    // The grid that received the focus last.
    BrowserSide activeSide() const { return m_activeSide; }
    // The side whose grid or path box holds the keyboard focus now; none when the focus is elsewhere.
    std::optional<BrowserSide> focusedSide() const;
    FileGridView *activeGrid() const;

    // The server pane lists through the FTP session unless a test puts another source in.
    void setListingSource(RemoteListingSource *source);
    RemoteListingSource &listingSource() const;
    // The session ended: the server grid loses its rows and status line.
    void clearServerGrid();

    // Read before the first listing; written when the program closes.
    void loadColumnLayouts();
    void saveColumnLayouts();
    bool columnLayoutsLoaded() const { return m_layoutsLoaded; }
    // The grid that had the focus last selects its remembered row again.
    void restoreActiveGrid();
    // Asked before a drag of either grid starts (no drag while the window is busy).
    void setDragAllowed(std::function<bool()> allowed);

Q_SIGNALS:
    // A side is about to list this folder (FillLocalGrid, FillServerGrid, refresh).
    void listingStarted(BrowserSide side, const QString &path);
    // Rows of the other grid were dropped on this side's grid, into dropFolder (a folder row of
    // the target, or empty for the folder it shows). Sent once the drag is over.
    void rowsDropped(BrowserSide target, const QString &dropFolder);

private:
    FileGridPane *makePane(BrowserSide side, FileGridView *view, QComboBox *pathBox, QLabel *statusLabel);

    AppContext &m_context;
    TypeAheadSearch &m_typeAhead;
    std::unique_ptr<FileIconDecorations> m_decorations;
    std::unique_ptr<RemoteListingSource> m_sessionSource;
    RemoteListingSource *m_source = nullptr;
    FileGridPane *m_localPane = nullptr;
    FileGridPane *m_serverPane = nullptr;
    LocalBrowser *m_local = nullptr;
    ServerBrowser *m_server = nullptr;
    GridCommandDispatcher m_commands;
    BrowserSide m_activeSide = BrowserSide::Local;
    bool m_layoutsLoaded = false;
};

} // namespace Velmora
