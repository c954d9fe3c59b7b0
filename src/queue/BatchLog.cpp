#include "BatchLog.h"

#include "common/RemotePath.h"
#include "common/SizeText.h"
#include "common/TextCodec.h"
#include "common/Word.h"

#include <QFileInfo>

namespace Velmora {

BatchLog::BatchLog(QString path)
    : m_path(std::move(path))
{
}

QString BatchLog::lineFor(const QDateTime &start, const QDateTime &end, bool germanDates, const QString &queueFile,
                          const QString &mode, const QString &host, qint64 totalBytes, int files)
{
    const QFileInfo queue(queueFile);
    const QString time = QStringLiteral("hh:mm:ss");
    return start.toString(germanDates ? u"dd.MM.yyyy" : u"MM/dd/yyyy") + u'|' + start.toString(time) + u'|'
        + end.toString(time) + u'|' + IncludeTrailingBackslash(queue.absolutePath()) + u'|' + queue.fileName() + u'|'
        + mode + u'|' + host + u'|' + FormatSizeKB(QString::number(totalBytes)) + u'|' + QString::number(files);
}

bool BatchLog::append(const QString &line) const
{
    QStringList all = lines();
    all.append(line);
    return TextCodec::WriteLines(m_path, all);
}

QStringList BatchLog::lines() const
{
    return TextCodec::ReadLines(m_path);
}

bool BatchLog::clear() const
{
    return TextCodec::WriteLines(m_path, {});
}

QString BatchLog::exitStatusField(int exitStatus)
{
    return QStringLiteral("exit status ") + QString::number(exitStatus);
}

std::optional<int> BatchLog::exitStatusOf(const QString &line)
{
    const QString field = line.split(u'|').value(FieldCount).trimmed();
    const QString prefix = QStringLiteral("exit status ");
    if (!field.startsWith(prefix))
        return std::nullopt;
    bool ok = false;
    const int status = field.mid(prefix.size()).toInt(&ok);
    return ok ? std::optional<int>(status) : std::nullopt;
}

bool BatchLog::recordExitStatus(const QString &queueFile, const QString &mode, int exitStatus) const
{
    QStringList all = lines();
    while (!all.isEmpty() && all.last().trimmed().isEmpty())
        all.removeLast();
    if (all.isEmpty())
        return false;
    const QStringList fields = all.last().split(u'|');
    const QFileInfo queue(queueFile);
    if (fields.size() != FieldCount || fields[3] != IncludeTrailingBackslash(queue.absolutePath())
        || fields[4] != queue.fileName() || fields[5] != mode)
        return false;
    all.last() += u'|' + exitStatusField(exitStatus);
    return TextCodec::WriteLines(m_path, all);
}

QList<QStringList> BatchLog::viewerRows(const QStringList &lines)
{
    QList<QStringList> rows;
    rows.reserve(lines.size());
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        // The words of the nine specified fields only: the exit status after them never moves
        // into a column, even where an empty field shifts the words.
        const QString specified = line.section(u'|', 0, FieldCount - 1);
        QStringList row;
        for (int n = 1; n <= FieldCount; ++n)
            row.append(Word(n, specified, u"|"));
        rows.append(row);
    }
    return rows;
}

} // namespace Velmora
