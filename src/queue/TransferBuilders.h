#pragma once

#include "CollectionSteps.h"
#include "DownloadBuilder.h"
#include "LocalDeleteBuilder.h"
#include "ServerDeleteBuilder.h"
#include "UploadBuilder.h"
#include "WorkMode.h"

namespace Velmora {

// The requests that build transfer work from a grid's selection: the work mode they set (which
// the queue run and the filter and search windows read afterwards), the upload builder for the
// local grid and the download builder for the server grid, and the deletions of either grid's
// selection. A request that arrives while one is still collecting (from inside its message
// processing) is ignored.
class TransferBuilders {
public:
    explicit TransferBuilders(const TransferBuilderSetup &setup);

    WorkMode workMode() const { return m_mode; }
    bool isBuilding() const { return m_building; }

    // The local grid's selection; dropFolder is the server folder row the rows were dropped on.
    void Upload(WorkMode mode, const QString &dropFolder = QString());
    // The server grid's selection; dropFolder is the local folder row the rows were dropped on.
    void Download(WorkMode mode, const QString &dropFolder = QString());
    // Deleting the server grid's selection, or the local grid's (work mode Transfer).
    void DeleteOnServer();
    void DeleteLocally();
    LocalDeleteBuilder &localDelete() { return m_localDelete; }

private:
    template <typename Build>
    void request(WorkMode mode, Build build);

    CollectionSteps m_steps;
    UploadBuilder m_upload;
    DownloadBuilder m_download;
    ServerDeleteBuilder m_serverDelete;
    LocalDeleteBuilder m_localDelete;
    WorkMode m_mode = WorkMode::Transfer;
    bool m_building = false;
};

} // namespace Velmora
