#include "FilterSearchStep.h"

#include "FilterCriteria.h"
#include "FilterMatching.h"
#include "common/QueueRecord.h"

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

QString IntoWorkingFolder(const QString &path, const QString &localPathBox, const QString &downloadFolder)
{
    if (localPathBox.isEmpty() || downloadFolder.isEmpty())
        return path;
    const QString box = localPathBox.endsWith(u'/') ? localPathBox : localPathBox + u'/';
    return path.startsWith(box) ? downloadFolder + path.sliced(box.size()) : path;
}

SearchStepRecords BuildSearchStepRecords(const QList<FilterRow> &tickedRows, const QString &localPathBox,
                                         const QString &downloadFolder)
{
    SearchStepRecords result;
    for (const FilterRow &row : tickedRows) {
        const QueueCommand command = QueueRecord::commandOf(row.cmd);
        if (command == QueueCommand::Retr || command == QueueCommand::Stor) {
            const bool download = command == QueueCommand::Retr;
            const QString name = fileNameOf(download ? row.destination : row.source);
            if (!isTextFile(name))
                continue;
            // A download goes into the working folder; a local file is copied there by the
            // search itself, so its record keeps its paths.
            const QString working = download ? IntoWorkingFolder(row.destination, localPathBox, downloadFolder) : row.destination;
            const QString entry = QueueRecord::fileEntry(name, row.size, row.date);
            result.queueList.append(QueueRecord(command, row.source, working, entry).format());
            result.searchQueueLines.append(QueueRecord(command, row.source, row.destination, entry).format());
        } else if (command == QueueCommand::Dele || command == QueueCommand::Rmd) {
            const QString record = QueueRecord(command, row.source).format();
            result.queueList.append(record);
            result.searchQueueLines.append(record);
        }
    }
    return result;
}

} // namespace Velmora
