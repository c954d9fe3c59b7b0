#pragma once

#include "BrowserSide.h"
#include "FileGridEntry.h"

#include <vector>

namespace Velmora {

// Orders rows by a column's key (FileGridColumns::sortKey): text fields compare without regard
// to case, kind, size and date as numbers. Descending is the exact reverse of ascending. A parent
// row in front stays in front. A column without key leaves the order alone and returns false.
bool SortFileGridEntries(std::vector<FileGridEntry> &rows, BrowserSide side, int column, bool descending);

// Compares without regard to case exactly as QString::compare(Qt::CaseInsensitive) orders, with a
// fast path for ASCII, so the names of 100,000 files sort in a fraction of the time.
int CompareTextIgnoringCase(const QString &a, const QString &b);

// Three-way comparison of two rows by a column's key (0 when the column has no key).
int CompareFileGridEntries(const FileGridEntry &a, const FileGridEntry &b, BrowserSide side, int column);

} // namespace Velmora
