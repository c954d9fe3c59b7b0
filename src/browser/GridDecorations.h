#pragma once

#include "common/ListingEntry.h"

#include <QString>
#include <QVariant>

namespace Velmora {

// What a file grid shows that needs the graphical toolkit: the icons and the fixed-pitch font of
// the permission column. The windows library supplies it; without one the grid shows text only.
class GridDecorations {
public:
    virtual ~GridDecorations() = default;

    // The picture for a row: a folder (kind 0), a linked folder (kind 2), else the icon the
    // system associates with the name's extension. pathOrName is the full path of a local row and
    // the bare name of a server row; the file need not exist.
    virtual QVariant icon(EntryKind kind, const QString &pathOrName) const = 0;
    virtual QVariant fixedPitchFont() const = 0;
};

} // namespace Velmora
