#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace Velmora {

// German umlauts and the sharp s in a file whose lines may be Windows-1252 or UTF-8: a term
// typed as single bytes is turned into UTF-8 for the lines that are written in UTF-8.
namespace Utf8Umlauts {

// True when the line holds the UTF-8 form of Ü, ü, Ä, ä, Ö, ö or ß.
bool ContainsUtf8Umlaut(QByteArrayView line);
// Every Windows-1252 byte of those seven letters replaced by its UTF-8 sequence.
QByteArray AnsiUmlautsToUtf8(const QByteArray &text);
// True when the text holds one of the seven Windows-1252 bytes (so the conversion changes it).
bool ContainsAnsiUmlaut(QByteArrayView text);

} // namespace Utf8Umlauts

} // namespace Velmora
