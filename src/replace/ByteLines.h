#pragma once

#include <QByteArray>
#include <QList>

namespace Velmora {

// The 8-bit line model of the files that search and replace works on. No character set is
// decoded and a byte-order mark is an ordinary byte.
namespace ByteLines {

// Lines end at CR, at LF or at CR LF; a final line break makes no extra empty line; a NUL
// byte ends the text and nothing after it is read.
QList<QByteArray> Split(const QByteArray &bytes);
// Every line, the last one included, followed by CR LF.
QByteArray Join(const QList<QByteArray> &lines);
// The bytes before the first NUL (all of them when there is none).
QByteArray TextBeforeNul(const QByteArray &bytes);

// The lines of a text, each with its own line end (CR, LF or CR LF) still attached, so that
// joining them gives the bytes back exactly; the last line may have none.
QList<QByteArray> SplitKeepingEnds(const QByteArray &bytes);
// The line end a line carries ("\r\n", "\r", "\n" or nothing).
QByteArray LineEndOf(const QByteArray &line);
// The first line end of the text: what lines added to it end with (CR LF when it has none).
QByteArray UsualLineEnd(const QByteArray &bytes);
// A file that holds a NUL byte, or UTF-16 or UTF-32 text, is binary: search and replace never
// change it.
bool IsBinary(const QByteArray &bytes);

} // namespace ByteLines

} // namespace Velmora
