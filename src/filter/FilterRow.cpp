#include "FilterRow.h"

#include "FilterMatching.h"
#include "common/ListingEntry.h"
#include "common/QueueRecord.h"
#include "common/SizeText.h"

namespace Velmora {

FilterRow FilterRowFromRecord(QStringView record)
{
    const QueueRecord::Parts parts = QueueRecord::split(record);
    QStringView head[3];
    SplitWords(parts.command, u'|', head, 3);
    const ListingEntry::Fields entry = ListingEntry::fieldsOf(parts.entry);
    return {head[1].toString(), head[0].trimmed().toString(), head[2].toString(), entry.size.toString(),
            entry.date.toString()};
}

bool FilterRowSize(QStringView size, qint64 &bytes)
{
    bool ok = false;
    bytes = size.trimmed().toLongLong(&ok);
    return ok;
}

ChosenFile ChosenFileOf(const FilterRow &row)
{
    if (row.cmd == u"STOR")
        return {row.source, row.destination, row.source};
    return {row.destination, row.source, row.source};
}

QString FilteredQueueSummary(qsizetype rows, qint64 bytes, Language::Id language)
{
    const bool german = language == Language::German;
    return (german ? QStringLiteral("Gefilterte Dateien - ") : QStringLiteral("Filtered queue - ")) + QString::number(rows)
        + (german ? QStringLiteral(" Dateien - ") : QStringLiteral(" Files - "))
        + FormatSizeDots(QString::number(bytes), false) + QStringLiteral(" bytes");
}

} // namespace Velmora
