#pragma once

#include "filter/FilterRow.h"
#include "filter/FilterWindowMode.h"
#include "queue/TransferPorts.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace Velmora {

class FilterForm;
class QueueProgressView;

// The transfer filter the workflows use: the main window's on/off switch and the filter window
// over collected records. After OK the window's mode says what comes back: the ticked rows'
// records ("Execute") or the search's records in the working folder (Step2); "Goto selected
// file" leaves the chosen file here.
class MainFormTransferFilter : public TransferFilter {
public:
    // view: the queue texts above the grid, emptied while the window is open.
    MainFormTransferFilter(FilterForm &form, QueueProgressView &view, std::function<bool()> isOn);

    bool isInUse() const override { return m_isOn(); }
    std::optional<QStringList> chooseRecords(FilterWindowMode mode, const QStringList &records) override;
    QString chosenRemoteFile() const override;
    QString chosenLocalFile() const override;
    QStringList chosenFiles() const override;

    // The rows the user left ticked at the last OK (the local deletions read them).
    QList<FilterRow> tickedRows() const;

    // "Execute": each ticked row as the record it runs as; rows that run as nothing are left out.
    static QStringList recordsFromRows(const QList<FilterRow> &rows);

private:
    FilterForm &m_form;
    QueueProgressView &m_view;
    std::function<bool()> m_isOn;
};

} // namespace Velmora
