#include "DownloadBuilder.h"

#include "CollectionSteps.h"
#include "LocalFolders.h"
#include "QueueHost.h"
#include "QueueRecord.h"
#include "QueueRunner.h"
#include "TransferPorts.h"
#include "TreeWalker.h"
#include "WalkProgress.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "common/RemotePath.h"
#include "engine/MasterFTP.h"

namespace Velmora {

namespace {

const QString DriveListText = QStringLiteral("\\");

} // namespace

DownloadBuilder::DownloadBuilder(CollectionSteps &steps)
    : m_steps(steps)
{
}

void DownloadBuilder::build(WorkMode mode, const QString &dropFolder)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    const bool needsLocalFolder = mode == WorkMode::EditOnly || mode == WorkMode::Transfer
        || mode == WorkMode::SearchInFiles || mode == WorkMode::SearchAndReplace;
    if (needsLocalFolder && window.localPathText() == DriveListText) {
        s.context.prompts.information(s.context.text(QStringLiteral("Please select a local folder for this action!"),
                                                     QString::fromUtf8("Bitte wählen Sie einen lokalen Ordner für diese Aktion!")));
        return;
    }
    {
        // The folders every record of this request starts from, checked before anything is sent;
        // a name that records cannot carry is skipped below with a protocol line.
        QStringList paths{window.serverPathText()};
        if (needsLocalFolder)
            paths.append(IncludeTrailingBackslash(window.localPathText()) + dropFolder);
        if (m_steps.refusesPaths(paths))
            return;
    }
    if (mode == WorkMode::Transfer && !m_steps.askTransferMode(GridSide::Server))
        return;
    if (!s.ftp.isConnected())
        s.ftp.Connect(false);

    m_steps.enterBusyState();
    const QList<SelectionLine> lines = s.host.selectionLines(GridSide::Server);
    const QString localPath = IncludeTrailingBackslash(window.localPathText());
    const QString serverPath = window.serverPathText();
    QStringList files;
    QStringList tree;
    QStringList folders;
    s.progress.collectionStarted(mode == WorkMode::UsedSpace);
    for (const SelectionLine &line : lines) {
        const QString name = line.realName();
        const QString remote = NormaliseRemotePath(serverPath + u'/' + name);
        if (!m_steps.refusesName(name, remote)) {
            const QString localName = dropFolder.isEmpty() ? name : dropFolder + u'/' + name;
            if (line.kind == EntryKind::Folder) {
                s.walker.CollectDownload(tree, folders, ToLocalPath(localPath + localName), remote);
            } else {
                s.work.totalSize += line.bytes();
                ++s.work.filesFound;
                files.append(QueueRecord(QueueCommand::Retr, remote, ToLocalPath(localPath + localName), line.text()).format());
                m_steps.progressLine(QStringLiteral("Read file: ") + remote);
            }
        }
        m_steps.pump();
        if (m_steps.abortRequested()) {
            window.listLocalPath();
            window.setIdleState();
            s.host.restoreRememberedRow(GridSide::Server);
            return;
        }
    }

    if (mode == WorkMode::UsedSpace) {
        m_steps.showUsedSpaceTotals();
        window.setIdleState();
        s.host.restoreRememberedRow(GridSide::Server);
        return;
    }
    if (mode == WorkMode::CopyToEachDir)
        return; // the copy tool reads the folders from the progress window and goes on
    s.progress.collectionEnded(false);
    s.runner.setQueueList(files + tree);

    if (s.filter.isInUse()) {
        if (s.filter.execFilterWindow(mode)) {
            if (mode != WorkMode::Transfer) {
                afterFilterWindow(mode);
                return;
            }
            CreateLocalFolders(s.runner.queueList(), s.context.protocol);
            m_steps.runQueue();
        }
    } else {
        QStringList &queue = s.runner.queueList();
        queue = folders + queue;
        m_steps.runQueue();
    }
    finish();
}

void DownloadBuilder::afterFilterWindow(WorkMode mode)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    if (mode == WorkMode::FindFiles) {
        m_steps.goToChosenFile(GridSide::Server);
        return;
    }
    // The chosen remote files are downloaded into the working folder first.
    CreateLocalFolders(s.runner.queueList(), s.context.protocol);
    s.runner.RunQueue(false);
    const SearchFollowUp::Outcome outcome = s.search.execSearchWindow(mode);
    if (mode == WorkMode::SearchInFiles) {
        if (outcome == SearchFollowUp::Outcome::Done) {
            m_steps.goToFile(GridSide::Server, s.search.chosenRemoteFile(), s.search.chosenLocalFile());
        } else if (outcome == SearchFollowUp::Outcome::UploadWanted) {
            CreateLocalFolders(s.runner.queueList(), s.context.protocol);
            s.runner.RunQueue(false);
        }
        window.listLocalPath();
        window.setIdleState();
        return;
    }
    if (outcome != SearchFollowUp::Outcome::Aborted) {
        int notUploaded = 0;
        if (outcome == SearchFollowUp::Outcome::UploadWanted) {
            s.runner.RunQueue(false);
            notUploaded = s.runner.lastRun().records - s.runner.lastRun().succeeded;
        }
        m_steps.showBackupNotice(notUploaded);
    }
    window.setIdleState();
    s.host.focusGrid(GridSide::Server);
}

void DownloadBuilder::finish()
{
    QueueHost &window = m_steps.queueHost();
    window.listLocalPath();
    window.setIdleState();
    m_steps.setup().host.restoreRememberedRow(GridSide::Server);
}

} // namespace Velmora
