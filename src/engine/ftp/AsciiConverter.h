#pragma once

#include <QByteArray>

namespace Velmora {

// Line-end conversion of ASCII mode (TYPE A), applied chunk by chunk while data flows. On the
// network text travels with CR LF; locally lines end with LF. Downloads turn CR LF into LF (a CR
// without LF after it stays); uploads turn every LF without a CR before it into CR LF. So a text
// file downloaded and uploaded again arrives unchanged. Chunk borders may fall anywhere, also
// between CR and LF.
class AsciiConverter {
public:
    enum class Direction { ToLocal, ToNetwork };

    explicit AsciiConverter(Direction direction)
        : m_direction(direction)
    {
    }

    QByteArray convert(const QByteArray &chunk);
    // Whatever is held back at the end (a final CR of a download).
    QByteArray finish();

private:
    Direction m_direction;
    bool m_pendingCr = false; // ToLocal: the last chunk ended with CR
    bool m_lastWasCr = false; // ToNetwork: the last byte sent was CR
};

} // namespace Velmora
