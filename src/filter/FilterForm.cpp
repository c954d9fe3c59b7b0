#include "FilterForm.h"

#include "FilterCriteriaPanel.h"
#include "FilterDescription.h"
#include "FilterEvaluation.h"
#include "FilterFile.h"
#include "FilterGridModel.h"
#include "FilterPreparation.h"
#include "FilterReport.h"
#include "FilterSearchStep.h"

#include "app/ColumnWidth.h"
#include "app/DialogHeader.h"
#include "app/Named.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "app/WindowFront.h"
#include "common/TextCodec.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace Velmora {

namespace {

constexpr int WindowWidth = 1100;
constexpr int EditOnlyHeight = 260;
constexpr int FullHeight = 670;

QPushButton *button(QWidget *parent, const char *name)
{
    auto *result = named(new QPushButton(parent), name);
    result->setAutoDefault(false);
    return result;
}

bool searchesInFiles(FilterWindowMode mode)
{
    return mode == FilterWindowMode::SearchInFiles || mode == FilterWindowMode::SearchAndReplace;
}

} // namespace

FilterForm::FilterForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Filter"), QStringLiteral("Filter"))
    , m_model(new FilterGridModel(this))
{
    setObjectName(QStringLiteral("FilterForm"));
    header()->setObjectName(QStringLiteral("TopLabel"));
    QVBoxLayout *layout = contentLayout();
    layout->setSpacing(5);

    m_hint = named(new QLabel(this), "PIpeCharInfoLabel");
    layout->addWidget(m_hint);
    m_criteria = new FilterCriteriaPanel(this);
    layout->addWidget(m_criteria);

    m_fileRow = new QHBoxLayout;
    m_load = button(this, "LoadFilterBitBtn");
    m_save = button(this, "SaveFilterBitBtn");
    m_reset = button(this, "ResetBitBtn");
    m_progress = named(new QLabel(this), "ProgressLabel");
    m_close = button(this, "AbortBitBtn");
    for (QWidget *widget : {static_cast<QWidget *>(m_load), static_cast<QWidget *>(m_save), static_cast<QWidget *>(m_reset)})
        m_fileRow->addWidget(widget);
    m_fileRow->addSpacing(12);
    m_fileRow->addWidget(m_progress, 1);
    layout->addLayout(m_fileRow);

    m_filterLabel = named(new QLabel(this), "FilterLabel");
    m_filterLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_filterLabel);

    m_results = new QWidget(this);
    auto *results = new QVBoxLayout(m_results);
    results->setContentsMargins(0, 0, 0, 0);
    auto *infoRow = new QHBoxLayout;
    m_info = named(new QLabel(m_results), "InfoLabel");
    m_selectAll = button(m_results, "SelectAllBitBtn");
    m_unselectAll = button(m_results, "UnselectAllBitBtn");
    infoRow->addWidget(m_info, 1);
    infoRow->addWidget(m_selectAll);
    infoRow->addWidget(m_unselectAll);
    results->addLayout(infoRow);

    m_grid = named(new QTableView(m_results), "FilterNextGrid");
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {26, 330, 50, 330, 90, 140};
    for (int column = 0; column < FilterGridModel::ColumnCount; ++column)
        m_grid->setColumnWidth(column, widths[column]);
    // The Cmd column holds every command whole ("DELLOC", "MKLOCALDIR"), whatever the font.
    m_grid->setColumnWidth(2, std::max(widths[2], ColumnWidth::forText(QStringLiteral("MKLOCALDIR"), m_grid->fontMetrics())));
    auto *selectAllItem = named(new QAction(m_grid), "SelectAll1");
    auto *unselectAllItem = named(new QAction(m_grid), "UnselectAll1");
    m_grid->addAction(selectAllItem);
    m_grid->addAction(unselectAllItem);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    results->addWidget(m_grid, 1);

    m_actionRow = new QHBoxLayout;
    m_execute = button(m_results, "ExecuteQueueBitBtn");
    m_goto = button(m_results, "SearchFilesBitBtn");
    m_searchIn = button(m_results, "SearchInFilesBitBtn");
    m_searchAndReplace = button(m_results, "SearchAndReplaceInFilesBitBtn");
    m_actionRow->addStretch();
    for (QPushButton *action : {m_execute, m_goto, m_searchIn, m_searchAndReplace})
        m_actionRow->addWidget(action);
    results->addLayout(m_actionRow);
    layout->addWidget(m_results, 1);

    m_evaluationTimer.setSingleShot(true);
    m_evaluationTimer.setInterval(400);
    connect(&m_evaluationTimer, &QTimer::timeout, this, &FilterForm::evaluate);
    connect(m_criteria, &FilterCriteriaPanel::criteriaEdited, this, &FilterForm::criteriaEdited);
    connect(m_load, &QPushButton::clicked, this, &FilterForm::loadFilterClicked);
    connect(m_save, &QPushButton::clicked, this, &FilterForm::saveFilterClicked);
    connect(m_reset, &QPushButton::clicked, this, &FilterForm::resetClicked);
    connect(m_selectAll, &QPushButton::clicked, m_model, [this] { m_model->setAllTicked(true); });
    connect(m_unselectAll, &QPushButton::clicked, m_model, [this] { m_model->setAllTicked(false); });
    connect(selectAllItem, &QAction::triggered, m_model, [this] { m_model->setAllTicked(true); });
    connect(unselectAllItem, &QAction::triggered, m_model, [this] { m_model->setAllTicked(false); });
    connect(m_execute, &QPushButton::clicked, this, &FilterForm::executeClicked);
    connect(m_goto, &QPushButton::clicked, this, &FilterForm::gotoSelectedFileClicked);
    connect(m_searchIn, &QPushButton::clicked, this, &FilterForm::step2Clicked);
    connect(m_searchAndReplace, &QPushButton::clicked, this, &FilterForm::step2Clicked);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    // Created once at start with the empty filter; nothing is evaluated until it is shown.
    m_criteria->setCriteria(FilterCriteria::empty());
    placeCloseButton(true);
    m_results->hide();
    setFixedSize(WindowWidth, EditOnlyHeight);
    retranslate();
    showDescription(DescribeFilter(m_criteria->criteria(), context.language.current()));
}

