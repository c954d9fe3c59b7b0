#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>

namespace Velmora {

// The modification time of one raw listing line, as the client's parsed listing gives it:
// Unix lines ("Dec  8 10:30" or "Mar  5  2009") and MS-DOS lines ("12-08-26  10:30AM"). An
// entry that shows a time of day has no year: it is taken as the current year, or the previous
// one when the entry's month is later than today's. Invalid when the line carries no date.
// Listings name no time zone: the date and time are given as shown, marked as UTC (which also
// keeps long listings from asking the system for its local time zone once per line).
QDateTime ParseListingDate(QStringView line, const QDate &today);

// Dates in listing records are always written "dd.mm.yyyy", whatever the system's locale, so
// records and queue files stay portable; the grids convert them for display.
QString RecordDateText(const QDate &date);

// The date of an entry with a time of day when the client offers no parsed date. todayText is
// today's date as the records write it ("dd.mm.yyyy"); it is split at "."; the entry's year is
// today's, minus one when the entry's month-and-day is on or after today's. When todayText
// cannot be split into three numbers the year is "2010". Gives day + "." + month + "." + year.
QString FallbackEntryDate(QStringView day, const QString &month, const QString &todayText);

} // namespace Velmora
