#include "EditorText.h"

#include "common/TextCodec.h"

#include <QHash>

namespace Velmora::EditorText {

namespace {

// The lines of the bytes, each without its line end (CR, LF or CR LF), and the ends.
QList<QByteArray> byteLines(const QByteArray &bytes, QList<QByteArray> *ends)
{
    QList<QByteArray> lines;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        const bool crlf = c == '\r' && i + 1 < n && bytes[i + 1] == '\n';
        ends->append(crlf ? QByteArrayLiteral("\r\n") : QByteArray(1, c));
        if (crlf)
            ++i;
        start = i + 1;
    }
    if (start < n) {
        lines.append(bytes.mid(start));
        ends->append(QByteArray());
    }
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
    loaded.lineBytes = byteLines(bytes, &loaded.lineEnds);
    if (!loaded.lineEnds.isEmpty() && !loaded.lineEnds.first().isEmpty())
        loaded.usualEnd = loaded.lineEnds.first();
    loaded.lines.reserve(loaded.lineBytes.size());
    for (const QByteArray &line : std::as_const(loaded.lineBytes))
        loaded.lines.append(loaded.utf8 ? QString::fromUtf8(line) : TextCodec::DecodeWindows1252(line));
    loaded.text = loaded.lines.join(QStringLiteral("\r\n"));
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
    // A file without a final line break keeps having none; an empty file gets one per line.
    const bool finalBreak = file.lineEnds.isEmpty() || !file.lineEnds.last().isEmpty();
    QList<QByteArray> written;
    QList<QByteArray> ends;
    written.reserve(lines.size());
    ends.reserve(lines.size());
    QByteArray out;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString &line = lines[n];
        const bool last = n + 1 == lines.size();
        QByteArray bytes;
        QByteArray end;
        bool kept = false;
        const auto found = places.constFind(line);
        if (found != places.constEnd()) {
            qsizetype &at = cursor[line];
            while (at < found->size() && found->at(at) < next)
                ++at;
            if (at < found->size()) {
                const qsizetype original = found->at(at);
                next = original + 1;
                bytes = file.lineBytes[original];
                end = file.lineEnds.value(original);
                ++at;
                kept = true;
            }
        }
        if (!kept)
            bytes = encodeLine(line, file.utf8);
        if (end.isEmpty() && (!last || finalBreak))
            end = file.usualEnd;
        if (last && !finalBreak)
            end.clear();
        out += bytes;
        out += end;
        written.append(bytes);
        ends.append(end);
    }
    file.lines = lines;
    file.lineBytes = written;
    file.lineEnds = ends;
    file.text = text;
    return out;
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

QString CountsText(const Counts &counts, bool german)
{
    return u' ' + QString::number(counts.characters) + (german ? QStringLiteral(" Zeichen   ") : QStringLiteral("chars   "))
        + QString::number(counts.lines) + (german ? QStringLiteral(" Zeilen") : QStringLiteral(" lines"));
}

QString CaretText(int line, int column, bool german)
{
    return (german ? QStringLiteral(" Zeile: ") : QStringLiteral(" Ln: ")) + QString::number(line)
        + (german ? QStringLiteral("   Spalte: ") : QStringLiteral("   Col: ")) + QString::number(column);
}

} // namespace Velmora::EditorText
