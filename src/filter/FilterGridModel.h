#pragma once

#include "FilterRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <functional>
#include <vector>

namespace Velmora {

// The filtered queue "FilterNextGrid": one row per record of the filtered list, in list order,
// each with a tick box (ticked when the row is made). The cells are read from the record when
// the grid asks for them, so filling the grid with 100,000 records costs no more than copying
// the list.
class FilterGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TickColumn, SourceColumn, CmdColumn, DestinationColumn, SizeColumn, DateColumn, ColumnCount };

    explicit FilterGridModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // How the Date column shows a date (the queue grid's format); unchanged without one.
    void setDateDisplay(std::function<QString(const QString &)> display) { m_dateDisplay = std::move(display); }

    // Replaces every row; all of them ticked.
    void setRecords(const QStringList &records);
    void clear() { setRecords({}); }
    // Replaces every row; a row whose record was unticked before stays unticked, all others are
    // ticked.
    void replaceRecordsKeepingUnticks(const QStringList &records);
    const QStringList &records() const { return m_records; }

    FilterRow rowAt(int row) const { return FilterRowFromRecord(m_records.at(row)); }
    bool isTicked(int row) const { return m_ticked[size_t(row)]; }
    void setTicked(int row, bool ticked);
    void setAllTicked(bool ticked);
    // The ticked rows, top to bottom.
    QList<FilterRow> tickedRows() const;
    // The sum of the Size cells of rows [first, last), skipping cells that are not numbers.
    qint64 sizeSum(int first, int last) const;

private:
    QStringList m_records;
    std::vector<bool> m_ticked;
    std::function<QString(const QString &)> m_dateDisplay;
};

} // namespace Velmora
