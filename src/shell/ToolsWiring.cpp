#include "ToolsWiring.h"

#include "MainForm.h"
#include "QueueWiring.h"
#include "TransferWiring.h"

#include "app/AppContext.h"
#include "app/Options.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "common/Language.h"
#include "common/RecordText.h"
#include "engine/MasterFTP.h"
#include "queue/EventPump.h"
#include "queue/GetFilesListForm.h"
#include "queue/QueueRunner.h"
#include "tools/CopyFileToEachDirForm.h"
#include "tools/CopyToEachDir.h"
#include "tools/MultiRenameToolForm.h"
#include "tools/MultiRenamer.h"
#include "tools/PermissionForm.h"
#include "tools/PermissionRun.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>

namespace Velmora {

namespace {

// The hourglass while files are renamed or copied.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

ToolsWiring::ToolsWiring(AppContext &context, MainForm &main, MasterFTP &ftp, WorkControl &work,
                         BrowserController &browser, QueueWiring &queue, TransferWiring &transfer, const Windows &windows)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_ftp(ftp)
    , m_work(work)
    , m_browser(browser)
    , m_queue(queue)
    , m_transfer(transfer)
    , m_windows(windows)
{
    browser.commands().setHandler(GridCommand::FilePermissions, [this](BrowserSide side) {
        if (side == BrowserSide::Server)
            requestPermissions();
    });
    connect(&main, &MainForm::multiRenameRequested, this, &ToolsWiring::requestMultiRename);
    connect(&main, &MainForm::copyToEachDirRequested, this, &ToolsWiring::requestCopyToEachDir);
}

QString ToolsWiring::text(const QString &english, const QString &german) const
{
    return m_context.text(english, german);
}

void ToolsWiring::requestPermissions()
{
    if (m_main.isBusy() || !m_browser.CheckSelection(BrowserSide::Server, SelectionRule::AFileOrDirectory))
        return;
    m_ftp.EnsureConnected();
    if (!m_ftp.isConnected())
        return;
    FileGridPane &pane = m_browser.pane(BrowserSide::Server);
    const QList<SelectionLine> rows = pane.selectionLines();
    // A folder that records cannot carry is refused as a whole; a name that they cannot carry
    // is skipped by the run with a protocol line.
    if (RecordText::holdsSeparator(pane.folder())) {
        m_context.prompts.error(RecordText::pathRefusal(pane.folder(), m_context.language.isGerman()));
        return;
    }
    if (!m_windows.permissions.ask(SelectionHasFolder(rows), InitialPermissionString(rows)))
        return;
    const PermissionChoice choice = m_windows.permissions.choice();
    if (!IsCompletePermissionValue(choice.value)) {
        m_context.prompts.error(IncompletePermissionValueText(choice.value, m_context.language.isGerman()));
        return;
    }
    PermissionRun(m_queue.walker(), m_queue.runner(), m_queue.host()).run(rows, pane.folder(), choice);
}

void ToolsWiring::requestMultiRename()
{
    const BrowserSide side = m_browser.focusedSide().value_or(BrowserSide::Server);
    if (m_main.isBusy() || !m_browser.CheckSelection(side, SelectionRule::MinimumOneFile))
        return;
    FileGridPane &pane = m_browser.pane(side);
    const QString location = pane.folder();
    QList<RenamePreviewRow> rows;
    for (const SelectionLine &line : pane.selectionLines()) {
        if (line.kind == EntryKind::File)
            rows.append({line.name, QString(), line.size, line.date, location});
    }
    if (!m_windows.multiRename.ask(rows))
        return;

    RenamePreviewModel &preview = m_windows.multiRename.preview();
    QStringList folderNames;
    const FileGridModel &model = pane.model();
    for (int row = 0; row < model.rowCount(); ++row)
        folderNames.append(model.entryAt(row).ownName()); // a link "public -> www" is named "public"
    const QList<RenameStep> plan = PlanRenames(preview.oldNames(), preview.newNames(), folderNames);

    EventPump pump;
    MultiRenamer renamer(m_context.protocol, [&pump] { pump.pump(); }, m_context.language.isGerman());
    {
        const WaitCursor wait;
        if (side == BrowserSide::Local)
            renamer.renameLocal(location, plan);
        else
            renamer.renameRemote(m_queue.runner(), location, plan);
    }
    m_browser.refresh(side);
    // A refusal is said, not only written to the protocol.
    if (!renamer.refusalMessage().isEmpty())
        m_context.prompts.information(renamer.refusalMessage());
}

void ToolsWiring::requestCopyToEachDir()
{
    const std::optional<BrowserSide> side = m_browser.focusedSide();
    if (!side || m_main.isBusy() || !m_browser.CheckSelection(*side, SelectionRule::MinimumOneDirectory))
        return;
    if (*side == BrowserSide::Server) {
        m_ftp.EnsureConnected();
        if (!m_ftp.isConnected())
            return;
    }

    // The window's filter switch is on while the folders are collected, as for the searches.
    const bool filterWasOn = m_main.filterState();
    m_main.setFilterState(true);
    const std::optional<Collection> collection =
        m_transfer.builders().CollectFolders(*side == BrowserSide::Local ? GridSide::Local : GridSide::Server);
    m_main.setFilterState(filterWasOn);
    m_main.SetIdleState();
    m_windows.walkProgress.collectionEnded(false);
    if (!collection)
        return;

    const QStringList collected = UniqueFolders(collection->foldersRead);
    CopyFileToEachDirForm &form = m_windows.copyToEachDir;
    if (!form.ask(collected) || form.sources().isEmpty())
        return;
    if (*side == BrowserSide::Local)
        copyLocally(form.destinations(), form.sources());
    else
        queueUploads(form.destinations(), form.sources());
}

void ToolsWiring::copyLocally(const QStringList &destinations, const QStringList &sources)
{
    // Existing files are replaced only when the user says so.
    bool replace = false;
    const int existing = LocalEachDirCopy::existingTargets(destinations, sources);
    if (existing > 0) {
        replace = m_context.prompts.confirm(
            text(QStringLiteral("%1 of the copies would replace a file of the same name. Replace these files?"),
                 QString::fromUtf8("%1 der Kopien würden eine gleichnamige Datei ersetzen. Diese Dateien ersetzen?"))
                .arg(existing));
    }
    EventPump pump;
    LocalEachDirCopy copier(m_context.protocol, [&pump] { pump.pump(); });
    const WaitCursor wait;
    copier.copy(destinations, sources, replace);
}

void ToolsWiring::queueUploads(const QStringList &destinations, const QStringList &sources)
{
    QueueRunner &runner = m_queue.runner();
    m_work.startWork();
    qint64 bytes = 0;
    qint64 files = 0;
    const QStringList records = CopyUploadRecords(destinations, sources, m_context.systemIsGerman, m_context.protocol,
                                                  bytes, files, m_context.language.isGerman());
    m_main.SetBusyState(); // clears the counters: they are set once the state is entered
    m_work.totalSize = bytes;
    m_work.filesFound = files;
    RunPlan plan;
    plan.records = records;
    plan.autoRun = m_context.options.data().automaticRunQueue;
    runner.RunQueue(plan);
    m_main.SetIdleState();
}

} // namespace Velmora
