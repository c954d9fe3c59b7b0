#include "DropRule.h"

#include "FileGridEntry.h"

namespace Velmora {

bool IsReadOnlyPermissions(const QString &permissions)
{
    return !permissions.startsWith(u'-') && permissions.left(4).contains(u'-');
}

DropTarget DropTargetFor(BrowserSide target, const FileGridEntry *row)
{
    DropTarget drop;
    if (!row)
        return drop;
    if (target == BrowserSide::Server && IsReadOnlyPermissions(row->permissions)) {
        drop.refused = true;
        return drop;
    }
    if (row->kind == FileGridEntry::Folder && !row->isParent)
        drop.folder = row->name;
    return drop;
}

} // namespace Velmora
