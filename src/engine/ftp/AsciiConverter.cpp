#include "AsciiConverter.h"

namespace Velmora {

QByteArray AsciiConverter::convert(const QByteArray &chunk)
{
    QByteArray out;
    if (m_direction == Direction::ToLocal) {
        out.reserve(chunk.size() + 1);
        for (const char c : chunk) {
            if (m_pendingCr) {
                m_pendingCr = false;
                if (c == '\n') {
                    out += '\n';
                    continue;
                }
                out += '\r';
            }
            if (c == '\r')
                m_pendingCr = true;
            else
                out += c;
        }
        return out;
    }
    out.reserve(chunk.size() + chunk.size() / 16 + 1);
    for (const char c : chunk) {
        if (c == '\n' && !m_lastWasCr)
            out += '\r';
        out += c;
        m_lastWasCr = c == '\r';
    }
    return out;
}

QByteArray AsciiConverter::finish()
{
    if (m_direction == Direction::ToLocal && m_pendingCr) {
        m_pendingCr = false;
        return QByteArray(1, '\r');
    }
    return {};
}

} // namespace Velmora
