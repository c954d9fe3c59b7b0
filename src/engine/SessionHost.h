#pragma once

#include <QString>

namespace Velmora {

// What the FTP session needs of the main window: its idle state, emptying the queue grid and the
// server grid, the two path boxes (read and written by the login file) and the busy pointer.
class SessionHost {
public:
    virtual ~SessionHost() = default;

    virtual void setIdleState() = 0;
    virtual void clearQueueGrid() = 0;
    // Empties the server grid and resets its header state.
    virtual void clearServerGrid() = 0;
    virtual QString localPathText() const = 0;
    virtual QString serverPathText() const = 0;
    virtual void setLocalPathText(const QString &text) = 0;
    virtual void setServerPathText(const QString &text) = 0;
    // The hourglass while a connection is made or ended.
    virtual void setBusyCursor(bool busy) = 0;
};

} // namespace Velmora
