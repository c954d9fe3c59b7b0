#pragma once

#include <QObject>

class QAction;

namespace Velmora {

class BrowserController;
class MainForm;
class MasterFTP;
class TransferBuilders;
struct AppContext;

// Puts the deletions into the main window: the "Delete [F8]" buttons of the two panes, the
// grids' "Delete [F8]" menu items, and F8 or Del in either grid. A server deletion connects first
// when there is no connection and does nothing without one; then both check the grid's selection.
// A local selection that includes the ".." row deletes nothing and says nothing.
class DeleteWiring : public QObject {
    Q_OBJECT
public:
    DeleteWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                 TransferBuilders &builders);
    ~DeleteWiring() override;

    QAction *localDeleteButton() const { return m_localButton; }
    QAction *serverDeleteButton() const { return m_serverButton; }
    QAction *localMenuItem() const { return m_localItem; }
    QAction *serverMenuItem() const { return m_serverItem; }

    void requestServerDelete();
    void requestLocalDelete();

private:
    void retranslate();

    AppContext &m_context;
    MainForm &m_main;
    MasterFTP &m_ftp;
    BrowserController &m_browser;
    TransferBuilders &m_builders;
    QAction *m_localButton = nullptr;
    QAction *m_serverButton = nullptr;
    QAction *m_localItem = nullptr;
    QAction *m_serverItem = nullptr;
};

} // namespace Velmora
