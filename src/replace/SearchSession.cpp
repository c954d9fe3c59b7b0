#include "SearchSession.h"

#include "common/ByteShape.h"
#include "queue/LocalFolders.h"
#include "queue/QueueRecord.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Velmora {

namespace {

QString record(QueueCommand command, const QString &first, const QString &second, const QString &name,
               const SearchEntry &entry)
{
    return QueueRecord(command, first, second, QueueRecord::fileEntry(name, entry.size, entry.date)).format();
}

} // namespace


void SearchSession::rememberServerCopy(const QString &workingCopy, const QString &path)
{
    if (!m_serverCopies.contains(workingCopy))
        m_serverCopies.insert(workingCopy, path);
}

void SearchSession::reset()
{
    m_entries.clear();
    m_serverCopies.clear();
    backupFolders.clear();
    m_lastCommand = QueueCommand::None;
    m_localChanged = 0;
    action = Action::GoTo;
    mayClose = true;
    anyFileWritten = false;
    chosenRow = -1;
    chosenRemoteFile.clear();
    chosenLocalFile.clear();
}

void SearchSession::load(const QStringList &lines, const QString &localPathBox, const QString &downloadFolder)
{
    m_entries.clear();
    m_lastCommand = QueueCommand::None;
    for (const QString &line : lines) {
        const QueueRecord record = QueueRecord::parse(line);
        if (!line.trimmed().isEmpty())
            m_lastCommand = record.command;
        if (record.command != QueueCommand::Retr && record.command != QueueCommand::Stor)
            continue;
        SearchEntry entry;
        entry.command = record.command;
        entry.shownPath = record.source;
        entry.otherPath = record.target;
        entry.size = record.entrySize();
        entry.date = record.date;
        entry.workingCopyPath = WorkingCopyPath(localPath(entry), localPathBox, downloadFolder);
        if (!QFileInfo(entry.workingCopyPath).isFile())
            continue;
        // A binary file is listed as such from the start and not ticked: no operation takes it
        // unless the user ticks it himself.
        QFile copy(entry.workingCopyPath);
        entry.binary = copy.open(QIODevice::ReadOnly) && !ByteShape::IsEightBitText(copy.readAll());
        entry.selected = !entry.binary;
        m_entries.append(entry);
    }
}

QString SearchSession::localPath(const SearchEntry &entry)
{
    return entry.command == QueueCommand::Retr ? entry.otherPath : entry.shownPath;
}

QString SearchSession::uploadRecord(const SearchEntry &entry)
{
    return record(QueueCommand::Stor, entry.workingCopyPath, entry.shownPath, LocalFileName(localPath(entry)), entry);
}

QString SearchSession::transferRecord(const SearchEntry &entry)
{
    const bool download = entry.command == QueueCommand::Retr;
    return record(entry.command, entry.shownPath, entry.otherPath,
                  LocalFileName(download ? entry.otherPath : entry.shownPath), entry);
}

void SearchSession::clearMarks()
{
    for (SearchEntry &entry : m_entries)
        entry.hitMark = 0;
}

QList<int> SearchSession::changedRows() const
{
    QList<int> rows;
    for (int row = 0; row < m_entries.size(); ++row) {
        if (m_entries.at(row).selected && m_entries.at(row).hitMark == 1)
            rows.append(row);
    }
    return rows;
}

int SearchSession::queueUpload(const SearchEntry &entry)
{
    m_transfers.append(uploadRecord(entry));
    m_transfers = RemoveDuplicates(m_transfers);
    return int(m_transfers.size());
}

int SearchSession::queueUploads()
{
    for (int row : changedRows())
        m_transfers.append(uploadRecord(m_entries.at(row)));
    m_transfers = RemoveDuplicates(m_transfers);
    return int(m_transfers.size());
}

int SearchSession::copyBack(const SearchEntry &entry)
{
    // Written whole or not at all (the local file keeps its permissions); a failure is not
    // reported, the counter still grows.
    QFile source(entry.workingCopyPath);
    if (source.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = source.readAll();
        QSaveFile target(entry.shownPath);
        if (source.error() == QFileDevice::NoError && target.open(QIODevice::WriteOnly)) {
            target.write(bytes);
            if (target.commit()) {
                QFile stamped(entry.shownPath);
                if (stamped.open(QIODevice::ReadWrite))
                    stamped.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
            }
        }
    }
    return ++m_localChanged;
}

int SearchSession::copyBack()
{
    for (int row : changedRows())
        copyBack(m_entries.at(row));
    return m_localChanged;
}

void SearchSession::queueTransfers()
{
    m_transfers.clear();
    for (int row : changedRows())
        m_transfers.append(transferRecord(m_entries.at(row)));
}

} // namespace Velmora
