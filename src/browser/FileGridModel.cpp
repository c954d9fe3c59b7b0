#include "FileGridModel.h"

#include "FileGridColumns.h"
#include "FileGridSort.h"
#include "GridDecorations.h"

#include "common/Language.h"
#include "common/SizeText.h"

#include <QDateTime>

namespace Velmora {

namespace C = FileGridColumns;

FileGridModel::FileGridModel(BrowserSide side, const Language *language, QObject *parent)
    : QAbstractTableModel(parent)
    , m_side(side)
    , m_language(language)
{
    if (language)
        connect(language, &Language::languageChanged, this, &FileGridModel::retranslate);
}

int FileGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FileGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : C::count(m_side);
}

QString FileGridModel::nameAt(int row) const
{
    return row >= 0 && size_t(row) < m_rows.size() ? m_rows[size_t(row)].name : QString();
}

EntryKind FileGridModel::kindAt(int row) const
{
    return row >= 0 && size_t(row) < m_rows.size() ? m_rows[size_t(row)].kind : EntryKind::File;
}

int FileGridModel::entryCount() const
{
    const int rows = int(m_rows.size());
    return !m_rows.empty() && m_rows.front().isParent ? rows - 1 : rows;
}

QString FileGridModel::sizeText(const FileGridEntry &entry) const
{
    if (entry.isParent)
        return {};
    if (!entry.rawSize.isEmpty())
        return entry.rawSize;
    return FormatSizeDots(QString::number(entry.size), true);
}

QString FileGridModel::dateText(const FileGridEntry &entry) const
{
    if (!entry.hasDate)
        return entry.rawDate;
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(entry.dateMs, entry.utcDate ? Qt::UTC : Qt::LocalTime);
    return when.toString(m_germanDates ? u"dd.MM.yyyy hh:mm:ss" : u"MM/dd/yyyy hh:mm:ss");
}

QString FileGridModel::cellText(int row, int column) const
{
    if (row < 0 || size_t(row) >= m_rows.size())
        return {};
    const FileGridEntry &entry = m_rows[size_t(row)];
    switch (column) {
    case C::Kind:
        return QString::number(int(entry.kind));
    case C::Name:
        return entry.name;
    case C::FileType:
        return entry.typeText;
    case C::Size:
        return sizeText(entry);
    case C::Date:
        return dateText(entry);
    case C::Permissions:
        return m_side == BrowserSide::Server ? entry.permissions : QString();
    case C::Owner:
        return m_side == BrowserSide::Server ? entry.owner : QString();
    default:
        return {};
    }
}

Qt::ItemFlags FileGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && size_t(index.row()) < m_rows.size() && !m_rows[size_t(index.row())].isParent)
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QVariant FileGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (role == Qt::ToolTipRole && column != C::Name)
            return {};
        return cellText(index.row(), column);
    case Qt::TextAlignmentRole:
        if (column == C::Size)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::DecorationRole:
        if (column != C::iconColumn(m_side) || !m_decorations || !showsIcons())
            return {};
        {
            const FileGridEntry &entry = m_rows[size_t(index.row())];
            return m_decorations->icon(entry.kind, m_side == BrowserSide::Local ? m_folder + entry.name : entry.name);
        }
    case Qt::FontRole:
        if (m_side == BrowserSide::Server && column == C::Permissions && m_decorations)
            return m_decorations->fixedPitchFont();
        return {};
    default:
        return {};
    }
}

QVariant FileGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return C::caption(m_side, section, m_language);
    if (role == Qt::TextAlignmentRole && section == C::Size)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

void FileGridModel::setRows(std::vector<FileGridEntry> rows, const QString &folder)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_folder = folder;
    endResetModel();
}

void FileGridModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}

bool FileGridModel::sortBy(int column, bool descending)
{
    if (FileGridColumns::sortKey(m_side, column).isEmpty())
        return false;
    beginResetModel();
    SortFileGridEntries(m_rows, m_side, column, descending);
    endResetModel();
    return true;
}

void FileGridModel::setGermanDates(bool german)
{
    if (m_germanDates == german)
        return;
    m_germanDates = german;
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, C::Date), index(rowCount() - 1, C::Date));
}

void FileGridModel::retranslate()
{
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

} // namespace Velmora
