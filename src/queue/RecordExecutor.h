#pragma once

#include "PartialDownload.h"
#include "RemoteListingCache.h"
#include "UploadJournal.h"

#include "app/CancelToken.h"
#include "common/QueueRecord.h"
#include "engine/ftp/FtpClient.h"

#include <QFileInfo>
#include <QString>

namespace Velmora {

class EventPump;
class MasterFTP;
class OverwritePolicy;
class OverwriteQuestion;
class TrafficMonitor;
struct AppContext;

// Carries out one queue command against the server and the local disk (ExecuteRecord), and the
// few single operations other parts of the program call directly.
class RecordExecutor {
public:
    RecordExecutor(AppContext &context, MasterFTP &ftp, OverwritePolicy &policy, TrafficMonitor &traffic, EventPump &pump);

    void setQuestion(OverwriteQuestion *question) { m_question = question; }
    OverwriteQuestion *question() const { return m_question; }

    // True when the command was carried out, skipped on purpose or counts as done; false when
    // the engine is not connected or an FTP or file error was raised (its message goes to the
    // protocol).
    bool ExecuteRecord(const QueueRecord &record);

    // Whether the remote folder exists: the current folder (PWD) is kept.
    bool RemoteDirExists(const QString &path);
    void RenameRemote(const QString &oldPath, const QString &newPath);
    void SiteChmod(const QString &mode, const QString &path);

    // The engine and its connection are up.
    bool isConnected() const;
    // The last failure lost the connection (the next record may reconnect first).
    bool lastFailureLostConnection() const { return m_connectionLost; }
    // The overwrite question was left with something other than OK during this run.
    bool questionAborted() const { return m_questionAborted; }
    // A new run: forgets the remote listings and the question's answer of the previous one.
    void startRun(const CancelToken &cancel);
    // The size the server gave for the file of the last record when it differed from the
    // record's (the file changed since it was listed), else -1.
    qint64 correctedSize() const { return m_correctedSize; }

    // The name a download is written to until it is whole.
    static QString partialName(const QString &localPath);
    // Transfers from this size on are continued after an interruption (when the server can);
    // smaller ones simply start again, which costs less than finding out.
    static constexpr qint64 ResumableBytes = 1024 * 1024;
    // The most of an unfinished remote file read back to make sure it is the start of the local
    // file before an upload continues it.
    static constexpr qint64 UploadCheckBytes = 64 * 1024;
    static inline const QString BackupIndexName = QStringLiteral("BACKUPINFO.VELMORA");

private:
    void stor(const QString &localPath, const QString &remote);
    void retr(const QString &remote, const QString &localPath, const QString &size);
    // expected: the size the record or the server gave (-1 when unknown); fromRecord: it is the
    // record's, which may be older than the file.
    void download(FtpClient &client, const QString &remote, const QString &localPath, qint64 expected, bool fromRecord);
    // A download that can be continued later: see download().
    void resumableDownload(FtpClient &client, const QString &remote, const QString &localPath, const PartialDownload::Origin &now,
                           bool fromRecord, qint64 expected);
    // The offset an upload continues from: the size of the server's unfinished copy when it is
    // this program's unfinished work of the same, unchanged local file; else 0. Remembers the
    // upload as begun either way (when it may be continued at all).
    qint64 uploadOffset(FtpClient &client, const QString &localPath, const QString &remote, const QFileInfo &source,
                        bool remoteExists);
    // The same bytes stand at [from, from + bytes.size()) of the local file.
    static bool localBytesEqual(const QString &localPath, qint64 from, const QByteArray &bytes);
    // "user@host:port" of the engine's connection.
    QString site() const;
    // Raise when the download is not whole: see download().
    void checkDownload(FtpClient &client, const QString &remote, const FtpTransferResult &moved, qint64 expected,
                       bool fromRecord);
    // Raise when the local file changed while it was sent, or the server holds another size.
    // offset: the bytes the server held before a continued upload.
    void checkUpload(FtpClient &client, const QString &localPath, const QString &remote, const FtpTransferResult &moved,
                     const QFileInfo &before, qint64 offset);
    // The overwrite decision for an existing target; true means overwrite.
    bool decideOverwrite(const QString &target);
    void setTransferType(const QString &path);
    bool isByteCopy(const QString &localPath) const;
    void log(int kind, const QString &text);
    QString text(const QString &english, const QString &german) const;
    MasterFTP &ftp() const { return m_ftp; }

    AppContext &m_context;
    MasterFTP &m_ftp;
    CancelToken m_cancel; // the run's: leaving the overwrite question with Abort cancels it
    OverwritePolicy &m_policy;
    TrafficMonitor &m_traffic;
    EventPump &m_pump;
    OverwriteQuestion *m_question = nullptr;
    RemoteListingCache m_remote;
    UploadJournal m_uploads;
    bool m_connectionLost = false;
    bool m_questionAborted = false;
    bool m_recordAborted = false;
    qint64 m_correctedSize = -1;
};

} // namespace Velmora
