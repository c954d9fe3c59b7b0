#include "SearchAndReplaceForm.h"

#include "BackupIndex.h"
#include "BackupStore.h"
#include "SearchBackups.h"
#include "SearchReplaceError.h"
#include "SearchParameterArea.h"
#include "SearchResultModel.h"
#include "SearchWindowPorts.h"

#include "app/UserPrompts.h"
#include "common/ByteShape.h"
#include "common/TextCodec.h"
#include "queue/AsciiFileRule.h"
#include "queue/QueueRecord.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace Velmora {

namespace {

QPushButton *makeButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

SearchAndReplaceForm::SearchAndReplaceForm(const AppContext &context, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("Search and replace"), QStringLiteral("Suchen und Ersetzen"))
    , m_session(std::make_unique<SearchSession>())
    , m_engine(this)
{
    setObjectName(QStringLiteral("SearchAndReplaceForm"));
    m_topLabel = new QLabel(this);
    m_topLabel->setObjectName(QStringLiteral("TopLabel"));
    QFont big = m_topLabel->font();
    big.setBold(true);
    m_topLabel->setFont(big);
    contentLayout()->addWidget(m_topLabel);
    m_params = new SearchParameterArea(context, this);
    contentLayout()->addWidget(m_params);
    connect(m_params, &SearchParameterArea::searchChanged, this, &SearchAndReplaceForm::searchOnly);

    auto *selectRow = new QHBoxLayout;
    m_selectAll = makeButton(this, "SelectAllBitBtn");
    m_unselectAll = makeButton(this, "UnselectAllBitBtn");
    m_changedLabel = new QLabel(this);
    m_changedLabel->setObjectName(QStringLiteral("ChangedLabel"));
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    selectRow->addWidget(m_selectAll);
    selectRow->addWidget(m_unselectAll);
    selectRow->addStretch();
    selectRow->addWidget(m_progressLabel);
    selectRow->addWidget(m_changedLabel);
    contentLayout()->addLayout(selectRow);

    m_model = new SearchResultModel(m_session->entries(), this);
    m_model->setGermanDates(context.systemIsGerman);
    m_model->setHitIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("FilesNextGrid"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    setUpColumns();
    m_grid->setMinimumSize(760, 280);
    contentLayout()->addWidget(m_grid, 1);

    m_gridMenu = new QMenu(this);
    QAction *view = m_gridMenu->addAction(QString());
    view->setObjectName(QStringLiteral("ViewFileMenuItem"));
    m_gridMenu->addSeparator();
    QAction *all = m_gridMenu->addAction(QString());
    all->setObjectName(QStringLiteral("SelectAllMenuItem"));
    QAction *none = m_gridMenu->addAction(QString());
    none->setObjectName(QStringLiteral("UnselectAllMenuItem"));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_gridMenu->popup(m_grid->viewport()->mapToGlobal(at)); });
    connect(view, &QAction::triggered, this, &SearchAndReplaceForm::viewEditChosenFile);
    connect(all, &QAction::triggered, this, [this] { m_model->setAllSelected(true); });
    connect(none, &QAction::triggered, this, [this] { m_model->setAllSelected(false); });
    connect(m_selectAll, &QPushButton::clicked, this, [this] { m_model->setAllSelected(true); });
    connect(m_unselectAll, &QPushButton::clicked, this, [this] { m_model->setAllSelected(false); });

    buildButtons();
    retranslate();
}

SearchAndReplaceForm::~SearchAndReplaceForm() = default;

