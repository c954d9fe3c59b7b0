#pragma once

#include "RecordText.h"

#include <QString>
#include <QStringView>

namespace Velmora {

// What a queue record asks the run to do.
enum class QueueCommand {
    None,       // a blank record: no row, no work
    Retr,       // download the remote source to the local target
    Stor,       // upload the local source to the remote target
    Dele,       // delete the remote file
    Rmd,        // remove the remote folder
    Mkd,        // make the remote folder when it is missing
    MkLocalDir, // make the local folder with every missing parent
    Chmod,      // set the remote path's permissions to the target's digits
    DelLoc,     // a local file to delete; the local delete carries it out itself
    Cwd,        // change to the remote folder
    Other,      // a word the run does not know (a hand-edited file); word() keeps it
};

// One queue record and its one text form:
//   command "|" source ["|" target ["|" size]] ["§" entry]
// The entry part describes the file the record is about (kind|name|size|date, optionally
// |rights|owner): a listing record, a selection line or a collected file's entry. A "RETR"
// record without one carries its size as third argument; a "DELLOC" record writes a single blank
// as target so that its entry part keeps its place.
//
// Reading follows the word rule: the text is trimmed; the command part is word 1 and the entry
// part word 2 by "§" (text after a second "§" is dropped), both trimmed; command, source and
// target are words 1 to 3 of the command part by "|", trimmed.
struct QueueRecord {
    QueueCommand command = QueueCommand::None;
    QString source;
    QString target;
    // The size the run takes: for "RETR" word 3 of the entry part, or the third argument when
    // there is no entry part; empty for every other command.
    QString size;
    // Word 4 of the entry part: the entry's date as written.
    QString date;
    // The entry part, written as it is; size and date are read from it.
    QString entry;

    QueueRecord() = default;
    QueueRecord(QueueCommand command, QString source, QString target = {}, QString entry = {});

    bool isBlank() const { return command == QueueCommand::None; }
    // The command as written: "RETR", "STOR", ... and for an Other command the word it was read with.
    QString word() const;
    // Word 3 of the entry part, trimmed: the size of the file the record is about, whatever the
    // command (the grid and the search window show it).
    QString entrySize() const;

    QString format() const;
    static QueueRecord parse(QStringView record);

    // A record of a command the run does not know, as read from a text.
    static QueueRecord other(QString word, QString source, QString target = {});

    // The record's two parts without copying: the command part and the entry part, both trimmed.
    struct Parts {
        QStringView command;
        QStringView entry;
    };
    static Parts split(QStringView record);

    // The entry part of a plain file: "1|" name "|" size "|" date.
    static QString fileEntry(const QString &name, const QString &size, const QString &date);

    static QueueCommand commandOf(QStringView word);
    static QString wordOf(QueueCommand command);

    static constexpr QChar EntrySeparator = RecordText::EntrySeparator;
    // Only in the lists of collected local files: between a full path and its entry part.
    static constexpr QChar CollectedFileSeparator = QChar(0x0083);

private:
    QString m_otherWord;
};

} // namespace Velmora
