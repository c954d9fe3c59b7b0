#pragma once

#include "FilterControls.h"
#include "LayoutControls.h"
#include "PaneToolBars.h"
#include "ProgressControls.h"
#include "QueueControls.h"

#include "app/AppContext.h"
#include "app/StartupArguments.h"
#include "common/Language.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

namespace Velmora {

class DesignApplier;
class ProtocolTableModel;
struct BrowserWidgets;
struct MainWindowWidgets;
struct WorkControl;

// The questions the main window asks other parts of the program. Set once by the starter;
// every one of them must be present.
struct MainFormHooks {
    std::function<bool()> isConnected;
    std::function<bool(const QString &question)> deleteAllBackups;
};

// The main window: its regions, the busy and idle states, Abort, the two end-of-run check
// boxes, the language switch and the close question. The rest of the program answers its two
// questions (MainFormHooks) and acts on its signals.
class MainForm : public QMainWindow {
    Q_OBJECT
public:
    MainForm(AppContext &context, WorkControl &work, StartupArguments arguments, QWidget *parent = nullptr);
    ~MainForm() override;

    // Each region's controls, for the part of the program that owns that region.
    BrowserWidgets browserWidgets() const;
    PaneToolBars paneToolBars() const;
    QueueControls queueControls() const;
    ProgressControls progressControls() const;
    FilterControls filterControls() const;
    LayoutControls layoutControls() const;
    DesignApplier &designApplier() const { return *m_designApplier; }
    const StartupArguments &arguments() const { return m_arguments; }

    enum class StartOutcome { Continue, EndProgram };
    // The show handler: caption, texts, path boxes, the last queue, the command line.
    StartOutcome FormShow();

    void SetBusyState();
    void SetIdleState();
    bool isBusy() const { return m_busy; }
    bool isConnected() const { return m_hooks.isConnected(); }
    void AbortBitBtnClick();
    void SetLanguage(Language::Id id);
    void ShutdownComputer();
    // Ends the program without the close question and without the close steps (after a run
    // with "Close program after transfer" or a batch job with "-rc").
    void endFromRun();
    // An error no feature handled: its text goes to the protocol as an error line (no message
    // box interrupts the user), then the idle state, and a reconnect when not connected.
    void HandleUnexpectedError(const QString &errorText);

    void setAutomaticRunButton(bool automatic);
    void setFilterState(bool on);
    bool filterState() const;
    // The two path boxes above the file grids.
    // The end-of-run check boxes of the progress panel.
    bool closeAfterRunChecked() const;
    bool shutdownAfterRunChecked() const;
    // The Restore button of the main toolbar appears (a search and replace left backups).
    void showRestoreButton();
    // Whether the connection is encrypted: the short text in the status bar, the details in the
    // tips of the status text, the Disconnect button and the server path box.
    void showEncryption(const QString &shown, const QString &details);
    // The check mark of "Check for updates at program start".
    void setUpdateCheckAtStart(bool on);
    int queueRowCount() const;
    bool isBatchMode() const { return m_batchMode; }
    // The batch job is over: later runs are the user's own.
    void leaveBatchMode() { m_batchMode = false; }
    // The program's exit status (a batch job's result); 0 unless set.
    QTimer &siteManagerTimer() { return m_siteManagerTimer; }
    QTimer &batchJobTimer() { return m_batchJobTimer; }

    // Takes the answers to the window's questions; refuses a set with a missing one.
    void setHooks(MainFormHooks hooks);
    const MainFormHooks &hooks() const { return m_hooks; }

Q_SIGNALS:
    void siteManagerRequested();
    void optionsRequested();
    void batchJobStarted();
    void closingCleanupStarted(); // save layouts before the temporary folders go
    // The path boxes start with these folders, and the local one is listed.
    void startFoldersRequested(const QString &localFolder, const QString &serverFolder);
    void localListingRequested();   // list the local path box's folder
    void serverListingRequested();  // list the server path box's folder
    void lastSessionRequested();    // load the last login and the last queue
    void reconnectRequested();      // an unexpected error left the session disconnected
    void windowActivated();         // bring a visible progress window or editor forward
    // The idle state is set: the focused file grid selects its remembered row again.
    void idleStateEntered();

    // Menu items and buttons whose work belongs to another part of the program.
    void disconnectRequested();
    void designRequested();
    void uploadRequested();
    void downloadRequested();
    void createFileRequested();
    void createBatchjobRequested();
    void batchjobLogRequested();
    void multiRenameRequested();
    void copyToEachDirRequested();
    void restoreRequested();
    void aboutRequested();
    void updateCheckRequested();
    void updateCheckAtStartToggled(bool on);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void connectControls();
    void setInitialState();
    void retranslate();
    void applyDesign(const QString &designName);
    void showNewestProtocolLine();
    void setLockedControlsEnabled(bool enabled);
    void updateQueueTexts();
    void deleteTemporaryFolders();
    QString text(const QString &english, const QString &german) const { return m_context.text(english, german); }

    AppContext &m_context;
    WorkControl &m_work;
    MainFormHooks m_hooks;
    StartupArguments m_arguments;
    std::unique_ptr<MainWindowWidgets> m_widgets; // only the window and its builder see these
    MainWindowWidgets &m_w;
    ProtocolTableModel *m_protocolModel = nullptr;
    DesignApplier *m_designApplier = nullptr;
    QTimer m_siteManagerTimer;
    QTimer m_batchJobTimer;
    QTimer m_protocolScroll;
    QWidget *m_lastFocusedGrid = nullptr;
    bool m_busy = false;
    bool m_busyCursor = false;
    bool m_batchMode = false;
    bool m_endingFromRun = false;
};

} // namespace Velmora
