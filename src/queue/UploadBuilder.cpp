#include "UploadBuilder.h"

#include "CollectionSteps.h"
#include "LocalFolders.h"
#include "QueueHost.h"
#include "QueueRecord.h"
#include "QueueRunner.h"
#include "TransferPorts.h"
#include "WalkProgress.h"

#include "app/AppContext.h"
#include "common/RemotePath.h"
#include "engine/MasterFTP.h"

namespace Velmora {

UploadBuilder::UploadBuilder(CollectionSteps &steps)
    : m_steps(steps)
    , m_collector(steps)
    , m_folderWalk(steps.setup().context, steps.setup().ftp, steps.setup().work, steps.setup().runner.view())
{
}

QString UploadBuilder::storRecord(const QString &collectedFile, const QString &localBase, const QString &serverPath,
                                  const QString &dropFolder)
{
    const CollectedFile file = CollectedFile::parse(collectedFile);
    const QString &path = file.path;
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString folder = path.left(slash + 1);
    // The base is taken off the front only: a folder deeper down that repeats the base's text
    // keeps its place in the tree.
    const QString relative = folder.startsWith(localBase) ? folder.mid(localBase.size()) : folder;
    const QString remoteFolder = dropFolder.isEmpty() ? QString(serverPath + u'/' + relative)
                                                      : QString(serverPath + u'/' + dropFolder + u'/' + relative);
    return QueueRecord(QueueCommand::Stor, ToLocalPath(path), NormaliseRemotePath(remoteFolder + path.mid(slash + 1)), file.entry)
        .format();
}

QStringList UploadBuilder::storRecords(const Collection &collection, const QString &localBase, const QString &serverPath,
                                       const QString &dropFolder)
{
    QStringList records;
    records.reserve(collection.localFiles.size());
    for (const QString &file : collection.localFiles)
        records.append(storRecord(file, localBase, serverPath, dropFolder));
    return records;
}

QString UploadBuilder::localBase() const
{
    return IncludeTrailingBackslash(m_steps.queueHost().localPathText());
}

bool UploadBuilder::refusesStart(const QString &dropFolder)
{
    // The folders every record of this request starts from, checked before anything is sent; a
    // name that records cannot carry is skipped during the collection with a protocol line.
    const TransferBuilderSetup &s = m_steps.setup();
    const QString serverPath = m_steps.queueHost().serverPathText();
    QStringList paths{localBase()};
    if (!s.ftp.host().isEmpty())
        paths.append(dropFolder.isEmpty() ? serverPath : serverPath + u'/' + dropFolder);
    return m_steps.refusesPaths(paths);
}

RunResult UploadBuilder::upload(const TransferRequest &request)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    if (refusesStart(request.dropFolder) || !m_steps.askTransferMode(GridSide::Local))
        return {};
    if (!s.ftp.host().isEmpty() && !s.ftp.isConnected())
        s.ftp.Connect(false);
    if (!s.ftp.isConnected())
        return {};

    const QString base = localBase();
    m_steps.enterBusyState(request.runAtOnce);
    const QList<SelectionLine> lines = s.host.selectionLines(GridSide::Local);
    s.progress.collectionStarted(false);
    const Collection collection = m_collector.collect(lines, base);
    s.progress.collectionEnded(false);
    s.host.setLocalPathText(base);
    window.listLocalPath();

    RunResult result;
    if (!collection.aborted) {
        const QString serverPath = window.serverPathText();
        const QStringList records = storRecords(collection, base, serverPath, request.dropFolder);
        std::optional<QStringList> work;
        if (request.filtered && s.filter.isInUse()) {
            if (const std::optional<QStringList> chosen = s.filter.chooseRecords(FilterWindowMode::Transfer, records))
                work = DeriveMkdRecords(*chosen, window.serverPathText()) + *chosen;
        } else {
            const QStringList folders = m_folderWalk.collect(lines, base, serverPath, request.dropFolder);
            if (!m_steps.abortRequested())
                work = folders + records;
        }
        if (work)
            result = m_steps.runQueue(*work, request.runAtOnce);
    }
    finish(base);
    return result;
}

std::optional<Collection> UploadBuilder::collect(bool usedSpace)
{
    const TransferBuilderSetup &s = m_steps.setup();
    if (refusesStart({}))
        return std::nullopt;
    if (!s.ftp.host().isEmpty() && !s.ftp.isConnected())
        s.ftp.Connect(false);
    const QString base = localBase();
    m_steps.enterBusyState();
    s.progress.collectionStarted(usedSpace);
    return m_collector.collect(s.host.selectionLines(GridSide::Local), base);
}

void UploadBuilder::finish(const QString &localBase)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    window.listServerPath();
    m_steps.endBusyState();
    s.host.setLocalPathText(localBase);
    window.listLocalPath();
    s.host.restoreRememberedRow(GridSide::Local);
}

} // namespace Velmora
