#pragma once

#include "app/CancelToken.h"

namespace Velmora {

class QueueHost;
struct WorkControl;

// The busy state of one piece of work: while the scope lives the window shows the hourglass and
// locks its controls, and the work has a cancel token of its own that Abort and Pause act on.
// The window is idle again when the scope ends, whichever way the work ends (a return half
// way, a refused step, an exception).
class BusyScope {
public:
    BusyScope(QueueHost &window, WorkControl &work);
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    const CancelToken &token() const { return m_token; }
    // Idle now, where the work wants it before its last steps (listings, the remembered row);
    // the scope's end then does nothing more.
    void end();
    bool isActive() const { return m_active; }

private:
    QueueHost &m_window;
    CancelToken m_token;
    bool m_active = true;
};

} // namespace Velmora
