#include "EventPump.h"

#include <QCoreApplication>

namespace Velmora {

void EventPump::pump()
{
    if (m_last.isValid() && m_last.elapsed() < IntervalMs)
        return;
    force();
}

void EventPump::force()
{
    QCoreApplication::processEvents();
    m_last.start();
}

} // namespace Velmora
