#pragma once

#include "app/ProtocolLog.h"

#include <QAbstractTableModel>
#include <QIcon>

namespace Velmora {

// The protocol grid's rows: kind picture, four-digit number, text. Rows are only ever added.
class ProtocolTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ProtocolTableModel(const ProtocolLog &log, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    static QIcon iconForKind(int kind);

private:
    void entryAdded(const ProtocolEntry &entry);

    const ProtocolLog &m_log;
    int m_rows = 0;
};

} // namespace Velmora
