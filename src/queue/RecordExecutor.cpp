#include "RecordExecutor.h"

#include "AsciiFileRule.h"
#include "EventPump.h"
#include "OverwritePolicy.h"
#include "OverwriteQuestion.h"
#include "TrafficMonitor.h"

#include "app/AppContext.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "common/Language.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"
#include "common/TextReplace.h"
#include "engine/ftp/FtpError.h"
#include "engine/MasterFTP.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace Velmora {

RecordExecutor::RecordExecutor(AppContext &context, MasterFTP &ftp, OverwritePolicy &policy, TrafficMonitor &traffic,
                               EventPump &pump)
    : m_context(context)
    , m_ftp(ftp)
    , m_policy(policy)
    , m_traffic(traffic)
    , m_pump(pump)
    , m_uploads(context.folders.appDataFile(QStringLiteral("unfinished-uploads/")))
{
}

QString RecordExecutor::site() const
{
    return m_ftp.user() + u'@' + m_ftp.host() + u':' + m_ftp.port();
}

bool RecordExecutor::isConnected() const
{
    return m_ftp.isConnected() && m_ftp.client().isConnected();
}

void RecordExecutor::startRun(const CancelToken &cancel)
{
    m_cancel = cancel;
    m_remote.clear();
    m_questionAborted = false;
    m_connectionLost = false;
}

void RecordExecutor::log(int kind, const QString &line)
{
    m_context.protocol.AddProtocolMessage(kind, line);
}

QString RecordExecutor::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

QString RecordExecutor::partialName(const QString &localPath)
{
    return PartialDownload::partName(localPath);
}

bool RecordExecutor::ExecuteRecord(const QueueRecord &record)
{
    const QString &argument1 = record.source;
    const QString &argument2 = record.target;
    if (!isConnected())
        return false;
    if (argument1.contains(BackupIndexName) || argument2.contains(BackupIndexName))
        return true;

    bool result = true;
    m_connectionLost = false;
    m_recordAborted = false;
    m_correctedSize = -1;
    try {
        switch (record.command) {
        case QueueCommand::Stor:
            stor(argument1, NormaliseRemotePath(argument2));
            break;
        case QueueCommand::Retr:
            retr(NormaliseRemotePath(argument1), argument2, record.size);
            break;
        case QueueCommand::Dele: {
            const QString path = NormaliseRemotePath(argument1);
            log(ProtocolEntry::Command, QStringLiteral("DELE ") + path);
            m_traffic.startTimer();
            ftp().client().deleteFile(path);
            m_remote.removed(path);
            break;
        }
        case QueueCommand::Mkd: {
            const QString path = NormaliseRemotePath(argument1);
            log(ProtocolEntry::Command, QStringLiteral("MKD ") + path);
            if (!RemoteDirExists(path)) {
                ftp().client().makeDirectory(path);
                m_remote.added(path);
            }
            break;
        }
        case QueueCommand::Rmd: {
            const QString path = NormaliseRemotePath(argument1);
            log(ProtocolEntry::Command, QStringLiteral("RMD ") + path);
            ftp().client().removeDirectory(path);
            m_remote.removed(path);
            break;
        }
        case QueueCommand::Cwd: {
            const QString path = NormaliseRemotePath(argument1);
            log(ProtocolEntry::Command, QStringLiteral("CWD ") + path);
            ftp().client().changeDirectory(path);
            break;
        }
        case QueueCommand::Chmod: {
            const QString path = NormaliseRemotePath(argument1);
            log(ProtocolEntry::Command, QStringLiteral("CHMOD ") + argument2 + u' ' + path);
            SiteChmod(argument2, path);
            break;
        }
        case QueueCommand::MkLocalDir: {
            const QString path = ToLocalPath(argument1);
            log(ProtocolEntry::Command, QStringLiteral("MKLOCALDIR ") + path);
            if (!QDir().mkpath(path))
                throw FtpError(text(QStringLiteral("Cannot create the local folder "),
                                    QStringLiteral("Der lokale Ordner kann nicht angelegt werden: "))
                                   + path,
                               FtpError::Kind::Local);
            break;
        }
        case QueueCommand::None:
        case QueueCommand::DelLoc:
        case QueueCommand::Other:
            log(ProtocolEntry::Error, QStringLiteral("Command unknown: ")
                    + RecordText::printable(record.word() + u' ' + argument1 + u' ' + argument2).trimmed());
            m_context.prompts.error(text(QStringLiteral("Command unknown!"), QStringLiteral("Befehl unbekannt!")));
            result = false;
            break;
        }
    } catch (const FtpError &error) {
        result = false;
        m_connectionLost = error.kind() == FtpError::Kind::Connection;
        log(ProtocolEntry::Error, ReplaceAll(error.message(), QStringLiteral("Die Verbindung wurde erfolgreich geschlossen"),
                                             QStringLiteral("Start disconnect")));
    }
    m_pump.pump();
    // A question left with "Abort" transferred nothing: the record is not done and its row stays.
    return result && !m_recordAborted;
}