void SearchAndReplaceForm::setUpColumns()
{
    m_grid->setColumnHidden(SearchResultModel::CmdColumn, true);
    m_grid->setColumnHidden(SearchResultModel::OtherColumn, true);
    QHeaderView *header = m_grid->horizontalHeader();
    header->setSectionResizeMode(SearchResultModel::ShownColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(SearchResultModel::DateColumn, QHeaderView::ResizeToContents);
    // The mark column is wide enough for its longest word ("binary", "not 1252") in either language.
    int markWidth = 28;
    for (const QString &word : {QStringLiteral("binary"), QStringLiteral("binär"), QStringLiteral("not 1252"),
                                QStringLiteral("nicht 1252")})
        markWidth = std::max(markWidth, m_grid->fontMetrics().horizontalAdvance(word) + 16);
    header->resizeSection(SearchResultModel::MarkColumn, markWidth);
    header->resizeSection(SearchResultModel::SelectedColumn, 28);
    header->resizeSection(SearchResultModel::SizeColumn, 80);
}

void SearchAndReplaceForm::buildButtons()
{
    auto group = [this](std::initializer_list<QPushButton *> buttons) {
        auto *box = new QWidget(this);
        auto *row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        for (QPushButton *button : buttons) {
            button->setParent(box);
            row->addWidget(button);
        }
        return box;
    };
    m_downloadSearch = makeButton(this, "DownloadSearchBitBtn");
    m_uploadSearch = makeButton(this, "UploadSearchBitBtn");
    m_goTo = makeButton(this, "SearchFilesBitBtn");
    m_applyServer = makeButton(this, "SearchAndReplaceServerBitBtn");
    m_viewServer = makeButton(this, "ViewBiitBtn");
    m_uploadBack = makeButton(this, "UploadSearchAndReplaceBitBtn");
    m_applyLocal = makeButton(this, "SearchAndReplaceLocalBitBtn");
    m_viewLocal = makeButton(this, "BitBtn1");
    m_close = makeButton(this, "BitBtn2");
    m_searchServerGroup = group({m_downloadSearch});
    m_searchLocalGroup = group({m_uploadSearch});
    m_replaceServerGroup = group({m_applyServer, m_viewServer, m_uploadBack});
    m_replaceLocalGroup = group({m_applyLocal, m_viewLocal});

    auto *row = new QHBoxLayout;
    for (QWidget *box : {m_searchServerGroup, m_searchLocalGroup, m_replaceServerGroup, m_replaceLocalGroup})
        row->addWidget(box);
    row->addWidget(m_goTo);
    row->addStretch();
    row->addWidget(m_close);
    contentLayout()->addLayout(row);

    connect(m_downloadSearch, &QPushButton::clicked, this, &SearchAndReplaceForm::transferFilesWithHits);
    connect(m_uploadSearch, &QPushButton::clicked, this, &SearchAndReplaceForm::transferFilesWithHits);
    connect(m_goTo, &QPushButton::clicked, this, &SearchAndReplaceForm::goToChosenFile);
    connect(m_applyServer, &QPushButton::clicked, this, &SearchAndReplaceForm::applyOnServerFiles);
    connect(m_applyLocal, &QPushButton::clicked, this, &SearchAndReplaceForm::applyOnLocalFiles);
    connect(m_viewServer, &QPushButton::clicked, this, &SearchAndReplaceForm::viewEditChosenFile);
    connect(m_viewLocal, &QPushButton::clicked, this, &SearchAndReplaceForm::viewEditChosenFile);
    connect(m_uploadBack, &QPushButton::clicked, this, &SearchAndReplaceForm::uploadBack);
    connect(m_close, &QPushButton::clicked, this, &SearchAndReplaceForm::reject);
}

void SearchAndReplaceForm::retranslate()
{
    const bool german = context().language.isGerman();
    m_params->retranslate();
    m_topLabel->setText(m_replaceMode ? text(QStringLiteral("Search and replace in files"), QStringLiteral("Suchen und Ersetzen in Dateien"))
                                      : text(QStringLiteral("Search in files"), QStringLiteral("in Dateien suchen")));
    m_selectAll->setText(text(QStringLiteral("Select all"), QStringLiteral("Alle auswählen")));
    m_unselectAll->setText(text(QStringLiteral("Unselect all"), QStringLiteral("Alle abwählen")));
    const QList<QAction *> items = m_gridMenu->actions();
    items.at(0)->setText(text(QStringLiteral("View file"), QStringLiteral("Datei anzeigen")));
    items.at(2)->setText(m_selectAll->text());
    items.at(3)->setText(m_unselectAll->text());
    m_downloadSearch->setText(text(QStringLiteral("Download files which include the search term"),
                                   QStringLiteral("Dateien, welche den Suchbegriff beinhalten, herunterladen")));
    m_uploadSearch->setText(text(QStringLiteral("Upload files which include the search term"),
                                 QStringLiteral("Dateien, welche den Suchbegriff beinhalten, hochladen")));
    m_goTo->setText(text(QStringLiteral("Goto selected file"), QStringLiteral("Zur ausgewählten Datei springen")));
    m_applyServer->setText(text(QStringLiteral("Search and replace in files"), QStringLiteral("Suchen und Ersetzen in Dateien")));
    m_applyLocal->setText(text(QStringLiteral("Search and replace in local files"),
                               QStringLiteral("Suchen und Ersetzen in lokalen Dateien")));
    const QString viewEdit = text(QStringLiteral("View/Edit selected file"), QStringLiteral("Ausgewählte Datei anzeigen/bearbeiten"));
    m_viewServer->setText(viewEdit);
    m_viewLocal->setText(viewEdit);
    m_uploadBack->setText(text(QStringLiteral("Upload files back to server"), QStringLiteral("Dateien zurück auf den Server laden")));
    m_close->setText(text(QStringLiteral("Close"), QStringLiteral("Schließen")));
    m_model->setGerman(german);
}

QComboBox *SearchAndReplaceForm::modeComboBox() const { return m_params->modeComboBox(); }
QLineEdit *SearchAndReplaceForm::searchEdit() const { return m_params->searchEdit(); }
QLineEdit *SearchAndReplaceForm::replaceEdit() const { return m_params->replaceEdit(); }
QCheckBox *SearchAndReplaceForm::replaceLineCheckBox() const { return m_params->replaceLineCheckBox(); }
QLineEdit *SearchAndReplaceForm::sourceFileEdit() const { return m_params->sourceFileEdit(); }
QPushButton *SearchAndReplaceForm::sourceButton() const { return m_params->sourceButton(); }
QPlainTextEdit *SearchAndReplaceForm::termLinesMemo() const { return m_params->termLinesMemo(); }
QPlainTextEdit *SearchAndReplaceForm::edgeLinesMemo() const { return m_params->edgeLinesMemo(); }

QPushButton *SearchAndReplaceForm::button(const char *objectName) const
{
    return findChild<QPushButton *>(QLatin1String(objectName));
}

void SearchAndReplaceForm::attach(SearchWindowHost &host, BackupStore &backups)
{
    m_host = &host;
    m_session = std::make_unique<SearchSession>();
    m_backups = std::make_unique<SearchBackups>(context(), *m_session);
    m_backups->attach(backups, host);
    auto *old = m_model;
    m_model = new SearchResultModel(m_session->entries(), this);
    m_model->setGermanDates(context().systemIsGerman);
    m_model->setHitIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    m_model->setGerman(context().language.isGerman());
    m_grid->setModel(m_model);
    setUpColumns();
    delete old;
}

void SearchAndReplaceForm::prepare(bool replaceMode)
{
    m_replaceMode = replaceMode;
    SearchSession &s = *m_session;
    s.reset();
    m_progressLabel->clear();
    m_changedLabel->clear();
    if (m_host)
        m_host->hideCharts();
    retranslate();
    m_changedLabel->setVisible(replaceMode);
    if (replaceMode)
        setChangedCount(0);

    for (QWidget *group : {m_searchServerGroup, m_searchLocalGroup, m_replaceServerGroup, m_replaceLocalGroup})
        group->hide();
    m_goTo->hide();
    m_uploadSearch->setEnabled(m_host && m_host->hasServerHost());

    const QString localBox = m_host ? m_host->localPathText() : QString();
    s.load(TextCodec::ReadLines(context().folders.tempFolder + QStringLiteral("SEARCH_QUEUE.TXT")), localBox,
           context().folders.downloadFolder());
    m_model->reload();
    if (s.lastCommand() == QueueCommand::Retr) {
        (replaceMode ? m_replaceServerGroup : m_searchServerGroup)->show();
        m_goTo->setVisible(!replaceMode);
    } else if (s.lastCommand() == QueueCommand::Stor) {
        (replaceMode ? m_replaceLocalGroup : m_searchLocalGroup)->show();
        m_goTo->setVisible(!replaceMode);
    }

    s.clearTransferRecords();
    clearInputs();
    m_uploadBack->setEnabled(false);
    m_params->setReplaceMode(replaceMode);
    searchOnly();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    QApplication::beep();
}

int SearchAndReplaceForm::open(bool replaceMode)
{
    prepare(replaceMode);
    return exec();
}

void SearchAndReplaceForm::clearInputs()
{
    m_quiet = true;
    m_params->clear();
    m_quiet = false;
}

void SearchAndReplaceForm::progressChanged(const QString &progress)
{
    m_progressLabel->setText(progress);
}

void SearchAndReplaceForm::fileFinished()
{
    // At most twenty times a second: a search runs on every key press over every file.
    m_pump.pump();
}

void SearchAndReplaceForm::searchOnly()
{
    runSearch(true);
}

void SearchAndReplaceForm::runSearch(bool reportFailure)
{
    // During an apply the marks say which files were changed (and go back): a search started
    // from the events the apply processes must not overwrite them.
    if (m_quiet || m_applying)
        return;
    bool written = false;
    try {
        m_engine.RunSearchReplace(m_params->job(), m_session->entries(), false, written);
    } catch (const SearchReplaceError &error) {
        m_progressLabel->clear();
        if (reportFailure)
            context().prompts.error(error.text(context().language));
    }
    m_model->marksChanged();
}

int SearchAndReplaceForm::chosenRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() && m_grid->selectionModel()->isRowSelected(current.row(), {}) ? current.row() : -1;
}

