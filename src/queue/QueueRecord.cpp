#include "QueueRecord.h"

#include "common/Word.h"

#include <QSet>

namespace Velmora {

CollectedFile CollectedFile::parse(const QString &text)
{
    const qsizetype cut = text.indexOf(QueueRecord::CollectedFileSeparator);
    if (cut < 0)
        return {text, {}};
    return {text.left(cut), text.mid(cut + 1)};
}

QueueRow RowFromRecord(const QString &record, const QString &nowText)
{
    const QueueRecord r = QueueRecord::parse(record);
    QueueRow row;
    row.source = r.source;
    row.cmd = r.word();
    row.destination = r.target;
    row.filesize = r.entrySize();
    if (row.filesize.isEmpty())
        row.filesize = QStringLiteral("0");
    row.date = r.date;
    if (row.date.isEmpty())
        row.date = nowText;
    return row;
}

QString LocalFileName(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString QueueRowProblem(const QueueRow &row)
{
    const bool transfer = row.cmd == u"RETR" || row.cmd == u"STOR";
    if (!transfer && row.cmd != u"DELE" && row.cmd != u"RMD")
        return {};
    const QStringList cells = transfer ? QStringList{row.source, row.destination, row.filesize, row.date}
                                       : QStringList{row.source};
    for (const QString &cell : cells) {
        if (cell.contains(RecordText::FieldSeparator))
            return QStringLiteral("contains a character that records cannot hold");
    }
    if (row.source.trimmed().isEmpty() || (transfer && row.destination.trimmed().isEmpty()))
        return QStringLiteral("has no path");
    if (!transfer)
        return {};
    const QString name = LocalFileName(row.cmd == u"RETR" ? row.destination : row.source).trimmed();
    if (name.isEmpty())
        return QStringLiteral("names a folder, not a file");
    return RecordText::nameProblem(name);
}

QString RowNotRunProblem(const QueueRow &row)
{
    if (row.cmd == u"MKD" || row.cmd == u"MKLOCALDIR")
        return {};
    if (const QString problem = QueueRowProblem(row); !problem.isEmpty())
        return problem;
    if (row.cmd == u"RETR" || row.cmd == u"STOR" || row.cmd == u"DELE" || row.cmd == u"RMD")
        return {};
    return row.cmd.trimmed().isEmpty() ? QStringLiteral("has no command")
                                       : QStringLiteral("has a command the queue cannot run");
}

QString RowText(const QueueRow &row)
{
    return RecordText::printable(row.cmd + u' ' + row.source + u' ' + row.destination).trimmed();
}

QString RowNotRunText(const QueueRow &row, const QString &problem)
{
    return QStringLiteral("Not done: the queue row ") + RowText(row) + u' ' + problem + QStringLiteral(". It stays in the queue.");
}

std::optional<QString> RecordFromRow(const QueueRow &row)
{
    if (!QueueRowProblem(row).isEmpty())
        return std::nullopt;
    const QueueCommand command = QueueRecord::commandOf(row.cmd);
    if (command == QueueCommand::Retr || command == QueueCommand::Stor) {
        const QString name = LocalFileName(command == QueueCommand::Retr ? row.destination : row.source);
        return QueueRecord(command, row.source, row.destination, QueueRecord::fileEntry(name, row.filesize, row.date)).format();
    }
    if (command == QueueCommand::Dele || command == QueueCommand::Rmd)
        return QueueRecord(command, row.source).format();
    return std::nullopt;
}

QStringList RemoveDuplicates(const QStringList &lines)
{
    QStringList result;
    result.reserve(lines.size());
    QSet<QString> seen;
    seen.reserve(lines.size());
    for (const QString &line : lines) {
        if (!seen.contains(line)) {
            seen.insert(line);
            result.append(line);
        }
    }
    return result;
}

QStringList DeriveMkdRecords(const QStringList &records, const QString &serverPathBox)
{
    const QStringList box = Words(serverPathBox, u"/");
    QStringList found;
    for (const QString &record : records) {
        const QueueRecord r = QueueRecord::parse(record);
        // Only uploads need remote folders; local destinations use "/" on this system too.
        if (r.command != QueueCommand::Stor)
            continue;
        const QStringList words = Words(r.target, u"/");
        QString prefix;
        QString boxPrefix;
        for (qsizetype k = 0; k + 1 < words.size(); ++k) {
            prefix += u'/' + words[k];
            boxPrefix += u'/' + (k < box.size() ? box[k] : QString());
            if (prefix != boxPrefix)
                found.append(QueueRecord(QueueCommand::Mkd, prefix).format());
        }
    }
    return RemoveDuplicates(found);
}

QStringList LocalFoldersToCreate(const QStringList &records)
{
    QStringList folders;
    for (const QString &record : records) {
        const QueueRecord r = QueueRecord::parse(record);
        if (r.command != QueueCommand::Retr)
            continue;
        const QString &destination = r.target;
        const QStringList words = Words(destination, u"/");
        QString folder = destination.startsWith(u'/') ? QStringLiteral("/") : QString();
        for (qsizetype k = 0; k + 1 < words.size(); ++k) {
            folder += words[k] + u'/';
            folders.append(folder);
        }
    }
    return RemoveDuplicates(folders);
}

} // namespace Velmora
