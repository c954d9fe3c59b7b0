#include "QueueTableModel.h"

#include "common/Language.h"

#include <QDateTime>

#include <algorithm>

namespace Velmora {

QueueTableModel::QueueTableModel(Language *language, QObject *parent)
    : QAbstractTableModel(parent)
    , m_language(language)
{
    setObjectName(QStringLiteral("QueueTableModel"));
    if (m_language) {
        connect(m_language, &Language::languageChanged, this,
                [this] { Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1); });
    }
}

int QueueTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int QueueTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString QueueTableModel::columnCaption(int column, bool german)
{
    switch (column) {
    case SourceColumn:
        return german ? QStringLiteral("Quelle:") : QStringLiteral("Source:");
    case CmdColumn:
        return german ? QStringLiteral("Befehl:") : QStringLiteral("Cmd:");
    case DestinationColumn:
        return german ? QStringLiteral("Ziel:") : QStringLiteral("Destination:");
    case FilesizeColumn:
        return german ? QString::fromUtf8("Dateigröße:") : QStringLiteral("Filesize:");
    case DateColumn:
        return german ? QStringLiteral("Datum:") : QStringLiteral("Date:");
    default:
        return {};
    }
}

QVariant QueueTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return columnCaption(section, m_language && m_language->isGerman());
}

QVariant QueueTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const QueueRow &row = m_rows[size_t(index.row())].row;
    if (role == Qt::TextAlignmentRole && index.column() == FilesizeColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case SourceColumn:
        return row.source;
    case CmdColumn:
        return row.cmd;
    case DestinationColumn:
        return row.destination;
    case FilesizeColumn:
        return row.filesize;
    case DateColumn:
        return role == Qt::DisplayRole ? displayDate(row.date) : row.date;
    default:
        return {};
    }
}

void QueueTableModel::setGermanDates(bool german)
{
    m_germanDates = german;
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, DateColumn), index(rowCount() - 1, DateColumn));
}

QString QueueTableModel::nowText() const
{
    return QDateTime::currentDateTime().toString(m_germanDates ? u"dd.MM.yyyy hh:mm:ss" : u"MM/dd/yyyy hh:mm:ss");
}

QString QueueTableModel::displayDate(const QString &text) const
{
    static const QString formats[] = {
        QStringLiteral("dd.MM.yyyy hh:mm:ss"), QStringLiteral("dd.MM.yyyy hh:mm"), QStringLiteral("dd.MM.yyyy"),
        QStringLiteral("MM/dd/yyyy hh:mm:ss"), QStringLiteral("MM/dd/yyyy hh:mm"), QStringLiteral("MM/dd/yyyy"),
    };
    const QString trimmed = text.trimmed();
    for (const QString &format : formats) {
        const QDateTime value = QDateTime::fromString(trimmed, format);
        if (value.isValid())
            return value.toString(m_germanDates ? u"dd.MM.yyyy hh:mm:ss" : u"MM/dd/yyyy hh:mm:ss");
    }
    return text;
}

int QueueTableModel::indexOfId(quint64 id) const
{
    // Ids grow with every appended row and rows never move, so they are sorted.
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), id,
                                     [](const Entry &entry, quint64 value) { return entry.id < value; });
    if (it == m_rows.end() || it->id != id)
        return -1;
    return int(it - m_rows.begin());
}

QList<QueueRow> QueueTableModel::rows() const
{
    QList<QueueRow> result;
    result.reserve(qsizetype(m_rows.size()));
    for (const Entry &entry : m_rows)
        result.append(entry.row);
    return result;
}

quint64 QueueTableModel::appendRows(const QList<QueueRow> &rows)
{
    const quint64 first = m_nextId;
    if (rows.isEmpty())
        return first;
    const int start = rowCount();
    beginInsertRows({}, start, start + int(rows.size()) - 1);
    for (const QueueRow &row : rows)
        m_rows.push_back({row, m_nextId++});
    endInsertRows();
    return first;
}

void QueueTableModel::removeRowAt(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void QueueTableModel::setFilesize(int row, const QString &filesize)
{
    if (row < 0 || row >= rowCount())
        return;
    m_rows[size_t(row)].row.filesize = filesize;
    const QModelIndex cell = index(row, FilesizeColumn);
    Q_EMIT dataChanged(cell, cell);
}

bool QueueTableModel::removeRowById(quint64 id)
{
    const int row = indexOfId(id);
    if (row < 0)
        return false;
    removeRowAt(row);
    return true;
}

void QueueTableModel::clear()
{
    if (m_rows.empty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void QueueTableModel::setRows(const QList<QueueRow> &rows)
{
    beginResetModel();
    m_rows.clear();
    for (const QueueRow &row : rows)
        m_rows.push_back({row, m_nextId++});
    endResetModel();
}

qint64 QueueTableModel::totalBytes() const
{
    qint64 total = 0;
    for (const Entry &entry : m_rows)
        total += entry.row.sizeBytes();
    return total;
}

} // namespace Velmora
