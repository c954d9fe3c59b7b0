#pragma once

#include "WorkMode.h"

#include <QString>

namespace Velmora {

class CollectionSteps;

// Turns the selection of the server grid into download work: the selected files become "RETR"
// records, the selected folders are walked level by level, the local folders they need go in
// front as "MKLOCALDIR" records, and the queue runs or only shows them. The same collection
// serves the searches, the used-space figure and the copy tool, as the work mode says.
// A selected link is downloaded as a file under the part of its name before " -> ".
class DownloadBuilder {
public:
    explicit DownloadBuilder(CollectionSteps &steps);

    // dropFolder: the local folder row the rows were dropped on, or empty.
    void build(WorkMode mode, const QString &dropFolder);

private:
    void afterFilterWindow(WorkMode mode);
    void finish();

    CollectionSteps &m_steps;
};

} // namespace Velmora
