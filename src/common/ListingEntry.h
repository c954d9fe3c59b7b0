#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

namespace Velmora {

// What a listed or selected entry is. The numbers are the kind field of listing records and of
// the entry parts of queue records.
enum class EntryKind : qint8 { Folder = 0, File = 1, Link = 2 };

// One entry of a server listing and its one text form, the listing record:
//   kind "|" name "|" size "|" date "|" permissions "|" owner and group
// A link's name field holds its own name, " -> " and its target ("www -> public"); only the own
// name names the entry on the server.
struct ListingEntry {
    EntryKind kind = EntryKind::File;
    QString name;        // the entry's own name
    QString linkTarget;  // a link's target; empty for every other entry
    QString sizeText;    // the size field as listed
    qint64 size = 0;     // the size field as a byte count; 0 when it is no whole number
    QDateTime date;      // the date field read as a date (see readDate); invalid when it is none
    QString dateText;    // the date field as listed
    QString permissions;
    QString owner;       // owner and group

    // The name field: the own name, for a link followed by " -> " and the target.
    QString listedName() const;

    QString format() const;
    // Fields by the word rule; the kind field "0" is a folder, "2" a link, anything else a file.
    // Only the size and the kind are trimmed.
    static ListingEntry parse(QStringView record);

    // The first four fields of a record (or of a queue record's entry part) as views into it,
    // untrimmed, for readers that go over many records without copying them.
    struct Fields {
        QStringView kind;
        QStringView name;
        QStringView size;
        QStringView date;
    };
    static Fields fieldsOf(QStringView record);

    // The one link rule: a link's name field up to " -> " is its own name, the rest its target.
    // The name of any other entry is all its own.
    static QStringView ownName(QStringView listedName, EntryKind kind);
    static QStringView linkTargetOf(QStringView listedName, EntryKind kind);
    static constexpr QStringView LinkArrow = u" -> ";

    static EntryKind kindOf(QStringView field);
    static QChar kindChar(EntryKind kind) { return QChar(u'0' + int(kind)); }

    // "dd.mm.yyyy[ hh:nn[:ss]]" read as a date and time as shown, without a time zone (UTC);
    // an invalid date when the text is no such date.
    static QDateTime readDate(QStringView text);
};

} // namespace Velmora
