#pragma once

#include "common/ListingEntry.h"

#include <QString>
#include <QtGlobal>

namespace Velmora {

class Language;

// One row of a file grid: what the cells show, and the numbers the rows sort by. Dates are kept
// as milliseconds since the epoch; local dates are shown in local time, server dates exactly as
// the listing gave them (kept as UTC so no time zone shifts them).
struct FileGridEntry {
    static constexpr EntryKind Folder = EntryKind::Folder;
    static constexpr EntryKind File = EntryKind::File;
    static constexpr EntryKind Link = EntryKind::Link;

    QString name;
    QString typeText;
    QString permissions; // server rows only
    QString owner;       // server rows only
    QString rawSize;     // a size field that is no whole number, shown as it came
    QString rawDate;     // a date field that could not be read, shown as it came
    qint64 size = 0;
    qint64 dateMs = 0;
    EntryKind kind = EntryKind::File;
    bool isParent = false; // the ".." row
    bool hasDate = false;
    bool utcDate = false;

    // The entry's own name: a server link's cell reads "name -> target", its name is "name".
    QString ownName() const;

    // The ".." row: a folder without type and size, dated now.
    static FileGridEntry parentRow();
};

// "Directory" ("Ordner") for a folder, "Link" for a server link; for a file the extension (from
// the last "." on) in upper case followed by "-Datei", every "." removed; "Datei" without one.
QString FileTypeText(EntryKind kind, const QString &name, const Language *language);

} // namespace Velmora
