#include "MainFormTransferFilter.h"

#include "queue/QueueProgressView.h"

#include "filter/FilterForm.h"
#include "queue/QueueRecord.h"
#include "queue/QueueRunner.h"

#include <QLabel>

namespace Velmora {

MainFormTransferFilter::MainFormTransferFilter(FilterForm &form, QueueProgressView &view, std::function<bool()> isOn)
    : m_form(form)
    , m_view(view)
    , m_isOn(std::move(isOn))
{
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

std::optional<QStringList> MainFormTransferFilter::chooseRecords(FilterWindowMode mode, const QStringList &records)
{
    m_view.setQueueInfoText(QString());
    m_view.setQueueSizeText(QString());
    m_form.setQueueList(records);
    if (!m_form.execInMode(mode))
        return std::nullopt;
    if (mode == FilterWindowMode::Transfer)
        return recordsFromRows(m_form.tickedRows());
    if (mode == FilterWindowMode::SearchInFiles || mode == FilterWindowMode::SearchAndReplace)
        return m_form.searchStepRecords();
    return QStringList();
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
