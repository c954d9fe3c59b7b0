#pragma once

#include <QString>

namespace Velmora {

// Passwords are stored as three decimal digits per byte ("abc" -> "097098099"). The bytes are
// Windows-1252 when every character fits, else UTF-8, so no password is ever lost.
QString EncodePassword(const QString &password);
// Groups of three characters, each read as a byte (modulo 256); a trailing group of one or two
// characters is ignored. A group that is not a number makes *ok false and stops decoding there.
QString DecodePassword(const QString &encoded, bool *ok = nullptr);

} // namespace Velmora
