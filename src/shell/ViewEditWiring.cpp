#include "ViewEditWiring.h"

#include "MainForm.h"

#include "app/AppContext.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "browser/LocalBrowser.h"
#include "common/ListingEntry.h"
#include "common/RemotePath.h"
#include "editor/EditorForm.h"
#include "editor/ExecutableRule.h"
#include "editor/LocalEditMonitor.h"
#include "editor/RemoteEditMonitor.h"
#include "editor/WorkingCopyFolder.h"
#include "engine/MasterFTP.h"
#include "queue/QueueRunner.h"

#include <QDir>
#include <QFile>

namespace Velmora {

namespace {

// The editor window as View/Edit uses it.
class EditorWindow : public BuiltInEditor {
public:
    explicit EditorWindow(EditorForm &form)
        : m_form(form)
    {
    }
    bool load(const QString &path) override { return m_form.Load(path); }
    void setSaveAsEnabled(bool enabled) override { m_form.setSaveAsEnabled(enabled); }
    void showNonBlocking() override { m_form.showNonBlocking(); }

private:
    EditorForm &m_form;
};

} // namespace

ViewEditWiring::ViewEditWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                               QueueRunner &runner, EditorForm &editor)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_ftp(ftp)
    , m_browser(browser)
    , m_runner(runner)
    , m_editor(std::make_unique<EditorWindow>(editor))
    , m_dispatch(std::make_unique<ViewEditDispatch>(context, *m_editor))
{
    const auto serverPath = [this] { return m_browser.pane(BrowserSide::Server).folder(); };
    const auto relistServer = [this, serverPath] { m_browser.FillServerGrid(serverPath()); };
    const auto upload = [this](const QString &local, const QString &remote) { return m_runner.UploadFile(local, remote); };

    const auto workRuns = [this] { return m_main.isBusy() || m_runner.isRunning() || m_ftp.client().isBusy(); };
    RemoteEditMonitor::Hooks remote;
    remote.ensureConnected = [this] { return connectIfNeeded(); };
    remote.upload = upload;
    remote.relistServer = relistServer;
    remote.workRuns = workRuns;
    m_remote = new RemoteEditMonitor(context, std::move(remote), this);

    LocalEditMonitor::Hooks local;
    local.localGridUsable = [this] { return gridUsable(false); };
    local.serverGridUsable = [this] { return gridUsable(true); };
    local.ensureConnected = [this] { return connectIfNeeded(); };
    local.serverPath = serverPath;
    local.site = [this]() -> QString { return m_ftp.host() + u':' + m_ftp.port() + u' ' + m_ftp.user(); };
    local.workRuns = workRuns;
    local.remoteFileExists = [this](const QString &remote) { return m_ftp.RemoteFileExists(remote); };
    local.upload = upload;
    local.relistLocal = [this] { m_browser.refresh(BrowserSide::Local); };
    local.relistServer = relistServer;
    m_local = new LocalEditMonitor(context, std::move(local), this);

    browser.commands().setHandler(GridCommand::ViewEdit, [this](BrowserSide side) {
        if (side == BrowserSide::Local)
            localViewEdit();
        else
            serverViewEdit();
    });
}

ViewEditWiring::~ViewEditWiring() = default;

void ViewEditWiring::stopRemoteMonitor()
{
    m_remote->stop();
}

bool ViewEditWiring::connectIfNeeded()
{
    if (!m_ftp.isConnected())
        m_ftp.Connect(false);
    return m_ftp.isConnected();
}

bool ViewEditWiring::gridUsable(bool server) const
{
    const FileGridView *grid = m_browser.pane(server ? BrowserSide::Server : BrowserSide::Local).view();
    return grid->isEnabled() && grid->isVisible();
}

QString ViewEditWiring::focusedName(bool server) const
{
    const FileGridPane &pane = m_browser.pane(server ? BrowserSide::Server : BrowserSide::Local);
    const int row = pane.rememberedRow();
    QString name = row >= 0 && row < pane.model().rowCount() ? pane.model().nameAt(row) : QString();
    if (server)
        name = ListingEntry::ownName(name, EntryKind::Link).toString();
    return name;
}

void ViewEditWiring::localViewEdit()
{
    m_lastOutcome.reset();
    if (m_main.isBusy() || !m_browser.CheckSelection(BrowserSide::Local, SelectionRule::AFile))
        return;
    const QString folder = IncludeTrailingBackslash(m_browser.local().listedPath());
    const QString path = folder + focusedName(false);
    m_local->start(path); // the file and its stamp before it opens
    m_lastOutcome = m_dispatch->OpenForViewEdit(path, false);
    m_browser.FillLocalGrid(folder);
}

void ViewEditWiring::serverViewEdit()
{
    m_lastOutcome.reset();
    if (m_main.isBusy() || !connectIfNeeded() || !m_browser.CheckSelection(BrowserSide::Server, SelectionRule::AFile))
        return;
    m_remote->stop();
    const FileGridPane &pane = m_browser.pane(BrowserSide::Server);
    const QString name = focusedName(true);
    const QString remote = NormaliseRemotePath(pane.folder() + u'/' + name);
    // Each server file has a working copy of its own, in a folder per site and server folder:
    // "/a/index.html" and "/b/index.html" never share one, so an editor still open on one
    // cannot save over the other's copy.
    const QString folder = m_context.folders.monitoringFolder() + WorkingCopyFolder(
        m_ftp.host() + u'_' + m_ftp.port() + u'_' + m_ftp.user(), ResolveRemotePath(pane.folder(), QString()));
    QDir().mkpath(folder);
    const QString copy = folder + name;
    QFile::remove(copy);
    if (HasExecutableExtension(name))
        return; // never fetched, never opened
    const int row = pane.rememberedRow();
    const QString size = QString::number(pane.model().entryAt(row).size);
    if (!m_runner.DownloadFile(remote, copy, size))
        return; // the protocol says why; there is no working copy to open
    m_lastOutcome = m_dispatch->OpenForViewEdit(copy, true);
    m_remote->start(copy, remote);
}

} // namespace Velmora
