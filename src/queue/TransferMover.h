#pragma once

#include "PartialDownload.h"
#include "TransferJob.h"
#include "UploadJournal.h"

#include "engine/ftp/FtpClient.h"

#include <QString>

#include <functional>

namespace Velmora {

// Moves the bytes of one download or upload on a given connection and makes sure the result is
// whole: downloads go to a partial file that takes the real name only when whole, big ones are
// continued where an earlier attempt stopped; uploads continue the server's unfinished copy
// when it is this program's work of the unchanged file. The queue's own connection and the
// extra connections of simultaneous transfers use it alike, each with its own mover on its own
// thread: it touches nothing but the client it is given, the local files of its job and the
// upload journal (one file per remote file, written whole or not at all, and the queue never
// runs two transfers of one remote file at once).
class TransferMover {
public:
    struct Setup {
        QString journalFolder; // the upload journal's folder
        QString site;          // "user@host:port" of the connection
        bool german = false;   // the language of the messages
    };
    // A line for the protocol (kind as ProtocolEntry's).
    using LogLine = std::function<void(int kind, const QString &text)>;
    // The number of bytes the transfer that starts now will move (-1: unknown).
    using ExpectedSize = std::function<void(qint64 size)>;

    TransferMover(const Setup &setup, LogLine log, ExpectedSize expected);

    // Carries the job out on the client; raises FtpError when the file did not arrive whole.
    // Returns the size the server gave for a downloaded file when it differed from the
    // record's (the file changed since it was listed), else -1.
    qint64 move(FtpClient &client, const TransferJob &job);

    // Transfers from this size on are continued after an interruption (when the server can);
    // smaller ones simply start again, which costs less than finding out.
    static constexpr qint64 ResumableBytes = 1024 * 1024;
    // The most of an unfinished remote file read back to make sure it is the start of the local
    // file before an upload continues it.
    static constexpr qint64 UploadCheckBytes = 64 * 1024;

private:
    void download(FtpClient &client, const TransferJob &job);
    void resumableDownload(FtpClient &client, const TransferJob &job, qint64 expected, const PartialDownload::Origin &now);
    void checkDownload(FtpClient &client, const QString &remote, const FtpTransferResult &moved, qint64 expected,
                       bool fromRecord);
    void upload(FtpClient &client, const TransferJob &job);
    // The offset an upload continues from: the size of the server's unfinished copy when it is
    // this program's unfinished work of the same, unchanged local file; else 0. Remembers the
    // upload as begun either way (when it may be continued at all).
    qint64 uploadOffset(FtpClient &client, const TransferJob &job);
    // Raise when the local file changed while it was sent, or the server holds another size.
    // offset: the bytes the server held before a continued upload.
    void checkUpload(FtpClient &client, const TransferJob &job, const FtpTransferResult &moved, qint64 offset);
    // The same bytes stand at [from, from + bytes.size()) of the local file.
    static bool localBytesEqual(const QString &localPath, qint64 from, const QByteArray &bytes);
    // Whether the server's file starts with the first length bytes of the local file, as far as
    // a stretch at either end of them shows (read back with REST). A server that cannot read
    // them back leaves a doubt, which counts as no; a lost connection raises.
    bool serverStartsWith(FtpClient &client, const QString &remote, const QString &localPath, qint64 length);
    // A refused continuation (REST, or the transfer command after it): the transfer starts over.
    static bool continuationRefused(const FtpError &error);
    // Renames the whole partial file to its real name; raises when that fails.
    void takeRealName(const QString &partial, const QString &localPath);
    QString text(const QString &english, const QString &german) const { return m_setup.german ? german : english; }

    Setup m_setup;
    LogLine m_log;
    ExpectedSize m_expected;
    UploadJournal m_uploads;
    qint64 m_correctedSize = -1;
};

} // namespace Velmora
