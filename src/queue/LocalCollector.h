#pragma once

#include "Collection.h"
#include "SelectionLine.h"

#include <QList>
#include <QString>

namespace Velmora {

class CollectionSteps;

// Collects the selected rows of the local grid: every selected file and every file below the
// selected folders, as collected-file texts, with the folders read and the totals. The walk
// shows its steps in the progress window and stops at Abort.
class LocalCollector {
public:
    explicit LocalCollector(CollectionSteps &steps);

    // localBase: the local grid's folder, ending with "/".
    Collection collect(const QList<SelectionLine> &lines, const QString &localBase);

private:
    CollectionSteps &m_steps;
};

} // namespace Velmora
