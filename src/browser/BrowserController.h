#pragma once

#include "BrowserSide.h"
#include "GridCommandDispatcher.h"
#include "SelectionRule.h"

#include <QObject>

#include <memory>

class QTableView;

namespace Velmora {

class AppStarter;
class FileGridPane;
class FileGridView;
class FileIconDecorations;
class LocalBrowser;
class MainForm;
class RemoteListingSource;
class ServerBrowser;
struct AppContext;

// The two file panes of the main window: the local file system on the left, the server on the
// right, one grid widget and model for both, fed by the local folder reader and by a listing
// source on the FTP session. Owned by the main window; found there as its child
// "BrowserController".
class BrowserController : public QObject {
    Q_OBJECT
public:
    // The one call AppStarter makes once every window exists.
    static BrowserController *wire(AppStarter &starter);
    static BrowserController *of(const MainForm &main);

    BrowserController(AppContext &context, MainForm &main);
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
    // The selection rules of every grid command: false, after an information box, when unmet.
    bool CheckSelection(BrowserSide side, SelectionRule rule) const;
    bool CheckSelection(const QTableView *grid, SelectionRule rule) const;

    // The commands of F3 to F11 and Del; each feature installs its handler here.
    GridCommandDispatcher &commands() { return m_commands; }
    // The grid that received the focus last.
    BrowserSide activeSide() const { return m_activeSide; }
    FileGridView *activeGrid() const;

    // The server pane lists through the FTP session unless a test puts another source in.
    void setListingSource(RemoteListingSource *source);
    RemoteListingSource &listingSource() const;
    // The session ended: the server grid loses its rows and status line.
    void clearServerGrid();

    void loadColumnLayouts();
    void saveColumnLayouts();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FileGridPane *makePane(BrowserSide side);
    void restoreActiveGrid();

    AppContext &m_context;
    MainForm &m_main;
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
