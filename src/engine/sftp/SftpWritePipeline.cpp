#include "SftpWritePipeline.h"

#include <QtEndian>

#include <cstring>

namespace Velmora {

SftpWritePipeline::SftpWritePipeline(sftp_file file, int timeoutMs)
    : m_file(file)
    , m_channel(file->sftp->channel)
    , m_timeoutMs(timeoutMs)
{
}

char *SftpWritePipeline::pieceBuffer(qint64 capacity)
{
    // uint32 length, byte type, uint32 id, string handle, uint64 offset, string data
    m_headerSize = 4 + 1 + 4 + 4 + qint64(ssh_string_len(m_file->handle)) + 8 + 4;
    if (m_request.size() < m_headerSize + capacity)
        m_request.resize(m_headerSize + capacity);
    return m_request.data() + m_headerSize;
}

bool SftpWritePipeline::send(quint64 offset, qint64 size)
{
    if (m_lost || !m_failure.isEmpty())
        return false;
    while (m_inFlight >= MaxInFlight) {
        if (!takeAnswer())
            return false;
    }
    const auto handleLength = quint32(ssh_string_len(m_file->handle));
    char *header = m_request.data();
    qToBigEndian(quint32(m_headerSize - 4 + size), header);
    header[4] = char(SSH_FXP_WRITE);
    qToBigEndian(m_nextId++, header + 5);
    qToBigEndian(handleLength, header + 9);
    std::memcpy(header + 13, ssh_string_data(m_file->handle), handleLength);
    qToBigEndian(offset, header + 13 + handleLength);
    qToBigEndian(quint32(size), header + 21 + handleLength);
    const qint64 total = m_headerSize + size;
    if (ssh_channel_write(m_channel, m_request.constData(), uint32_t(total)) != total) {
        m_lost = true;
        m_failure = QString::fromUtf8(ssh_get_error(m_file->sftp->session));
        return false;
    }
    ++m_inFlight;
    return true;
}

bool SftpWritePipeline::finish()
{
    // A failed write still has answers on their way: they are taken, so the channel stays in
    // step for the requests that follow.
    while (m_inFlight > 0 && !m_lost)
        takeAnswer();
    return !m_lost && m_failure.isEmpty();
}

bool SftpWritePipeline::readExactly(char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const int read = ssh_channel_read_timeout(m_channel, data + done, uint32_t(size - done), 0, m_timeoutMs);
        if (read <= 0) {
            m_lost = true;
            const QString reason = QString::fromUtf8(ssh_get_error(m_file->sftp->session));
            m_failure = read == 0 && !ssh_channel_is_eof(m_channel) && ssh_channel_is_open(m_channel)
                            ? QStringLiteral("no answer from the server (timed out)")
                            : (reason.isEmpty() ? QStringLiteral("the connection was closed") : reason);
            return false;
        }
        done += read;
    }
    return true;
}

bool SftpWritePipeline::takeAnswer()
{
    char lengthBytes[4];
    if (!readExactly(lengthBytes, 4))
        return false;
    const quint32 length = qFromBigEndian<quint32>(lengthBytes);
    if (length < 9 || length > 256 * 1024) {
        m_lost = true;
        m_failure = QStringLiteral("the server's answer to a write is broken");
        return false;
    }
    QByteArray answer(int(length), Qt::Uninitialized);
    if (!readExactly(answer.data(), length))
        return false;
    --m_inFlight;
    // byte type, uint32 id, uint32 status code, string message, string language
    if (quint8(answer[0]) != SSH_FXP_STATUS) {
        m_lost = true;
        m_failure = QStringLiteral("the server answered a write with message %1").arg(quint8(answer[0]));
        return false;
    }
    const quint32 code = qFromBigEndian<quint32>(answer.constData() + 5);
    if (code == SSH_FX_OK)
        return true;
    if (m_failure.isEmpty()) {
        QString message;
        if (length >= 13) {
            const quint32 messageLength = qFromBigEndian<quint32>(answer.constData() + 9);
            if (13 + qint64(messageLength) <= length)
                message = QString::fromUtf8(answer.constData() + 13, int(messageLength));
        }
        m_failure = message.isEmpty() ? QStringLiteral("the server refused a write (status %1)").arg(code) : message;
    }
    return false;
}

} // namespace Velmora