void SearchAndReplaceForm::setChangedCount(int count)
{
    m_changedLabel->setText(QString::number(count) + u' ' + changedText());
}

QString SearchAndReplaceForm::changedText() const
{
    return text(QStringLiteral("changed files"), QStringLiteral("geänderte Dateien"));
}

bool SearchAndReplaceForm::chooseSourceIfMissing()
{
    if (m_params->operation() != ReplaceMode::ReplaceFile || !m_params->sourceFileEdit()->text().isEmpty())
        return true;
    m_quiet = true;
    const bool chosen = m_params->chooseSourceFile();
    m_quiet = false;
    return chosen;
}

QString SearchAndReplaceForm::runApply()
{
    ++m_applying;
    QString failure;
    const ReplaceJob job = m_params->job(); // the criteria as they were when the apply began
    m_pump.force(); // the locked criteria and the wait cursor show before the first file
    m_session->clearMarks();
    try {
        m_engine.RunSearchReplace(job, m_session->entries(), true, m_session->anyFileWritten);
    } catch (const SearchReplaceError &error) {
        m_progressLabel->clear();
        failure = error.text(context().language);
    }
    --m_applying;
    return failure;
}

void SearchAndReplaceForm::reportComplete(const QString &errorText, bool pressUpload, int unfit)
{
    QApplication::restoreOverrideCursor();
    if (!errorText.isEmpty()) {
        // The files before the one that failed keep their changes; they are handed on like any
        // change, and the backup made before the run holds every file as it was.
        context().prompts.error(errorText + u' '
                                + text(QStringLiteral("The operation stopped at this file. The files before it were changed ("),
                                       QStringLiteral("Die Operation wurde bei dieser Datei beendet. Die Dateien davor wurden "
                                                      "geändert ("))
                                + m_changedLabel->text()
                                + text(QStringLiteral("); the backup holds every file as it was before."),
                                       QStringLiteral("); die Sicherung enthält alle Dateien im vorherigen Zustand.")));
        return;
    }
    QString message = text(QStringLiteral("Operation complete."), QStringLiteral("Operation komplett")) + u' '
        + m_changedLabel->text() + u'.';
    if (unfit > 0) {
        message += u' '
            + text(QStringLiteral("%1 files were left unchanged: they are written in Windows-1252, which cannot hold "
                                  "a character of the search or replacement text."),
                   QStringLiteral("%1 Dateien blieben unverändert: sie sind in Windows-1252 geschrieben, das ein Zeichen "
                                  "des Such- oder Ersetzungstexts nicht enthält."))
                  .arg(unfit);
    }
    if (pressUpload) {
        message += u' '
            + text(QStringLiteral("Press now \"Upload files back to server\" or do further operations!"),
                   QStringLiteral("Drücken Sie nun \"Dateien zurück auf den Server laden\" oder machen Sie weitere Operatioen"));
    }
    context().prompts.information(message);
}

