#include "EditorText.h"

#include "common/TextCodec.h"

#include <QHash>

#include <cstring>

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
    return utf8 ? line.toUtf8() : TextCodec::EncodeWindows1252(line);
}

// A line of a Windows-1252 (or mixed) file in UTF-8: a line already written in UTF-8 stays.
QByteArray lineInUtf8(const QByteArray &line)
{
    return TextCodec::IsValidUtf8(line) ? line : TextCodec::DecodeWindows1252(line).toUtf8();
}

// The file's bytes without a UTF-8 byte order mark.
QByteArray bodyOf(const Loaded &file)
{
    return file.utf8Bom ? file.bytes.sliced(ByteShape::Utf8BomSize) : file.bytes;
}

} // namespace

Loaded Read(const QByteArray &bytes)
{
    Loaded loaded;
    loaded.shape = ByteShape::Classify(bytes);
    loaded.utf8 = TextCodec::IsValidUtf8(bytes);
    loaded.utf8Bom = loaded.utf8 && ByteShape::HasUtf8Bom(bytes);
    loaded.bytes = bytes;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            const bool crlf = c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
            loaded.usualEnd = crlf ? QByteArrayLiteral("\r\n") : QByteArray(1, c);
            break;
        }
    }
    return loaded;
}

Loaded Decode(const QByteArray &bytes)
{
    Loaded loaded = Read(bytes);
    QString decoded;
    if (loaded.shape == ByteShape::Kind::WideText)
        decoded = ByteShape::DecodeWide(bytes);
    else if (loaded.utf8)
        decoded = QString::fromUtf8(bodyOf(loaded));
    else
        decoded = TextCodec::DecodeWindows1252(bytes);
    loaded.text = WithWindowsLineEnds(decoded);
    return loaded;
}

namespace {

// Every LF follows a CR and every CR is followed by an LF.
bool hasOnlyWindowsLineEnds(const QByteArray &bytes)
{
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    for (const char *p = begin; (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))); ++p) {
        if (p == begin || p[-1] != '\r')
            return false;
    }
    for (const char *p = begin; (p = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)))); ++p) {
        if (p + 1 == end || p[1] != '\n')
            return false;
    }
    return true;
}

} // namespace

QByteArray ShownUtf8(const Loaded &file)
{
    QByteArray utf8;
    if (file.shape == ByteShape::Kind::WideText)
        utf8 = ByteShape::DecodeWide(file.bytes).toUtf8();
    else if (file.utf8)
        utf8 = bodyOf(file); // shared, not copied, unless a byte order mark is left out
    else
        utf8 = TextCodec::DecodeWindows1252(file.bytes).toUtf8();
    if (hasOnlyWindowsLineEnds(utf8))
        return utf8; // shared, not copied
    const qsizetype n = utf8.size();
    const char *in = utf8.constData();
    QByteArray out;
    out.reserve(n + n / 32 + 2);
    qsizetype start = 0; // bytes before it are in out
    for (qsizetype i = 0; i < n; ++i) {
        const char c = in[i];
        if (c != '\r' && c != '\n')
            continue;
        if (c == '\r' && i + 1 < n && in[i + 1] == '\n') {
            ++i; // already CR LF
            continue;
        }
        out.append(in + start, i - start);
        out.append("\r\n", 2);
        start = i + 1;
    }
    out.append(in + start, n - start);
    return out;
}

qsizetype ShownSize(const QByteArray &shown)
{
    return shown.endsWith("\r\n") ? shown.size() - 2 : shown.size();
}

qsizetype PieceEnd(const QByteArray &shown, qsizetype from, qsizetype limit)
{
    const qsizetype n = ShownSize(shown);
    if (n - from <= limit)
        return n;
    const qsizetype lf = shown.lastIndexOf('\n', from + limit - 1);
    if (lf >= from)
        return lf + 1;
    qsizetype end = from + limit;
    while (end > from && (static_cast<unsigned char>(shown[end]) & 0xC0) == 0x80)
        --end;
    return end > from ? end : from + limit;
}

