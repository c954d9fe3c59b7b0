#include "FTPConnectionsForm.h"

#include "app/ColumnWidth.h"
#include "app/WindowFront.h"
#include "common/RecordText.h"

#include "EditFTPDataForm.h"
#include "SiteTableModel.h"

#include "app/UserPrompts.h"
#include "app/TypeAheadKey.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QTableView>

#include <algorithm>

namespace Velmora {

namespace {

QPushButton *makeButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QPoint below(const QWidget *widget)
{
    return widget->mapToGlobal(QPoint(0, widget->height()));
}

} // namespace

FTPConnectionsForm::FTPConnectionsForm(const AppContext &context, TypeAheadSearch &typeAhead, QWidget *parent)
    : ToolDialog(context, parent, QStringLiteral("FTP Connections"), QStringLiteral("FTP Verbindungen"))
    , m_typeAhead(typeAhead)
    , m_store(context.folders.appDataFolder, &context.protocol, &context.language)
    , m_importer(context.prompts, context.language, &context.protocol, context.folders)
{
    setObjectName(QStringLiteral("FTPConnectionsForm"));
    setModal(true);
    m_model = new SiteTableModel(m_store, context.language, this);
    m_newSiteTimer.setObjectName(QStringLiteral("NewSiteTimer"));
    m_newSiteTimer.setSingleShot(true);
    m_newSiteTimer.setInterval(1);
    connect(&m_newSiteTimer, &QTimer::timeout, this, &FTPConnectionsForm::NewSiteTimerTimer);
    m_importer.setBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    buildControls();
    buildMenus();
    retranslate();
    updateButtons();
}

FTPConnectionsForm::~FTPConnectionsForm() = default;

void FTPConnectionsForm::buildControls()
{
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("NextGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    // The port column is at least wide enough for "65535".
    const int portWidth = std::max(40, m_grid->fontMetrics().horizontalAdvance(QStringLiteral("65535")) + 16);
    const int widths[] = {155, 160, 100, 100, portWidth, 120, 115};
    for (int column = 0; column < 7; ++column)
        m_grid->setColumnWidth(column, column == 4 ? portWidth : ColumnWidth::scaled(widths[column], m_grid->fontMetrics()));
    m_grid->setMinimumSize(900, 320);
    contentLayout()->addWidget(m_grid, 1);

    auto *buttons = new QHBoxLayout;
    m_newButton = makeButton(this, "NewBitBtn");
    m_editButton = makeButton(this, "EditBitBtn");
    m_importButton = makeButton(this, "ImportBitBtn");
    m_deleteButton = makeButton(this, "DeleteBitBtn");
    m_copyButton = makeButton(this, "CopyBitBtn");
    m_multiEditButton = makeButton(this, "MultiEditBitBtn");
    m_connectButton = makeButton(this, "ConnectBitBtn");
    m_abortButton = makeButton(this, "AbortBitBtn");
    for (QPushButton *button : {m_newButton, m_editButton, m_importButton, m_deleteButton, m_copyButton, m_multiEditButton})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(m_connectButton);
    buttons->addWidget(m_abortButton);
    contentLayout()->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_newButton, &QPushButton::clicked, this, &FTPConnectionsForm::NewBitBtnClick);
    connect(m_editButton, &QPushButton::clicked, this, &FTPConnectionsForm::EditBitBtnClick);
    connect(m_importButton, &QPushButton::clicked, this, &FTPConnectionsForm::ImportBitBtnClick);
    connect(m_deleteButton, &QPushButton::clicked, this, &FTPConnectionsForm::DeleteBitBtnClick);
    connect(m_copyButton, &QPushButton::clicked, this, &FTPConnectionsForm::CopyBitBtnClick);
    connect(m_multiEditButton, &QPushButton::clicked, this, &FTPConnectionsForm::MultiEditBitBtnClick);
    connect(m_connectButton, &QPushButton::clicked, this, &FTPConnectionsForm::ConnectBitBtnClick);
    connect(m_abortButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableView::doubleClicked, this, [this] {
        if (!m_tableEdit)
            ConnectBitBtnClick();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (current.isValid())
            selectRow(current.row());
    });
    connect(m_model, &SiteTableModel::cellEdited, this, &FTPConnectionsForm::cellEdited);
    connect(m_model, &SiteTableModel::editRefused, this, [this] {
        context().prompts.information(text(QStringLiteral("Data not complete!"), QString::fromUtf8("Daten nicht vollständig!")));
    });

    m_keys = new SiteManagerKeys(this);
    m_keys->tableEditOn = [this] { return m_tableEdit; };
    m_keys->run = [this](SiteManagerKeys::Command command) { runKey(command); };
    m_keys->typeAhead = [this](const QKeyEvent &event) {
        return TypeAheadKey(m_typeAhead, *m_grid, FTPConnection::NameField, event);
    };
    installEventFilter(m_keys);
    m_grid->installEventFilter(m_keys);
    for (QPushButton *button : {m_newButton, m_editButton, m_importButton, m_deleteButton, m_copyButton, m_multiEditButton,
                                m_connectButton, m_abortButton})
        button->installEventFilter(m_keys);
}

void FTPConnectionsForm::buildMenus()
{
    m_importMenu = new QMenu(this);
    m_importMenu->setObjectName(QStringLiteral("ImportPopupMenu"));
    for (int kind = 0; kind < SiteImporter::KindCount; ++kind) {
        QAction *action = m_importMenu->addAction(QString());
        action->setObjectName(SiteImporter::objectName(SiteImporter::Kind(kind)));
        connect(action, &QAction::triggered, this, [this, kind] { runImport(SiteImporter::Kind(kind)); });
        m_importActions[kind] = action;
    }
    m_multiEditMenu = new QMenu(this);
    m_multiEditMenu->setObjectName(QStringLiteral("MultiEditPopupMenu"));
    m_tableEditAction = m_multiEditMenu->addAction(QString());
    m_tableEditAction->setObjectName(QStringLiteral("EditInTable1"));
    m_tableEditAction->setCheckable(true);
    m_allPassiveAction = m_multiEditMenu->addAction(QString());
    m_allPassiveAction->setObjectName(QStringLiteral("SwitchAllToPassiveMode1"));
    m_allActiveAction = m_multiEditMenu->addAction(QString());
    m_allActiveAction->setObjectName(QStringLiteral("SwitchAllToActiveMode1"));
    connect(m_tableEditAction, &QAction::triggered, this, &FTPConnectionsForm::setTableEdit);
    connect(m_allPassiveAction, &QAction::triggered, this, [this] { setAllModes(FTPConnection::Passive); });
    connect(m_allActiveAction, &QAction::triggered, this, [this] { setAllModes(FTPConnection::Active); });
}

void FTPConnectionsForm::retranslate()
{
    m_newButton->setText(text(QStringLiteral("New Site (F5)"), QStringLiteral("Neue Seite [F5]")));
    m_editButton->setText(text(QStringLiteral("Edit (F4)"), QStringLiteral("Bearbeiten [F4]")));
    m_importButton->setText(text(QStringLiteral("Import (F10)"), QStringLiteral("Importieren [F10]")));
    m_deleteButton->setText(text(QStringLiteral("Delete (del)"), QString::fromUtf8("Löschen [entf]")));
    m_copyButton->setText(text(QStringLiteral("Copy (F6)"), QStringLiteral("Kopieren [F6]")));
    m_multiEditButton->setText(text(QStringLiteral("Multi edit"), QStringLiteral("Mehrfach Bearb.")));
    m_connectButton->setText(text(QStringLiteral("Connect (F9)"), QStringLiteral("Verbinden [F9]")));
    m_abortButton->setText(text(QStringLiteral("Abort (Esc)"), QStringLiteral("Abbrechen [Esc]")));
    for (int kind = 0; kind < SiteImporter::KindCount; ++kind)
        m_importActions[kind]->setText(m_importer.caption(SiteImporter::Kind(kind)));
    m_tableEditAction->setText(text(QStringLiteral("Edit in table"), QStringLiteral("In der Tabelle bearbeiten")));
    m_allPassiveAction->setText(text(QStringLiteral("Switch all to passive mode"), QStringLiteral("Alle auf Passiv Modus schalten")));
    m_allActiveAction->setText(text(QStringLiteral("Switsch all to active mode"), QStringLiteral("Alle auf Aktiv Modus schalten")));
    m_model->retranslate();
}

void FTPConnectionsForm::setEditForm(EditFTPDataForm *editForm)
{
    m_edit = editForm;
    connect(m_edit, &QDialog::finished, this, &FTPConnectionsForm::editFinished);
    connect(m_edit, &EditFTPDataForm::importRequested, this, &FTPConnectionsForm::popupImportMenu);
}

void FTPConnectionsForm::openSiteManager()
{
    m_tableEdit = false;
    m_tableEditAction->setChecked(false);
    m_model->setTableEdit(false);
    applyTableEditLook();
    if (m_store.fileExists())
        m_store.LoadConnections();
    m_model->reload();
    // The site connected last, else the row selected when the window was last open.
    int row = m_rememberedRow;
    const int last = m_store.ReadLastConnection();
    if (last >= 0 && last < m_store.sites().size())
        row = last;
    if (m_edit) {
        m_edit->setModeIndex(0);
        m_edit->setImportButtonVisible(false);
    }
    show();
    WindowFront::raise(*this);
    activateWindow();
    m_grid->setFocus(); // a grid without a current row takes the first one on getting the focus
    selectRow(row);
    updateButtons();
    if (m_store.sites().isEmpty())
        m_newSiteTimer.start();
}

void FTPConnectionsForm::updateButtons()
{
    const bool any = !m_store.sites().isEmpty();
    for (QPushButton *button : {m_editButton, m_multiEditButton, m_deleteButton, m_copyButton})
        button->setEnabled(any);
    m_connectButton->setEnabled(any && !m_tableEdit);
}

void FTPConnectionsForm::applyTableEditLook()
{
    m_grid->setEditTriggers(m_tableEdit ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                              | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                                        : QAbstractItemView::NoEditTriggers);
    for (QPushButton *button : {m_newButton, m_editButton, m_importButton, m_deleteButton, m_copyButton})
        button->setVisible(!m_tableEdit);
    updateButtons();
}

void FTPConnectionsForm::selectRow(int row)
{
    const int count = int(m_store.sites().size());
    if (count == 0)
        return;
    row = std::clamp(row, 0, count - 1);
    m_rememberedRow = row;
    m_current = m_store.sites()[row];
    if (m_edit)
        m_edit->setModeIndex(m_current.isPassive() ? 0 : 1);
    const QModelIndex index = m_model->index(row, 0);
    if (m_grid->selectionModel()->currentIndex().row() != row || !hasSelection()) {
        m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    m_grid->scrollTo(index);
}

void FTPConnectionsForm::selectRemembered()
{
    selectRow(m_rememberedRow);
}

int FTPConnectionsForm::firstRowNamed(const QString &name) const
{
    QString stored = name;
    stored.remove(RecordText::EntrySeparator); // the store keeps names without "§"
    for (int row = 0; row < m_store.sites().size(); ++row) {
        if (m_store.sites()[row].Name == stored)
            return row;
    }
    return 0;
}

bool FTPConnectionsForm::hasSelection() const
{
    return !m_grid->selectionModel()->selectedRows().isEmpty();
}

void FTPConnectionsForm::selectSiteFirst()
{
    context().prompts.information(text(QStringLiteral("Select a site first!"), QStringLiteral("Bitte wählen Sie zuerst eine Seite aus")));
}

void FTPConnectionsForm::reportSaveFailure()
{
    context().prompts.error(text(QStringLiteral("The sites could not be saved: "), QStringLiteral("Die Seiten konnten nicht gespeichert werden: "))
                             + m_store.errorText());
}

bool FTPConnectionsForm::save()
{
    const bool saved = m_store.SaveConnections();
    m_model->reload();
    if (!saved)
        reportSaveFailure();
    return saved;
}

void FTPConnectionsForm::reload()
{
    if (m_store.fileExists())
        m_store.LoadConnections();
    m_model->reload();
}

void FTPConnectionsForm::runKey(SiteManagerKeys::Command command)
{
    using Command = SiteManagerKeys::Command;
    switch (command) {
    case Command::Edit: EditBitBtnClick(); break;
    case Command::New: NewBitBtnClick(); break;
    case Command::Copy: CopyBitBtnClick(); break;
    case Command::Connect: ConnectBitBtnClick(); break;
    case Command::Import: ImportBitBtnClick(); break;
    case Command::Delete: DeleteBitBtnClick(); break;
    case Command::Abort: reject(); break;
    case Command::SelectAll: m_grid->selectAll(); break;
    case Command::None: break;
    }
}

void FTPConnectionsForm::startEdit(PendingEdit kind, const FTPConnection &site, const QString &title)
{
    if (!m_edit)
        return;
    m_pending = kind;
    m_editRow = m_rememberedRow;
    m_edit->setConnection(site);
    m_edit->setTitle(title);
    m_edit->show();
    WindowFront::raise(*m_edit);
    m_edit->activateWindow();
    m_edit->focusName();
}

void FTPConnectionsForm::editFinished(int result)
{
    const PendingEdit kind = m_pending;
    m_pending = PendingEdit::None;
    if (kind == PendingEdit::None)
        return;
    if (result == QDialog::Accepted) {
        FTPConnection site = m_edit->connection();
        // A password the keyring could not give stays there unless the user typed a new one.
        if (kind != PendingEdit::New && m_current.PasswordUnread && site.Password.isEmpty()) {
            site.PasswordUnread = true;
            site.PasswordKey = m_current.PasswordKey;
        }
        if (kind == PendingEdit::Edit) {
            if (m_editRow >= 0 && m_editRow < m_store.sites().size()) {
                m_store.sites()[m_editRow] = site;
                save();
                selectRow(m_editRow);
            }
        } else {
            m_store.sites().append(site);
            save();
            updateButtons();
            selectRow(firstRowNamed(site.Name));
        }
    }
    m_grid->setFocus();
}

void FTPConnectionsForm::NewBitBtnClick()
{
    startEdit(PendingEdit::New, FTPConnection::newSite(text(QStringLiteral("New site"), QStringLiteral("Neue Seite"))),
              text(QStringLiteral("New FTP connection"), QStringLiteral("Neue FTP Verbindung")));
}

void FTPConnectionsForm::EditBitBtnClick()
{
    if (!hasSelection()) {
        selectSiteFirst();
        return;
    }
    startEdit(PendingEdit::Edit, m_current, text(QStringLiteral("Edit FTP connection"), QStringLiteral("FTP Verbindungen bearbeiten")));
}

void FTPConnectionsForm::CopyBitBtnClick()
{
    if (!hasSelection()) {
        selectSiteFirst();
        return;
    }
    startEdit(PendingEdit::Copy, m_current, text(QStringLiteral("Copy FTP connection"), QStringLiteral("FTP Verbindung kopieren")));
}

void FTPConnectionsForm::DeleteBitBtnClick()
{
    if (m_store.sites().isEmpty())
        return;
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty()) {
        selectSiteFirst();
        return;
    }
    const qsizetype n = rows.size();
    const QString question = text(QStringLiteral("Really delete"), QStringLiteral(" ")) + u' ' + QString::number(n) + u' '
        + (n < 2 ? text(QStringLiteral("Entry?"), QString::fromUtf8("Eintrag löschen?"))
                 : text(QStringLiteral("Entries?"), QString::fromUtf8("Einträge löschen?")));
    if (!context().prompts.confirm(question))
        return;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : std::as_const(rows))
        m_store.sites().removeAt(row);
    save();
    updateButtons();
    selectRemembered();
    m_grid->setFocus();
}