void SearchAndReplaceForm::applyOnServerFiles()
{
    applyOnFiles(true);
}

void SearchAndReplaceForm::applyOnLocalFiles()
{
    applyOnFiles(false);
}

// Backs up every working copy, changes them, then queues the changed copies for upload (server)
// or copies them back over the local files at once.
void SearchAndReplaceForm::applyOnFiles(bool onServer)
{
    if (m_applying)
        return;
    // From the backup to the queued uploads the criteria are locked, as the buttons are, and no
    // search runs: the marks say which copies were changed and go back.
    ++m_applying;
    m_params->setEnabled(false);
    const struct Unlock {
        SearchAndReplaceForm &form;
        ~Unlock()
        {
            form.m_params->setEnabled(true);
            --form.m_applying;
        }
    } unlock{*this};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString backup = m_backups ? m_backups->make(onServer ? BackupIndex::ServerKind : BackupIndex::LocalKind,
                                                       m_params->backupOperation())
                                     : QString();
    if (backup.isEmpty()) {
        QApplication::restoreOverrideCursor();
        return;
    }
    m_session->action = SearchSession::Action::Transfer;
    if (!chooseSourceIfMissing()) {
        BackupStore::KeepOnly(backup, {});
        QApplication::restoreOverrideCursor();
        return;
    }
    const QString failure = runApply();
    int unfit = 0;
    for (const SearchEntry &entry : m_session->entries())
        unfit += entry.selected && entry.unfit ? 1 : 0;
    // The backup keeps the files this apply changed, as they were before it.
    m_backups->keepChanged(backup, onServer);
    setChangedCount(onServer ? m_session->queueUploads() : m_session->copyBack());
    clearInputs();
    runSearch(false); // a file that failed was reported by the run itself
    m_session->clearMarks();
    m_model->marksChanged();
    if (onServer)
        m_uploadBack->setEnabled(m_session->anyFileWritten);
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    reportComplete(failure, onServer, unfit);
    m_session->mayClose = !onServer;
}

