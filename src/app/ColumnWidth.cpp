#include "ColumnWidth.h"

#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <cmath>

namespace Velmora::ColumnWidth {

namespace {

// Ten digits of the font the widths were made for.
constexpr double DesignDigitsWidth = 60.0;
// What a table cell adds around its text (focus frame and margins on both sides).
constexpr int CellMargins = 12;

} // namespace

double scale(const QFontMetrics &metrics)
{
    const int digits = metrics.horizontalAdvance(QStringLiteral("0123456789"));
    return std::max(1.0, digits / DesignDigitsWidth);
}

int scaled(int designWidth, const QFontMetrics &metrics)
{
    return int(std::lround(designWidth * scale(metrics)));
}

int forText(const QString &text, const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(text) + CellMargins;
}

} // namespace Velmora::ColumnWidth
