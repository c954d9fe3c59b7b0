#include "ProtocolTableModel.h"

#include <QPainter>
#include <QPixmap>

namespace Velmora {

ProtocolTableModel::ProtocolTableModel(const ProtocolLog &log, QObject *parent)
    : QAbstractTableModel(parent)
    , m_log(log)
    , m_rows(int(log.entries().size()))
{
    connect(&log, &ProtocolLog::messageAdded, this, &ProtocolTableModel::entryAdded);
}

int ProtocolTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ProtocolTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QIcon ProtocolTableModel::iconForKind(int kind)
{
    static const QColor colours[5] = {QColor(0x2b, 0x6c, 0xd4), QColor(0x2e, 0x9e, 0x4f), QColor(0xd0, 0x33, 0x33),
                                      QColor(0x9a, 0x9a, 0x9a), QColor(0xe8, 0x9a, 0x10)};
    static QIcon icons[5];
    const int k = (kind >= 0 && kind < 5) ? kind : 1;
    if (icons[k].isNull()) {
        QPixmap pixmap(12, 12);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(colours[k]);
        painter.setPen(colours[k].darker(130));
        if (k == 0)
            painter.drawPolygon(QPolygon({QPoint(2, 1), QPoint(11, 6), QPoint(2, 11)}));
        else if (k == 2)
            painter.drawRect(2, 2, 8, 8);
        else if (k == 4)
            painter.drawPolygon(QPolygon({QPoint(6, 1), QPoint(11, 11), QPoint(1, 11)}));
        else
            painter.drawEllipse(1, 1, 10, 10);
        icons[k] = QIcon(pixmap);
    }
    return icons[k];
}

QVariant ProtocolTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    const ProtocolEntry &entry = m_log.entries().at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 1)
            return entry.numberText();
        if (index.column() == 2)
            return entry.text;
        return {};
    case Qt::DecorationRole:
        return index.column() == 0 ? QVariant(iconForKind(entry.kind)) : QVariant();
    case Qt::UserRole:
        return entry.kind;
    default:
        return {};
    }
}

void ProtocolTableModel::entryAdded(const ProtocolEntry &)
{
    const int newRows = int(m_log.entries().size());
    if (newRows <= m_rows)
        return;
    beginInsertRows({}, m_rows, newRows - 1);
    m_rows = newRows;
    endInsertRows();
}

} // namespace Velmora