FilterForm::~FilterForm() = default;

void FilterForm::setDateDisplay(std::function<QString(const QString &)> display)
{
    m_model->setDateDisplay(std::move(display));
}

FilterCriteria FilterForm::criteria() const
{
    return m_criteria->criteria();
}

void FilterForm::setCriteria(const FilterCriteria &criteria)
{
    m_criteria->setQuiet(true);
    m_criteria->setCriteria(criteria);
    m_criteria->setQuiet(false);
}

QList<FilterRow> FilterForm::tickedRows() const
{
    return m_model->tickedRows();
}

QString FilterForm::modeTitle() const
{
    switch (m_mode) {
    case FilterWindowMode::FindFiles:
        return text(QStringLiteral("Search files"), QStringLiteral("Dateien suchen"));
    case FilterWindowMode::SearchInFiles:
        return QStringLiteral("Step1: Filter the files first you want to search in");
    case FilterWindowMode::SearchAndReplace:
        return QStringLiteral("Step1: Filter the files first you want to search and replace in");
    case FilterWindowMode::Transfer:
    case FilterWindowMode::EditOnly:
        break;
    }
    return QStringLiteral("Filter");
}

QPushButton *FilterForm::actionButton() const
{
    switch (m_mode) {
    case FilterWindowMode::Transfer:
        return m_execute;
    case FilterWindowMode::FindFiles:
        return m_goto;
    case FilterWindowMode::SearchInFiles:
        return m_searchIn;
    case FilterWindowMode::SearchAndReplace:
        return m_searchAndReplace;
    case FilterWindowMode::EditOnly:
        break;
    }
    return nullptr;
}

