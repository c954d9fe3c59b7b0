#pragma once

namespace Velmora {

// What the file panes need of the main window: its busy and idle states around a change of the
// server folder or a file command on the server, and an empty queue grid whenever the server
// folder changes.
class BrowserHost {
public:
    virtual ~BrowserHost() = default;

    virtual void setBusyState() = 0;
    virtual void setIdleState() = 0;
    virtual void clearQueueGrid() = 0;
};

} // namespace Velmora
