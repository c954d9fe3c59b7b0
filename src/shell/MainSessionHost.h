#pragma once

#include "engine/SessionHost.h"

namespace Velmora {

class BrowserController;
class MainForm;
class QueueController;

// The main window as the FTP session sees it: idle state, the two path boxes, emptying the
// queue and server grids, the busy pointer.
class MainSessionHost : public SessionHost {
public:
    MainSessionHost(MainForm &main, QueueController &queue, BrowserController &browser);

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
    QueueController &m_queue;
    BrowserController &m_browser;
    bool m_cursorSet = false;
};

} // namespace Velmora