void FilterForm::placeCloseButton(bool underCriteria)
{
    m_fileRow->removeWidget(m_close);
    m_actionRow->removeWidget(m_close);
    (underCriteria ? m_fileRow : m_actionRow)->addWidget(m_close);
}

void FilterForm::prepareShow(FilterWindowMode mode)
{
    m_mode = mode;
    m_closing = false;
    m_chosen = {};
    m_searchStep.clear();
    m_summaryRows = -1;
    m_model->clear(); // the rows of an earlier request are not this one's
    for (QPushButton *action : {m_execute, m_goto, m_searchIn, m_searchAndReplace}) {
        action->hide();
        action->setDefault(false);
    }
    const bool files = mode == FilterWindowMode::EditOnly || mode == FilterWindowMode::Transfer;
    for (QPushButton *fileButton : {m_load, m_save, m_reset})
        fileButton->setVisible(files);
    if (mode == FilterWindowMode::FindFiles || searchesInFiles(mode)) {
        FilterCriteria c = m_criteria->criteria();
        c.extension.clear();
        c.extensionIE = FilterCriteria::AllWithExtension;
        m_criteria->setCriteria(c);
    }
    if (QPushButton *action = actionButton()) {
        action->show();
        action->setEnabled(true);
        action->setDefault(true);
    }
    const bool editOnly = mode == FilterWindowMode::EditOnly;
    m_results->setVisible(!editOnly);
    placeCloseButton(editOnly);
    setFixedSize(WindowWidth, editOnly ? EditOnlyHeight : FullHeight);
    header()->setTitle(modeTitle());
    retranslate();
    setProgress(QString());
    m_criteria->termEdit()->setFocus();
    m_evaluationTimer.start();
    if (!editOnly)
        QApplication::beep();
}

bool FilterForm::execInMode(FilterWindowMode mode)
{
    prepareShow(mode);
    return exec() == QDialog::Accepted;
}

void FilterForm::showEvent(QShowEvent *event)
{
    ToolDialog::showEvent(event);
    header()->setTitle(modeTitle());
    m_criteria->termEdit()->setFocus();
}

void FilterForm::criteriaEdited()
{
    if (m_evaluating) {
        m_editedWhileEvaluating = true; // evaluated again once this evaluation is over
        return;
    }
    if (isVisible() && !m_evaluationTimer.isActive())
        m_evaluationTimer.start();
}

void FilterForm::setProgress(const QString &progress)
{
    m_progress->setText(progress);
}

void FilterForm::evaluate()
{
    if (m_evaluating) {
        m_editedWhileEvaluating = true;
        return;
    }
    m_evaluationTimer.stop();
    m_evaluating = true;
    m_editedWhileEvaluating = false;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const Language::Id language = context().language.current();

    FilterCriteria criteria = m_criteria->criteria();
    PreparedFilter prepared = PrepareFilter(criteria, searchesInFiles(m_mode));
    setCriteria(criteria); // the preparation's changes show, without starting an evaluation
    m_criteria->showActive(prepared);
    QList<FilterMessage> notes = prepared.notes;

    bool complete = true;
    if (m_mode != FilterWindowMode::EditOnly) {
        FilterEvaluation evaluation(std::move(prepared), m_queueList);
        QPushButton *action = actionButton();
        while (!evaluation.step(FilterEvaluation::SuggestedChunk)) {
            setProgress(evaluation.progressText());
            if (action)
                action->setEnabled(false); // never confirm a half-filtered queue
            QCoreApplication::processEvents();
            if (m_closing) {
                complete = false;
                break;
            }
        }
        if (action)
            action->setEnabled(true);
        if (complete) {
            notes = evaluation.notes();
            loadGrid(evaluation.filteredList());
        }
    }
    if (complete) {
        showDescription(DescribeFilter(criteria, language));
        ReportFilterEvaluation(context().protocol, language, context().options.data().logfiles, m_description, notes);
        if (m_mode != FilterWindowMode::EditOnly && m_model->rowCount() > 0)
            m_grid->selectRow(0);
        setProgress(QString());
        if (isVisible())
            WindowFront::raise(*this);
    }
    QApplication::restoreOverrideCursor();
    m_evaluating = false;
    if (m_editedWhileEvaluating && isVisible() && !m_closing)
        m_evaluationTimer.start();
}

