#include "GridLayoutFile.h"

#include "common/IniFile.h"

namespace Velmora {

namespace {

const QString Common = QStringLiteral("Common");
const QString SortKind = QStringLiteral("Columns Sort Kind");
const QString Visible = QStringLiteral("Visible Columns");
const QString Sorted = QStringLiteral("Sorted");
const QString Positions = QStringLiteral("Positions");
const QString Sizes = QStringLiteral("Columns Sizes");

std::optional<int> readNumber(const IniFile &ini, const QString &section, const QString &key, int low, int high)
{
    if (!ini.hasKey(section, key))
        return std::nullopt;
    bool ok = false;
    const int value = ini.readString(section, key).trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<bool> readFlag(const IniFile &ini, const QString &section, const QString &key)
{
    if (!ini.hasKey(section, key))
        return std::nullopt;
    bool ok = false;
    const qint64 value = ini.readString(section, key).trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value != 0;
}

} // namespace

QList<GridLayoutFile::StoredColumn> GridLayoutFile::read(const QString &path, int columnCount)
{
    IniFile ini(path);
    if (!ini.load())
        return {};
    QList<StoredColumn> columns(columnCount);
    for (int n = 0; n < columnCount; ++n) {
        const QString key = QStringLiteral("Column") + QString::number(n);
        StoredColumn &c = columns[n];
        c.width = readNumber(ini, Sizes, key, 1, MaximumWidth);
        c.position = readNumber(ini, Positions, key, 0, columnCount - 1);
        c.visible = readFlag(ini, Visible, key);
        c.sorted = readFlag(ini, Sorted, key);
        if (ini.hasKey(SortKind, key)) {
            const QString kind = ini.readString(SortKind, key).trimmed();
            if (kind.compare(u"Descending", Qt::CaseInsensitive) == 0)
                c.descending = true;
            else if (kind.compare(u"Ascending", Qt::CaseInsensitive) == 0)
                c.descending = false;
        }
    }
    return columns;
}

bool GridLayoutFile::write(const QString &path, const QList<Column> &columns)
{
    IniFile ini(path);
    ini.writeInteger(Common, QStringLiteral("ColumnsCount"), columns.size());
    const auto forEach = [&columns, &ini](const QString &section, auto value) {
        for (qsizetype n = 0; n < columns.size(); ++n)
            ini.writeString(section, QStringLiteral("Column") + QString::number(n), value(columns[n]));
    };
    forEach(SortKind, [](const Column &c) { return c.descending ? QStringLiteral("Descending") : QStringLiteral("Ascending"); });
    forEach(Visible, [](const Column &c) { return c.visible ? QStringLiteral("1") : QStringLiteral("0"); });
    forEach(Sorted, [](const Column &c) { return c.sorted ? QStringLiteral("1") : QStringLiteral("0"); });
    forEach(Positions, [](const Column &c) { return QString::number(c.position); });
    forEach(Sizes, [](const Column &c) { return QString::number(c.width); });
    return ini.save();
}

} // namespace Velmora
