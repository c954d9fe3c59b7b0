#pragma once

#include <QDateTime>
#include <QString>

namespace Velmora {

// The result of turning one (already MS-DOS-converted) listing line into a listing record:
// type "|" name "|" size "|" date "|" permissions "|" owner and group.
struct ListingRecordResult {
    enum Outcome {
        Record,   // record holds the listing record
        Excluded, // ".", "..", a name containing "../.." or no name at all: silently left out
        Refused,  // a name no record may carry (see ListingNameProblem), or a line whose other
                  // columns hold "|", "§" or a line break; name says which entry
    };
    Outcome outcome = Excluded;
    QString record;
    QString name;
};

// parsedDate is the client's modification date for the entry (invalid when it has none);
// todayText is today's date in the records' format, used by the fallback date rule.
ListingRecordResult BuildListingRecord(const QString &line, const QDateTime &parsedDate, const QString &todayText);

// Why a listed name can never become a record, or empty when it can: the name (for a link the
// part before " -> ") must not contain "/" or "\" nor be "." or "..", so it can never leave the
// folder it is written to; no part may contain "|", "§" or a line break, which records and
// queue rows cannot hold.
QString ListingNameProblem(const QString &name, bool isLink);

} // namespace Velmora
