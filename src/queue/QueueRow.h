#pragma once

#include "common/RecordText.h"

#include <QString>

namespace Velmora {

// One row of the queue grid and one line of a queue file: the five cells Source, Cmd,
// Destination, Filesize and Date. In files the cells are joined by "§".
struct QueueRow {
    QString source;
    QString cmd;
    QString destination;
    QString filesize;
    QString date;

    bool operator==(const QueueRow &) const = default;

    // The five cells joined by "§".
    QString toLine() const;
    // Reads one line of a queue file: every "§§" becomes "§ §" (so an empty cell survives the
    // word rule as a single blank), then the cells are words 1 to 5 by "§", not trimmed. A sixth
    // and later field is ignored; missing ones stay empty.
    static QueueRow fromLine(const QString &line);
    // A line with nothing but blanks is no row: the last-queue file blanks the rows it has done.
    static bool isBlankLine(QStringView line);

    // The Filesize text as a byte count: every "." removed, read as a 64-bit number, so sizes of
    // 2 GiB and more keep their value. A text that is no whole number counts 0.
    qint64 sizeBytes() const;

    static constexpr QChar Separator = RecordText::EntrySeparator;
};

} // namespace Velmora
