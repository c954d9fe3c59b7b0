#include "TextCodec.h"

#include "OwnerOnly.h"

#include <cstring>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace Velmora::TextCodec {

namespace {

// Code points of the bytes 0x80 to 0x9F; undefined bytes keep their own value.
constexpr char16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

int byteFor(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kHighTable[i] == u)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

bool FitsWindows1252(QStringView text)
{
    for (QChar c : text) {
        if (byteFor(c.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray EncodeWindows1252(QStringView text, bool *ok)
{
    QByteArray out;
    out.reserve(text.size());
    bool allFit = true;
    for (QChar c : text) {
        const int b = byteFor(c.unicode());
        if (b < 0) {
            allFit = false;
            out.append('?');
        } else {
            out.append(char(b));
        }
    }
    if (ok)
        *ok = allFit;
    return out;
}

QString DecodeWindows1252(const QByteArray &bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar *data = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        data[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHighTable[b - 0x80]) : QChar(char16_t(b));
    }
    return out;
}

bool IsValidUtf8(const QByteArray &bytes)
{
    // Checked in place (a file of many megabytes is not decoded for it): no overlong forms, no
    // surrogates, nothing above U+10FFFF, no cut sequence. ASCII goes eight bytes at a time.
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int follow = 0;
        unsigned char low = 0x80; // the allowed range of the second byte
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2;
            if (c == 0xE0)
                low = 0xA0; // overlong
            else if (c == 0xED)
                high = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3;
            if (c == 0xF0)
                low = 0x90; // overlong
            else if (c == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= follow)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= follow; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += follow + 1;
    }
    return true;
}

QByteArray Encode(QStringView text)
{
    bool fits = false;
    QByteArray cp = EncodeWindows1252(text, &fits);
    // Windows-1252 bytes beyond ASCII that happen to form valid UTF-8 ("Ã©" is C3 A9, which
    // is "é" in UTF-8) would read back as another text: such a text is written as UTF-8.
    if (fits && (!IsValidUtf8(cp) || isAscii(cp)))
        return cp;
    return text.toUtf8();
}

QString Decode(const QByteArray &bytes)
{
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return DecodeWindows1252(bytes);
}

bool WriteTextFile(const QString &path, const QString &text)
{
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    OwnerOnly::restrictNew(file, existed);
    file.write(Encode(text));
    return file.commit();
}

static QString joinLines(const QStringList &lines)
{
    QString text;
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    text.reserve(total);
    for (const QString &line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

bool WriteLines(const QString &path, const QStringList &lines)
{
    return WriteTextFile(path, joinLines(lines));
}

bool AppendLines(const QString &path, const QStringList &lines)
{
    const bool existed = QFileInfo::exists(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    OwnerOnly::restrictNew(file, existed);
    const QByteArray bytes = Encode(joinLines(lines));
    return file.write(bytes) == bytes.size();
}

QString ReadTextFile(const QString &path, bool *exists)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (exists)
            *exists = false;
        return {};
    }
    if (exists)
        *exists = true;
    return Decode(file.readAll());
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QStringList ReadLines(const QString &path, bool *exists)
{
    return SplitLines(ReadTextFile(path, exists));
}

} // namespace Velmora::TextCodec
