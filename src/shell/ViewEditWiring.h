#pragma once

#include "editor/ViewEditDispatch.h"

#include <QObject>

#include <memory>

namespace Velmora {

class BrowserController;
class EditorForm;
class LocalEditMonitor;
class MainForm;
class MasterFTP;
class QueueRunner;
class RemoteEditMonitor;
struct AppContext;

// Puts View/Edit into the main window: F4, the panes' "View/Edit [F4]" buttons and menu items
// open the focused file (a server file through a working copy in "filemonitoring/") with the
// program the options choose, and the two monitors watch what was opened.
class ViewEditWiring : public QObject {
    Q_OBJECT
public:
    ViewEditWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser, QueueRunner &runner,
                   EditorForm &editor);
    ~ViewEditWiring() override;

    // Another connection was chosen: the working copy belongs to the server that is left.
    void stopRemoteMonitor();
    void localViewEdit();
    void serverViewEdit();

    ViewEditDispatch &dispatch() { return *m_dispatch; }
    RemoteEditMonitor &remoteMonitor() const { return *m_remote; }
    LocalEditMonitor &localMonitor() const { return *m_local; }
    // The outcome of the last View/Edit's dispatch (none when it stopped before).
    std::optional<ViewEditDispatch::Outcome> lastOutcome() const { return m_lastOutcome; }

private:
    bool connectIfNeeded();
    QString focusedName(bool server) const;
    bool gridUsable(bool server) const;

    AppContext &m_context;
    MainForm &m_main;
    MasterFTP &m_ftp;
    BrowserController &m_browser;
    QueueRunner &m_runner;
    std::unique_ptr<BuiltInEditor> m_editor;
    std::unique_ptr<ViewEditDispatch> m_dispatch;
    RemoteEditMonitor *m_remote = nullptr;
    LocalEditMonitor *m_local = nullptr;
    std::optional<ViewEditDispatch::Outcome> m_lastOutcome;
};

} // namespace Velmora
