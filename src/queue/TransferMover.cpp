#include "TransferMover.h"

#include "LocalFileIdentity.h"

#include "app/ProtocolLog.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <utility>

namespace Velmora {

TransferMover::TransferMover(const Setup &setup, LogLine log, ExpectedSize expected)
    : m_setup(setup)
    , m_log(std::move(log))
    , m_expected(std::move(expected))
    , m_uploads(setup.journalFolder)
{
}

qint64 TransferMover::move(FtpClient &client, const TransferJob &job)
{
    m_correctedSize = -1;
    if (job.direction == TransferJob::Direction::Upload)
        upload(client, job);
    else
        download(client, job);
    return m_correctedSize;
}

void TransferMover::download(FtpClient &client, const TransferJob &job)
{
    client.setTransferType(FtpClient::TransferType::Binary);
    qint64 expected = job.expected;
    // Asked before switching to ASCII: many servers answer SIZE only in binary mode.
    if (!job.fromRecord)
        expected = client.size(job.remote);
    if (job.ascii)
        client.setTransferType(FtpClient::TransferType::Ascii);
    m_expected(expected);

    // The file is written under a temporary name and takes its own name only when it is whole:
    // a transfer that fails, ends short or a program that is killed half-way never leaves a
    // truncated file posing as complete, and an existing file being overwritten stays intact
    // until then. What a failed transfer received is removed with its temporary file, unless
    // the download can be continued (see resumableDownload).
    PartialDownload part(job.local);
    // A binary download of a big file from a server that restarts transfers can be continued
    // later, when the server still has the same file (same size and modification time).
    if (client.transferType() == FtpClient::TransferType::Binary && client.canResume()
        && (expected < 0 || expected >= ResumableBytes)) {
        PartialDownload::Origin now;
        now.site = m_setup.site;
        now.remote = job.remote;
        now.size = client.size(job.remote);
        now.modified = now.size >= ResumableBytes ? client.modificationTime(job.remote) : QDateTime();
        if (now.modified.isValid())
            return resumableDownload(client, job, expected, now);
    }
    const QString partial = part.partPath();
    part.discard(); // what an earlier, killed run left
    try {
        const FtpTransferResult moved = client.download(job.remote, partial);
        checkDownload(client, job.remote, moved, expected, job.fromRecord);
    } catch (const FtpError &) {
        QFile::remove(partial);
        throw;
    }
    takeRealName(partial, job.local);
}

void TransferMover::takeRealName(const QString &partial, const QString &localPath)
{
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(localPath).constData()) != 0) {
        QFile::remove(partial);
        throw FtpError(text(QStringLiteral("Cannot write the local file "),
                            QStringLiteral("Die lokale Datei kann nicht geschrieben werden: "))
                           + localPath,
                       FtpError::Kind::Local);
    }
}

