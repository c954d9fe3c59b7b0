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

} // namespace ByteLines

} // namespace Velmora
