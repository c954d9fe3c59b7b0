#include "FilterSearchStep.h"

#include "FilterCriteria.h"
#include "FilterMatching.h"
#include "common/RecordText.h"
#include "common/TextReplace.h"

namespace Velmora {

namespace {

QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

bool isTextFile(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString ext = dot >= 0 ? LowerAscii(QStringView(name).mid(dot)) : QString();
    return ContainsNone(NonTextExtensions, ext);
}

} // namespace

SearchStepRecords BuildSearchStepRecords(const QList<FilterRow> &tickedRows, const QString &localPathBox,
                                         const QString &downloadFolder)
{
    SearchStepRecords result;
    const bool moves = !localPathBox.isEmpty();
    for (const FilterRow &row : tickedRows) {
        const QString destination = moves ? ReplaceAll(row.destination, localPathBox, downloadFolder, true) : row.destination;
        QString record;
        if (row.cmd == u"RETR" || row.cmd == u"STOR") {
            const QString name = fileNameOf(row.cmd == u"RETR" ? destination : row.source);
            if (!isTextFile(name))
                continue;
            record = row.cmd + u'|' + row.source + u'|' + destination + RecordText::EntrySeparator + u"1|" + name + u'|'
                + row.size + u'|' + row.date;
        } else if (row.cmd == u"DELE" || row.cmd == u"RMD") {
            record = row.cmd + u'|' + row.source;
        } else {
            continue;
        }
        result.queueList.append(record);
        result.searchQueueLines.append(moves && !downloadFolder.isEmpty()
                                           ? ReplaceAll(record, downloadFolder, localPathBox, true)
                                           : record);
    }
    return result;
}

} // namespace Velmora
