#pragma once

#include <QString>

namespace Velmora {

class Language;

// The six operations of a search-and-replace run, in the order of the search window's list.
enum class ReplaceMode {
    ReplaceTerm = 0,
    ReplaceFile = 1,
    InsertAfterTerm = 2,
    InsertBeforeTerm = 3,
    InsertAtBeginning = 4,
    InsertAtEnd = 5,
};

inline constexpr int ReplaceModeCount = 6;

// The caption of an operation in the list, in English or German. The backup index records the
// caption of the language current at the time of the run.
QString ReplaceModeCaption(ReplaceMode mode, bool german);
QString ReplaceModeCaption(ReplaceMode mode, const Language &language);

} // namespace Velmora
