#include "RemoteCollector.h"

#include "CollectionSteps.h"
#include "QueueRecord.h"
#include "TreeWalker.h"

#include "app/WorkControl.h"
#include "common/RemotePath.h"

namespace Velmora {

RemoteCollector::RemoteCollector(CollectionSteps &steps)
    : m_steps(steps)
{
}

Collection RemoteCollector::collect(const QList<SelectionLine> &lines, const QString &serverPath,
                                    const QString &localFolder, const QString &dropFolder)
{
    const TransferBuilderSetup &s = m_steps.setup();
    s.walker.takeFoldersRead();
    Collection collection;
    QStringList tree;
    for (const SelectionLine &line : lines) {
        const QString name = line.realName();
        const QString remote = NormaliseRemotePath(serverPath + u'/' + name);
        if (!m_steps.refusesName(name, remote)) {
            const QString localName = dropFolder.isEmpty() ? name : dropFolder + u'/' + name;
            if (line.kind == EntryKind::Folder) {
                s.walker.CollectDownload(tree, collection.folderRecords, ToLocalPath(localFolder + localName), remote);
                collection.foldersRead.append(s.walker.takeFoldersRead());
            } else {
                s.work.totalSize += line.bytes();
                ++s.work.filesFound;
                collection.records.append(
                    QueueRecord(QueueCommand::Retr, remote, ToLocalPath(localFolder + localName), line.text()).format());
                m_steps.progressLine(QStringLiteral("Read file: ") + remote);
            }
        }
        m_steps.pump();
        if (m_steps.abortRequested())
            break;
    }
    collection.records.append(tree);
    m_steps.closeCollection(collection);
    return collection;
}

} // namespace Velmora