QString WithWindowsLineEnds(const QString &text)
{
    const qsizetype n = text.size();
    const QChar *in = text.constData();
    bool alreadyWindows = true;
    for (qsizetype i = 0; i < n && alreadyWindows; ++i) {
        if (in[i] == u'\r' && (i + 1 >= n || in[i + 1] != u'\n'))
            alreadyWindows = false;
        else if (in[i] == u'\n' && (i == 0 || in[i - 1] != u'\r'))
            alreadyWindows = false;
    }
    QString out;
    if (alreadyWindows) {
        out = text;
    } else {
        out.reserve(n + n / 16);
        for (qsizetype i = 0; i < n; ++i) {
            const QChar c = in[i];
            if (c == u'\r' || c == u'\n') {
                out += QStringLiteral("\r\n");
                if (c == u'\r' && i + 1 < n && in[i + 1] == u'\n')
                    ++i;
            } else {
                out += c;
            }
        }
    }
    // A final line end makes no extra line.
    if (out.endsWith(QStringLiteral("\r\n")))
        out.chop(2);
    return out;
}

QString Unfit(const QString &text, const Loaded &file)
{
    QString unfit;
    if (file.utf8)
        return unfit;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n && unfit.size() < 10; ++i) {
        // A character beyond the 16-bit range is two code units: both go together.
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < n ? 2 : 1;
        const QStringView character = QStringView(text).sliced(i, length);
        if (!TextCodec::FitsWindows1252(character) && !unfit.contains(character))
            unfit += character;
        i += length - 1;
    }
    return unfit;
}

QByteArray Encode(const QString &text, Loaded &file)
{
    // Characters Windows-1252 lacks: the whole file goes to UTF-8, never half of it.
    const bool toUtf8 = !file.utf8 && !Unfit(text, file).isEmpty();
    QList<QByteArray> lineEnds;
    const QList<QByteArray> lineBytes = byteLines(bodyOf(file), &lineEnds);
    QStringList fileLines;
    fileLines.reserve(lineBytes.size());
    for (const QByteArray &line : lineBytes)
        fileLines.append(file.utf8 ? QString::fromUtf8(line) : TextCodec::DecodeWindows1252(line));
    // Where each shown text stood in the file, in order; a line is matched to the next
    // unused one of the same text after the last match, so unchanged lines keep their bytes.
    QHash<QString, QList<qsizetype>> places;
    for (qsizetype i = 0; i < fileLines.size(); ++i)
        places[fileLines[i]].append(i);
    QHash<QString, qsizetype> cursor;
    qsizetype next = 0;

    // The editor's lines: a text that ends with a line break ends with an empty line, which
    // is written too (a file that ends with an empty line keeps it).
    QStringList lines = TextCodec::SplitLines(text);
    if (text.endsWith(u'\r') || text.endsWith(u'\n'))
        lines.append(QString());
    // A file without a final line break keeps having none; an empty file gets one per line.
    const bool finalBreak = lineEnds.isEmpty() || !lineEnds.last().isEmpty();
    QByteArray out;
    out.reserve(file.bytes.size() + 64);
    if (file.utf8Bom)
        out += QByteArrayView("\xEF\xBB\xBF", ByteShape::Utf8BomSize);
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
                bytes = toUtf8 ? lineInUtf8(lineBytes[original]) : lineBytes[original];
                end = lineEnds.value(original);
                ++at;
                kept = true;
            }
        }
        // A changed line is encoded whole: both encodings give every character read from the
        // file its very bytes again, so its untouched characters keep them.
        if (!kept)
            bytes = encodeLine(line, file.utf8 || toUtf8);
        if (end.isEmpty() && (!last || finalBreak))
            end = file.usualEnd;
        if (last && !finalBreak)
            end.clear();
        out += bytes;
        out += end;
    }
    file.bytes = out;
    file.utf8 = file.utf8 || toUtf8;
    file.text.clear(); // not kept: a large file's text would stay in memory twice
    return out;
}

Counts Count(QByteArrayView utf8)
{
    Counts counts;
    const qsizetype n = utf8.size();
    const char *data = utf8.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            ++counts.lines;
            if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
                ++i;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++counts.characters; // continuation bytes belong to the character before them
        }
    }
    if (n > 0 && data[n - 1] != '\r' && data[n - 1] != '\n')
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
