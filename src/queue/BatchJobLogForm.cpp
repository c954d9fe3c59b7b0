#include "BatchJobLogForm.h"

#include "BatchLog.h"

#include <algorithm>

#include <QColor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace Velmora {

namespace {

// Columns, left to right, and the word of the log line each one shows; after them the result
// column, from the line's exit status (empty for lines of older versions).
constexpr int WordOfColumn[] = {1, 2, 3, 7, 5, 6, 8, 9, 4};
constexpr int WordColumnCount = int(std::size(WordOfColumn));
constexpr int ResultColumn = WordColumnCount;
constexpr int ColumnCount = WordColumnCount + 1;

} // namespace

BatchJobLogForm::BatchJobLogForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Last Batchjobs (Logfile)"), QStringLiteral("Letzte Batchjobs (Logdatei)"))
{
    setObjectName(QStringLiteral("BatchJobLogForm"));
    m_model = new QStandardItemModel(0, ColumnCount, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("BatchJobLogGrid"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->setMinimumHeight(280);
    contentLayout()->addWidget(m_grid, 1);

    auto *buttons = new QHBoxLayout;
    m_clear = new QPushButton(this);
    m_clear->setObjectName(QStringLiteral("ClearLogfileButton"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("CloseButton"));
    m_close->setDefault(true);
    buttons->addWidget(m_clear);
    buttons->addStretch();
    buttons->addWidget(m_close);
    contentLayout()->addLayout(buttons);

    connect(m_clear, &QPushButton::clicked, this, &BatchJobLogForm::ClearLogfileButtonClick);
    connect(m_close, &QPushButton::clicked, this, &BatchJobLogForm::reject);
    retranslate();
}

void BatchJobLogForm::retranslate()
{
    const QString captions[ColumnCount][2] = {
        {QStringLiteral("Date"), QStringLiteral("Datum")},
        {QStringLiteral("Start time"), QStringLiteral("Startzeit")},
        {QStringLiteral("End time"), QStringLiteral("Endzeit")},
        {QStringLiteral("Host"), QStringLiteral("Host")},
        {QStringLiteral("Queue file"), QStringLiteral("Warteschlangendatei")},
        {QStringLiteral("Parameter"), QStringLiteral("Parameter")},
        {QStringLiteral("Tranfered size (kB)"), QStringLiteral("Übertragene Größe (kB)")},
        {QStringLiteral("Transfered files"), QStringLiteral("Übertragene Dateien")},
        {QStringLiteral("Queue path"), QStringLiteral("Warteschlangenpfad")},
        {QStringLiteral("Result"), QStringLiteral("Ergebnis")},
    };
    for (int column = 0; column < ColumnCount; ++column)
        m_model->setHeaderData(column, Qt::Horizontal, text(captions[column][0], captions[column][1]));
    for (int row = 0; row < m_model->rowCount(); ++row)
        labelResult(m_model->item(row, ResultColumn));
    fitColumns();
    m_clear->setText(text(QStringLiteral("Clear logfile"), QStringLiteral("Logfile leeren")));
    m_close->setText(text(QStringLiteral("Close"), QStringLiteral("Schließen")));
}

QString BatchJobLogForm::logPath() const
{
    return context().folders.appDataFile(BatchLog::FileName);
}

void BatchJobLogForm::FormShow()
{
    m_model->removeRows(0, m_model->rowCount());
    QStringList lines = BatchLog(logPath()).lines();
    lines.removeIf([](const QString &line) { return line.trimmed().isEmpty(); });
    const QList<QStringList> rows = BatchLog::viewerRows(lines);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        QList<QStandardItem *> items;
        for (int column = 0; column < WordColumnCount; ++column)
            items.append(new QStandardItem(rows[row].at(WordOfColumn[column] - 1)));
        items.append(resultItem(BatchLog::exitStatusOf(lines[row])));
        m_model->appendRow(items);
    }
    fitColumns();
}

QStandardItem *BatchJobLogForm::resultItem(std::optional<int> exitStatus) const
{
    auto *item = new QStandardItem;
    if (exitStatus)
        item->setData(*exitStatus, Qt::UserRole);
    labelResult(item);
    return item;
}

void BatchJobLogForm::labelResult(QStandardItem *item) const
{
    // The exit status is kept with the cell, so a change of language relabels it.
    const QVariant exitStatus = item->data(Qt::UserRole);
    if (!exitStatus.isValid())
        return;
    if (exitStatus.toInt() == 0) {
        item->setText(text(QStringLiteral("Done"), QStringLiteral("Erledigt")));
        return;
    }
    item->setText(text(QStringLiteral("Failed (exit status %1)"), QStringLiteral("Fehlgeschlagen (Exit-Status %1)"))
                      .arg(exitStatus.toInt()));
    item->setForeground(QColor(Qt::red));
}

void BatchJobLogForm::fitColumns()
{
    // Every column as wide as its caption and its texts, and the window as wide as the columns,
    // as far as the screen allows.
    m_grid->resizeColumnsToContents();
    QHeaderView *header = m_grid->horizontalHeader();
    int width = 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < ColumnCount; ++column)
        width += header->sectionSize(column);
    int limit = 1200;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        limit = screen->availableGeometry().width() - 80;
    m_grid->setMinimumWidth(std::clamp(width, 600, std::max(600, limit)));
}

void BatchJobLogForm::showEvent(QShowEvent *event)
{
    FormShow();
    ToolDialog::showEvent(event);
}

void BatchJobLogForm::ClearLogfileButtonClick()
{
    m_model->removeRows(0, m_model->rowCount());
    BatchLog(logPath()).clear();
}

} // namespace Velmora
