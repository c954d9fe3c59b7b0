#pragma once

#include "common/ListingEntry.h"

#include <QString>
#include <QStringView>

namespace Velmora {

// The columns of a long listing line. The line is split at runs of blanks (tabs are no
// separators): columns 1 to 8 are its first eight words (1 permissions, 2 link count, 3 owner,
// 4 group, 5 size, 6 month, 7 day, 8 time or year); column 9, the name, is everything after
// the one blank that ends the eighth run up to the line end (CR and LF are cut), so inner,
// leading and trailing blanks survive: "a.txt " is another file than "a.txt". A line with
// fewer runs has the whole line, trimmed, as its name. The views point into the line given to SplitListingLine.
struct ListingColumns {
    QStringView column[9]; // column[0] is column 1; missing columns are empty
    QStringView name() const { return column[8]; }
};

ListingColumns SplitListingLine(QStringView line);

// "01" to "12" for the English month abbreviations (any case), otherwise empty.
QString ListingMonth(QStringView monthColumn);

// Turns an MS-DOS style line ("12-08-26  10:30AM  <DIR>  Data") into a Unix style line with the
// date in the month column, "1" as the day and the time in column 8, followed by the whole name
// (everything after the size or "<DIR>" column, trimmed); other lines are returned unchanged.
QString ConvertMsDosLine(const QString &line);
bool IsMsDosLine(QStringView line);

// "total 12": the block count that ls-like servers put in front of a listing.
bool IsListingSummaryLine(QStringView line);

// The kind of a raw listing line by its first character ("d" or "0" a folder, "l" a link).
EntryKind EntryType(QStringView lineOrRecord);

} // namespace Velmora
