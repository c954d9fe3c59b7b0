#include "ListingRecord.h"

#include "ListingDate.h"
#include "ListingLine.h"

#include "common/ListingEntry.h"
#include "common/RecordText.h"

namespace Velmora {

QString ListingNameProblem(const QString &name, bool isLink)
{
    // A link's target may hold anything a path holds; only its own name must be safe.
    if (RecordText::holdsSeparator(name))
        return RecordText::nameProblem(name);
    return RecordText::nameProblem(ListingEntry::ownName(name, isLink ? EntryKind::Link : EntryKind::File));
}

namespace {

// Only names with one of these characters (or links, whose own part may be "..") can have a
// problem; most names have none.
bool needsNameCheck(QStringView name)
{
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'/' || u == u'\\' || u == u'|' || u == u'\u00A7' || u == u'\r' || u == u'\n')
            return true;
    }
    return false;
}

} // namespace

ListingRecordResult BuildListingRecord(const QString &line, const QDateTime &parsedDate, const QString &todayText)
{
    ListingRecordResult result;
    const ListingColumns c = SplitListingLine(line);
    const QStringView name = c.name();
    // A line without a name (cut off, or no entry at all) lists nothing: an empty name field
    // would let every later field of the record take its place.
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u"../.."))
        return result;

    const EntryKind kind = EntryType(line);
    if ((kind == EntryKind::Link || needsNameCheck(name))
        && !ListingNameProblem(name.toString(), kind == EntryKind::Link).isEmpty()) {
        result.name = name.toString();
        result.outcome = ListingRecordResult::Refused;
        return result;
    }

    const QString month = ListingMonth(c.column[5]);
    QString date;
    if (c.column[7].contains(u':')) {
        const QString day = parsedDate.isValid() ? RecordDateText(parsedDate.date())
                                                 : FallbackEntryDate(c.column[6], month, todayText);
        date = day + u' ' + c.column[7];
    } else {
        date = c.column[6] + u'.' + month + u'.' + c.column[7];
    }

    QString &r = result.record;
    r.reserve(line.size() + 16);
    r += ListingEntry::kindChar(kind);
    r += u'|';
    r += name;
    r += u'|';
    if (kind == EntryKind::Folder)
        r += u'0';
    else
        r += c.column[4];
    r += u'|';
    r += date;
    r += u'|';
    r += c.column[0];
    r += u'|';
    r += c.column[2];
    r += u' ';
    r += c.column[3];
    // The other columns must not break the record either (a "|" in the owner column would
    // shift every later field).
    if (r.count(u'|') != 5 || r.contains(u'\u00A7') || r.contains(u'\r') || r.contains(u'\n')) {
        result.record.clear();
        result.name = name.toString();
        result.outcome = ListingRecordResult::Refused;
        return result;
    }
    result.outcome = ListingRecordResult::Record;
    return result;
}

} // namespace Velmora
