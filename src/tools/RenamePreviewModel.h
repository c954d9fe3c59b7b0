#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

class Language;

// One file of the multi rename tool's preview.
struct RenamePreviewRow {
    QString oldName;
    QString newName;
    QString size;     // the grid's size text without thousands separators
    QString date;     // the grid's date text
    QString location; // the folder the side's path box shows
};

// The preview grid: "Old name:", "New name:", "Size:", "Date:", "Location", one row per file in
// the order of the selection.
class RenamePreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OldName, NewName, Size, Date, Location, ColumnCount };

    explicit RenamePreviewModel(const Language &language, QObject *parent = nullptr);

    void setRows(QList<RenamePreviewRow> rows);
    const QList<RenamePreviewRow> &rows() const { return m_rows; }
    QStringList oldNames() const;
    QStringList newNames() const;
    // The "New name:" column, in row order.
    void setNewNames(const QStringList &names);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    static QString headerText(int column, const Language &language);

private:
    const Language &m_language;
    QList<RenamePreviewRow> m_rows;
};

} // namespace Velmora
