#include "BatchJobLogForm.h"

#include "BatchLog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace Velmora {

namespace {

// Columns, left to right, and the word of the log line each one shows.
constexpr int WordOfColumn[] = {1, 2, 3, 7, 5, 6, 8, 9, 4};
constexpr int ColumnCount = int(std::size(WordOfColumn));

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
    m_grid->setMinimumSize(980, 280);
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
    };
    for (int column = 0; column < ColumnCount; ++column)
        m_model->setHeaderData(column, Qt::Horizontal, text(captions[column][0], captions[column][1]));
    m_grid->resizeColumnsToContents();
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
    const QList<QStringList> rows = BatchLog::viewerRows(BatchLog(logPath()).lines());
    for (const QStringList &words : rows) {
        QList<QStandardItem *> items;
        for (int column = 0; column < ColumnCount; ++column)
            items.append(new QStandardItem(words.at(WordOfColumn[column] - 1)));
        m_model->appendRow(items);
    }
    m_grid->resizeColumnsToContents();
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
