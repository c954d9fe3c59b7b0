#pragma once

#include "common/ListingEntry.h"

#include <QString>

namespace Velmora {

// The two file grids, as the builders name them.
enum class GridSide { Local, Server };

// One selected row of a file grid, as the builders take it: kind,
// name, the size cell without blanks and dots, the date cell, and on the server side the
// permissions and the owner cells. The ".." row is never one.
struct SelectionLine {
    EntryKind kind = EntryKind::File;
    QString name;
    QString size;
    QString date;
    QString permissions;
    QString owner;
    bool server = false;

    // kind "|" name "|" size "|" date, on the server side followed by "|" permissions "|" owner.
    QString text() const;
    // The entry's own name: for a server link the part of the cell before " -> ".
    QString realName() const;
    // The size as a byte count; 0 when the cell holds no whole number.
    qint64 bytes() const;
    // A size cell as a selection line holds it: trimmed, every "." removed.
    static QString sizeField(const QString &cellText);
};

} // namespace Velmora
