#pragma once

#include <libssh/sftp.h>

#include <QByteArray>

#include <deque>

namespace Velmora {

// Reads a file with several read requests on their way at once, so the server's answers follow
// each other without a round trip between them. The answers come in the order asked; a short
// answer (less than asked, before the end) has its rest asked for again, so the pieces may
// arrive out of offset order and must be written where they belong.
class SftpReadPipeline {
public:
    // expectedSize (-1: unknown) keeps a small file from being asked for in many pieces: no
    // piece is asked for beyond it until the file proves longer, and the pieces end at it, with
    // one more read at it that finds the end of the file without another round trip.
    SftpReadPipeline(sftp_file file, quint32 pieceSize, int maxInFlight, qint64 expectedSize);

    struct Piece {
        quint64 offset = 0;
        int size = 0; // 0: nothing more to read
    };
    // The next answer; its bytes are in data(). False when a read failed (see libssh's error).
    bool next(Piece *piece);
    const char *data() const { return m_buffer.constData(); }
    // Takes the answers still on their way, so the connection can go on after an abort.
    void drain();

private:
    struct Read {
        int id;
        quint64 offset;
        quint32 length;
    };
    bool ask(quint64 offset, quint32 length);

    sftp_file m_file;
    quint32 m_pieceSize;
    size_t m_maxInFlight;
    std::deque<Read> m_inFlight;
    quint64 m_nextOffset = 0;
    bool m_endReached = false;
    quint64 m_askLimit; // no piece starts beyond this offset
    QByteArray m_buffer;
};

} // namespace Velmora
