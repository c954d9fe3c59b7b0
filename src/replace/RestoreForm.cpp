#include "RestoreForm.h"

#include "DeleteBackupForm.h"

#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace Velmora {

namespace {

// Used when no window was handed over: the deletion runs without a display.
class SilentDeletionView : public BackupDeletionView {
public:
    void deletionStarted() override {}
    void lineAdded(const QString &) override {}
    void deletionFinished() override {}
};

constexpr int ColumnCount = 7;
constexpr int BackupPathColumn = 5;
constexpr int DestinationColumn = 6;

} // namespace

RestoreForm::RestoreForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Restore"), QStringLiteral("Wiederherstellen"))
    , m_store(context.folders.tempFolder, context.prompts, context.language, &context.protocol)
{
    setObjectName(QStringLiteral("RestoreForm"));
    m_model = new QStandardItemModel(0, ColumnCount, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("NextGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    for (int column = 0; column < BackupPathColumn - 1; ++column)
        m_grid->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(BackupPathColumn - 1, QHeaderView::Stretch);
    m_grid->setColumnHidden(BackupPathColumn, true);
    m_grid->setColumnHidden(DestinationColumn, true);
    m_grid->setMinimumSize(720, 260);
    contentLayout()->addWidget(m_grid, 1);

    auto *row = new QHBoxLayout;
    row->addStretch();
    m_restoreButton = new QPushButton(this);
    m_restoreButton->setObjectName(QStringLiteral("BitBtn1"));
    m_restoreButton->setDefault(true); // Enter in any control
    m_abortButton = new QPushButton(this);
    m_abortButton->setObjectName(QStringLiteral("BitBtn2"));
    row->addWidget(m_restoreButton);
    row->addWidget(m_abortButton);
    contentLayout()->addLayout(row);
    connect(m_restoreButton, &QPushButton::clicked, this, &RestoreForm::restoreClicked);
    connect(m_abortButton, &QPushButton::clicked, this, &QDialog::reject);
    retranslate();
}

void RestoreForm::retranslate()
{
    m_model->setHorizontalHeaderLabels({text(QStringLiteral("Backup time:"), QStringLiteral("Backup-Zeit:")),
                                        text(QStringLiteral("Changed at:"), QStringLiteral("Geändert auf:")),
                                        text(QStringLiteral("Operation:"), QStringLiteral("Operation:")),
                                        text(QStringLiteral("Search:"), QStringLiteral("Suchen:")),
                                        text(QStringLiteral("Replace;"), QStringLiteral("Ersetzen;")),
                                        text(QStringLiteral("Backup path:"), QStringLiteral("Backup-Pfad:")),
                                        text(QStringLiteral("Dest path"), QStringLiteral("Zielpfad"))});
    m_restoreButton->setText(text(QStringLiteral("Restore"), QStringLiteral("Wiederherstellen")));
    m_abortButton->setText(text(QStringLiteral("Abort"), QStringLiteral("Abbrechen")));
}

bool RestoreForm::DeleteAllBackups(const QString &question)
{
    if (m_deletionWindow)
        return m_store.DeleteAllBackups(question, *m_deletionWindow);
    SilentDeletionView silent;
    return m_store.DeleteAllBackups(question, silent);
}

void RestoreForm::prepare()
{
    m_chosen = {};
    m_model->removeRows(0, m_model->rowCount());
    m_rows = m_store.ListBackups();
    for (const BackupIndex &backup : std::as_const(m_rows)) {
        QList<QStandardItem *> items;
        for (const QString &cell : backup.lines())
            items.append(new QStandardItem(cell));
        m_model->appendRow(items);
    }
    m_restoreButton->setEnabled(!m_rows.isEmpty());
    if (!m_rows.isEmpty())
        m_grid->selectRow(0);
    m_grid->setFocus();
}

int RestoreForm::openRestore()
{
    prepare();
    return exec();
}

void RestoreForm::restoreClicked()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0 || row >= m_rows.size())
        return;
    const BackupIndex &backup = m_rows.at(row);
    const QString question = text(QStringLiteral("Restore the backup from: "), QStringLiteral("Restore das Backup vom: "))
        + backup.time + text(QStringLiteral(" - Search: "), QStringLiteral("-Suchen: ")) + backup.detail1
        + text(QStringLiteral(" - Replace: "), QStringLiteral("-Ersetzen: ")) + backup.detail2;
    if (!context().prompts.confirm(question))
        return;
    m_chosen = backup;
    accept();
}

} // namespace Velmora
