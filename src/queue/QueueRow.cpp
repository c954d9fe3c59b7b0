#include "QueueRow.h"

#include "common/TextReplace.h"
#include "common/Word.h"

namespace Velmora {

QString QueueRow::toLine() const
{
    const QChar s = Separator;
    return source + s + cmd + s + destination + s + filesize + s + date;
}

QueueRow QueueRow::fromLine(const QString &line)
{
    static const QString doubled = QString(Separator) + Separator;
    static const QString repaired = QString(Separator) + u' ' + Separator;
    QString text = line;
    // One pass turns "§§§" into "§ §§"; sixteen passes repair runs of up to seventeen. Passes
    // that find nothing change nothing, so stopping early gives the same text.
    for (int pass = 0; pass < 16 && text.contains(doubled); ++pass)
        text = ReplaceAll(text, doubled, repaired);

    const QStringList cells = Words(text, QStringView(&Separator, 1));
    QueueRow row;
    QString *targets[5] = {&row.source, &row.cmd, &row.destination, &row.filesize, &row.date};
    for (qsizetype i = 0; i < 5 && i < cells.size(); ++i)
        *targets[i] = cells[i];
    return row;
}

bool QueueRow::isBlankLine(QStringView line)
{
    for (QChar c : line) {
        if (c != u' ' && c != u'\t')
            return false;
    }
    return true;
}

qint64 QueueRow::sizeBytes() const
{
    QString digits = filesize.trimmed();
    digits.remove(u'.');
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok ? value : 0;
}

} // namespace Velmora
