#pragma once

#include "app/AppContext.h"
#include "MainWindowWidgets.h"
#include "app/StartupArguments.h"
#include "common/Language.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>

namespace Velmora {

class DesignApplier;
class ProtocolTableModel;
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

    MainWindowWidgets &widgets() { return m_w; }
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
    void localListingRequested();   // list the local path box's folder
    void serverListingRequested();  // list the server path box's folder
    void lastSessionRequested();    // load the last login and the last queue
    void reconnectRequested();      // an unexpected error left the session disconnected
    void windowActivated();         // bring a visible progress window or editor forward
    // The idle state is set: the focused file grid selects its remembered row again.
    void idleStateEntered();

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
    MainWindowWidgets m_w;
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
