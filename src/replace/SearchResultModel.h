#pragma once

#include "SearchEntry.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>

namespace Velmora {

// The rows of the search window's grid "FilesNextGrid": the hit image, the check box, the shown
// path, two hidden columns (command and other path), size and date.
class SearchResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { MarkColumn, SelectedColumn, ShownColumn, CmdColumn, OtherColumn, SizeColumn, DateColumn, ColumnCount };

    SearchResultModel(QList<SearchEntry> &entries, QObject *parent = nullptr);

    void setGermanDates(bool german) { m_germanDates = german; }
    void setGerman(bool german);
    void setHitIcon(const QIcon &icon) { m_hitIcon = icon; }
    // The entries were replaced, or their marks or check boxes changed.
    void reload();
    void marksChanged();
    void setAllSelected(bool selected);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A date text of a record in the grid's format: "dd.mm.yyyy hh:nn:ss" or "mm/dd/yyyy hh:nn:ss".
    static QString displayDate(const QString &text, bool german);

private:
    QList<SearchEntry> &m_entries;
    QIcon m_hitIcon;
    bool m_germanDates = false;
    bool m_german = false;
};

} // namespace Velmora
