#pragma once

#include "FilterCriteria.h"
#include "common/Language.h"

#include <QString>

namespace Velmora {

// The one-line description of the filter that both filter labels show and "filter.log" holds,
// made from the trimmed texts and the combo boxes' item texts in the given language. The empty
// filter reads "('*.*' in Filename) ".
QString DescribeFilter(const FilterCriteria &criteria, Language::Id language);

// The font of a filter label for a description: bold 12 points, smaller as the text grows.
struct FilterLabelFont {
    int pointSize = 12;
    bool bold = true;
    bool operator==(const FilterLabelFont &) const = default;
};
FilterLabelFont FilterLabelFontFor(const QString &description);

// The file the description is written to after every evaluation (with "Write logfiles" on).
inline const QString FilterLogFileName = QStringLiteral("filter.log");

} // namespace Velmora
