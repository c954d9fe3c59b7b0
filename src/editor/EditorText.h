#pragma once

#include "common/ByteShape.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

// The editor's file text: 8-bit lines that end at CR, LF or CR LF. Saving keeps every byte the
// user did not change.
namespace EditorText {

struct Loaded {
    QString text;       // the lines joined by CR LF, without a break after the last one
    bool utf8 = false;  // the bytes were valid UTF-8 (else they were read as Windows-1252)
    bool utf8Bom = false; // a UTF-8 file that starts with its byte order mark: not shown, always written
    // A file with NUL bytes or in UTF-16/32 cannot be saved as lines without damage: it is shown
    // read-only.
    ByteShape::Kind shape = ByteShape::Kind::EightBitText;
    QByteArray bytes;   // the file as read or last written: unchanged lines are kept from it
    QByteArray usualEnd = QByteArrayLiteral("\r\n"); // the file's first line end: new lines end with it

    bool canBeSaved() const { return shape == ByteShape::Kind::EightBitText; }
};

// Valid UTF-8 is read as UTF-8, anything else as Windows-1252.
Loaded Decode(const QByteArray &bytes);
// Every line end (CR, LF or CR LF) as CR LF; a final line end is dropped (it makes no line).
QString WithWindowsLineEnds(const QString &text);
// The file without its text: what Encode needs. The text to show comes from ShownUtf8.
Loaded Read(const QByteArray &bytes);
// The text as the editor shows it, in UTF-8, and its size: the first ShownSize bytes are
// Decode's text. Made without a QString and, for a UTF-8 file with CR LF line ends, without a
// copy, so a file of many megabytes goes to the text component quickly.
QByteArray ShownUtf8(const Loaded &file);
qsizetype ShownSize(const QByteArray &shown); // without a final line end
// Where the next piece of shown text should end when it goes to the component in pieces of
// about limit bytes: after a line end when there is one, never inside a character; at most
// ShownSize.
qsizetype PieceEnd(const QByteArray &shown, qsizetype from, qsizetype limit);
// The characters of the text that the file's encoding cannot hold, each once, in the order they
// come (at most a few): empty for a UTF-8 file and for text that fits Windows-1252.
QString Unfit(const QString &text, const Loaded &file);
// The bytes to write for the text of a file that was read: every line the user did not change
// is written with the very bytes it was read from and its own line end (a file that mixes UTF-8
// and Windows-1252 lines, or CR LF and LF, keeps them); only new and changed lines are encoded,
// in the file's encoding, and end with the file's first line end; within a changed line the
// untouched characters keep their bytes. A UTF-8 byte order mark stays. A file without a final
// line break keeps having none. The file then remembers what was written, for the next save.
// A file is never written half in one encoding, half in another: when the text holds characters
// that Windows-1252 lacks (see Unfit; the caller asks first), the whole file becomes UTF-8, its
// Windows-1252 lines converted and its UTF-8 lines kept.
QByteArray Encode(const QString &text, Loaded &file);

// The status line's first and second fields.
struct Counts {
    qsizetype characters = 0; // the lengths of all lines; line breaks do not count
    qsizetype lines = 0;      // a final line break makes no extra line
};
// Of UTF-8 text, as the text component holds it; a character is a code point.
Counts Count(QByteArrayView utf8);
QString CountsText(const Counts &counts, bool german = false); // " 12chars   3 lines", " 12 Zeichen   3 Zeilen"
QString CaretText(int line, int column, bool german = false);  // " Ln: 0   Col: 4", " Zeile: 0   Spalte: 4"

} // namespace EditorText

} // namespace Velmora
