#include "BusyScope.h"

#include "QueueHost.h"

#include "app/WorkControl.h"

namespace Velmora {

BusyScope::BusyScope(QueueHost &window, WorkControl &work)
    : m_window(window)
{
    m_window.setBusyState();
    // A window without a busy state of its own (a test's, a batch job's) still starts new work.
    work.startWork();
    m_token = work.cancel;
}

BusyScope::~BusyScope()
{
    end();
}

void BusyScope::end()
{
    if (!m_active)
        return;
    m_active = false;
    m_window.setIdleState();
}

} // namespace Velmora
