#pragma once

class QFontMetrics;
class QString;

namespace Velmora {

// Grid column widths are given for the classic 8-point dialog font, whose digits are 6 pixels
// wide. Desktop fonts on Linux are larger, so the widths grow with the font: a column keeps room
// for the same number of characters, never less than it was given.
namespace ColumnWidth {

// The factor for this font (at least 1).
double scale(const QFontMetrics &metrics);
// The given width grown with the font.
int scaled(int designWidth, const QFontMetrics &metrics);
// Room for a cell's whole text: its advance plus the margins a table cell draws around it.
int forText(const QString &text, const QFontMetrics &metrics);

} // namespace ColumnWidth

} // namespace Velmora
