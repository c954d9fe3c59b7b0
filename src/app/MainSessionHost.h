#pragma once

#include "engine/SessionHost.h"

namespace Velmora {

class MainForm;

// The main window as the FTP session sees it: idle state, the two path boxes, emptying the
// queue and server grids, the busy pointer.
class MainSessionHost : public SessionHost {
public:
    explicit MainSessionHost(MainForm &main);

    void setIdleState() override;
    void clearQueueGrid() override;
    void clearServerGrid() override;
    QString localPathText() const override;
    QString serverPathText() const override;
    void setLocalPathText(const QString &text) override;
    void setServerPathText(const QString &text) override;
    void setBusyCursor(bool busy) override;

private:
    MainForm &m_main;
    bool m_cursorSet = false;
};

} // namespace Velmora
