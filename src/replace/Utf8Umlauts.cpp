#include "Utf8Umlauts.h"

namespace Velmora::Utf8Umlauts {

namespace {

// The Windows-1252 byte and the second byte of the UTF-8 sequence (the first is always 0xC3).
struct Umlaut {
    unsigned char ansi;
    unsigned char utf8Second;
};

constexpr Umlaut kUmlauts[7] = {
    {0xDC, 0x9C}, {0xFC, 0xBC}, {0xC4, 0x84}, {0xE4, 0xA4}, {0xD6, 0x96}, {0xF6, 0xB6}, {0xDF, 0x9F},
};

int umlautIndexOfAnsi(unsigned char b)
{
    for (int k = 0; k < 7; ++k) {
        if (kUmlauts[k].ansi == b)
            return k;
    }
    return -1;
}

} // namespace

bool ContainsUtf8Umlaut(QByteArrayView line)
{
    const qsizetype n = line.size();
    for (qsizetype i = 0; i + 1 < n; ++i) {
        if (static_cast<unsigned char>(line[i]) != 0xC3)
            continue;
        const auto second = static_cast<unsigned char>(line[i + 1]);
        for (const Umlaut &u : kUmlauts) {
            if (u.utf8Second == second)
                return true;
        }
    }
    return false;
}

bool ContainsAnsiUmlaut(QByteArrayView text)
{
    for (char c : text) {
        if (umlautIndexOfAnsi(static_cast<unsigned char>(c)) >= 0)
            return true;
    }
    return false;
}

QByteArray AnsiUmlautsToUtf8(const QByteArray &text)
{
    if (!ContainsAnsiUmlaut(text))
        return text;
    QByteArray out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        const int k = umlautIndexOfAnsi(static_cast<unsigned char>(c));
        if (k < 0) {
            out.append(c);
        } else {
            out.append(char(0xC3));
            out.append(char(kUmlauts[k].utf8Second));
        }
    }
    return out;
}

} // namespace Velmora::Utf8Umlauts