void TransferMover::resumableDownload(FtpClient &client, const TransferJob &job, qint64 expected,
                                      const PartialDownload::Origin &now)
{
    PartialDownload part(job.local);
    const QString partial = part.partPath();
    qint64 offset = part.continuationOffset(now);
    // The same size and time prove little: "rsync -a", "cp -p" or tar put other bytes under the
    // old ones. What arrived is read back from the server before anything is added to it.
    if (offset > 0 && !serverStartsWith(client, job.remote, partial, offset)) {
        m_log(ProtocolEntry::Status, text(QStringLiteral("The file on the server is no longer the one the partial download "
                                                         "came from: the download starts over: "),
                                          QString::fromUtf8("Die Datei auf dem Server ist nicht mehr die, von der der "
                                                            "unvollständige Download stammt: das Herunterladen beginnt von vorn: "))
                                         + job.remote);
        offset = 0;
    }
    if (offset > 0) {
        m_log(ProtocolEntry::Command, text(QStringLiteral("Continuing the download at byte %1: "),
                                           QStringLiteral("Das Herunterladen wird bei Byte %1 fortgesetzt: "))
                                              .arg(offset)
                                          + job.remote);
    } else {
        offset = 0;
        if (!part.start(now))
            throw FtpError(text(QStringLiteral("Cannot write the local file "),
                                QStringLiteral("Die lokale Datei kann nicht geschrieben werden: "))
                               + partial,
                           FtpError::Kind::Local);
    }
    m_expected(now.size - offset);
    try {
        if (offset < now.size) {
            try {
                client.resumeDownload(job.remote, partial);
            } catch (const FtpError &error) {
                if (offset == 0 || !continuationRefused(error))
                    throw;
                m_log(ProtocolEntry::Status, text(QStringLiteral("The server refused to continue the download (%1): it starts over: "),
                                                  QStringLiteral("Der Server hat das Fortsetzen des Herunterladens abgelehnt (%1): "
                                                                 "es beginnt von vorn: "))
                                                     .arg(error.message())
                                                 + job.remote);
                if (!part.start(now))
                    throw FtpError(text(QStringLiteral("Cannot write the local file "),
                                        QStringLiteral("Die lokale Datei kann nicht geschrieben werden: "))
                                       + partial,
                                   FtpError::Kind::Local);
                offset = 0;
                m_expected(now.size);
                client.resumeDownload(job.remote, partial);
            }
        }
        // Whole means: the partial file has the size the server gave when the download began,
        // and the server still gives that size now (the file did not change under it).
        const qint64 received = part.partSize();
        const qint64 held = client.size(job.remote);
        if (received != now.size || held != now.size) {
            // A server may end a transfer early and still report success: what arrived is the
            // start of the file and stays. Bytes past its end, or a file that changed on the
            // server meanwhile, make what arrived no start of any file.
            if (received > now.size || held != now.size)
                part.discard();
            throw FtpError(text(QStringLiteral("Transfer incomplete: received %1 of %2 bytes: "),
                                QStringLiteral("Übertragung unvollständig: %1 von %2 Bytes empfangen: "))
                                   .arg(received)
                                   .arg(held >= 0 ? held : now.size)
                               + job.remote,
                           FtpError::Kind::Incomplete);
        }
    } catch (const FtpError &) {
        // What arrived stays for the next attempt, with its note; anything else goes.
        if (!part.worthKeeping(now))
            part.discard();
        throw;
    }
    if (job.fromRecord && expected != now.size)
        m_correctedSize = now.size;
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(job.local).constData()) != 0) {
        part.discard();
        throw FtpError(text(QStringLiteral("Cannot write the local file "),
                            QStringLiteral("Die lokale Datei kann nicht geschrieben werden: "))
                           + job.local,
                       FtpError::Kind::Local);
    }
    part.forgetNote();
}

void TransferMover::checkDownload(FtpClient &client, const QString &remote, const FtpTransferResult &moved,
                                  qint64 expected, bool fromRecord)
{
    // A server may close the data connection early and still report success: the byte count
    // decides. The size the server announced for this transfer comes first. In ASCII mode the
    // server sends CR LF for every line end, so the stream is at least as long as the file.
    const bool ascii = client.transferType() == FtpClient::TransferType::Ascii;
    const auto whole = [&](qint64 size) { return ascii ? moved.wireBytes >= size : moved.wireBytes == size; };
    qint64 wanted = moved.announcedBytes >= 0 ? moved.announcedBytes : expected;
    if (wanted < 0 || whole(wanted))
        return;
    if (moved.announcedBytes < 0 && fromRecord) {
        // The record's size comes from a listing that may be older than the file: the size the
        // server gives now decides (asked in binary mode, which every server answers).
        client.setTransferType(FtpClient::TransferType::Binary);
        const qint64 now = client.size(remote);
        if (now >= 0 && whole(now)) {
            m_correctedSize = now;
            return;
        }
        if (now >= 0)
            wanted = now;
    }
    throw FtpError(text(QStringLiteral("Transfer incomplete: received %1 of %2 bytes: "),
                        QStringLiteral("Übertragung unvollständig: %1 von %2 Bytes empfangen: "))
                           .arg(moved.wireBytes)
                           .arg(wanted)
                       + remote,
                   FtpError::Kind::Incomplete);
}

void TransferMover::upload(FtpClient &client, const TransferJob &job)
{
    client.setTransferType(job.ascii ? FtpClient::TransferType::Ascii : FtpClient::TransferType::Binary);
    m_expected(job.sourceSize);
    qint64 offset = uploadOffset(client, job);
    if (offset > 0) {
        m_log(ProtocolEntry::Command, text(QStringLiteral("Continuing the upload at byte %1: "),
                                           QStringLiteral("Das Hochladen wird bei Byte %1 fortgesetzt: "))
                                              .arg(offset)
                                          + job.remote);
        m_expected(job.sourceSize - offset);
    }
    // When the transfer fails, what the server holds now is this program's unfinished work:
    // the journal keeps it.
    FtpTransferResult moved;
    if (offset > 0) {
        try {
            moved = client.resumeUpload(job.local, job.remote, offset);
        } catch (const FtpError &error) {
            if (!continuationRefused(error))
                throw;
            // Many servers name REST STREAM and still refuse a restarted STOR (proftpd's
            // default, "451 Append/Restart not permitted"): the file is sent whole instead.
            m_log(ProtocolEntry::Status, text(QStringLiteral("The server refused to continue the upload (%1): it starts over: "),
                                              QStringLiteral("Der Server hat das Fortsetzen des Hochladens abgelehnt (%1): "
                                                             "es beginnt von vorn: "))
                                                 .arg(error.message())
                                             + job.remote);
            m_uploads.forget(m_setup.site, job.remote);
            m_expected(job.sourceSize);
            offset = 0;
            moved = client.upload(job.local, job.remote);
        }
    } else {
        moved = client.upload(job.local, job.remote);
    }
    m_uploads.forget(m_setup.site, job.remote);
    checkUpload(client, job, moved, offset);
}

