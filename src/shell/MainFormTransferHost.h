#pragma once

#include "queue/TransferPorts.h"

namespace Velmora {

class BrowserController;

// The transfer builders' view of the main window: the two file grids and the local path box.
class MainFormTransferHost : public TransferHost {
public:
    explicit MainFormTransferHost(BrowserController &browser);

    QList<SelectionLine> selectionLines(GridSide side) const override;
    void setLocalPathText(const QString &path) override;
    void restoreRememberedRow(GridSide side) override;
    void selectRowByName(GridSide side, const QString &name) override;
    void focusGrid(GridSide side) override;

private:
    BrowserController &m_browser;
};

} // namespace Velmora
