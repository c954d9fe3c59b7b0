#pragma once

#include <QString>

namespace Velmora {

// "1234567" -> "1.234.567" (+ four spaces when pad). Blanks, "-" and "." are dropped first and
// leading zeros removed, so applying it to its own output gives the same text.
QString FormatSizeDots(const QString &text, bool pad);
// Totals: "1.048.576  bytes  (1.00 MB)"; below 1024 only "D  bytes".
QString FormatSizeLong(qint64 bytes);
// Chart figures: n / 1024 with two decimals + " kB"; "-" when n is not a whole number.
QString FormatSizeKB(const QString &decimalText);
// Two decimals with "." as decimal mark and "," grouping in the integer part.
QString FormatTwoDecimals(double value);

} // namespace Velmora
