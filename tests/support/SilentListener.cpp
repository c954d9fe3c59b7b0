#include "SilentListener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace Velmora::Testing {

SilentListener::SilentListener()
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    if (m_listener < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 || ::listen(m_listener, 0) != 0
        || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return;
    // A backlog of 0 holds one connection; a few more make sure the queue is full, whatever the
    // kernel rounds it to. They connect without blocking and are never accepted.
    for (int i = 0; i < 4; ++i) {
        const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
        if (filler < 0)
            continue;
        ::fcntl(filler, F_SETFL, ::fcntl(filler, F_GETFL) | O_NONBLOCK);
        ::connect(filler, reinterpret_cast<sockaddr *>(&address), sizeof(address));
        m_fillers.push_back(filler);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the handshakes of the fillers end
    m_port = ntohs(address.sin_port);
}

SilentListener::~SilentListener()
{
    for (int filler : m_fillers)
        ::close(filler);
    if (m_listener >= 0)
        ::close(m_listener);
}

} // namespace Velmora::Testing
