#pragma once

#include "FilterCriteria.h"
#include "FilterMessage.h"

#include <QString>

#include <optional>

namespace Velmora {

// Filter files (".fil"): an INI file whose section "SETTINGS" holds the thirteen criteria under
// their own names, written in a fixed order. Keys missing from a file take their defaults (the
// empty filter's values); an index outside its list is kept as it is (the evaluation copes).
//
// A file that is not a filter file, or whose index values are not numbers, is refused with a
// message naming the file and the reason, and the criteria the caller holds stay as they were.
class FilterFile {
public:
    static inline const QString FolderName = QStringLiteral("Saved-Filters");
    static inline const QString Suffix = QStringLiteral("fil");
    static inline const QString DialogFilter = QStringLiteral("Filter (*.fil)");
    // Larger files are not filter files; they are refused before they are read.
    static constexpr qint64 MaximumSize = 1024 * 1024;

    // The criteria of a file, or none with *error set.
    static std::optional<FilterCriteria> read(const QString &path, FilterMessage *error = nullptr);
    // Writes the thirteen keys into path; an existing file keeps its other keys and sections.
    // False with *error set when the file cannot be written (it is then unchanged).
    static bool write(const QString &path, const FilterCriteria &criteria, FilterMessage *error = nullptr);

    // The same on the file's text; name is the file name the messages show.
    static std::optional<FilterCriteria> parse(const QString &text, const QString &name, FilterMessage *error = nullptr);
};

} // namespace Velmora
