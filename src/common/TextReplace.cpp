#include "TextReplace.h"

namespace Velmora {

namespace {

// Upper-cases one character the way a single-byte (Windows-1252) upper-case table does:
// ASCII letters and the Latin-1 letters that have a single-character upper case.
QChar upperSingleByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z')
        return QChar(u - 32);
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
        return QChar(u - 32);
    if (u == 0xFF)
        return QChar(0x178);
    if (u == 0x161 || u == 0x153 || u == 0x17E)
        return QChar(u - 1);
    return c;
}

bool matchesAt(const QString &text, qsizetype pos, const QString &search, bool ignoreCase)
{
    if (pos + search.size() > text.size())
        return false;
    if (!ignoreCase)
        return QStringView(text).mid(pos, search.size()) == search;
    for (qsizetype k = 0; k < search.size(); ++k) {
        if (upperSingleByte(text[pos + k]) != upperSingleByte(search[k]))
            return false;
    }
    return true;
}

} // namespace

QString ReplaceText(const QString &text, const QString &search, const QString &replacement,
                    bool replaceAll, bool ignoreCase)
{
    if (search.isEmpty()) {
        if (text.isEmpty())
            return replacement;
        throw ReplaceError("Search string cannot be blank");
    }
    QString result;
    result.reserve(text.size());
    qsizetype pos = 0;
    bool replacedOnce = false;
    while (pos < text.size()) {
        if ((!replacedOnce || replaceAll) && matchesAt(text, pos, search, ignoreCase)) {
            result += replacement;
            pos += search.size();
            replacedOnce = true;
            continue;
        }
        result += text[pos];
        ++pos;
    }
    return result;
}

QString ReplaceAll(const QString &text, const QString &search, const QString &replacement, bool ignoreCase)
{
    if (search.isEmpty())
        return text;
    return ReplaceText(text, search, replacement, true, ignoreCase);
}

} // namespace Velmora
