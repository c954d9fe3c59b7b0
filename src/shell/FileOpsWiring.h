#pragma once

#include "browser/BrowserSide.h"
#include "browser/PaneCommands.h"

#include <QObject>

#include <optional>

namespace Velmora {

class BrowserController;
class BrowserHost;
class FileCommands;
class MainForm;
class MasterFTP;
class PaneCommandBar;
class QueueWiring;
class RenameForm;
class TransferWiring;
struct AppContext;

// Puts the browser's file operations into the main window: the panes' toolbars and context
// menus, F6 and F7 in the grids, and "Create a file" of the "Extended Tools" menu. Toolbar
// buttons and menu items of commands that have a grid key run through the grids' command
// dispatcher, so each feature's handler serves key, button and menu item alike.
class FileOpsWiring : public QObject {
    Q_OBJECT
public:
    FileOpsWiring(AppContext &context, MainForm &main, BrowserHost &window, MasterFTP &ftp, BrowserController &browser,
                  QueueWiring &queue, TransferWiring &transfer, RenameForm &names);
    ~FileOpsWiring() override;

    FileCommands &commands() { return *m_commands; }
    PaneCommandBar &bar(BrowserSide side) const { return side == BrowserSide::Local ? *m_localBar : *m_serverBar; }
    void run(PaneCommand command, BrowserSide side);
    // The side whose grid or path box has the focus; none for any other control.

private:
    PaneMenuState menuState(BrowserSide side) const;

    MainForm &m_main;
    BrowserController &m_browser;
    FileCommands *m_commands;
    PaneCommandBar *m_localBar = nullptr;
    PaneCommandBar *m_serverBar = nullptr;
};

} // namespace Velmora
