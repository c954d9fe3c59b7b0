#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The 8-bit text rule of every state file: written as Windows-1252 when every character fits
// (and the bytes cannot be mistaken for UTF-8), otherwise as UTF-8; read as UTF-8 when the
// bytes are valid UTF-8, otherwise as Windows-1252.
namespace Velmora::TextCodec {

bool FitsWindows1252(QStringView text);
// Characters outside Windows-1252 become '?' and *ok is cleared.
QByteArray EncodeWindows1252(QStringView text, bool *ok = nullptr);
// Every byte maps to one character; the five bytes Windows-1252 leaves undefined map to the
// C1 control of the same value, so any byte string round-trips.
QString DecodeWindows1252(const QByteArray &bytes);
bool IsValidUtf8(const QByteArray &bytes);

// Windows-1252 when it fits and reads back as the same text, else UTF-8 (so Decode(Encode(t))
// is always t).
QByteArray Encode(QStringView text);
QString Decode(const QByteArray &bytes);      // UTF-8 when valid, else Windows-1252

// Atomic writes (a crash never leaves half a file). Lines end with CR LF.
bool WriteTextFile(const QString &path, const QString &text);
bool WriteLines(const QString &path, const QStringList &lines);
// Appends lines to an existing file (or creates it); used for logs that only grow.
bool AppendLines(const QString &path, const QStringList &lines);
// Reads a text file; lines may end with CR LF, LF or CR. Missing file gives an empty list and
// *exists false.
QString ReadTextFile(const QString &path, bool *exists = nullptr);
QStringList ReadLines(const QString &path, bool *exists = nullptr);
QStringList SplitLines(const QString &text);

} // namespace Velmora::TextCodec
