#pragma once

#include <QtGlobal>

#include <vector>

namespace Velmora::Testing {

// A host that never answers: a socket on a free loopback port that listens but never accepts,
// its backlog filled by connections of its own, so the kernel drops every further SYN and a
// client's connect waits until its own time-out. Closed with the object.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;

    // 0 when the socket could not be set up.
    quint16 port() const { return m_port; }

private:
    int m_listener = -1;
    std::vector<int> m_fillers;
    quint16 m_port = 0;
};

} // namespace Velmora::Testing
