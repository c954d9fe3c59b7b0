#include "RenamePreviewModel.h"

#include "common/Language.h"

namespace Velmora {

RenamePreviewModel::RenamePreviewModel(const Language &language, QObject *parent)
    : QAbstractTableModel(parent)
    , m_language(language)
{
    connect(&language, &Language::languageChanged, this,
            [this] { Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1); });
}

void RenamePreviewModel::setRows(QList<RenamePreviewRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

QStringList RenamePreviewModel::oldNames() const
{
    QStringList names;
    for (const RenamePreviewRow &row : m_rows)
        names.append(row.oldName);
    return names;
}

QStringList RenamePreviewModel::newNames() const
{
    QStringList names;
    for (const RenamePreviewRow &row : m_rows)
        names.append(row.newName);
    return names;
}

void RenamePreviewModel::setNewNames(const QStringList &names)
{
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        m_rows[i].newName = names.value(i);
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, NewName), index(int(m_rows.size()) - 1, NewName));
}

int RenamePreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RenamePreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RenamePreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || role != Qt::DisplayRole)
        return {};
    const RenamePreviewRow &row = m_rows.at(index.row());
    switch (index.column()) {
    case OldName:
        return row.oldName;
    case NewName:
        return row.newName;
    case Size:
        return row.size;
    case Date:
        return row.date;
    case Location:
        return row.location;
    default:
        return {};
    }
}

QVariant RenamePreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return headerText(section, m_language);
}

QString RenamePreviewModel::headerText(int column, const Language &language)
{
    switch (column) {
    case OldName:
        return language.text(QStringLiteral("Old name:"), QStringLiteral("Alter Name:"));
    case NewName:
        return language.text(QStringLiteral("New name:"), QStringLiteral("Neuer Name:"));
    case Size:
        return language.text(QStringLiteral("Size:"), QString::fromUtf8("Größe:"));
    case Date:
        return language.text(QStringLiteral("Date:"), QStringLiteral("Datum:"));
    case Location:
        return language.text(QStringLiteral("Location"), QStringLiteral("Ort"));
    default:
        return {};
    }
}

} // namespace Velmora
