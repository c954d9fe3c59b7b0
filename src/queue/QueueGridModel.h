#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QTimer>

#include <deque>

namespace Velmora {

class QueueTableModel;

// What the queue grid shows of the queue's rows. A running queue removes one row per record;
// telling the grid about each removal at once costs the grid (its row header) time in
// proportion to the rows it holds, so a long queue would get slower the longer it is. While a
// queue runs, removals are therefore shown in batches, when the window next handles its
// messages (at most twenty times a second); everything else is passed on at once. The rows themselves, and
// "lastqueue.ini", always follow the queue model without delay.
class QueueGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueueGridModel(QueueTableModel &source, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The id of the queue row shown in this grid row.
    quint64 idAt(int row) const { return m_rows[size_t(row)].id; }
    // While set (a queue runs) removals wait for the next flush; otherwise they are shown at once.
    void setBatchRemovals(bool batch);
    // Shows the removals that are still pending.
    void flush();
    QTimer &flushTimer() { return m_flushTimer; }

private:
    struct Entry {
        QString cells[5];
        quint64 id;
    };
    Entry entryFor(int sourceRow) const;
    int indexOfId(quint64 id) const;
    void copyAll();
    void sourceRowsInserted(const QModelIndex &parent, int first, int last);
    void sourceRowsAboutToBeRemoved(const QModelIndex &parent, int first, int last);
    void sourceDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

    QueueTableModel &m_source;
    std::deque<Entry> m_rows;
    QList<quint64> m_pending;
    QTimer m_flushTimer;
    bool m_batch = false;
};

} // namespace Velmora
