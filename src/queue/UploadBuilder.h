#pragma once

#include "UploadFolderWalk.h"
#include "WorkMode.h"

#include <QString>
#include <QStringList>

namespace Velmora {

class CollectionSteps;

// Turns the selection of the local grid into upload work: the selected files and every file below
// the selected folders become "STOR" records (in collection order), the remote folders they need
// go in front as "MKD" records, and the queue runs or only shows them. The same collection serves
// the searches, the used-space figure and the copy tool, as the work mode says.
class UploadBuilder {
public:
    explicit UploadBuilder(CollectionSteps &steps);

    // dropFolder: the server folder row the rows were dropped on, or empty.
    void build(WorkMode mode, const QString &dropFolder);

    // The "STOR" record of a collected file (full path, U+0083, entry part). The remote folder is
    // the file's folder below localBase, below serverPath and the drop folder.
    static QString storRecord(const QString &collectedFile, const QString &localBase, const QString &serverPath,
                              const QString &dropFolder);

private:
    void afterFilterWindow(WorkMode mode, const QString &localBase);
    void finish(const QString &localBase);

    CollectionSteps &m_steps;
    UploadFolderWalk m_folderWalk;
};

} // namespace Velmora
