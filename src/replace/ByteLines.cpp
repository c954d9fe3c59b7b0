#include "ByteLines.h"

#include "common/ByteShape.h"

namespace Velmora::ByteLines {

QByteArray TextBeforeNul(const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.left(nul);
}

QList<QByteArray> Split(const QByteArray &bytes)
{
    QList<QByteArray> lines = SplitKeepingEnds(TextBeforeNul(bytes));
    for (QByteArray &line : lines)
        line.chop(LineEndOf(line).size());
    return lines;
}

QByteArray Join(const QList<QByteArray> &lines)
{
    qsizetype total = 0;
    for (const QByteArray &line : lines)
        total += line.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QByteArray &line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

QList<QByteArray> SplitKeepingEnds(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    const qsizetype n = bytes.size();
    const char *data = bytes.constData();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        lines.append(bytes.mid(start, i + 1 - start));
        start = i + 1;
    }
    if (start < n)
        lines.append(bytes.mid(start));
    return lines;
}

QByteArray LineEndOf(const QByteArray &line)
{
    if (line.endsWith("\r\n"))
        return QByteArrayLiteral("\r\n");
    if (line.endsWith('\n'))
        return QByteArrayLiteral("\n");
    if (line.endsWith('\r'))
        return QByteArrayLiteral("\r");
    return {};
}

QByteArray UsualLineEnd(const QByteArray &bytes)
{
    const qsizetype at = bytes.indexOf('\n');
    const qsizetype cr = bytes.indexOf('\r');
    if (cr >= 0 && (at < 0 || cr < at))
        return cr + 1 < bytes.size() && bytes[cr + 1] == '\n' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r");
    return at >= 0 ? QByteArrayLiteral("\n") : QByteArrayLiteral("\r\n");
}

bool IsBinary(const QByteArray &bytes)
{
    return !ByteShape::IsEightBitText(bytes);
}

} // namespace Velmora::ByteLines
