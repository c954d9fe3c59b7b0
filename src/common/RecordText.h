#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
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

// The message for a path that no record can carry intact: a record would cut it at the
// separator and the command would reach another file. Nothing is sent for such a path.
inline QString pathRefusal(const QString &path, bool german)
{
    QString shown = path;
    for (QChar &c : shown) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return german ? QString::fromUtf8("Der Pfad \"%1\" enthält \"|\", \"§\" oder einen Zeilenumbruch. Damit kann das Programm "
                                      "nicht arbeiten; es wurde nichts gesendet. Bitte benennen Sie den Ordner oder die Datei um.")
                        .arg(shown)
                  : QString::fromUtf8("The path \"%1\" contains \"|\", \"§\" or a line break. The program cannot work with "
                                      "it; nothing was sent. Please rename the folder or file.")
                        .arg(shown);
}

// The protocol line for a file or folder left out of the work because records cannot hold its
// name (or path).
inline QString skippedNameText(const QString &path, bool german)
{
    QString shown = path;
    for (QChar &c : shown) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            c = u'?';
    }
    return (german ? QString::fromUtf8("Übersprungen: ein Name, den Auftragszeilen nicht aufnehmen können: ")
                   : QStringLiteral("Skipped a name that queue records cannot hold: "))
        + shown;
}

// The first of the paths that no record can carry intact, or an empty text when all can.
inline QString firstPathWithSeparator(const QStringList &paths)
{
    for (const QString &path : paths) {
        if (holdsSeparator(path))
            return path;
    }
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
