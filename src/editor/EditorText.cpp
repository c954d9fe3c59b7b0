#include "EditorText.h"

#include "common/TextCodec.h"

namespace Velmora::EditorText {

Loaded Decode(const QByteArray &bytes)
{
    Loaded loaded;
    loaded.utf8 = TextCodec::IsValidUtf8(bytes);
    const QString text = loaded.utf8 ? QString::fromUtf8(bytes) : TextCodec::DecodeWindows1252(bytes);
    loaded.text = TextCodec::SplitLines(text).join(QStringLiteral("\r\n"));
    return loaded;
}

QByteArray Encode(const QString &text, bool utf8)
{
    QString joined;
    const QStringList lines = TextCodec::SplitLines(text);
    for (const QString &line : lines) {
        joined += line;
        joined += QStringLiteral("\r\n");
    }
    return utf8 ? joined.toUtf8() : TextCodec::Encode(joined);
}

Counts Count(const QString &text)
{
    Counts counts;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            ++counts.lines;
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
        } else {
            ++counts.characters;
        }
    }
    if (n > 0 && text[n - 1] != u'\r' && text[n - 1] != u'\n')
        ++counts.lines;
    return counts;
}

QString CountsText(const Counts &counts)
{
    return u' ' + QString::number(counts.characters) + QStringLiteral("chars   ") + QString::number(counts.lines)
        + QStringLiteral(" lines");
}

QString CaretText(int line, int column)
{
    return QStringLiteral(" Ln: ") + QString::number(line) + QStringLiteral("   Col: ") + QString::number(column);
}

} // namespace Velmora::EditorText
