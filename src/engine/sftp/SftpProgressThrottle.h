#pragma once

#include "SftpEvents.h"

#include <QElapsedTimer>

namespace Velmora {

// Reports a transfer's begin and end, and its progress at most every IntervalMs (always the
// first and the last figure).
class SftpProgressThrottle {
public:
    static constexpr int IntervalMs = 40;

    SftpProgressThrottle(SftpEvents &events, SftpClient::Direction direction, qint64 expected)
        : m_events(events)
        , m_direction(direction)
    {
        m_events.reportWorkBegin(direction, expected);
    }
    ~SftpProgressThrottle()
    {
        if (m_reported != m_bytes)
            m_events.reportWork(m_direction, m_bytes);
        m_events.reportWorkEnd(m_direction);
    }
    SftpProgressThrottle(const SftpProgressThrottle &) = delete;
    SftpProgressThrottle &operator=(const SftpProgressThrottle &) = delete;

    void update(qint64 bytes)
    {
        m_bytes = bytes;
        if (m_timer.isValid() && m_timer.elapsed() < IntervalMs)
            return;
        m_timer.start();
        m_reported = bytes;
        m_events.reportWork(m_direction, bytes);
    }

private:
    SftpEvents &m_events;
    SftpClient::Direction m_direction;
    QElapsedTimer m_timer;
    qint64 m_bytes = 0;
    qint64 m_reported = -1;
};

} // namespace Velmora