void SearchAndReplaceForm::viewEditChosenFile()
{
    if (m_applying)
        return; // the buttons wait for the writing run to end
    const int row = chosenRow();
    if (row < 0) {
        context().prompts.information(text(QStringLiteral("Select first a file."), QStringLiteral("Wähle Sie zuerst eine Datei aus.")));
        return;
    }
    const SearchEntry entry = m_session->entries().at(row);
    // A local file gets the edit at once (see below); its backup must hold what is replaced.
    QFile before(entry.workingCopyPath);
    const QByteArray original = before.open(QIODevice::ReadOnly) ? before.readAll() : QByteArray();
    // A binary row never reaches the editor as text: by its name, or by its bytes.
    const bool binary = entry.binary || !ByteShape::IsEightBitText(original);
    if (binary || !IsAsciiFile(entry.workingCopyPath)) {
        if (binary && !entry.binary) {
            m_session->entries()[row].binary = true;
            m_model->marksChanged();
        }
        context().prompts.information(text(QStringLiteral("Unable to view/edit file."),
                                           QStringLiteral("Datei kann nicht Angezeigt/Bearbeitet werden.")));
        return;
    }
    if (!m_host)
        return;
    if (!m_host->editFile(entry.workingCopyPath))
        return;

    // The backup holds the edited file as it was before this edit (on the server, what the
    // server has), so "Restore" undoes the edit.
    const bool server = entry.command == QueueCommand::Retr;
    const QString localName = LocalFileName(SearchSession::localPath(entry));
    const BackupOperation operation = BackupOperation::forEditor(context().language, localName);
    const QString folder = m_backups->make(server ? BackupIndex::ServerKind : BackupIndex::LocalKind, operation);
    if (folder.isEmpty())
        return;
    m_backups->keepEdited(folder, entry, original, server);
    if (server) {
        setChangedCount(m_session->queueUpload(entry));
        reportComplete(QString(), true);
        m_uploadBack->setEnabled(true);
        m_session->action = SearchSession::Action::Transfer;
        return;
    }
    // A local working copy goes back to its local file right away, like a local apply.
    setChangedCount(m_session->copyBack(entry));
    reportComplete(QString(), false);
}

void SearchAndReplaceForm::forgetUntouched(const QStringList &workingCopies)
{
    if (m_backups)
        m_backups->forgetUntouched(workingCopies);
}

void SearchAndReplaceForm::transferFilesWithHits()
{
    if (m_applying)
        return; // the buttons wait for the writing run to end
    m_session->action = SearchSession::Action::Transfer;
    m_session->queueTransfers();
    m_session->mayClose = true;
    accept();
}

void SearchAndReplaceForm::goToChosenFile()
{
    if (m_applying)
        return; // the buttons wait for the writing run to end
    SearchSession &s = *m_session;
    s.action = SearchSession::Action::GoTo;
    const int row = chosenRow();
    if (row < 0) {
        s.mayClose = false;
        context().prompts.information(text(QStringLiteral("Select first a file."), QStringLiteral("Wähle Sie zuerst eine Datei aus.")));
        return;
    }
    const SearchEntry &entry = s.entries().at(row);
    const bool server = entry.command == QueueCommand::Retr;
    s.chosenLocalFile = server ? entry.otherPath : entry.shownPath;
    s.chosenRemoteFile = server ? entry.shownPath : entry.otherPath;
    if (!context().prompts.confirm(text(QStringLiteral("Goto: "), QStringLiteral("Gehe zu:")) + entry.shownPath)) {
        s.mayClose = false;
        return;
    }
    s.mayClose = true;
    accept();
}

void SearchAndReplaceForm::uploadBack()
{
    if (m_applying)
        return; // the buttons wait for the writing run to end
    m_session->mayClose = true;
    accept();
}

void SearchAndReplaceForm::closeEvent(QCloseEvent *event)
{
    if (!m_session->mayClose || m_applying) {
        event->ignore();
        return;
    }
    ToolDialog::closeEvent(event);
}

void SearchAndReplaceForm::reject()
{
    if (m_applying)
        return;
    m_session->mayClose = true;
    ToolDialog::reject();
}

} // namespace Velmora
