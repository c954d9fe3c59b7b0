#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// What kind of bytes a file holds, as the editor and search and replace need to know before
// they touch it: both work on 8-bit text (UTF-8 or Windows-1252 lines) and keep every byte they
// do not change. A file that holds a NUL byte, or that starts with the byte order mark of UTF-16
// or UTF-32, is no such text: changing it line by line would damage it.
namespace Velmora::ByteShape {

enum class Kind {
    EightBitText, // UTF-8 or Windows-1252 lines (a UTF-8 byte order mark included)
    NulBytes,     // a NUL byte somewhere: a binary file
    WideText,     // UTF-16 or UTF-32 with its byte order mark
};

Kind Classify(QByteArrayView bytes);
inline bool IsEightBitText(QByteArrayView bytes) { return Classify(bytes) == Kind::EightBitText; }

// The UTF-8 byte order mark "EF BB BF" at the start.
bool HasUtf8Bom(QByteArrayView bytes);
inline constexpr qsizetype Utf8BomSize = 3;
// The length of a UTF-16 or UTF-32 byte order mark at the start (2 or 4), else 0.
qsizetype WideBomSize(QByteArrayView bytes);
// UTF-16 or UTF-32 text as characters, by its byte order mark (the mark itself left out).
QString DecodeWide(const QByteArray &bytes);

} // namespace Velmora::ByteShape
