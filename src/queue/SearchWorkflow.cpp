#include "SearchWorkflow.h"

#include "CollectionSteps.h"
#include "DownloadBuilder.h"
#include "LocalFolders.h"
#include "QueueHost.h"
#include "QueueRecord.h"
#include "QueueRunner.h"
#include "TransferPorts.h"
#include "UploadBuilder.h"
#include "WalkProgress.h"

#include "app/AppContext.h"

namespace Velmora {

namespace {

FilterWindowMode windowModeFor(SearchKind kind)
{
    switch (kind) {
    case SearchKind::FindFiles:
        return FilterWindowMode::FindFiles;
    case SearchKind::SearchInFiles:
        return FilterWindowMode::SearchInFiles;
    case SearchKind::SearchAndReplace:
        return FilterWindowMode::SearchAndReplace;
    }
    return FilterWindowMode::FindFiles;
}

} // namespace

SearchWorkflow::SearchWorkflow(CollectionSteps &steps, UploadBuilder &upload, DownloadBuilder &download)
    : m_steps(steps)
    , m_upload(upload)
    , m_download(download)
{
}

void SearchWorkflow::run(GridSide side, SearchKind kind)
{
    if (side == GridSide::Local)
        searchLocal(kind);
    else
        searchServer(kind);
}

void SearchWorkflow::searchLocal(SearchKind kind)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    const QString localBase = m_upload.localBase();
    const std::optional<Collection> collection = m_upload.collect(false);
    if (!collection)
        return;
    s.progress.collectionEnded(false);
    s.host.setLocalPathText(localBase);
    window.listLocalPath();
    if (!collection->aborted) {
        const QStringList records = UploadBuilder::storRecords(*collection, localBase, window.serverPathText());
        if (const std::optional<QStringList> chosen = s.filter.chooseRecords(windowModeFor(kind), records)) {
            afterLocalChoice(kind, *chosen, localBase);
            return;
        }
    }
    m_upload.finish(localBase);
}

void SearchWorkflow::afterLocalChoice(SearchKind kind, const QStringList &chosen, const QString &localBase)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    if (kind == SearchKind::FindFiles) {
        m_steps.goToChosenFile(GridSide::Local);
        return;
    }
    MakeLocalSearchCopies(chosen, localBase, s.context.folders.downloadFolder(), s.context.protocol);
    const SearchFollowUp::Outcome outcome = s.search.execSearchWindow(kind == SearchKind::SearchAndReplace);
    if (kind == SearchKind::SearchInFiles) {
        if (outcome == SearchFollowUp::Outcome::Done) {
            m_steps.goToFile(GridSide::Local, s.search.chosenRemoteFile(), s.search.chosenLocalFile());
        } else if (outcome == SearchFollowUp::Outcome::UploadWanted) {
            const QStringList uploads = s.search.transferRecords();
            RunPlan plan;
            plan.records = DeriveMkdRecords(uploads, window.serverPathText()) + uploads;
            plan.keepQueueTexts = false;
            s.runner.RunQueue(plan);
        }
        window.listServerPath();
        m_steps.endBusyState();
        return;
    }
    // Search and replace: the window's close button leaves the changed files and their backup.
    if (outcome == SearchFollowUp::Outcome::Aborted)
        m_steps.showBackupNotice();
    m_steps.endBusyState();
    s.host.focusGrid(GridSide::Local);
}

void SearchWorkflow::searchServer(SearchKind kind)
{
    const TransferBuilderSetup &s = m_steps.setup();
    const bool needsLocalFolder = kind != SearchKind::FindFiles;
    const std::optional<Collection> collection = m_download.collect(needsLocalFolder, false);
    if (!collection)
        return;
    s.progress.collectionEnded(false);
    if (const std::optional<QStringList> chosen = s.filter.chooseRecords(windowModeFor(kind), collection->records)) {
        afterServerChoice(kind, *chosen);
        return;
    }
    m_download.finish();
}

void SearchWorkflow::afterServerChoice(SearchKind kind, const QStringList &chosen)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    if (kind == SearchKind::FindFiles) {
        m_steps.goToChosenFile(GridSide::Server);
        return;
    }
    // The chosen remote files are downloaded into the working folder first.
    CreateLocalFolders(chosen, s.context.protocol);
    RunPlan downloads;
    downloads.records = chosen;
    downloads.keepQueueTexts = false;
    s.runner.RunQueue(downloads);
    const SearchFollowUp::Outcome outcome = s.search.execSearchWindow(kind == SearchKind::SearchAndReplace);
    RunPlan transfers;
    transfers.keepQueueTexts = false;
    if (kind == SearchKind::SearchInFiles) {
        if (outcome == SearchFollowUp::Outcome::Done) {
            m_steps.goToFile(GridSide::Server, s.search.chosenRemoteFile(), s.search.chosenLocalFile());
        } else if (outcome == SearchFollowUp::Outcome::UploadWanted) {
            transfers.records = s.search.transferRecords();
            CreateLocalFolders(transfers.records, s.context.protocol);
            s.runner.RunQueue(transfers);
        }
        window.listLocalPath();
        m_steps.endBusyState();
        return;
    }
    if (outcome == SearchFollowUp::Outcome::UploadWanted) {
        transfers.records = s.search.transferRecords();
        const RunResult result = s.runner.RunQueue(transfers);
        window.listServerPath(); // the pane shows the sizes the server has now
        m_steps.reportUploadBack(transfers.records, result);
    } else if (outcome != SearchFollowUp::Outcome::Aborted) {
        m_steps.showBackupNotice();
    }
    m_steps.endBusyState();
    s.host.focusGrid(GridSide::Server);
}

} // namespace Velmora
