#pragma once

#include "Collection.h"
#include "RemoteCollector.h"
#include "RunPlan.h"
#include "TransferRequest.h"

#include <QString>

#include <optional>

namespace Velmora {

class CollectionSteps;

// Turns the selection of the server grid into download work: the selected files become "RETR"
// records, the selected folders are walked level by level, the local folders they need go in
// front as "MKLOCALDIR" records, and the queue runs or only shows them. Its collection also
// serves the searches, the used-space figure and the copy tool.
class DownloadBuilder {
public:
    explicit DownloadBuilder(CollectionSteps &steps);

    // The download of the selection. The result says whether the work ran and how it went.
    RunResult download(const TransferRequest &request);
    // The checks, the busy state and the collection of the selection, for work other than a
    // download; nullopt when the request is refused. needsLocalFolder: the work writes into the
    // local grid's folder, which must be a folder. After Abort the grids are restored and the
    // idle state is back. The caller ends the busy state otherwise.
    std::optional<Collection> collect(bool needsLocalFolder, bool usedSpace);
    // After the work: the local grid listed again, the idle state, the server grid's row
    // selected again.
    void finish();

private:
    bool refusesStart(bool needsLocalFolder, const QString &dropFolder);
    std::optional<Collection> collectSelection(const QString &dropFolder, bool usedSpace, bool runAtOnce);

    CollectionSteps &m_steps;
    RemoteCollector m_collector;
};

} // namespace Velmora
