#pragma once

#include "PartialDownload.h"
#include "RemoteListingCache.h"
#include "TransferJob.h"
#include "TransferMover.h"

#include "app/CancelToken.h"
#include "common/QueueRecord.h"
#include "engine/ftp/FtpClient.h"

#include <QFileInfo>
#include <QString>

#include <optional>

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

    // The part of a download or upload that belongs to the window thread: the ASCII rule, the
    // overwrite decision (the question, one at a time) and the protocol line. Nothing when the
    // record is skipped or the question was left with Abort; raises FtpError when the local
    // file to send does not exist.
    std::optional<TransferJob> prepareTransfer(const QueueRecord &record);
    // After the bytes of a prepared transfer moved (ok) or failed: the remote listings follow.
    void transferEnded(const TransferJob &job, bool ok);
    // Writes the failure of a record to the protocol, naming the record's file when the message
    // does not, and remembers the line (lastFailure).
    void reportFailure(const QueueRecord &record, const QString &message);
    // The protocol line of the last record that failed.
    QString lastFailure() const { return m_lastFailure; }
    // "<file>: <reason>", unless the reason names the file already.
    static QString failureText(const QueueRecord &record, const QString &reason);
    // How the queue's connections move bytes (the journal, the site, the language).
    TransferMover::Setup moverSetup() const;
    // The record just carried out was a transfer the question left with Abort.
    bool recordAborted() const { return m_recordAborted; }

    // The name a download is written to until it is whole.
    static QString partialName(const QString &localPath);
    // Transfers from this size on are continued after an interruption (when the server can);
    // smaller ones simply start again, which costs less than finding out.
    static constexpr qint64 ResumableBytes = TransferMover::ResumableBytes;
    // The most of an unfinished remote file read back to make sure it is the start of the local
    // file before an upload continues it.
    static constexpr qint64 UploadCheckBytes = TransferMover::UploadCheckBytes;
    static inline const QString BackupIndexName = QStringLiteral("BACKUPINFO.VELMORA");

private:
    // Carries a prepared transfer out on the engine's own connection.
    void moveOnEngine(const TransferJob &job);
    // "user@host:port" of the engine's connection.
    QString site() const;
    // The overwrite decision for an existing target; true means overwrite.
    bool decideOverwrite(const QString &target);
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
    bool m_connectionLost = false;
    bool m_questionAborted = false;
    bool m_recordAborted = false;
    qint64 m_correctedSize = -1;
    QString m_lastFailure;
};

} // namespace Velmora
