#include "UploadBuilder.h"

#include "CollectionSteps.h"
#include "LocalFolders.h"
#include "QueueHost.h"
#include "QueueRecord.h"
#include "QueueRunner.h"
#include "TransferPorts.h"
#include "TreeWalker.h"
#include "WalkProgress.h"

#include "app/AppContext.h"
#include "app/WorkControl.h"
#include "common/RemotePath.h"
#include "engine/MasterFTP.h"

namespace Velmora {

UploadBuilder::UploadBuilder(CollectionSteps &steps)
    : m_steps(steps)
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

void UploadBuilder::build(WorkMode mode, const QString &dropFolder)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    {
        // The folders every record of this request starts from, checked before anything is sent;
        // a name that records cannot carry is skipped below with a protocol line.
        QStringList paths{IncludeTrailingBackslash(window.localPathText())};
        if (!s.ftp.host().isEmpty())
            paths.append(dropFolder.isEmpty() ? window.serverPathText() : window.serverPathText() + u'/' + dropFolder);
        if (m_steps.refusesPaths(paths))
            return;
    }
    if (mode == WorkMode::Transfer && !m_steps.askTransferMode(GridSide::Local))
        return;
    if (!s.ftp.host().isEmpty() && !s.ftp.isConnected())
        s.ftp.Connect(false);
    if (mode == WorkMode::Transfer && !s.ftp.isConnected())
        return;

    const QString localBase = IncludeTrailingBackslash(window.localPathText());
    m_steps.enterBusyState();
    const QList<SelectionLine> lines = s.host.selectionLines(GridSide::Local);
    s.progress.collectionStarted(mode == WorkMode::UsedSpace);
    QStringList collected;
    for (const SelectionLine &line : lines) {
        const QString path = localBase + line.name;
        if (m_steps.refusesName(line.name, path))
            continue;
        if (line.kind == EntryKind::Folder) {
            ++s.work.foldersFound;
            m_steps.progressLine(QStringLiteral("Read folder: ") + path);
            s.walker.CollectLocal(path + QStringLiteral("/*.*"), collected);
        } else {
            s.work.totalSize += line.bytes();
            ++s.work.filesFound;
            m_steps.progressLine(QStringLiteral("Read file: ") + path);
            collected.append(CollectedFile{path, line.text()}.format());
        }
        m_steps.pump();
        if (m_steps.abortRequested())
            break;
    }

    if (mode == WorkMode::UsedSpace) {
        m_steps.showUsedSpaceTotals();
        window.setIdleState();
        s.host.restoreRememberedRow(GridSide::Local);
        return;
    }
    if (mode == WorkMode::CopyToEachDir)
        return; // the copy tool reads the folders from the progress window and goes on
    s.progress.collectionEnded(false);
    s.host.setLocalPathText(localBase);
    window.listLocalPath();

    if (!m_steps.abortRequested()) {
        const QString serverPath = window.serverPathText();
        QStringList records;
        records.reserve(collected.size());
        for (const QString &file : std::as_const(collected))
            records.append(storRecord(file, localBase, serverPath, dropFolder));
        collected.clear();
        s.runner.setQueueList(records);

        if (s.filter.isInUse()) {
            if (s.filter.execFilterWindow(mode)) {
                if (mode != WorkMode::Transfer) {
                    afterFilterWindow(mode, localBase);
                    return;
                }
                QStringList &queue = s.runner.queueList();
                queue = DeriveMkdRecords(queue, window.serverPathText()) + queue;
                m_steps.runQueue();
            }
        } else {
            const QStringList folders = m_folderWalk.collect(lines, localBase, serverPath, dropFolder);
            if (!m_steps.abortRequested()) {
                QStringList &queue = s.runner.queueList();
                queue = folders + queue;
                m_steps.runQueue();
            }
        }
    }
    finish(localBase);
}

void UploadBuilder::afterFilterWindow(WorkMode mode, const QString &localBase)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    if (mode == WorkMode::FindFiles) {
        m_steps.goToChosenFile(GridSide::Local);
        return;
    }
    MakeLocalSearchCopies(s.runner.queueList(), localBase, s.context.folders.downloadFolder(), s.context.protocol);
    const SearchFollowUp::Outcome outcome = s.search.execSearchWindow(mode);
    if (mode == WorkMode::SearchInFiles) {
        if (outcome == SearchFollowUp::Outcome::Done) {
            m_steps.goToFile(GridSide::Local, s.search.chosenRemoteFile(), s.search.chosenLocalFile());
        } else if (outcome == SearchFollowUp::Outcome::UploadWanted) {
            QStringList &queue = s.runner.queueList();
            queue = DeriveMkdRecords(queue, window.serverPathText()) + queue;
            s.runner.RunQueue(false);
        }
        window.listServerPath();
        window.setIdleState();
        return;
    }
    // Search and replace: the window's close button leaves the changed files and their backup.
    if (outcome == SearchFollowUp::Outcome::Aborted)
        m_steps.showBackupNotice();
    window.setIdleState();
    s.host.focusGrid(GridSide::Local);
}

void UploadBuilder::finish(const QString &localBase)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    window.listServerPath();
    window.setIdleState();
    s.host.setLocalPathText(localBase);
    window.listLocalPath();
    s.host.restoreRememberedRow(GridSide::Local);
}

} // namespace Velmora
