#pragma once

#include "QueueRow.h"

#include <QAbstractTableModel>
#include <QList>

#include <deque>

namespace Velmora {

class Language;

// The rows of the queue grid "QueueNextGrid". Every row carries an id that stays with it while
// rows before it come and go, so a running queue removes exactly the row of the record it has
// carried out. Rows are kept in a deque: the run removes them from the front (or just behind the
// rows that failed), which costs the same for the first row as for the hundred-thousandth.
class QueueTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { SourceColumn, CmdColumn, DestinationColumn, FilesizeColumn, DateColumn, ColumnCount };

    explicit QueueTableModel(Language *language = nullptr, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Dates are shown "dd.mm.yyyy hh:nn:ss" on a German system, "mm/dd/yyyy hh:nn:ss" otherwise.
    void setGermanDates(bool german);
    bool germanDates() const { return m_germanDates; }
    // The current date and time as the grid writes it into a row without a date.
    QString nowText() const;
    // How a Date cell is shown: the text read as a date and time and written in the grid's
    // format; a text that is no date is shown as it is.
    QString displayDate(const QString &text) const;

    const QueueRow &rowAt(int row) const { return m_rows[size_t(row)].row; }
    quint64 idAt(int row) const { return m_rows[size_t(row)].id; }
    // The row's index, or -1 when it is gone.
    int indexOfId(quint64 id) const;
    QList<QueueRow> rows() const;
    bool isEmpty() const { return m_rows.empty(); }

    // Appends rows; returns the id of the first (ids of the others follow one by one).
    quint64 appendRows(const QList<QueueRow> &rows);
    quint64 appendRow(const QueueRow &row) { return appendRows({row}); }
    void removeRowAt(int row);
    // Replaces the Filesize cell of a row.
    void setFilesize(int row, const QString &filesize);
    bool removeRowById(quint64 id);
    void clear();
    // Replaces all rows at once.
    void setRows(const QList<QueueRow> &rows);

    // The sum of every row's Filesize as a 64-bit byte count.
    qint64 totalBytes() const;

    static QString columnCaption(int column, bool german);

private:
    struct Entry {
        QueueRow row;
        quint64 id;
    };
    std::deque<Entry> m_rows;
    quint64 m_nextId = 1;
    Language *m_language;
    bool m_germanDates = false;
};

} // namespace Velmora
