#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QCollator;

namespace Velmora {

// What one list command gave: the raw lines in order and, per line, the client's parsed
// modification date (invalid where it has none).
struct ListingPass {
    QStringList lines;
    QList<QDateTime> dates;
    bool refused = false; // the server answered the list command with an error reply
};

struct ListingResult {
    QStringList records;       // sorted, each entry once
    QStringList firstPassLog;  // "DirectoryListing_1.log": first pass after MS-DOS conversion
    QStringList secondPassLog; // "DirectoryListing_2.log"
    QStringList completeLog;   // "DirectoryListing_Complete.log": sorted, before de-duplication
    QStringList refusedNames;  // listed names that never become records
    bool firstPassVoid = false;
};

// Builds the listing of one folder from its two passes ("LIST .*" and "LIST"). A first pass
// that was refused or holds a blank line is void: its records are dropped and the second pass
// alone gives the result. Summary lines ("total 12") and blank lines of the second pass carry
// no entry and are skipped. The records are sorted case-insensitively with the collator (the
// current locale when none is given); a record exactly equal to one already taken is dropped
// (records that differ only in case are different files on a case-sensitive server). Without
// keepLogs the three log lists stay empty.
ListingResult BuildListing(const ListingPass &first, const ListingPass &second, const QString &todayText,
                           bool keepLogs = true, const QCollator *collator = nullptr);

// Sorts records case-insensitively and locale-aware, as the listing does.
void SortListingRecords(QStringList &records, const QCollator *collator = nullptr);

} // namespace Velmora
