#include "FileOpsWiring.h"

#include "MainForm.h"
#include "QueueWiring.h"
#include "TransferWiring.h"

#include "app/AppContext.h"
#include "browser/BrowserController.h"
#include "browser/FileCommands.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "browser/PaneCommandBar.h"
#include "browser/RenameForm.h"
#include "engine/MasterFTP.h"
#include "queue/QueueRunner.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>

namespace Velmora {

namespace {

std::optional<GridCommand> gridCommandOf(PaneCommand command)
{
    switch (command) {
    case PaneCommand::Transfer: return GridCommand::Transfer;
    case PaneCommand::ViewEdit: return GridCommand::ViewEdit;
    case PaneCommand::CreateDirectory: return GridCommand::CreateDirectory;
    case PaneCommand::Delete: return GridCommand::Delete;
    case PaneCommand::Rename: return GridCommand::Rename;
    case PaneCommand::FilePermissions: return GridCommand::FilePermissions;
    case PaneCommand::SearchFiles: return GridCommand::SearchFiles;
    case PaneCommand::SearchInFiles: return GridCommand::SearchInFiles;
    case PaneCommand::SearchAndReplace: return GridCommand::SearchAndReplace;
    default: return std::nullopt;
    }
}

} // namespace

FileOpsWiring::FileOpsWiring(AppContext &context, MainForm &main, BrowserHost &window, MasterFTP &ftp,
                             BrowserController &browser, QueueWiring &queue, TransferWiring &transfer, RenameForm &names)
    : QObject(&main)
    , m_main(main)
    , m_browser(browser)
{
    m_commands = new FileCommands({context, ftp, queue.runner(), transfer.builders(), browser, names, window}, this);
    GridCommandDispatcher &keys = browser.commands();
    keys.setHandler(GridCommand::Rename, [this](BrowserSide side) { m_commands->renameEntry(side); });
    keys.setHandler(GridCommand::CreateDirectory, [this](BrowserSide side) { m_commands->createDirectory(side); });

    const PaneToolBars toolBars = main.paneToolBars();
    for (BrowserSide side : {BrowserSide::Local, BrowserSide::Server}) {
        const bool local = side == BrowserSide::Local;
        PaneCommandBar::Setup setup;
        setup.side = side;
        setup.language = &context.language;
        setup.toolbar = local ? toolBars.localToolBar : toolBars.serverToolBar;
        setup.grid = browser.pane(side).view();
        setup.transferMenuItem = local ? transfer.uploadMenuItem() : transfer.downloadMenuItem();
        setup.run = [this, side](PaneCommand command) { run(command, side); };
        setup.state = [this, side] { return menuState(side); };
        (local ? m_localBar : m_serverBar) = new PaneCommandBar(setup, this);
    }
    connect(&main, &MainForm::createFileRequested, this, [this] { m_commands->createFile(m_browser.focusedSide()); });
}

FileOpsWiring::~FileOpsWiring() = default;

void FileOpsWiring::run(PaneCommand command, BrowserSide side)
{
    if (m_main.isBusy())
        return;
    if (const std::optional<GridCommand> key = gridCommandOf(command)) {
        m_browser.commands().run(*key, side);
        return;
    }
    switch (command) {
    case PaneCommand::Refresh:
        m_commands->refresh(side);
        break;
    case PaneCommand::OpenDirectory:
        m_commands->openDirectory();
        break;
    case PaneCommand::UsedSpace:
        m_commands->usedSpace(side);
        break;
    default:
        break;
    }
}

PaneMenuState FileOpsWiring::menuState(BrowserSide side) const
{
    const FileGridPane &pane = m_browser.pane(side);
    PaneMenuState state;
    const int row = pane.rememberedRow();
    state.hasRememberedRow = row >= 0 && row < pane.model().rowCount();
    state.rememberedKind = state.hasRememberedRow ? pane.model().kindAt(row) : EntryKind::Folder;
    state.connected = m_main.isConnected();
    return state;
}

} // namespace Velmora
