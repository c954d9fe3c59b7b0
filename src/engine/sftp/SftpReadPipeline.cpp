#include "SftpReadPipeline.h"

namespace Velmora {

SftpReadPipeline::SftpReadPipeline(sftp_file file, quint32 pieceSize, int maxInFlight, qint64 expectedSize)
    : m_file(file)
    , m_pieceSize(pieceSize)
    , m_maxInFlight(size_t(maxInFlight))
    , m_askLimit(expectedSize < 0 ? ~quint64(0) : quint64(expectedSize))
    , m_buffer(int(pieceSize), Qt::Uninitialized)
{
}

bool SftpReadPipeline::ask(quint64 offset, quint32 length)
{
    // libssh asks at the file's offset; it is set for each request, as answers move it too.
    sftp_seek64(m_file, offset);
    const int id = sftp_async_read_begin(m_file, length);
    if (id < 0)
        return false;
    m_inFlight.push_back({id, offset, length});
    return true;
}

bool SftpReadPipeline::next(Piece *piece)
{
    while (true) {
        while (!m_endReached && m_inFlight.size() < m_maxInFlight && m_nextOffset <= m_askLimit) {
            // Up to the expected end the pieces end there, so they come back whole; the one at
            // the end finds the end of the file in the same round trip (or that it grew).
            const quint32 length = m_nextOffset < m_askLimit ? quint32(qMin<quint64>(m_pieceSize, m_askLimit - m_nextOffset))
                                                             : m_pieceSize;
            if (!ask(m_nextOffset, length))
                return false;
            m_nextOffset += length;
        }
        if (m_inFlight.empty()) {
            *piece = {m_nextOffset, 0};
            return true;
        }
        const Read read = m_inFlight.front();
        m_inFlight.pop_front();
        const int received = sftp_async_read(m_file, m_buffer.data(), read.length, uint32_t(read.id));
        if (received < 0)
            return false;
        if (received == 0) { // the end of the file lies at or before this offset
            m_endReached = true;
            continue;
        }
        if (read.offset + quint32(received) > m_askLimit)
            m_askLimit = ~quint64(0); // longer than it was: read on to its end
        if (quint32(received) < read.length && !ask(read.offset + quint32(received), read.length - quint32(received)))
            return false;
        *piece = {read.offset, received};
        return true;
    }
}

void SftpReadPipeline::drain()
{
    while (!m_inFlight.empty()) {
        const Read read = m_inFlight.front();
        m_inFlight.pop_front();
        if (sftp_async_read(m_file, m_buffer.data(), read.length, uint32_t(read.id)) < 0)
            break;
    }
}

} // namespace Velmora
