#pragma once

#include "Collection.h"
#include "SelectionLine.h"

#include <QList>
#include <QString>

namespace Velmora {

class CollectionSteps;

// Collects the selected rows of the server grid as download work: the selected files become
// "RETR" records, the selected folders are walked level by level into "RETR" records and the
// "MKLOCALDIR" records of the local folders they need. A selected link is downloaded as a file
// under the part of its name before " -> ". The walk shows its steps in the progress window and
// stops at Abort.
class RemoteCollector {
public:
    explicit RemoteCollector(CollectionSteps &steps);

    // localFolder: where the downloads go, ending with "/"; dropFolder: the local folder row the
    // rows were dropped on, or empty.
    Collection collect(const QList<SelectionLine> &lines, const QString &serverPath, const QString &localFolder,
                       const QString &dropFolder);

private:
    CollectionSteps &m_steps;
};

} // namespace Velmora
