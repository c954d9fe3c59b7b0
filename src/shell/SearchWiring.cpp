#include "SearchWiring.h"

#include "MainForm.h"

#include "app/AppContext.h"
#include "browser/BrowserController.h"
#include "engine/MasterFTP.h"
#include "queue/TransferBuilders.h"
#include "replace/BackupStore.h"
#include "replace/SearchAndReplaceForm.h"

#include <QDateTime>


namespace Velmora {

SearchWiring::SearchWiring(MainForm &main, SearchWindowHost &window, MasterFTP &ftp,
                           BrowserController &browser, BackupStore &backups, SearchAndReplaceForm &search)
    : QObject(&main)
    , m_main(main)
    , m_ftp(ftp)
    , m_browser(browser)
    , m_form(search)
    , m_backups(backups)
{
    m_form.attach(window, backups);
}

void SearchWiring::setBuilders(TransferBuilders &builders, TransferFilter &filter)
{
    m_builders = &builders;
    m_filter = &filter;
    GridCommandDispatcher &commands = m_browser.commands();
    commands.setHandler(GridCommand::SearchInFiles, [this](BrowserSide side) { requestSearch(side, SearchKind::SearchInFiles); });
    commands.setHandler(GridCommand::SearchAndReplace,
                        [this](BrowserSide side) { requestSearch(side, SearchKind::SearchAndReplace); });
    // "Search files [F3]": the same collection, the filter window in its file-search mode, then
    // "Goto selected file" leads the grid to the chosen file.
    commands.setHandler(GridCommand::SearchFiles, [this](BrowserSide side) { requestSearch(side, SearchKind::FindFiles); });
}

void SearchWiring::requestSearch(BrowserSide side, SearchKind kind)
{
    if (!m_builders || m_main.isBusy() || m_builders->isBuilding()
        || !m_browser.CheckSelection(side, SelectionRule::AFileOrDirectory))
        return;
    if (side == BrowserSide::Server) {
        m_ftp.EnsureConnected();
        if (!m_ftp.isConnected())
            return;
    }
    // The window's filter switch shows that the filter window chooses the files; the search
    // itself opens it whatever the switch says.
    const bool filterWasOn = m_main.filterState();
    m_main.setFilterState(true);
    m_builders->Search(side == BrowserSide::Local ? GridSide::Local : GridSide::Server, kind);
    m_main.setFilterState(filterWasOn);
}

SearchFollowUp::Outcome SearchWiring::execSearchWindow(bool replaceMode)
{
    if (m_form.open(replaceMode) != QDialog::Accepted)
        return Outcome::Aborted;
    return m_form.session().action == SearchSession::Action::Transfer ? Outcome::UploadWanted : Outcome::Done;
}

QStringList SearchWiring::transferRecords() const
{
    return m_form.session().transferRecords();
}

void SearchWiring::showRestoreButton()
{
    m_main.showRestoreButton();
}

void SearchWiring::uploadsEnded(const QList<UploadLeft> &left, const QStringList &untouched)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (const UploadLeft &upload : left) {
        if (upload.entry)
            m_backups.rememberLeft(upload.remotePath, *upload.entry, now);
    }
    // The server kept these files as they were: the window's backups have nothing to put back
    // there, and a restore must not report them as not back when the server refuses them again.
    m_form.forgetUntouched(untouched);
}

QString SearchWiring::chosenRemoteFile() const
{
    return m_form.session().chosenRemoteFile;
}

QString SearchWiring::chosenLocalFile() const
{
    return m_form.session().chosenLocalFile;
}

} // namespace Velmora