void RecordExecutor::setTransferType(const QString &path)
{
    FtpClient &client = ftp().client();
    client.setTransferType(FtpClient::TransferType::Binary);
    // The file name becomes the engine's current item: status texts name it.
    ftp().setCurrentItem(AsciiRuleFileName(path));
    if (IsAsciiFile(path) && !isByteCopy(path))
        client.setTransferType(FtpClient::TransferType::Ascii);
}

bool RecordExecutor::isByteCopy(const QString &localPath) const
{
    // Search and replace's working copies ("download/") and its backups ("BACKUP001/" ...) are
    // byte copies of the server's files: what is restored is exactly what the server had.
    const QString temp = m_context.folders.tempFolder;
    if (temp.isEmpty() || !localPath.startsWith(temp))
        return false;
    const QString inside = localPath.mid(temp.size());
    return inside.startsWith(QStringLiteral("download/")) || inside.startsWith(QStringLiteral("BACKUP"));
}

void RecordExecutor::stor(const QString &localPath, const QString &remote)
{
    setTransferType(localPath);
    const QFileInfo source(localPath);
    if (!source.exists()) // nothing was sent: the record is not done
        throw FtpError(QStringLiteral("File not exists: ") + localPath, FtpError::Kind::Local);
    m_traffic.setExpectedSize(source.size());
    if (m_remote.exists(ftp(), remote) && !decideOverwrite(remote))
        return;
    log(ProtocolEntry::Command, QStringLiteral("STOR ") + localPath + u' ' + remote);
    FtpClient &client = ftp().client();
    const bool remoteExists = m_remote.exists(ftp(), remote);
    const qint64 offset = uploadOffset(client, localPath, remote, source, remoteExists);
    if (offset > 0) {
        log(ProtocolEntry::Command, text(QStringLiteral("Continuing the upload at byte %1: "),
                                         QStringLiteral("Das Hochladen wird bei Byte %1 fortgesetzt: "))
                                            .arg(offset)
                                        + remote);
        m_traffic.setExpectedSize(source.size() - offset);
    }
    m_traffic.startTimer();
    FtpTransferResult moved;
    try {
        moved = offset > 0 ? client.resumeUpload(localPath, remote, offset) : client.upload(localPath, remote);
    } catch (const FtpError &) {
        // What the server holds now is this program's unfinished work: the journal keeps it.
        m_remote.forgetFolderOf(remote);
        throw;
    }
    m_remote.added(remote);
    m_uploads.forget(site(), remote);
    checkUpload(client, localPath, remote, moved, source, offset);
}

qint64 RecordExecutor::uploadOffset(FtpClient &client, const QString &localPath, const QString &remote,
                                    const QFileInfo &source, bool remoteExists)
{
    if (client.transferType() != FtpClient::TransferType::Binary || !client.canResume() || source.size() < ResumableBytes)
        return 0;
    const QString where = site();
    const std::optional<UploadJournal::Entry> begun = m_uploads.find(where, remote);
    if (begun && remoteExists && begun->local == localPath && begun->localSize == source.size()
        && begun->localModified == source.lastModified().toUTC()) {
        // The upload was begun by this program from this very file. The server's copy is taken
        // for its unfinished work only when it changed since then (a copy the upload never
        // reached is still the old file) and is shorter, and its last bytes are those of the
        // local file at the same place (so nobody replaced it in the meantime).
        const qint64 held = client.size(remote);
        const QDateTime modified = held > 0 ? client.modificationTime(remote) : QDateTime();
        if (held > 0 && held < source.size() && modified.isValid() && modified != begun->remoteBefore) {
            const qint64 checked = qMin(held, UploadCheckBytes);
            QByteArray tail;
            try {
                tail = client.readFrom(remote, held - checked, checked);
            } catch (const FtpError &error) {
                if (error.kind() == FtpError::Kind::Connection || error.kind() == FtpError::Kind::Aborted)
                    throw;
            }
            if (tail.size() == checked && localBytesEqual(localPath, held - checked, tail))
                return held;
        }
    }
    UploadJournal::Entry entry;
    entry.site = where;
    entry.remote = remote;
    entry.local = localPath;
    entry.localSize = source.size();
    entry.localModified = source.lastModified().toUTC();
    entry.remoteBefore = remoteExists ? client.modificationTime(remote) : QDateTime();
    m_uploads.remember(entry);
    return 0;
}

