#include "EditorText.h"

#include "common/TextCodec.h"

#include <QHash>

namespace Velmora::EditorText {

namespace {

// The lines of the bytes, each without its line end (CR, LF or CR LF).
QList<QByteArray> byteLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(bytes.mid(start));
    return lines;
}

QByteArray encodeLine(const QString &line, bool utf8)
{
    if (utf8)
        return line.toUtf8();
    bool fits = false;
    const QByteArray bytes = TextCodec::EncodeWindows1252(line, &fits);
    return fits ? bytes : line.toUtf8(); // a typed character that has no single byte is kept
}

} // namespace

Loaded Decode(const QByteArray &bytes)
{
    Loaded loaded;
    loaded.utf8 = TextCodec::IsValidUtf8(bytes);
    loaded.lineBytes = byteLines(bytes);
    loaded.lines.reserve(loaded.lineBytes.size());
    for (const QByteArray &line : std::as_const(loaded.lineBytes))
        loaded.lines.append(loaded.utf8 ? QString::fromUtf8(line) : TextCodec::DecodeWindows1252(line));
    loaded.text = loaded.lines.join(QStringLiteral("\r\n"));
    return loaded;
}

QByteArray Encode(const QString &text, Loaded &file)
{
    // Where each shown text stood in the file, in order; a line is matched to the next
    // unused one of the same text after the last match, so unchanged lines keep their bytes.
    QHash<QString, QList<qsizetype>> places;
    for (qsizetype i = 0; i < file.lines.size(); ++i)
        places[file.lines[i]].append(i);
    QHash<QString, qsizetype> cursor;
    qsizetype next = 0;

    const QStringList lines = TextCodec::SplitLines(text);
    QList<QByteArray> written;
    written.reserve(lines.size());
    QByteArray out;
    for (const QString &line : lines) {
        QByteArray bytes;
        bool kept = false;
        const auto found = places.constFind(line);
        if (found != places.constEnd()) {
            qsizetype &at = cursor[line];
            while (at < found->size() && found->at(at) < next)
                ++at;
            if (at < found->size()) {
                next = found->at(at) + 1;
                bytes = file.lineBytes[found->at(at)];
                ++at;
                kept = true;
            }
        }
        if (!kept)
            bytes = encodeLine(line, file.utf8);
        out += bytes;
        out += "\r\n";
        written.append(bytes);
    }
    file.lines = lines;
    file.lineBytes = written;
    file.text = text;
    return out;
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
