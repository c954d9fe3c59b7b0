#pragma once

#include "CollectionSteps.h"
#include "DownloadBuilder.h"
#include "LocalDeleteBuilder.h"
#include "SearchWorkflow.h"
#include "ServerDeleteBuilder.h"
#include "UploadBuilder.h"

#include <optional>

namespace Velmora {

// The user's commands on a grid's selection, one workflow each: upload and download, the used
// space, the three searches, the collection of the copy tool, and the deletions. A request that
// arrives while one is still collecting (from inside its message processing) is ignored.
class TransferBuilders {
public:
    explicit TransferBuilders(const TransferBuilderSetup &setup);

    bool isBuilding() const { return m_building; }

    // The local grid's selection to the server; the result says whether the work ran.
    RunResult Upload(const TransferRequest &request = {});
    // The server grid's selection to the local folder.
    RunResult Download(const TransferRequest &request = {});
    // The totals of the side's selection, shown in the progress window.
    void UsedSpace(GridSide side);
    void Search(GridSide side, SearchKind kind);
    // The collection of the side's selection, for the copy tool: nullopt when the request is
    // refused or aborted. The busy state stays for the caller to end.
    std::optional<Collection> CollectFolders(GridSide side);
    // Deleting the server grid's selection, or the local grid's.
    void DeleteOnServer();
    void DeleteLocally();
    LocalDeleteBuilder &localDelete() { return m_localDelete; }

private:
    template <typename Work>
    auto request(Work work) -> decltype(work());

    CollectionSteps m_steps;
    UploadBuilder m_upload;
    DownloadBuilder m_download;
    SearchWorkflow m_search;
    ServerDeleteBuilder m_serverDelete;
    LocalDeleteBuilder m_localDelete;
    bool m_building = false;
};

} // namespace Velmora
