#include "QueueRecord.h"

#include "common/Word.h"

#include <QSet>

namespace Velmora {

namespace {

const QStringView Bar = u"|";

QStringView entrySeparator()
{
    static const QChar separator = QueueRecord::EntrySeparator;
    return QStringView(&separator, 1);
}

QString field(int n, QStringView text)
{
    return Word(n, text, Bar).trimmed();
}

} // namespace

QueueRecord QueueRecord::parse(const QString &record)
{
    QueueRecord r;
    const QString text = record.trimmed();
    if (text.contains(EntrySeparator)) {
        r.head = Word(1, text, entrySeparator()).trimmed();
        r.tail = Word(2, text, entrySeparator()).trimmed();
    } else {
        r.head = text;
    }
    r.command = field(1, r.head);
    r.argument1 = field(2, r.head);
    r.argument2 = field(3, r.head);
    if (r.command == u"RETR")
        r.size = r.tail.isEmpty() ? field(4, r.head) : field(3, r.tail);
    return r;
}

QueueRow RowFromRecord(const QString &record, const QString &nowText)
{
    const QString commandPart = Word(1, record, entrySeparator()).trimmed();
    const QString entryPart = Word(2, record, entrySeparator()).trimmed();
    QueueRow row;
    row.source = field(2, commandPart);
    row.cmd = field(1, commandPart);
    row.destination = field(3, commandPart);
    row.filesize = field(3, entryPart);
    if (row.filesize.isEmpty())
        row.filesize = QStringLiteral("0");
    row.date = field(4, entryPart);
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
    const QChar s = QueueRecord::EntrySeparator;
    if (row.cmd == u"RETR" || row.cmd == u"STOR") {
        const QString name = LocalFileName(row.cmd == u"RETR" ? row.destination : row.source);
        return row.cmd + u'|' + row.source + u'|' + row.destination + s + u"1|" + name + u'|' + row.filesize + u'|'
            + row.date;
    }
    if (row.cmd == u"DELE" || row.cmd == u"RMD")
        return row.cmd + u'|' + row.source;
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
        const QString commandPart = Word(1, record, entrySeparator()).trimmed();
        // Only uploads need remote folders; local destinations use "/" on this system too.
        if (field(1, commandPart) != u"STOR")
            continue;
        const QStringList words = Words(Word(3, commandPart, Bar).trimmed(), u"/");
        QString prefix;
        QString boxPrefix;
        for (qsizetype k = 0; k + 1 < words.size(); ++k) {
            prefix += u'/' + words[k];
            boxPrefix += u'/' + (k < box.size() ? box[k] : QString());
            if (prefix != boxPrefix)
                found.append(QStringLiteral("MKD|") + prefix);
        }
    }
    return RemoveDuplicates(found);
}

QStringList LocalFoldersToCreate(const QStringList &records)
{
    QStringList folders;
    for (const QString &record : records) {
        const QString commandPart = Word(1, record, entrySeparator()).trimmed();
        if (field(1, commandPart) != u"RETR")
            continue;
        const QString destination = Word(3, commandPart, Bar).trimmed();
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
