#pragma once

#include <QString>
#include <QtGlobal>

class QAbstractItemView;
class QKeyEvent;

namespace Velmora {

class TypeAheadSearch;

// The type-ahead step of a grid, shared by both file grids (search column 1) and the site
// manager's grid (search column 0): Enter and Esc are ignored, Ctrl+A selects every row, a key
// that produces no character is ignored; otherwise the character joins the shared buffer and the
// first row whose search-column text begins with the buffer (both lower-cased) is selected, or
// the first row when none does. Returns true when the key was used.
bool TypeAheadKey(TypeAheadSearch &search, QAbstractItemView &grid, int searchColumn, int key,
                  Qt::KeyboardModifiers modifiers, const QString &text);
bool TypeAheadKey(TypeAheadSearch &search, QAbstractItemView &grid, int searchColumn, const QKeyEvent &event);

// Makes a row the grid's only selected row and its current one, and scrolls it into view.
void SelectGridRow(QAbstractItemView &grid, int row, int column);

} // namespace Velmora
