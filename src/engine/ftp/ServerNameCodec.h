#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

namespace Velmora {

// Turns the bytes of server names into text and back, so that every name goes back to the
// server byte for byte as it came. Once the server announced UTF8 (FEAT), bytes that are valid
// UTF-8 are read as UTF-8 and anything else as Windows-1252; without the announcement
// everything is Windows-1252 (which maps each byte to one character and back). Names that had
// to be read as Windows-1252 in UTF-8 mode are remembered, so they are sent as those bytes again.
class ServerNameCodec {
public:
    void setUtf8(bool on) { m_utf8 = on; }
    bool isUtf8() const { return m_utf8; }

    // A line of a listing; the names in it are remembered when the line was not UTF-8.
    QString decodeListingLine(const QByteArray &bytes);
    // A path from a reply (PWD); its segments are remembered when it was not UTF-8.
    QString decodePath(const QByteArray &bytes);
    // A path or name for a command: segment by segment, remembered names as their own bytes,
    // everything else as UTF-8 (UTF-8 mode) or Windows-1252 when it fits.
    QByteArray encode(const QString &text) const;

    void forget() { m_legacyNames.clear(); }

private:
    bool isUtf8Text(const QByteArray &bytes) const;
    void remember(const QString &name);

    bool m_utf8 = false;
    QSet<QString> m_legacyNames;
};

} // namespace Velmora