bool RecordExecutor::localBytesEqual(const QString &localPath, qint64 from, const QByteArray &bytes)
{
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return false;
    return file.read(bytes.size()) == bytes;
}

void RecordExecutor::checkUpload(FtpClient &client, const QString &localPath, const QString &remote,
                                 const FtpTransferResult &moved, const QFileInfo &before, qint64 offset)
{
    // What was sent is only the file the record meant when the file stayed as it was.
    const QFileInfo after(localPath);
    if (!after.exists() || after.size() != before.size() || after.lastModified() != before.lastModified()
        || offset + moved.fileBytes != before.size())
        throw FtpError(text(QStringLiteral("The local file changed while it was sent: "),
                            QStringLiteral("Die lokale Datei wurde während des Sendens geändert: "))
                           + localPath,
                       FtpError::Kind::Incomplete);
    // In binary mode the server must hold every byte sent; a server without SIZE is taken at
    // its word.
    if (client.transferType() != FtpClient::TransferType::Binary)
        return;
    const qint64 held = client.size(remote);
    if (held >= 0 && held != offset + moved.wireBytes)
        throw FtpError(text(QStringLiteral("Transfer incomplete: the server holds %1 of %2 bytes: "),
                            QStringLiteral("Übertragung unvollständig: der Server hat %1 von %2 Bytes: "))
                               .arg(held)
                               .arg(offset + moved.wireBytes)
                           + remote,
                       FtpError::Kind::Incomplete);
}

void RecordExecutor::retr(const QString &remote, const QString &localPath, const QString &size)
{
    FtpClient &client = ftp().client();
    client.setTransferType(FtpClient::TransferType::Binary);
    ftp().setCurrentItem(AsciiRuleFileName(remote));
    bool isNumber = false;
    qint64 expected = size.toLongLong(&isNumber);
    const bool fromRecord = isNumber && expected >= 0;
    // Asked before switching to ASCII: many servers answer SIZE only in binary mode.
    if (!fromRecord)
        expected = client.size(remote);
    if (IsAsciiFile(remote) && !isByteCopy(localPath))
        client.setTransferType(FtpClient::TransferType::Ascii);
    m_traffic.setExpectedSize(expected);

    const QFileInfo target(localPath);
    if (target.exists() || target.isSymLink()) {
        if (!decideOverwrite(localPath))
            return;
        log(ProtocolEntry::Command, QStringLiteral("RETR ") + remote + u' ' + localPath);
    }
    m_traffic.startTimer();
    download(client, remote, localPath, expected, fromRecord);
}

void RecordExecutor::download(FtpClient &client, const QString &remote, const QString &localPath, qint64 expected,
                              bool fromRecord)
{
    // The file is written under a temporary name and takes its own name only when it is whole:
    // a transfer that fails, ends short or a program that is killed half-way never leaves a
    // truncated file posing as complete, and an existing file being overwritten stays intact
    // until then. What a failed transfer received is removed with its temporary file, unless
    // the download can be continued (see resumableDownload).
    PartialDownload part(localPath);
    // A binary download of a big file from a server that restarts transfers can be continued
    // later, when the server still has the same file (same size and modification time).
    if (client.transferType() == FtpClient::TransferType::Binary && client.canResume()
        && (expected < 0 || expected >= ResumableBytes)) {
        PartialDownload::Origin now;
        now.site = site();
        now.remote = remote;
        now.size = client.size(remote);
        now.modified = now.size >= ResumableBytes ? client.modificationTime(remote) : QDateTime();
        if (now.modified.isValid())
            return resumableDownload(client, remote, localPath, now, fromRecord, expected);
    }
    const QString partial = part.partPath();
    part.discard(); // what an earlier, killed run left
    try {
        const FtpTransferResult moved = client.download(remote, partial);
        checkDownload(client, remote, moved, expected, fromRecord);
    } catch (const FtpError &) {
        QFile::remove(partial);
        throw;
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(localPath).constData()) != 0) {
        QFile::remove(partial);
        throw FtpError(text(QStringLiteral("Cannot write the local file "),
                            QStringLiteral("Die lokale Datei kann nicht geschrieben werden: "))
                           + localPath,
                       FtpError::Kind::Local);
    }
}

