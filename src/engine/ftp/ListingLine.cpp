#include "ListingLine.h"

namespace Velmora {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The line without the line end a server may have left on it; blanks before it are part of the
// last column (a name may end in one: "a.txt " beside "a.txt").
QStringView withoutLineEnd(QStringView line)
{
    while (!line.isEmpty() && (line.back() == u'\r' || line.back() == u'\n'))
        line.chop(1);
    return line;
}

} // namespace

ListingColumns SplitListingLine(QStringView wholeLine)
{
    const QStringView line = withoutLineEnd(wholeLine);
    ListingColumns columns;
    const qsizetype n = line.size();
    qsizetype pos = 0;
    while (pos < n && line[pos] == u' ')
        ++pos;
    int word = 0;
    while (word < 8 && pos < n) {
        const qsizetype start = pos;
        while (pos < n && line[pos] != u' ')
            ++pos;
        columns.column[word++] = line.mid(start, pos - start);
        const qsizetype runStart = pos;
        while (pos < n && line[pos] == u' ')
            ++pos;
        if (pos == runStart)
            break; // the line ended inside this word: no run of blanks after it
    }
    // Eight runs of blanks after eight words: the rest is the name. Servers put exactly one blank
    // between the time or year and the name, so further blanks belong to a name that starts with
    // blanks; dropping them would make the row name a different entry (or a sibling of that name).
    if (word == 8 && pos <= n && pos > 0 && line[pos - 1] == u' ') {
        qsizetype nameStart = pos;
        while (nameStart > 0 && line[nameStart - 1] == u' ')
            --nameStart;
        ++nameStart; // the one separating blank
        columns.column[8] = line.mid(nameStart);
        if (columns.column[8].trimmed().isEmpty())
            columns.column[8] = {};
    } else
        columns.column[8] = line.trimmed();
    return columns;
}

QString ListingMonth(QStringView monthColumn)
{
    static const char16_t *const names[12] = {u"jan", u"feb", u"mar", u"apr", u"may", u"jun",
                                              u"jul", u"aug", u"sep", u"oct", u"nov", u"dec"};
    static const QString numbers[12] = {
        QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"), QStringLiteral("04"),
        QStringLiteral("05"), QStringLiteral("06"), QStringLiteral("07"), QStringLiteral("08"),
        QStringLiteral("09"), QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12")};
    if (monthColumn.size() != 3)
        return {};
    for (int i = 0; i < 12; ++i) {
        if (monthColumn.compare(QStringView(names[i]), Qt::CaseInsensitive) == 0)
            return numbers[i];
    }
    return {};
}

bool IsMsDosLine(QStringView line)
{
    qsizetype pos = 0;
    while (pos < line.size() && line[pos] == u' ')
        ++pos;
    const QStringView w = line.mid(pos);
    if (w.size() < 8)
        return false;
    return isDigit(w[0]) && isDigit(w[1]) && w[2] == u'-' && isDigit(w[3]) && isDigit(w[4]) && w[5] == u'-'
        && isDigit(w[6]) && isDigit(w[7]);
}

QString ConvertMsDosLine(const QString &line)
{
    if (!IsMsDosLine(line))
        return line;
    // Date, time and size or "<DIR>", then the name: everything after the size column, so a
    // name with blanks stays whole.
    QStringView words[4];
    const qsizetype n = line.size();
    qsizetype pos = 0;
    for (int i = 0; i < 3; ++i) {
        while (pos < n && line[pos] == u' ')
            ++pos;
        const qsizetype start = pos;
        while (pos < n && line[pos] != u' ')
            ++pos;
        words[i] = QStringView(line).mid(start, pos - start);
    }
    // One run of blanks ends the size column; blanks at the end belong to the name.
    words[3] = withoutLineEnd(QStringView(line).mid(pos));
    while (!words[3].isEmpty() && words[3].front() == u' ')
        words[3] = words[3].mid(1);
    const bool directory = words[2] == u"<DIR>";
    QString out;
    out.reserve(line.size() + 40);
    out += directory ? u"d---------" : u"----------";
    out += u" 1 ---------- ---------- ";
    out += directory ? QStringView(u"0") : words[2];
    out += u' ';
    out += words[0];
    out += u" 1 ";
    out += words[1];
    out += u' ';
    out += words[3];
    return out;
}

bool IsListingSummaryLine(QStringView line)
{
    const QStringView t = line.trimmed();
    if (t.size() < 7 || !t.startsWith(u"total ", Qt::CaseInsensitive))
        return false;
    const QStringView count = t.mid(6).trimmed();
    if (count.isEmpty())
        return false;
    for (QChar c : count) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

EntryKind EntryType(QStringView lineOrRecord)
{
    if (lineOrRecord.isEmpty())
        return EntryKind::File;
    const QChar c = lineOrRecord[0].toLower();
    if (c == u'd' || c == u'0')
        return EntryKind::Folder;
    if (c == u'l')
        return EntryKind::Link;
    return EntryKind::File;
}

} // namespace Velmora
