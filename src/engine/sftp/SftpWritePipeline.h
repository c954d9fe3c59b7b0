#pragma once

#include <libssh/libssh.h>
#include <libssh/sftp.h>

#include <QByteArray>
#include <QString>

namespace Velmora {

// Writes a file's pieces with several write requests on their way at once, so an upload does
// not wait one round trip per piece (libssh's own writes wait for each answer). It speaks on
// the SFTP channel directly, between libssh's own requests: every answer it causes it reads
// itself before it returns, so the channel is left as libssh expects it.
class SftpWritePipeline {
public:
    SftpWritePipeline(sftp_file file, int timeoutMs);

    // Where the next piece goes, at most 'capacity' bytes: the caller reads it in there, so the
    // request's header and its data leave in one channel write (one SSH packet for a small
    // piece) without copying the data.
    char *pieceBuffer(qint64 capacity);
    // Sends the piece in pieceBuffer() (its first 'size' bytes) for this offset, first taking
    // answers while too many are on their way. False once a write failed or the connection was
    // lost (see failure()).
    bool send(quint64 offset, qint64 size);
    // Takes every answer still on its way; false when a write failed.
    bool finish();

    // The server's status text of the first failed write, or how the connection broke.
    QString failure() const { return m_failure; }
    bool connectionLost() const { return m_lost; }

    static constexpr int MaxInFlight = 16;

private:
    bool takeAnswer();
    bool readExactly(char *data, qint64 size);

    sftp_file m_file;
    ssh_channel m_channel;
    int m_timeoutMs;
    quint32 m_nextId = 0x80000000u; // far from libssh's own request numbers
    qint64 m_headerSize = 0;
    QByteArray m_request; // header, then the piece's data
    int m_inFlight = 0;
    bool m_lost = false;
    QString m_failure;
};

} // namespace Velmora