void FilterForm::loadGrid(const QStringList &filtered)
{
    // A fresh evaluation of the same request keeps the rows the user unticked, where they remain.
    m_model->replaceRecordsKeepingUnticks(filtered);
    const int rows = m_model->rowCount();
    const int chunk = int(FilterEvaluation::SuggestedChunk) * 4;
    qint64 bytes = 0;
    for (int first = 0; first < rows; first += chunk) {
        setProgress(QStringLiteral("Load grid: ") + QString::number(std::lround(double(first) / rows * 100.0)) + u'%');
        bytes += m_model->sizeSum(first, first + chunk);
    }
    m_summaryRows = rows;
    m_summaryBytes = bytes;
    m_info->setText(FilteredQueueSummary(rows, bytes, context().language.current()));
}

void FilterForm::showDescription(const QString &description)
{
    m_description = description;
    const FilterLabelFont size = FilterLabelFontFor(description);
    QFont font = m_filterLabel->font();
    font.setPointSize(size.pointSize);
    font.setBold(size.bold);
    m_filterLabel->setFont(font);
    m_filterLabel->setText(description);
    Q_EMIT filterDescribed(description);
}

void FilterForm::reportFileError(const QString &message)
{
    context().protocol.AddProtocolMessage(ProtocolEntry::Error, message);
    context().prompts.error(message);
}

void FilterForm::loadFilterClicked()
{
    const QString folder = context().folders.appDataFolder + FilterFile::FolderName + u'/';
    QDir().mkpath(folder);
    const QString path = context().prompts.openFile(text(QStringLiteral("Load Filter"), QString::fromUtf8("Filter öffnen")),
                                                    folder, FilterFile::DialogFilter);
    if (path.isEmpty())
        return;
    FilterMessage error;
    const std::optional<FilterCriteria> loaded = FilterFile::read(path, &error);
    if (!loaded) {
        reportFileError(error.text(context().language.current()));
        return;
    }
    setCriteria(*loaded);
    evaluate();
}

void FilterForm::saveFilterClicked()
{
    const QString folder = context().folders.appDataFolder + FilterFile::FolderName + u'/';
    QDir().mkpath(folder);
    QString path = context().prompts.saveFile(text(QStringLiteral("Save Filter"), QStringLiteral("Filter speichern")),
                                              folder, QString(), FilterFile::Suffix, FilterFile::DialogFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + FilterFile::Suffix;
    FilterMessage error;
    if (!FilterFile::write(path, m_criteria->criteria(), &error))
        reportFileError(error.text(context().language.current()));
}

void FilterForm::resetClicked()
{
    m_criteria->setCriteria(FilterCriteria::empty());
}

bool FilterForm::evaluationIsCurrent()
{
    if (m_evaluating)
        return false;
    // Criteria edited within the delay: the grid still shows the previous evaluation. The new
    // list is shown, and nothing acts on it until the user has seen it and confirms again.
    if (m_evaluationTimer.isActive()) {
        evaluate();
        return false;
    }
    return !m_closing;
}

void FilterForm::executeClicked()
{
    if (evaluationIsCurrent())
        accept();
}

void FilterForm::gotoSelectedFileClicked()
{
    if (m_evaluating)
        return;
    if (m_evaluationTimer.isActive()) {
        evaluate(); // the row chosen belonged to the previous evaluation: choose again
        return;
    }
    const QModelIndexList selected = m_grid->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        context().prompts.information(QStringLiteral("Select first a file."));
        return;
    }
    const ChosenFile chosen = ChosenFileOf(m_model->rowAt(selected.first().row()));
    if (context().prompts.confirm(text(QStringLiteral("Goto: "), QStringLiteral("Gehe zu: ")) + chosen.asked)) {
        m_chosen = chosen;
        accept();
    }
}

