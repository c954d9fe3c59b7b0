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


namespace Velmora {

RecordExecutor::RecordExecutor(AppContext &context, MasterFTP &ftp, OverwritePolicy &policy, TrafficMonitor &traffic,
                               EventPump &pump)
    : m_context(context)
    , m_ftp(ftp)
    , m_policy(policy)
    , m_traffic(traffic)
    , m_pump(pump)
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
    m_lastFailure.clear();
    if (!isConnected()) {
        // Nothing was tried; the row stays, and the protocol says why.
        reportFailure(record, text(QStringLiteral("Not connected."), QStringLiteral("Nicht verbunden.")));
        return false;
    }
    if (argument1.contains(BackupIndexName) || argument2.contains(BackupIndexName))
        return true;

    bool result = true;
    m_connectionLost = false;
    m_recordAborted = false;
    m_correctedSize = -1;
    try {
        switch (record.command) {
        case QueueCommand::Stor:
        case QueueCommand::Retr:
            if (const std::optional<TransferJob> job = prepareTransfer(record))
                moveOnEngine(*job);
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
            m_lastFailure = QStringLiteral("Command unknown: ")
                            + RecordText::printable(record.word() + u' ' + argument1 + u' ' + argument2).trimmed();
            log(ProtocolEntry::Error, m_lastFailure);
            m_context.prompts.error(text(QStringLiteral("Command unknown!"), QStringLiteral("Befehl unbekannt!")));
            result = false;
            break;
        }
    } catch (const FtpError &error) {
        result = false;
        m_connectionLost = error.kind() == FtpError::Kind::Connection;
        reportFailure(record, error.message());
    }
    m_pump.pump();
    // A question left with "Abort" transferred nothing: the record is not done and its row stays.
    return result && !m_recordAborted;
}

void RecordExecutor::reportFailure(const QueueRecord &record, const QString &message)
{
    m_lastFailure = failureText(record, ReplaceAll(message, QStringLiteral("Die Verbindung wurde erfolgreich geschlossen"),
                                                   QStringLiteral("Start disconnect")));
    log(ProtocolEntry::Error, m_lastFailure);
}

QString RecordExecutor::failureText(const QueueRecord &record, const QString &reason)
{
    // The file the user knows the row by: the remote file of a download, the local file of an
    // upload, the path of every other command.
    const QString &file = record.source;
    if (file.isEmpty() || reason.contains(file) || (!record.target.isEmpty() && reason.contains(record.target)))
        return reason;
    return file + QStringLiteral(": ") + reason;
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

std::optional<TransferJob> RecordExecutor::prepareTransfer(const QueueRecord &record)
{
    m_recordAborted = false;
    TransferJob job;
    if (record.command == QueueCommand::Stor) {
        job.direction = TransferJob::Direction::Upload;
        job.local = record.source;
        job.remote = NormaliseRemotePath(record.target);
    } else {
        job.remote = NormaliseRemotePath(record.source);
        job.local = record.target;
    }
    const bool upload = job.direction == TransferJob::Direction::Upload;
    // The file name becomes the engine's current item: status texts name it.
    const QString named = upload ? job.local : job.remote;
    ftp().setCurrentItem(AsciiRuleFileName(named));
    job.ascii = IsAsciiFile(named) && !isByteCopy(job.local);

    if (upload) {
        const QFileInfo source(job.local);
        if (!source.exists()) // nothing was sent: the record is not done
            throw FtpError(QStringLiteral("File not exists: ") + job.local, FtpError::Kind::Local);
        job.sourceSize = source.size();
        job.sourceModified = source.lastModified();
        m_traffic.setExpectedSize(job.sourceSize);
        if (m_remote.exists(ftp(), job.remote) && !decideOverwrite(job.remote))
            return std::nullopt;
        log(ProtocolEntry::Command, QStringLiteral("STOR ") + job.local + u' ' + job.remote);
        job.remoteExists = m_remote.exists(ftp(), job.remote);
        return job;
    }
    bool isNumber = false;
    const qint64 size = record.size.toLongLong(&isNumber);
    job.fromRecord = isNumber && size >= 0;
    job.expected = job.fromRecord ? size : -1;
    m_traffic.setExpectedSize(job.expected);
    const QFileInfo target(job.local);
    if (target.exists() || target.isSymLink()) {
        if (!decideOverwrite(job.local))
            return std::nullopt;
        log(ProtocolEntry::Command, QStringLiteral("RETR ") + job.remote + u' ' + job.local);
    }
    return job;
}

TransferMover::Setup RecordExecutor::moverSetup() const
{
    TransferMover::Setup setup;
    setup.journalFolder = m_context.folders.appDataFile(QStringLiteral("unfinished-uploads/"));
    setup.site = site();
    setup.german = m_context.language.isGerman();
    return setup;
}

void RecordExecutor::moveOnEngine(const TransferJob &job)
{
    m_traffic.startTimer();
    TransferMover mover(
        moverSetup(), [this](int kind, const QString &line) { log(kind, line); },
        [this](qint64 size) { m_traffic.setExpectedSize(size); });
    try {
        m_correctedSize = mover.move(ftp().client(), job);
    } catch (const FtpError &) {
        transferEnded(job, false);
        throw;
    }
    transferEnded(job, true);
}

void RecordExecutor::transferEnded(const TransferJob &job, bool ok)
{
    if (job.direction != TransferJob::Direction::Upload)
        return;
    // A failed upload may have left a part of the file on the server: the folder is read again
    // when it is needed.
    if (ok)
        m_remote.added(job.remote);
    else
        m_remote.forgetFolderOf(job.remote);
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
