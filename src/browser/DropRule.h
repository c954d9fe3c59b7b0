#pragma once

#include "BrowserSide.h"

#include <QString>

namespace Velmora {

struct FileGridEntry;

// Where rows dragged over a file grid would go.
struct DropTarget {
    bool refused = false;
    QString folder; // the folder row under the pointer; empty: the folder the grid shows
};

// The drop on a row of the target grid (null: no row under the pointer). A folder row takes the
// drop into that folder, any other row into the grid's folder. On the server grid a row whose
// permissions show that its owner cannot write (such as "dr-xr-xr-x") refuses the drop. The ".."
// row takes the drop into the grid's folder.
DropTarget DropTargetFor(BrowserSide target, const FileGridEntry *row);
// The permission rule: neither beginning with "-" nor free of "-" in the first four characters.
bool IsReadOnlyPermissions(const QString &permissions);

} // namespace Velmora