void FilterForm::step2Clicked()
{
    if (!evaluationIsCurrent())
        return;
    const QString download = context().folders.downloadFolder();
    QDir(download).removeRecursively();
    if (!QDir().mkpath(download)) {
        reportFileError(text(QStringLiteral("The folder \"") + download + QStringLiteral("\" cannot be created."),
                             QStringLiteral("Der Ordner \"") + download
                                 + QStringLiteral("\" kann nicht angelegt werden.")));
        return;
    }
    const SearchStepRecords step = BuildSearchStepRecords(tickedRows(), m_localPath ? m_localPath() : QString(), download);
    const QString file = context().folders.tempFolder + SearchQueueFileName;
    if (!TextCodec::WriteLines(file, step.searchQueueLines)) {
        reportFileError(text(QStringLiteral("The file \"") + file + QStringLiteral("\" cannot be written."),
                             QStringLiteral("Die Datei \"") + file + QStringLiteral("\" kann nicht geschrieben werden.")));
        return;
    }
    m_searchStep = step.queueList;
    accept();
}

void FilterForm::done(int result)
{
    m_closing = true; // an evaluation in progress ends without filling the grid
    m_evaluationTimer.stop();
    ToolDialog::done(result);
}

void FilterForm::retranslate()
{
    const Language::Id language = context().language.current();
    m_criteria->retranslate(language, context().systemIsGerman);
    m_hint->setText(text(QStringLiteral("Use Pipe character as delimiter for more Filter Terms. For Example keyword1Ikeyword2Ikeyword3"),
                         QString::fromUtf8("Verwenden Sie den senkrechten Strich als Trennzeichen für mehrere Filterbegriffe. "
                                           "Zum Beispiel keyword1Ikeyword2Ikeyword3")));
    m_load->setText(text(QStringLiteral("Load Filter"), QString::fromUtf8("Filter öffnen")));
    m_save->setText(text(QStringLiteral("Save Filter"), QStringLiteral("Filter speichern")));
    m_reset->setText(text(QStringLiteral("Reset Filter"), QString::fromUtf8("Filter zurücksetzen")));
    m_selectAll->setText(text(QStringLiteral("Select all"), QString::fromUtf8("Alle auswählen")));
    m_unselectAll->setText(text(QStringLiteral("Unselect all"), QString::fromUtf8("Alle abwählen")));
    const QList<QAction *> items = m_grid->actions();
    items.at(0)->setText(m_selectAll->text());
    items.at(1)->setText(m_unselectAll->text());
    m_execute->setText(text(QStringLiteral("Execute"), QString::fromUtf8("Ausführen")));
    m_goto->setText(text(QStringLiteral("Goto selected file"), QString::fromUtf8("Zur ausgewählen Datei springen")));
    m_searchIn->setText(QStringLiteral("Step2: Search in selected files"));
    m_searchAndReplace->setText(QStringLiteral("Step2: Search and replace in selected files"));
    m_close->setText(text(QStringLiteral("Close"), QString::fromUtf8("Schließen")));
    m_info->setText(m_summaryRows >= 0 ? FilteredQueueSummary(m_summaryRows, m_summaryBytes, language)
                                       : text(QStringLiteral("Filtered queue"), QStringLiteral("Gefilterte Warteschlange")));
    header()->setTitle(modeTitle());
    if (!m_description.isEmpty() && !m_evaluating)
        showDescription(DescribeFilter(m_criteria->criteria(), language));
}

} // namespace Velmora
