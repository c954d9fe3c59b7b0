#pragma once

#include <QObject>

namespace Velmora {

class BrowserController;
class MainForm;
class MasterFTP;
class TransferBuilders;
struct AppContext;

// Answers the grids' Delete command (F8 or Del, and the panes' "Delete [F8]" buttons and menu
// items, which run the same command). A server deletion connects first
// when there is no connection and does nothing without one; then both check the grid's selection.
// A local selection that includes the ".." row deletes nothing and says nothing.
class DeleteWiring : public QObject {
    Q_OBJECT
public:
    DeleteWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                 TransferBuilders &builders);
    ~DeleteWiring() override;

    void requestServerDelete();
    void requestLocalDelete();

private:
    AppContext &m_context;
    MainForm &m_main;
    MasterFTP &m_ftp;
    BrowserController &m_browser;
    TransferBuilders &m_builders;
};

} // namespace Velmora
