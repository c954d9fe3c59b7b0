#pragma once

#include "common/QueueRecord.h"
#include "common/RecordText.h"

#include "QueueRow.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

// A collected local file: its full path and the entry part its record will carry, joined by
// U+0083 in the lists the local walks fill.
struct CollectedFile {
    QString path;
    QString entry;

    QString format() const { return path + QueueRecord::CollectedFileSeparator + entry; }
    static CollectedFile parse(const QString &text);
};

// The queue row a record is shown as. nowText stands in for a record without a date.
QueueRow RowFromRecord(const QString &record, const QString &nowText);

// The record a row runs as: "RETR" and "STOR" rows with an entry part rebuilt from the row,
// "DELE" and "RMD" rows as Cmd "|" Source; every other row gives none, and so does a row that
// QueueRowProblem refuses.
std::optional<QString> RecordFromRow(const QueueRow &row);

// Why a "RETR", "STOR", "DELE" or "RMD" row (from a queue file edited by hand or made elsewhere)
// cannot become a record, or an empty text when it can: a path that is blank, a cell with "|"
// (the record would carry other paths than the row shows: "DELE" of "/a|b" would delete "/a"),
// or a local file name that no record may carry ("." or "..", or one with "\").
QString QueueRowProblem(const QueueRow &row);

// Why "Run queue" cannot carry a grid row out, or an empty text when it can or when the row
// needs no record of its own ("MKD" and "MKLOCALDIR" rows: the run makes the folders its
// transfers need). Rows of other commands ("CHMOD", "DELLOC", unknown ones) and rows that
// QueueRowProblem refuses cannot run.
QString RowNotRunProblem(const QueueRow &row);
// A row as one line of text for messages: command, source and destination.
QString RowText(const QueueRow &row);
// The protocol line for such a row.
QString RowNotRunText(const QueueRow &row, const QString &problem);

// The file name of a local path: the text after its last "/".
QString LocalFileName(const QString &path);

// Drops every line equal (exactly) to an earlier one; the first occurrence keeps its place.
QStringList RemoveDuplicates(const QStringList &lines);

// "MKD" records for the remote folders the "STOR" records of the list upload into: every level
// of each destination's folder that differs from the server path box's folder at the same
// depth, without duplicates, in the order found. The caller puts them in front of the list.
QStringList DeriveMkdRecords(const QStringList &records, const QString &serverPathBox);

// The local folders the "RETR" records of the list download into, each level once, in the order
// found: what must exist before the downloads run.
QStringList LocalFoldersToCreate(const QStringList &records);

} // namespace Velmora
