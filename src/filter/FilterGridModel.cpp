#include "FilterGridModel.h"

#include "FilterMatching.h"
#include "common/ListingEntry.h"
#include "common/QueueRecord.h"

#include <QSet>

namespace Velmora {

FilterGridModel::FilterGridModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int FilterGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_records.size());
}

int FilterGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FilterGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (index.column() == TickColumn)
        return role == Qt::CheckStateRole ? QVariant(isTicked(index.row()) ? Qt::Checked : Qt::Unchecked) : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
        return {};
    const FilterRow row = rowAt(index.row());
    switch (index.column()) {
    case SourceColumn:
        return row.source;
    case CmdColumn:
        return row.cmd;
    case DestinationColumn:
        return row.destination;
    case SizeColumn:
        return row.size;
    case DateColumn:
        return role == Qt::DisplayRole && m_dateDisplay ? m_dateDisplay(row.date) : row.date;
    default:
        return {};
    }
}

bool FilterGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != TickColumn || role != Qt::CheckStateRole)
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags FilterGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == TickColumn)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant FilterGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case SourceColumn:
        return QStringLiteral("Server / Local File:");
    case CmdColumn:
        return QStringLiteral("Cmd:");
    case DestinationColumn:
        return QStringLiteral("Remote File:");
    case SizeColumn:
        return QStringLiteral("Size:");
    case DateColumn:
        return QStringLiteral("Date:");
    default:
        return QString();
    }
}

void FilterGridModel::setRecords(const QStringList &records)
{
    beginResetModel();
    m_records = records;
    m_ticked.assign(size_t(m_records.size()), true);
    endResetModel();
}

void FilterGridModel::replaceRecordsKeepingUnticks(const QStringList &records)
{
    QSet<QString> unticked;
    for (qsizetype row = 0; row < m_records.size(); ++row) {
        if (!m_ticked[size_t(row)])
            unticked.insert(m_records[row]);
    }
    beginResetModel();
    m_records = records;
    m_ticked.assign(size_t(m_records.size()), true);
    for (qsizetype row = 0; row < m_records.size(); ++row)
        m_ticked[size_t(row)] = !unticked.contains(m_records[row]);
    endResetModel();
}

void FilterGridModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= rowCount() || m_ticked[size_t(row)] == ticked)
        return;
    m_ticked[size_t(row)] = ticked;
    const QModelIndex cell = index(row, TickColumn);
    Q_EMIT dataChanged(cell, cell, {Qt::CheckStateRole});
}

void FilterGridModel::setAllTicked(bool ticked)
{
    std::fill(m_ticked.begin(), m_ticked.end(), ticked);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, TickColumn), index(rowCount() - 1, TickColumn), {Qt::CheckStateRole});
}

QList<FilterRow> FilterGridModel::tickedRows() const
{
    QList<FilterRow> result;
    for (int row = 0; row < rowCount(); ++row) {
        if (m_ticked[size_t(row)])
            result.append(rowAt(row));
    }
    return result;
}

qint64 FilterGridModel::sizeSum(int first, int last) const
{
    qint64 sum = 0;
    last = std::min(last, rowCount());
    for (int row = std::max(first, 0); row < last; ++row) {
        const QStringView entry = QueueRecord::split(m_records.at(row)).entry;
        qint64 bytes = 0;
        if (FilterRowSize(ListingEntry::fieldsOf(entry).size, bytes))
            sum += bytes;
    }
    return sum;
}

} // namespace Velmora