void FTPConnectionsForm::ConnectBitBtnClick()
{
    m_connectButton->setEnabled(false);
    if (!hasSelection() || m_store.sites().isEmpty()) {
        selectSiteFirst();
        updateButtons();
        return;
    }
    m_chosen = m_current;
    m_store.WriteLastConnection(m_rememberedRow);
    accept();
    Q_EMIT connectRequested();
}

void FTPConnectionsForm::ImportBitBtnClick()
{
    popupImportMenu(below(m_importButton));
}

void FTPConnectionsForm::popupImportMenu(const QPoint &globalPosition)
{
    m_importMenu->popup(globalPosition);
}

void FTPConnectionsForm::MultiEditBitBtnClick()
{
    m_multiEditMenu->popup(below(m_multiEditButton));
}

void FTPConnectionsForm::runImport(SiteImporter::Kind kind)
{
    const bool imported = m_importer.run(kind, m_store);
    m_model->reload();
    if (imported) {
        updateButtons();
        selectRow(0);
    } else {
        selectRemembered(); // a cancelled or failed import leaves the selection where it was
    }
    m_grid->setFocus();
}

void FTPConnectionsForm::setTableEdit(bool on)
{
    m_tableEdit = on;
    m_tableEditAction->setChecked(on);
    m_model->setTableEdit(on);
    applyTableEditLook();
    reload();
    selectRemembered();
}

void FTPConnectionsForm::setAllModes(const QString &mode)
{
    for (FTPConnection &site : m_store.sites())
        site.Mode = mode;
    save();
    selectRemembered();
}

void FTPConnectionsForm::cellEdited(int row, const FTPConnection &site)
{
    Q_UNUSED(row);
    const bool saved = m_store.SaveConnections(); // the file is written at once
    if (!saved)
        reportSaveFailure();
    // The grid shows the new order once its editor has closed; the edited site stays selected.
    QMetaObject::invokeMethod(this, [this, site] {
        m_model->reload();
        const qsizetype at = m_store.sites().indexOf(site);
        selectRow(at >= 0 ? int(at) : m_rememberedRow);
    }, Qt::QueuedConnection);
}

void FTPConnectionsForm::NewSiteTimerTimer()
{
    m_newSiteTimer.stop();
    if (m_edit)
        m_edit->setImportButtonVisible(true);
    NewBitBtnClick();
}

} // namespace Velmora
