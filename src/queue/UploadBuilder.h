#pragma once

#include "Collection.h"
#include "LocalCollector.h"
#include "RunPlan.h"
#include "TransferRequest.h"
#include "UploadFolderWalk.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

class CollectionSteps;

// Turns the selection of the local grid into upload work: the selected files and every file below
// the selected folders become "STOR" records (in collection order), the remote folders they need
// go in front as "MKD" records, and the queue runs or only shows them. Its collection also
// serves the searches, the used-space figure and the copy tool.
class UploadBuilder {
public:
    explicit UploadBuilder(CollectionSteps &steps);

    // The upload of the selection. The result says whether the work ran and how it went.
    RunResult upload(const TransferRequest &request);
    // The checks, the busy state and the collection of the selection, for work other than an
    // upload; nullopt when a path is refused. The caller ends the busy state.
    std::optional<Collection> collect(bool usedSpace);
    // The "STOR" records of a collection's files below the server folder.
    static QStringList storRecords(const Collection &collection, const QString &localBase, const QString &serverPath,
                                   const QString &dropFolder = {});
    // The "STOR" record of a collected file (full path, U+0083, entry part). The remote folder is
    // the file's folder below localBase, below serverPath and the drop folder.
    static QString storRecord(const QString &collectedFile, const QString &localBase, const QString &serverPath,
                              const QString &dropFolder);
    // The local grid's folder, ending with "/".
    QString localBase() const;
    // After the work: both grids listed again, the idle state, the local grid's row selected again.
    void finish(const QString &localBase);

private:
    bool refusesStart(const QString &dropFolder);

    CollectionSteps &m_steps;
    LocalCollector m_collector;
    UploadFolderWalk m_folderWalk;
};

} // namespace Velmora
