#include "QueueWiring.h"

#include "queue/AskOverwriteForm.h"
#include "queue/GetFilesListForm.h"
#include "MainFormProgressView.h"
#include "queue/QueueController.h"
#include "queue/QueueGridModel.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "queue/TrafficChartsWidget.h"

#include "MainForm.h"
#include "MainWindowPort.h"
#include "app/ColumnWidth.h"
#include "app/Options.h"
#include "app/OptionsForm.h"
#include "common/Language.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

namespace Velmora {

QueueWiring::QueueWiring(AppContext &context, MainForm &main, MainWindowPort &port, MasterFTP &ftp, WorkControl &work,
                         const Windows &windows)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_w(main.queueControls())
    , m_model(new QueueTableModel(&context.language, this))
    , m_gridModel(new QueueGridModel(*m_model, this))
    , m_store(context.folders.appDataFile(QStringLiteral("lastqueue.ini")))
    , m_host(port)
    , m_charts(new TrafficChartsWidget(m_w.chartsPanel))
    , m_view(new MainFormProgressView(main.progressControls(), *m_charts, this))
    , m_runner(new QueueRunner(context, ftp, work, *m_model, m_store, m_host, *m_view, this))
    , m_controller(new QueueController(context, ftp, work, *m_model, m_host, *m_runner, this))
    , m_walker(context, ftp, work, m_host, *m_runner)
{
    const QueueControls &w = m_w;
    if (auto *row = qobject_cast<QHBoxLayout *>(w.chartsPanel->layout()))
        row->insertWidget(0, m_charts, 1);

    m_model->setGermanDates(context.systemIsGerman);
    w.queueGrid->setModel(m_gridModel);
    // During a run the grid shows removals in batches; all of them before the idle state.
    connect(m_runner, &QueueRunner::runStarted, m_gridModel, [this] { m_gridModel->setBatchRemovals(true); });
    connect(m_runner, &QueueRunner::runFinished, m_gridModel, [this] { m_gridModel->setBatchRemovals(false); });
    // No line leaves the grid while its run goes on; the menu item says so by being disabled.
    connect(m_runner, &QueueRunner::runStarted, this, [this] { m_deleteLines->setEnabled(false); });
    connect(m_runner, &QueueRunner::runFinished, this, [this] { m_deleteLines->setEnabled(true); });
    const int widths[] = {320, 80, 320, 110, 140};
    const QFontMetrics metrics = w.queueGrid->fontMetrics();
    for (int column = 0; column < QueueTableModel::ColumnCount; ++column)
        w.queueGrid->setColumnWidth(column, ColumnWidth::scaled(widths[column], metrics));
    const int dateColumn = QueueTableModel::ColumnCount - 1;
    w.queueGrid->setColumnWidth(dateColumn, std::max(w.queueGrid->columnWidth(dateColumn),
                                                     ColumnWidth::forText(QStringLiteral("00.00.0000 00:00:00"), metrics)));
    w.queueGrid->horizontalHeader()->setStretchLastSection(true);

    m_runner->setQuestion(&windows.overwriteQuestion);
    m_walker.setProgress(&windows.walkProgress);
    // The chart label prefixes are taken in the language of the start.
    const auto t = [&context](const QString &english, const QString &german) { return context.text(english, german); };
    m_runner->traffic().setLabelPrefixes(t(QStringLiteral("Traffic:"), QStringLiteral("Traffic:")),
                                         t(QStringLiteral("Total transfered size:"), QString::fromUtf8("Übertragen:")),
                                         t(QStringLiteral("Total files:"), QStringLiteral("Gesamtdateien:")),
                                         t(QStringLiteral("Remaining operations:"),
                                           QStringLiteral("Verbleibende Operationen:")));

    connect(&main, &MainForm::lastSessionRequested, m_controller, &QueueController::LoadLastSession);
    connect(&port, &MainWindowPort::queueGridClearRequested, m_controller, &QueueController::ClearGrid);
    connect(&port, &MainWindowPort::chartsHideRequested, m_view, &MainFormProgressView::hideCharts);
    connectQueueBar(windows.options);
    connect(&context.language, &Language::languageChanged, this, &QueueWiring::retranslate);
    retranslate();
}

QueueWiring::~QueueWiring() = default;

void QueueWiring::connectQueueBar(OptionsForm &options)
{
    const QueueControls &w = m_w;
    QueueController *c = m_controller;
    connect(w.queueLoadButton, &QToolButton::clicked, c, &QueueController::LoadQueue);
    connect(w.loadQueueAction, &QAction::triggered, c, &QueueController::LoadQueue);
    connect(w.queueSaveButton, &QToolButton::clicked, c, &QueueController::SaveQueue);
    connect(w.saveQueueAction, &QAction::triggered, c, &QueueController::SaveQueue);
    connect(w.queueRunButton, &QToolButton::clicked, c, &QueueController::RunQueueClick);
    connect(w.runQueueAction, &QAction::triggered, c, &QueueController::RunQueueClick);
    connect(w.queuePauseButton, &QToolButton::clicked, c, &QueueController::PauseQueue);
    connect(w.pauseQueueAction, &QAction::triggered, c, &QueueController::PauseQueue);
    connect(w.queueDeleteButton, &QToolButton::clicked, c, &QueueController::ClearQueue);
    connect(w.deleteQueueAction, &QAction::triggered, c, &QueueController::ClearQueue);
    connect(w.automaticRunButton, &QToolButton::clicked, c, &QueueController::ToggleAutomaticRun);

    // The menu item shows "Del"; the key itself is taken by the grid (eventFilter).
    m_deleteLines = new QAction(w.queueGrid);
    m_deleteLines->setObjectName(QStringLiteral("Deleteline1"));
    m_deleteLines->setShortcut(QKeySequence(Qt::Key_Delete));
    m_deleteLines->setShortcutContext(Qt::WidgetShortcut);
    connect(m_deleteLines, &QAction::triggered, this, &QueueWiring::deleteSelectedLines);
    w.queueGrid->installEventFilter(this);

    m_popup = new QMenu(w.queueGrid);
    m_popup->setObjectName(QStringLiteral("QueuePopupMenu"));
    m_popup->addAction(w.loadQueueAction);
    m_popup->addAction(w.saveQueueAction);
    m_popup->addSeparator();
    m_popup->addAction(w.runQueueAction);
    m_popup->addAction(w.pauseQueueAction);
    m_popup->addSeparator();
    m_popup->addAction(w.deleteQueueAction);
    m_popup->addAction(m_deleteLines);
    w.queueGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w.queueGrid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_popup->popup(m_w.queueGrid->viewport()->mapToGlobal(at)); });

    // The charts panel's close buttons and its "Automatic close charts after transfer" box.
    for (QPushButton *button : {w.closeChartsButton, w.closeChartsButton2}) {
        connect(button, &QPushButton::clicked, this, [this] {
            m_view->hideCharts();
            m_main.SetIdleState();
        });
    }
    w.autoCloseChartsCheckBox->setChecked(m_context.options.data().closeCharts);
    connect(w.autoCloseChartsCheckBox, &QCheckBox::clicked, &options, &OptionsForm::setCloseCharts);
    // The AUTO/MAN button and the close box show the options object, whoever changed it.
    connect(&m_context.options, &Options::changed, this, [this] {
        m_main.setAutomaticRunButton(m_context.options.data().automaticRunQueue);
        m_w.autoCloseChartsCheckBox->setChecked(m_context.options.data().closeCharts);
    });
    connect(&options, &OptionsForm::overwritePolicyApplied, this,
            [this](bool always) { m_runner->overwritePolicy().applyAllwaysOverwrite(always); });
}

bool QueueWiring::eventFilter(QObject *watched, QEvent *event)
{
    // During a run the controller refuses the deletion and says why.
    if (watched == m_w.queueGrid && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        deleteSelectedLines();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void QueueWiring::retranslate()
{
    const bool german = m_context.language.isGerman();
    m_deleteLines->setText(german ? QString::fromUtf8("Zeile(n) löschen") : QStringLiteral("Delete line(s)"));
}

void QueueWiring::deleteSelectedLines()
{
    m_gridModel->flush();
    QList<int> rows;
    if (QItemSelectionModel *selection = m_w.queueGrid->selectionModel()) {
        for (const QModelIndex &index : selection->selectedRows()) {
            const int row = m_model->indexOfId(m_gridModel->idAt(index.row()));
            if (row >= 0)
                rows.append(row);
        }
    }
    m_controller->DeleteLines(rows);
}

} // namespace Velmora
