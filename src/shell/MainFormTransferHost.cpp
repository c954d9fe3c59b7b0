#include "MainFormTransferHost.h"

#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"

namespace Velmora {

namespace {

BrowserSide browserSide(GridSide side)
{
    return side == GridSide::Local ? BrowserSide::Local : BrowserSide::Server;
}

} // namespace

MainFormTransferHost::MainFormTransferHost(BrowserController &browser)
    : m_browser(browser)
{
}

QList<SelectionLine> MainFormTransferHost::selectionLines(GridSide side) const
{
    return m_browser.pane(browserSide(side)).selectionLines();
}

void MainFormTransferHost::setLocalPathText(const QString &path)
{
    m_browser.pane(BrowserSide::Local).setPathText(path);
}

void MainFormTransferHost::restoreRememberedRow(GridSide side)
{
    m_browser.pane(browserSide(side)).restoreRememberedRow();
}

void MainFormTransferHost::selectRowByName(GridSide side, const QString &name)
{
    m_browser.SelectRowByName(browserSide(side), name);
}

void MainFormTransferHost::focusGrid(GridSide side)
{
    FileGridView *grid = m_browser.pane(browserSide(side)).view();
    if (grid->isEnabled() && grid->isVisible())
        grid->setFocus();
}

} // namespace Velmora
