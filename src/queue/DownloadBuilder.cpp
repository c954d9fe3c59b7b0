#include "DownloadBuilder.h"

#include "CollectionSteps.h"
#include "LocalFolders.h"
#include "QueueHost.h"
#include "TransferPorts.h"
#include "WalkProgress.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "common/RemotePath.h"
#include "engine/MasterFTP.h"

namespace Velmora {

namespace {

const QString DriveListText = QStringLiteral("\\");

} // namespace

DownloadBuilder::DownloadBuilder(CollectionSteps &steps)
    : m_steps(steps)
    , m_collector(steps)
{
}

bool DownloadBuilder::refusesStart(bool needsLocalFolder, const QString &dropFolder)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    if (needsLocalFolder && window.localPathText() == DriveListText) {
        s.context.prompts.information(s.context.text(QStringLiteral("Please select a local folder for this action!"),
                                                     QString::fromUtf8("Bitte wählen Sie einen lokalen Ordner für diese Aktion!")));
        return true;
    }
    // The folders every record of this request starts from, checked before anything is sent; a
    // name that records cannot carry is skipped during the collection with a protocol line.
    QStringList paths{window.serverPathText()};
    if (needsLocalFolder)
        paths.append(IncludeTrailingBackslash(window.localPathText()) + dropFolder);
    return m_steps.refusesPaths(paths);
}

std::optional<Collection> DownloadBuilder::collectSelection(const QString &dropFolder, bool usedSpace, bool runAtOnce)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    if (!s.ftp.isConnected())
        s.ftp.Connect(false);
    m_steps.enterBusyState(runAtOnce);
    const QList<SelectionLine> lines = s.host.selectionLines(GridSide::Server);
    const QString localFolder = IncludeTrailingBackslash(window.localPathText());
    s.progress.collectionStarted(usedSpace);
    Collection collection = m_collector.collect(lines, window.serverPathText(), localFolder, dropFolder);
    if (collection.aborted) {
        window.listLocalPath();
        m_steps.endBusyState();
        s.host.restoreRememberedRow(GridSide::Server);
        return std::nullopt;
    }
    return collection;
}

RunResult DownloadBuilder::download(const TransferRequest &request)
{
    const TransferBuilderSetup &s = m_steps.setup();
    if (refusesStart(true, request.dropFolder) || !m_steps.askTransferMode(GridSide::Server))
        return {};
    const std::optional<Collection> collection = collectSelection(request.dropFolder, false, request.runAtOnce);
    if (!collection)
        return {};
    s.progress.collectionEnded(false);

    RunResult result;
    if (request.filtered && s.filter.isInUse()) {
        if (const std::optional<QStringList> chosen = s.filter.chooseRecords(FilterWindowMode::Transfer, collection->records)) {
            CreateLocalFolders(*chosen, s.context.protocol);
            result = m_steps.runQueue(*chosen, request.runAtOnce);
        }
    } else {
        result = m_steps.runQueue(collection->folderRecords + collection->records, request.runAtOnce);
    }
    finish();
    return result;
}

std::optional<Collection> DownloadBuilder::collect(bool needsLocalFolder, bool usedSpace)
{
    if (refusesStart(needsLocalFolder, {}))
        return std::nullopt;
    return collectSelection({}, usedSpace, false);
}

void DownloadBuilder::finish()
{
    QueueHost &window = m_steps.queueHost();
    window.listLocalPath();
    m_steps.endBusyState();
    m_steps.setup().host.restoreRememberedRow(GridSide::Server);
}

} // namespace Velmora
