#pragma once

#include "FTPConnection.h"

#include <QAbstractTableModel>

namespace Velmora {

class ConnectionStore;
class Language;

// The site manager's grid over the store's list: one row per site, the eight fields as columns,
// the password masked with "•" in bold. In table-edit mode every cell is editable in place on
// a light yellow background (the password in clear text); a completed edit is reported with
// cellEdited and the window saves at once.
class SiteTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    SiteTableModel(ConnectionStore &store, const Language &language, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    void setTableEdit(bool on);
    bool tableEdit() const { return m_tableEdit; }
    // After the store's list changed.
    void reload();
    void retranslate();

    // The text of a cell as the grid shows it.
    QString displayText(int row, int column) const;
    static inline const QString MaskCharacter = QString(QChar(0x2022));

Q_SIGNALS:
    // A cell was changed in place; the site is the row's new content.
    void cellEdited(int row, const Velmora::FTPConnection &site);
    // An in-place edit would have left the name, host or port blank; nothing changed.
    void editRefused();

private:
    ConnectionStore &m_store;
    const Language &m_language;
    bool m_tableEdit = false;
};

} // namespace Velmora
