#include "SearchWiring.h"

#include "MainForm.h"
#include "MainFormProgressView.h"
#include "QueueWiring.h"

#include "app/AppContext.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "common/Language.h"
#include "editor/EditorForm.h"
#include "engine/MasterFTP.h"
#include "queue/QueueRunner.h"
#include "queue/TransferBuilders.h"
#include "replace/SearchAndReplaceForm.h"

#include <QAction>
#include <QComboBox>

namespace Velmora {

SearchWiring::SearchWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                           QueueWiring &queue, BackupStore &backups, const Windows &windows)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_ftp(ftp)
    , m_browser(browser)
    , m_queue(queue)
    , m_form(windows.search)
    , m_editor(windows.editor)
{
    m_form.attach(*this, queue.runner().queueList(), backups);
}

void SearchWiring::setBuilders(TransferBuilders &builders, TransferFilter &filter)
{
    m_builders = &builders;
    m_filter = &filter;
    GridCommandDispatcher &commands = m_browser.commands();
    commands.setHandler(GridCommand::SearchInFiles, [this](BrowserSide side) { requestSearch(side, WorkMode::SearchInFiles); });
    commands.setHandler(GridCommand::SearchAndReplace,
                        [this](BrowserSide side) { requestSearch(side, WorkMode::SearchAndReplace); });

    // The same requests from each grid's pop-up menu.
    for (BrowserSide side : {BrowserSide::Local, BrowserSide::Server}) {
        FileGridView *grid = m_browser.pane(side).view();
        for (WorkMode mode : {WorkMode::SearchInFiles, WorkMode::SearchAndReplace}) {
            auto *item = new QAction(this);
            item->setObjectName(mode == WorkMode::SearchInFiles ? QStringLiteral("SearchInFilesMenuItem")
                                                                : QStringLiteral("SearchAndReplaceMenuItem"));
            connect(item, &QAction::triggered, this, [this, side, mode] { requestSearch(side, mode); });
            grid->addAction(item);
            grid->setContextMenuPolicy(Qt::ActionsContextMenu);
            m_menuItems.append(item);
        }
    }
    connect(&m_context.language, &Language::languageChanged, this, &SearchWiring::retranslate);
    retranslate();
}

void SearchWiring::retranslate()
{
    for (QAction *item : std::as_const(m_menuItems)) {
        const bool search = item->objectName() == QLatin1String("SearchInFilesMenuItem");
        item->setText(search ? m_context.text(QStringLiteral("Search in files [F9]"), QStringLiteral("In Dateien suchen [F9]"))
                             : m_context.text(QStringLiteral("Search and replace in files [F10]"),
                                              QStringLiteral("Suchen und Ersetzen in Dateien [F10]")));
    }
}

void SearchWiring::requestSearch(BrowserSide side, WorkMode mode)
{
    if (!m_builders || m_main.isBusy() || m_builders->isBuilding()
        || !m_browser.CheckSelection(side, SelectionRule::AFileOrDirectory))
        return;
    if (side == BrowserSide::Server) {
        m_ftp.EnsureConnected();
        if (!m_ftp.isConnected())
            return;
    }
    const bool filterWasOn = m_main.filterState();
    m_main.setFilterState(true);
    // The filter window hands the chosen files over; without it a search cannot start (the
    // builders would otherwise transfer the whole selection).
    if (m_filter && m_filter->isInUse()) {
        if (side == BrowserSide::Local)
            m_builders->Upload(mode);
        else
            m_builders->Download(mode);
    }
    m_main.setFilterState(filterWasOn);
}

SearchFollowUp::Outcome SearchWiring::execSearchWindow(WorkMode mode)
{
    if (m_form.open(mode == WorkMode::SearchAndReplace) != QDialog::Accepted)
        return Outcome::Aborted;
    return m_form.session().action == SearchSession::Action::Transfer ? Outcome::UploadWanted : Outcome::Done;
}

void SearchWiring::showRestoreButton()
{
    m_main.widgets().restoreButtonAction->setVisible(true);
}

QString SearchWiring::chosenRemoteFile() const
{
    return m_form.session().chosenRemoteFile;
}

QString SearchWiring::chosenLocalFile() const
{
    return m_form.session().chosenLocalFile;
}

QString SearchWiring::localPathText() const
{
    return m_main.widgets().localPathEdit->currentText();
}

QString SearchWiring::serverPathText() const
{
    return m_main.widgets().serverPathEdit->currentText();
}

bool SearchWiring::hasServerHost() const
{
    return !m_ftp.host().isEmpty();
}

void SearchWiring::hideCharts()
{
    m_queue.view().hideCharts();
}

bool SearchWiring::editFile(const QString &path)
{
    if (!m_editor.Load(path))
        return false;
    m_editor.setSaveAsEnabled(false);
    m_editor.execModal();
    const bool saved = m_editor.savedReport();
    m_editor.resetSavedReport();
    m_editor.setSaveAsEnabled(true);
    return saved;
}

} // namespace Velmora
