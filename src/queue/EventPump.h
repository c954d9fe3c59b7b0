#pragma once

#include <QElapsedTimer>

namespace Velmora {

// Processes pending window messages between the records of a queue run. Handling them after
// every record would repaint the main window hundreds of times a second on a queue of quick
// local records and make the window the bottleneck; handling them once 50 ms have passed
// (twenty times a second) keeps Abort, Pause and the timers responsive to the user and costs
// the same for every record.
class EventPump {
public:
    static constexpr int IntervalMs = 50;

    // Processes pending messages when IntervalMs have passed since the last time.
    void pump();
    // Processes them now.
    void force();

private:
    QElapsedTimer m_last;
};

} // namespace Velmora
