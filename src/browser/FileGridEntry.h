#pragma once

#include <QString>
#include <QtGlobal>

namespace Velmora {

class Language;

// One row of a file grid: what the cells show, and the numbers the rows sort by. Dates are kept
// as milliseconds since the epoch; local dates are shown in local time, server dates exactly as
// the listing gave them (kept as UTC so no time zone shifts them).
struct FileGridEntry {
    enum Kind : qint8 { Folder = 0, File = 1, Link = 2 };

    QString name;
    QString typeText;
    QString permissions; // server rows only
    QString owner;       // server rows only
    QString rawSize;     // a size field that is no whole number, shown as it came
    QString rawDate;     // a date field that could not be read, shown as it came
    qint64 size = 0;
    qint64 dateMs = 0;
    qint8 kind = File;
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
QString FileTypeText(int kind, const QString &name, const Language *language);

} // namespace Velmora
