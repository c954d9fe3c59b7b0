#include "LocalCollector.h"

#include "CollectionSteps.h"
#include "QueueRecord.h"
#include "TreeWalker.h"

#include "app/WorkControl.h"

namespace Velmora {

LocalCollector::LocalCollector(CollectionSteps &steps)
    : m_steps(steps)
{
}

Collection LocalCollector::collect(const QList<SelectionLine> &lines, const QString &localBase)
{
    const TransferBuilderSetup &s = m_steps.setup();
    s.walker.takeFoldersRead();
    Collection collection;
    for (const SelectionLine &line : lines) {
        const QString path = localBase + line.name;
        if (m_steps.refusesName(line.name, path))
            continue;
        if (line.kind == EntryKind::Folder) {
            ++s.work.foldersFound;
            m_steps.progressLine(QStringLiteral("Read folder: ") + path);
            collection.foldersRead.append(path);
            s.walker.CollectLocal(path + QStringLiteral("/*.*"), collection.localFiles);
            collection.foldersRead.append(s.walker.takeFoldersRead());
        } else {
            s.work.totalSize += line.bytes();
            ++s.work.filesFound;
            m_steps.progressLine(QStringLiteral("Read file: ") + path);
            collection.localFiles.append(CollectedFile{path, line.text()}.format());
        }
        m_steps.pump();
        if (m_steps.abortRequested())
            break;
    }
    m_steps.closeCollection(collection);
    return collection;
}

} // namespace Velmora
