#pragma once

#include "browser/BrowserHost.h"
#include "engine/SessionHost.h"
#include "queue/QueueHost.h"
#include "replace/SearchWindowPorts.h"

#include <QObject>

namespace Velmora {

class BrowserController;
class EditorForm;
class MainForm;
class MasterFTP;

// The main window as the features see it, in one place: its busy and idle states, the two path
// boxes, the end-of-run check boxes, batch mode, the busy pointer and the built-in editor for
// the search window. What belongs to another feature's part of the window (listing a pane,
// emptying the queue or the server grid, hiding the charts) goes out as a request that the
// owning wiring serves: each wiring connects these when it is given the port.
class MainWindowPort : public QObject,
                       public SessionHost,
                       public QueueHost,
                       public BrowserHost,
                       public SearchWindowHost {
    Q_OBJECT
public:
    MainWindowPort(MainForm &main, MasterFTP &ftp, EditorForm &editor);
    ~MainWindowPort() override;
    // The browser that owns the path boxes; set once it exists, before any work runs.
    void setBrowser(BrowserController &browser) { m_browser = &browser; }

    // Busy and idle state (QueueHost, BrowserHost, SessionHost)
    void setBusyState() override;
    void setIdleState() override;
    void setBusyCursor(bool busy) override;

    // The folders the grids show (never a text typed into a path box but not entered), and
    // setting a path box for the next listing.
    QString localPathText() const override;
    QString serverPathText() const override;
    void setLocalPathText(const QString &text) override;
    void setServerPathText(const QString &text) override;

    // The panes and grids
    void listLocalPath() override;
    void listServerPath() override;
    void showServerFolder(const QString &path) override;
    void clearQueueGrid() override;
    void clearServerGrid() override;
    void hideCharts() override;

    // The queue bar, the end of a run and batch mode
    void setAutomaticRunButton(bool automatic) override;
    bool closeAfterRunChecked() const override;
    bool shutdownAfterRunChecked() const override;
    void endProgram() override;
    void shutdownComputer() override;
    bool isBatchMode() const override;
    QString batchQueueFile() const override;
    QString batchModeArgument() const override;

    // The search window's questions
    bool hasServerHost() const override;
    bool editFile(const QString &path) override;

Q_SIGNALS:
    void localListingRequested();  // list the local path box's folder
    void serverListingRequested(); // list the server path box's folder
    void queueGridClearRequested();
    void serverGridClearRequested(); // empty the server grid and reset its header state
    void chartsHideRequested();      // the charts panel gives its place back to the file panes

private:
    MainForm &m_main;
    MasterFTP &m_ftp;
    EditorForm &m_editor;
    BrowserController *m_browser = nullptr;
    bool m_cursorSet = false;
};

} // namespace Velmora