bool TransferMover::continuationRefused(const FtpError &error)
{
    return error.kind() == FtpError::Kind::Refused;
}

bool TransferMover::serverStartsWith(FtpClient &client, const QString &remote, const QString &localPath, qint64 length)
{
    const qint64 stretch = qMin(length, UploadCheckBytes);
    QList<qint64> starts{length - stretch};
    if (length > stretch)
        starts.prepend(0);
    for (const qint64 from : std::as_const(starts)) {
        QByteArray bytes;
        try {
            bytes = client.readRange(remote, from, stretch);
        } catch (const FtpError &error) {
            if (error.kind() == FtpError::Kind::Connection || error.kind() == FtpError::Kind::Aborted)
                throw;
            return false;
        }
        if (bytes.size() != stretch || !localBytesEqual(localPath, from, bytes))
            return false;
    }
    return true;
}

qint64 TransferMover::uploadOffset(FtpClient &client, const TransferJob &job)
{
    if (client.transferType() != FtpClient::TransferType::Binary || !client.canResume() || job.sourceSize < ResumableBytes)
        return 0;
    const QString &remote = job.remote;
    const std::optional<UploadJournal::Entry> begun = m_uploads.find(m_setup.site, remote);
    const QString identity = LocalFileIdentity(job.local);
    if (begun && job.remoteExists && begun->local == job.local && begun->localSize == job.sourceSize
        && begun->localModified == job.sourceModified.toUTC() && !identity.isEmpty() && begun->localIdentity == identity) {
        // The upload was begun by this program from this very file, untouched since (its size
        // and time may be kept by whoever wrote it; its identity not). The server's copy is
        // taken for its unfinished work only when it changed since then (a copy the upload
        // never reached is still the old file) and is shorter, and its first and last bytes are
        // those of the local file at the same place (so nobody replaced it in the meantime).
        const qint64 held = client.size(remote);
        const QDateTime modified = held > 0 ? client.modificationTime(remote) : QDateTime();
        if (held > 0 && held < job.sourceSize && modified.isValid() && modified != begun->remoteBefore
            && serverStartsWith(client, remote, job.local, held))
            return held;
    }
    UploadJournal::Entry entry;
    entry.site = m_setup.site;
    entry.remote = remote;
    entry.local = job.local;
    entry.localSize = job.sourceSize;
    entry.localModified = job.sourceModified.toUTC();
    entry.remoteBefore = job.remoteExists ? client.modificationTime(remote) : QDateTime();
    entry.localIdentity = identity;
    m_uploads.remember(entry);
    return 0;
}

bool TransferMover::localBytesEqual(const QString &localPath, qint64 from, const QByteArray &bytes)
{
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return false;
    return file.read(bytes.size()) == bytes;
}

void TransferMover::checkUpload(FtpClient &client, const TransferJob &job, const FtpTransferResult &moved, qint64 offset)
{
    // What was sent is only the file the record meant when the file stayed as it was.
    const QFileInfo after(job.local);
    if (!after.exists() || after.size() != job.sourceSize || after.lastModified() != job.sourceModified
        || offset + moved.fileBytes != job.sourceSize)
        throw FtpError(text(QStringLiteral("The local file changed while it was sent: "),
                            QStringLiteral("Die lokale Datei wurde während des Sendens geändert: "))
                           + job.local,
                       FtpError::Kind::Incomplete);
    // In binary mode the server must hold every byte sent; a server without SIZE is taken at
    // its word.
    if (client.transferType() != FtpClient::TransferType::Binary)
        return;
    const qint64 held = client.size(job.remote);
    if (held >= 0 && held != offset + moved.wireBytes)
        throw FtpError(text(QStringLiteral("Transfer incomplete: the server holds %1 of %2 bytes: "),
                            QStringLiteral("Übertragung unvollständig: der Server hat %1 von %2 Bytes: "))
                               .arg(held)
                               .arg(offset + moved.wireBytes)
                           + job.remote,
                       FtpError::Kind::Incomplete);
}

} // namespace Velmora
