#include "SearchResultModel.h"

#include <QDateTime>

namespace Velmora {

SearchResultModel::SearchResultModel(QList<SearchEntry> &entries, QObject *parent)
    : QAbstractTableModel(parent)
    , m_entries(entries)
{
}

void SearchResultModel::setGerman(bool german)
{
    m_german = german;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void SearchResultModel::reload()
{
    beginResetModel();
    endResetModel();
}

void SearchResultModel::marksChanged()
{
    if (!m_entries.isEmpty())
        Q_EMIT dataChanged(index(0, MarkColumn), index(rowCount() - 1, SelectedColumn));
}

void SearchResultModel::setAllSelected(bool selected)
{
    // A binary row is ticked only on purpose, by its own check box.
    for (SearchEntry &entry : m_entries)
        entry.selected = selected && !entry.binary;
    marksChanged();
}

int SearchResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int SearchResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SearchResultModel::displayDate(const QString &text, bool german)
{
    static const QString formats[] = {
        QStringLiteral("dd.MM.yyyy hh:mm:ss"), QStringLiteral("dd.MM.yyyy hh:mm"), QStringLiteral("dd.MM.yyyy"),
        QStringLiteral("MM/dd/yyyy hh:mm:ss"), QStringLiteral("MM/dd/yyyy hh:mm"), QStringLiteral("MM/dd/yyyy"),
    };
    const QString trimmed = text.trimmed();
    for (const QString &format : formats) {
        const QDateTime value = QDateTime::fromString(trimmed, format);
        if (value.isValid())
            return value.toString(german ? u"dd.MM.yyyy hh:mm:ss" : u"MM/dd/yyyy hh:mm:ss");
    }
    return text;
}

QVariant SearchResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size())
        return {};
    const SearchEntry &entry = m_entries.at(index.row());
    switch (index.column()) {
    case MarkColumn:
        if (role == Qt::DecorationRole && entry.hitMark == 1)
            return m_hitIcon;
        if (entry.binary && (role == Qt::DisplayRole || role == Qt::ToolTipRole)) {
            if (role == Qt::DisplayRole)
                return m_german ? QStringLiteral("binär") : QStringLiteral("binary");
            return m_german ? QStringLiteral("Die Datei enthält NUL-Bytes oder UTF-16/32-Text: sie wird übersprungen und "
                                             "nie als Text geändert; nur ein Häkchen von Hand lässt sie durch eine andere "
                                             "Datei ersetzen.")
                            : QStringLiteral("The file holds NUL bytes or UTF-16/32 text: it is skipped and never changed "
                                             "as text; only a tick set by hand lets it be replaced by another file.");
        }
        if (entry.unfit && (role == Qt::DisplayRole || role == Qt::ToolTipRole)) {
            if (role == Qt::DisplayRole)
                return m_german ? QStringLiteral("nicht 1252") : QStringLiteral("not 1252");
            return m_german ? QStringLiteral("Die Datei ist in Windows-1252 geschrieben, das ein Zeichen des Such- oder "
                                             "Ersetzungstexts nicht enthält: sie bleibt unverändert.")
                            : QStringLiteral("The file is written in Windows-1252, which cannot hold a character of the "
                                             "search or replacement text: it is left unchanged.");
        }
        if (role == Qt::UserRole)
            return entry.hitMark;
        return {};
    case SelectedColumn:
        if (role == Qt::CheckStateRole)
            return entry.selected ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        break;
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case ShownColumn: return entry.shownPath;
    case CmdColumn: return QueueRecord::wordOf(entry.command);
    case OtherColumn: return entry.otherPath;
    case SizeColumn: return entry.size;
    case DateColumn: return displayDate(entry.date, m_germanDates);
    default: return {};
    }
}

bool SearchResultModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != SelectedColumn || role != Qt::CheckStateRole)
        return false;
    m_entries[index.row()].selected = value.toInt() == Qt::Checked;
    Q_EMIT dataChanged(index, index);
    return true;
}

Qt::ItemFlags SearchResultModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == SelectedColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case ShownColumn: return m_german ? QStringLiteral("Server / Lokale Datei:") : QStringLiteral("Server / Local File:");
    case CmdColumn: return m_german ? QStringLiteral("Befehl:") : QStringLiteral("Cmd:");
    case OtherColumn: return m_german ? QStringLiteral("Remote-Datei:") : QStringLiteral("Remote File:");
    case SizeColumn: return m_german ? QStringLiteral("Größe:") : QStringLiteral("Size:");
    case DateColumn: return m_german ? QStringLiteral("Datum:") : QStringLiteral("Date:");
    default: return QString();
    }
}

} // namespace Velmora
