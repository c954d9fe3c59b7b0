#include "FileGridSort.h"

#include "FileGridColumns.h"

#include <algorithm>

namespace Velmora {

namespace {

using Field = FileGridColumns::Field;

} // namespace

int CompareTextIgnoringCase(const QString &a, const QString &b)
{
    const QChar *pa = a.constData();
    const QChar *pb = b.constData();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = pa[i].unicode();
        char16_t cb = pb[i].unicode();
        if (ca == cb)
            continue;
        if (ca >= 128 || cb >= 128) {
            // Qt folds whole code points: two characters that differ only in the second half of
            // a surrogate pair are compared from the pair's first half on.
            if (i > 0 && QChar::isLowSurrogate(ca) && QChar::isHighSurrogate(pa[i - 1].unicode()))
                --i;
            return QStringView(a).mid(i).compare(QStringView(b).mid(i), Qt::CaseInsensitive);
        }
        if (ca >= u'A' && ca <= u'Z')
            ca += 32;
        if (cb >= u'A' && cb <= u'Z')
            cb += 32;
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

namespace {

template <typename T>
int compareNumbers(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareField(const FileGridEntry &a, const FileGridEntry &b, Field field)
{
    switch (field) {
    case Field::Kind:
        return compareNumbers(int(a.kind), int(b.kind));
    case Field::Name:
        return CompareTextIgnoringCase(a.name, b.name);
    case Field::FileType:
        return CompareTextIgnoringCase(a.typeText, b.typeText);
    case Field::Size:
        return compareNumbers(a.size, b.size);
    case Field::Date:
        // Rows without a readable date come first.
        if (a.hasDate != b.hasDate)
            return a.hasDate ? 1 : -1;
        return compareNumbers(a.dateMs, b.dateMs);
    case Field::Permissions:
        return CompareTextIgnoringCase(a.permissions, b.permissions);
    case Field::Owner:
        return CompareTextIgnoringCase(a.owner, b.owner);
    }
    return 0;
}

int compareByKey(const FileGridEntry &a, const FileGridEntry &b, const QList<Field> &key)
{
    for (Field field : key) {
        if (const int c = compareField(a, b, field))
            return c;
    }
    return 0;
}

} // namespace

int CompareFileGridEntries(const FileGridEntry &a, const FileGridEntry &b, BrowserSide side, int column)
{
    return compareByKey(a, b, FileGridColumns::sortKey(side, column));
}

bool SortFileGridEntries(std::vector<FileGridEntry> &rows, BrowserSide side, int column, bool descending)
{
    const QList<Field> key = FileGridColumns::sortKey(side, column);
    if (key.isEmpty())
        return false;
    const size_t first = !rows.empty() && rows.front().isParent ? 1 : 0;
    if (rows.size() - first < 2)
        return true;

    // Positions are sorted, then the rows follow them cycle by cycle: each row moves once and no
    // second copy of 100,000 rows is ever held.
    std::vector<quint32> order(rows.size() - first);
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = quint32(first + i);
    std::stable_sort(order.begin(), order.end(), [&rows, &key](quint32 x, quint32 y) {
        return compareByKey(rows[x], rows[y], key) < 0;
    });
    if (descending)
        std::reverse(order.begin(), order.end());

    // Row first + k takes the row now at order[k].
    std::vector<bool> placed(order.size(), false);
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start] || order[start] == first + start)
            continue;
        FileGridEntry held = std::move(rows[first + start]);
        size_t k = start;
        for (;;) {
            placed[k] = true;
            const size_t from = order[k] - first;
            if (from == start) {
                rows[first + k] = std::move(held);
                break;
            }
            rows[first + k] = std::move(rows[first + from]);
            k = from;
        }
    }
    return true;
}

} // namespace Velmora
