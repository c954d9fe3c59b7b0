#include "ServerNameCodec.h"

#include "ListingLine.h"

#include "common/ListingEntry.h"
#include "common/TextCodec.h"

namespace Velmora {

bool ServerNameCodec::isUtf8Text(const QByteArray &bytes) const
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return TextCodec::IsValidUtf8(bytes);
    }
    return true; // plain ASCII reads the same either way
}

void ServerNameCodec::remember(const QString &name)
{
    if (!name.isEmpty())
        m_legacyNames.insert(name);
}

QString ServerNameCodec::decodeListingLine(const QByteArray &bytes)
{
    if (m_utf8 && isUtf8Text(bytes))
        return QString::fromUtf8(bytes);
    const QString line = TextCodec::DecodeWindows1252(bytes);
    if (!m_utf8)
        return line;
    // Remember every way the listing rules may cut a name out of this line.
    const QString name = SplitListingLine(line).name().toString();
    remember(name);
    if (name.contains(ListingEntry::LinkArrow)) {
        remember(ListingEntry::ownName(name, EntryKind::Link).toString());
        remember(ListingEntry::linkTargetOf(name, EntryKind::Link).toString());
    }
    const QString converted = ConvertMsDosLine(line);
    if (converted != line) // an MS-DOS line: the whole name after the size column
        remember(SplitListingLine(converted).name().toString());
    return line;
}

QString ServerNameCodec::decodePath(const QByteArray &bytes)
{
    if (m_utf8 && isUtf8Text(bytes))
        return QString::fromUtf8(bytes);
    const QString path = TextCodec::DecodeWindows1252(bytes);
    if (m_utf8) {
        for (const QString &segment : path.split(u'/', Qt::SkipEmptyParts))
            remember(segment);
    }
    return path;
}

QByteArray ServerNameCodec::encode(const QString &text) const
{
    const auto encodeSegment = [this](QStringView segment) -> QByteArray {
        // Without UTF-8 a name goes back as the Windows-1252 bytes it came as (even where those
        // bytes would also read as UTF-8); only a name typed here that does not fit is UTF-8.
        const auto plain = [this](QStringView part) {
            if (m_utf8)
                return part.toUtf8();
            bool fits = false;
            const QByteArray bytes = TextCodec::EncodeWindows1252(part, &fits);
            return fits ? bytes : part.toUtf8();
        };
        if (m_legacyNames.isEmpty())
            return plain(segment);
        if (m_legacyNames.contains(segment.toString()))
            return TextCodec::EncodeWindows1252(segment);
        // "CHMOD 644 name": a remembered name at the end of a longer argument.
        for (const QString &name : m_legacyNames) {
            if (segment.size() > name.size() && segment.endsWith(name)
                && segment[segment.size() - name.size() - 1] == u' ')
                return plain(segment.left(segment.size() - name.size())) + TextCodec::EncodeWindows1252(name);
        }
        return plain(segment);
    };
    if (m_legacyNames.isEmpty() || !text.contains(u'/'))
        return encodeSegment(text);
    // A whole argument may itself be a remembered name that contains "/" (a link target).
    if (m_legacyNames.contains(text))
        return TextCodec::EncodeWindows1252(text);
    QByteArray out;
    qsizetype start = 0;
    while (true) {
        const qsizetype slash = text.indexOf(u'/', start);
        out += encodeSegment(QStringView(text).mid(start, slash < 0 ? -1 : slash - start));
        if (slash < 0)
            break;
        out += '/';
        start = slash + 1;
    }
    return out;
}

} // namespace Velmora
