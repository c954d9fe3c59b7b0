#pragma once

#include "BrowserSide.h"

#include <QList>
#include <QString>

namespace Velmora {

class Language;

// The columns of the two file grids, numbered as the sort files and the column layout files
// number them: kind (hidden), name, file type, size, date, then on the local side the icon, on
// the server side permissions, owner and group, icon. The icon column is shown leftmost.
namespace FileGridColumns {

enum Column { Kind = 0, Name = 1, FileType = 2, Size = 3, Date = 4 };
constexpr int LocalIcon = 5;
constexpr int Permissions = 5;
constexpr int Owner = 6;
constexpr int ServerIcon = 7;

constexpr int count(BrowserSide side) { return side == BrowserSide::Local ? 6 : 8; }
constexpr int iconColumn(BrowserSide side) { return side == BrowserSide::Local ? LocalIcon : ServerIcon; }
// The width each column has before a layout file changes it.
int designWidth(BrowserSide side, int column);
QString caption(BrowserSide side, int column, const Language *language);

// The fields a sort key compares, in order.
enum class Field { Kind, Name, FileType, Size, Date, Permissions, Owner };
// The key of a column; empty for a column that does not sort (kind, icon, out of range).
QList<Field> sortKey(BrowserSide side, int column);

} // namespace FileGridColumns

} // namespace Velmora
