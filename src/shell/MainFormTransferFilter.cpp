#include "MainFormTransferFilter.h"

#include "MainWindowWidgets.h"

#include "filter/FilterForm.h"
#include "queue/QueueRecord.h"
#include "queue/QueueRunner.h"

#include <QLabel>

namespace Velmora {

MainFormTransferFilter::MainFormTransferFilter(FilterForm &form, QueueRunner &runner, MainWindowWidgets &widgets,
                                               std::function<bool()> isOn)
    : m_form(form)
    , m_runner(runner)
    , m_widgets(widgets)
    , m_isOn(std::move(isOn))
{
}

FilterWindowMode MainFormTransferFilter::windowModeFor(WorkMode mode)
{
    switch (mode) {
    case WorkMode::Transfer:
        return FilterWindowMode::Transfer;
    case WorkMode::FindFiles:
        return FilterWindowMode::FindFiles;
    case WorkMode::SearchInFiles:
        return FilterWindowMode::SearchInFiles;
    case WorkMode::SearchAndReplace:
        return FilterWindowMode::SearchAndReplace;
    default:
        return FilterWindowMode::EditOnly;
    }
}

QStringList MainFormTransferFilter::recordsFromRows(const QList<FilterRow> &rows)
{
    QStringList records;
    records.reserve(rows.size());
    for (const FilterRow &row : rows) {
        if (const std::optional<QString> record = RecordFromRow({row.source, row.cmd, row.destination, row.size, row.date}))
            records.append(*record);
    }
    return records;
}

bool MainFormTransferFilter::execFilterWindow(WorkMode mode)
{
    m_widgets.queueInfoPanel->clear();
    m_widgets.queueSizePanel->clear();
    m_form.setQueueList(m_runner.queueList());
    const FilterWindowMode windowMode = windowModeFor(mode);
    if (!m_form.execInMode(windowMode))
        return false;
    if (windowMode == FilterWindowMode::Transfer)
        m_runner.setQueueList(recordsFromRows(m_form.tickedRows()));
    else if (windowMode == FilterWindowMode::SearchInFiles || windowMode == FilterWindowMode::SearchAndReplace)
        m_runner.setQueueList(m_form.searchStepRecords());
    return true;
}

QString MainFormTransferFilter::chosenRemoteFile() const
{
    return m_form.chosenFile().remote;
}

QString MainFormTransferFilter::chosenLocalFile() const
{
    return m_form.chosenFile().local;
}

QStringList MainFormTransferFilter::chosenFiles() const
{
    QStringList files;
    for (const FilterRow &row : m_form.tickedRows())
        files << row.source;
    return files;
}

QList<FilterRow> MainFormTransferFilter::tickedRows() const
{
    return m_form.tickedRows();
}

} // namespace Velmora
