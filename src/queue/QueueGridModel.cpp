#include "QueueGridModel.h"

#include "QueueTableModel.h"

#include <algorithm>

namespace Velmora {

QueueGridModel::QueueGridModel(QueueTableModel &source, QObject *parent)
    : QAbstractTableModel(parent)
    , m_source(source)
{
    setObjectName(QStringLiteral("QueueGridModel"));
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(0);
    connect(&m_flushTimer, &QTimer::timeout, this, &QueueGridModel::flush);
    connect(&source, &QAbstractItemModel::rowsInserted, this, &QueueGridModel::sourceRowsInserted);
    connect(&source, &QAbstractItemModel::rowsAboutToBeRemoved, this, &QueueGridModel::sourceRowsAboutToBeRemoved);
    connect(&source, &QAbstractItemModel::dataChanged, this, &QueueGridModel::sourceDataChanged);
    connect(&source, &QAbstractItemModel::modelReset, this, [this] {
        beginResetModel();
        m_pending.clear();
        copyAll();
        endResetModel();
    });
    connect(&source, &QAbstractItemModel::headerDataChanged, this, &QAbstractItemModel::headerDataChanged);
    copyAll();
}

QueueGridModel::Entry QueueGridModel::entryFor(int sourceRow) const
{
    const QueueRow &row = m_source.rowAt(sourceRow);
    return Entry{{row.source, row.cmd, row.destination, row.filesize, row.date}, m_source.idAt(sourceRow)};
}

void QueueGridModel::copyAll()
{
    m_rows.clear();
    for (int i = 0; i < m_source.rowCount(); ++i)
        m_rows.push_back(entryFor(i));
}

int QueueGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int QueueGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : QueueTableModel::ColumnCount;
}

QVariant QueueGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= QueueTableModel::ColumnCount)
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == QueueTableModel::FilesizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
        return {};
    const QString &cell = m_rows[size_t(index.row())].cells[index.column()];
    if (index.column() == QueueTableModel::DateColumn && role == Qt::DisplayRole)
        return m_source.displayDate(cell);
    return cell;
}

QVariant QueueGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return m_source.headerData(section, orientation, role);
}

int QueueGridModel::indexOfId(quint64 id) const
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), id,
                                     [](const Entry &entry, quint64 value) { return entry.id < value; });
    return it != m_rows.end() && it->id == id ? int(it - m_rows.begin()) : -1;
}

void QueueGridModel::sourceRowsInserted(const QModelIndex &, int first, int last)
{
    flush(); // from here on the grid's rows are the source's rows
    beginInsertRows({}, first, last);
    m_rows.insert(m_rows.begin() + first, size_t(last - first + 1), Entry{});
    for (int i = first; i <= last; ++i)
        m_rows[size_t(i)] = entryFor(i);
    endInsertRows();
}

void QueueGridModel::setBatchRemovals(bool batch)
{
    m_batch = batch;
    if (!batch)
        flush();
}

void QueueGridModel::sourceRowsAboutToBeRemoved(const QModelIndex &, int first, int last)
{
    for (int i = first; i <= last; ++i)
        m_pending.append(m_source.idAt(i));
    if (!m_batch)
        flush();
    else if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void QueueGridModel::sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    flush();
    for (int i = topLeft.row(); i <= bottomRight.row(); ++i)
        m_rows[size_t(i)] = entryFor(i);
    Q_EMIT dataChanged(index(topLeft.row(), topLeft.column()), index(bottomRight.row(), bottomRight.column()));
}

void QueueGridModel::flush()
{
    m_flushTimer.stop();
    if (m_pending.isEmpty())
        return;
    QList<int> rows;
    rows.reserve(m_pending.size());
    for (quint64 id : std::as_const(m_pending)) {
        const int row = indexOfId(id);
        if (row >= 0)
            rows.append(row);
    }
    m_pending.clear();
    std::sort(rows.begin(), rows.end());
    // Runs of neighbouring rows go in one step each, the last run first.
    qsizetype end = rows.size();
    while (end > 0) {
        qsizetype start = end - 1;
        while (start > 0 && rows[start - 1] == rows[start] - 1)
            --start;
        const int first = rows[start];
        const int last = rows[end - 1];
        beginRemoveRows({}, first, last);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
        end = start;
    }
}

} // namespace Velmora
