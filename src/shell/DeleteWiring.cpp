#include "DeleteWiring.h"

#include "MainForm.h"

#include "app/AppContext.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "engine/MasterFTP.h"
#include "queue/TransferBuilders.h"

namespace Velmora {

namespace {

bool parentRowSelected(FileGridPane &pane)
{
    for (int row : pane.selectedRows()) {
        if (pane.model().entryAt(row).isParent)
            return true;
    }
    return false;
}

} // namespace

DeleteWiring::DeleteWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                           TransferBuilders &builders)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_ftp(ftp)
    , m_browser(browser)
    , m_builders(builders)
{
    browser.commands().setHandler(GridCommand::Delete, [this](BrowserSide side) {
        if (side == BrowserSide::Local)
            requestLocalDelete();
        else
            requestServerDelete();
    });
}

DeleteWiring::~DeleteWiring() = default;

void DeleteWiring::requestServerDelete()
{
    if (m_main.isBusy() || m_builders.isBuilding())
        return;
    if (!m_ftp.isConnected()) {
        m_ftp.Connect(false);
        if (!m_ftp.isConnected())
            return;
    }
    if (!m_browser.CheckSelection(BrowserSide::Server, SelectionRule::AFileOrDirectory))
        return;
    m_builders.DeleteOnServer();
}

void DeleteWiring::requestLocalDelete()
{
    if (m_main.isBusy() || m_builders.isBuilding())
        return;
    FileGridPane &pane = m_browser.pane(BrowserSide::Local);
    if (!m_browser.CheckSelection(BrowserSide::Local, SelectionRule::AFileOrDirectory) || parentRowSelected(pane))
        return;
    m_builders.DeleteLocally();
}

} // namespace Velmora
