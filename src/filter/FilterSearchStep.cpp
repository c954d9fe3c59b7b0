#include "FilterSearchStep.h"

#include "FilterCriteria.h"
#include "FilterMatching.h"
#include "common/QueueRecord.h"
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
        const QueueCommand command = QueueRecord::commandOf(row.cmd);
        QString record;
        if (command == QueueCommand::Retr || command == QueueCommand::Stor) {
            const QString name = fileNameOf(command == QueueCommand::Retr ? destination : row.source);
            if (!isTextFile(name))
                continue;
            record = QueueRecord(command, row.source, destination, QueueRecord::fileEntry(name, row.size, row.date)).format();
        } else if (command == QueueCommand::Dele || command == QueueCommand::Rmd) {
            record = QueueRecord(command, row.source).format();
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
