#pragma once

class QWidget;

namespace Velmora {

// Brings a window in front of the others where the platform stacks windows. Platforms without
// windows on a screen (offscreen, as batch jobs from cron run, and minimal) cannot: Qt would
// write "This plugin does not support raise()" to standard error on every call.
class WindowFront {
public:
    static void raise(QWidget &window);
    static bool platformStacksWindows();
};

} // namespace Velmora
