#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace Velmora {

// The characters that hold records and rows together, and the rules that keep names and values
// from breaking them. Listings, queue records, queue rows and the site store all use these.
namespace RecordText {

// Between the fields of a listing record and of a queue record's head: type|name|size|...
inline constexpr QChar FieldSeparator = u'|';
// Between the entries of a queue row and between the fields of a stored site: "§".
inline constexpr QChar EntrySeparator = QChar(0x00A7);

// True when the text holds a character that no record or row can carry: "|", "§" or a line
// break.
inline bool holdsSeparator(QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'|' || u == 0x00A7 || u == u'\r' || u == u'\n')
            return true;
    }
    return false;
}

// Why a single name (a file or folder name, not a path) cannot be used, or an empty text when
// it can: names that records cannot hold, names with a path separator, and "." and "..", which
// would leave the folder they belong to.
inline QString nameProblem(QStringView name)
{
    if (holdsSeparator(name))
        return QStringLiteral("contains a character that records cannot hold");
    if (name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("contains a path separator");
    if (name == u"." || name == u"..")
        return QStringLiteral("names a parent or current folder");
    return {};
}

// A text as it may be shown in the protocol: control characters (C0 and C1) become "?", so a
// hostile name can neither break a protocol line nor hide what it is.
inline QString printable(QString text)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            c = u'?';
    }
    return text;
}

} // namespace RecordText

} // namespace Velmora
