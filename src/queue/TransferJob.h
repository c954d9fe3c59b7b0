#pragma once

#include "engine/ftp/FtpError.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

namespace Velmora {

// One download or upload as decided on the window thread (overwrite question, ASCII rule), ready
// to be carried out on any connection to the site.
struct TransferJob {
    enum class Direction { Download, Upload };
    Direction direction = Direction::Download;
    QString remote; // the normalised remote path
    QString local;
    bool ascii = false;
    // Download: the size the record gave (fromRecord) or -1, then asked of the server.
    qint64 expected = -1;
    bool fromRecord = false;
    // Upload: whether the remote file exists, and the local file as it was when it was chosen.
    bool remoteExists = false;
    qint64 sourceSize = -1;
    QDateTime sourceModified;
};

// How a transfer ended: ok, or the failure's kind and message. correctedSize is the size the
// server gave for a downloaded file when it differed from the record's, else -1.
struct TransferOutcome {
    bool ok = false;
    FtpError::Kind kind = FtpError::Kind::Connection;
    int replyCode = 0;
    QString error;
    qint64 correctedSize = -1;
    int session = 0; // the number of the session that carried it out
    // A failure that may well not happen again: a lost or timed-out connection (data or
    // control), a transfer that ended short, or a temporary refusal (4xx: 421, 425, 426, 450,
    // 451 ...).
    bool isTemporaryFailure() const
    {
        if (ok)
            return false;
        return kind == FtpError::Kind::Connection || kind == FtpError::Kind::Incomplete
               || (kind == FtpError::Kind::Refused && replyCode >= 400 && replyCode < 500);
    }
};

} // namespace Velmora

Q_DECLARE_METATYPE(Velmora::TransferJob)
Q_DECLARE_METATYPE(Velmora::TransferOutcome)
