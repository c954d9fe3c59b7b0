#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Small text rules shared by the importers. The importers read every file byte for byte as
// Windows-1252 (each byte one character), so the two-byte UTF-8 sequences that some clients
// write stay visible as two characters until RepairGermanLetters folds them.
namespace Velmora {

// German letters that arrive as two-byte UTF-8 sequences become the single Windows-1252
// letters, and the euro sign the word "Euro" (the byte 80 and the sequence E2 82).
QString RepairGermanLetters(const QString &text);
// Removes every occurrence of tag, ignoring case.
QString RemoveAll(const QString &text, const QString &tag);
// Removes blanks and control characters at both ends.
QString Trim(const QString &text);
// fallback when the text is empty.
inline QString OrDefault(const QString &value, const QString &fallback)
{
    return value.isEmpty() ? fallback : value;
}
// The lines of an imported file, each byte one Windows-1252 character.
QStringList ImportLines(const QByteArray &bytes);

} // namespace Velmora