void RecordExecutor::resumableDownload(FtpClient &client, const QString &remote, const QString &localPath,
                                       const PartialDownload::Origin &now, bool fromRecord, qint64 expected)
{
    PartialDownload part(localPath);
    const QString partial = part.partPath();
    qint64 offset = part.continuationOffset(now);
    if (offset > 0) {
        log(ProtocolEntry::Command, text(QStringLiteral("Continuing the download at byte %1: "),
                                         QStringLiteral("Das Herunterladen wird bei Byte %1 fortgesetzt: "))
                                            .arg(offset)
                                        + remote);
    } else {
        offset = 0;
        if (!part.start(now))
            throw FtpError(text(QStringLiteral("Cannot write the local file "),
                                QStringLiteral("Die lokale Datei kann nicht geschrieben werden: "))
                               + partial,
                           FtpError::Kind::Local);
    }
    m_traffic.setExpectedSize(now.size - offset);
    try {
        if (offset < now.size)
            client.resumeDownload(remote, partial);
        // Whole means: the partial file has the size the server gave when the download began,
        // and the server still gives that size now (the file did not change under it).
        const qint64 received = part.partSize();
        const qint64 held = client.size(remote);
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
                               + remote,
                           FtpError::Kind::Incomplete);
        }
    } catch (const FtpError &) {
        // What arrived stays for the next attempt, with its note; anything else goes.
        if (!part.worthKeeping(now))
            part.discard();
        throw;
    }
    if (fromRecord && expected != now.size)
        m_correctedSize = now.size;
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(localPath).constData()) != 0) {
        part.discard();
        throw FtpError(text(QStringLiteral("Cannot write the local file "),
                            QStringLiteral("Die lokale Datei kann nicht geschrieben werden: "))
                           + localPath,
                       FtpError::Kind::Local);
    }
    part.forgetNote();
}

void RecordExecutor::checkDownload(FtpClient &client, const QString &remote, const FtpTransferResult &moved,
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

bool RecordExecutor::decideOverwrite(const QString &target)
{
    if (m_policy.questionNeeded()) {
        const bool ok = m_question && m_question->askOverwrite(target, m_policy);
        if (!ok) {
            m_cancel.cancel();
            m_questionAborted = true;
            m_recordAborted = true;
            return false;
        }
        ftp().EnsureConnected(); // the question may have been open for long
        return m_policy.action != OverwritePolicy::Action::Skip;
    }
    return m_policy.overwriteWithoutQuestion();
}

bool RecordExecutor::RemoteDirExists(const QString &path)
{
    MasterFTP &engine = ftp();
    engine.EnsureConnected();
    FtpClient &client = engine.client();
    QString previous;
    try {
        previous = client.currentDirectory();
    } catch (const FtpError &) {
    }
    bool exists = true;
    if (!previous.isEmpty() && previous != path) {
        try {
            client.changeDirectory(path);
        } catch (const FtpError &) {
            exists = false;
        }
    }
    if (!previous.isEmpty()) {
        try {
            client.changeDirectory(previous);
        } catch (const FtpError &) {
        }
    }
    return exists;
}

void RecordExecutor::RenameRemote(const QString &oldPath, const QString &newPath)
{
    m_ftp.EnsureConnected();
    try {
        m_ftp.client().rename(oldPath, newPath);
        log(ProtocolEntry::Command, QStringLiteral("Rename ") + oldPath + u' ' + newPath);
    } catch (const FtpError &error) {
        log(ProtocolEntry::Error, error.message());
    }
}

void RecordExecutor::SiteChmod(const QString &mode, const QString &path)
{
    ftp().EnsureConnected();
    ftp().client().site(QStringLiteral("CHMOD ") + mode + u' ' + path);
}

} // namespace Velmora
