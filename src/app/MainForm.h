#pragma once

#include "AppContext.h"
#include "MainWindowWidgets.h"
#include "StartupArguments.h"
#include "common/Language.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>

namespace Velmora {

class ProtocolTableModel;

// The main window: its regions, the busy and idle states, Abort, the two end-of-run check
// boxes, the language switch and the close question. Features plug into it through the hooks
// below and through its signals.
class MainForm : public QMainWindow {
    Q_OBJECT
public:
    MainForm(AppContext &context, StartupArguments arguments, QWidget *parent = nullptr);
    ~MainForm() override;

    MainWindowWidgets &widgets() { return m_w; }
    const StartupArguments &arguments() const { return m_arguments; }

    enum class StartOutcome { Continue, EndProgram };
    // The show handler: caption, texts, path boxes, the last queue, the command line.
    StartOutcome FormShow();

    void SetBusyState();
    void SetIdleState();
    bool isBusy() const { return m_busy; }
    void AbortBitBtnClick();
    void SetLanguage(Language::Id id);
    void ShutdownComputer();
    // Ends the program without the close question and without the close steps (after a run
    // with "Close program after transfer" or a batch job with "-rc").
    void endFromRun();
    // An error no feature handled: no message, idle state, reconnect when not connected.
    void HandleUnexpectedError();

    void setAutomaticRunButton(bool automatic);
    void setFilterState(bool on);
    bool filterState() const;
    int queueRowCount() const;
    bool isBatchMode() const { return m_batchMode; }
    QTimer &siteManagerTimer() { return m_siteManagerTimer; }
    QTimer &batchJobTimer() { return m_batchJobTimer; }

    // Hooks for the features that arrive later; each has a harmless default.
    std::function<bool()> isConnected = [] { return false; };
    std::function<bool(const QString &question)> deleteAllBackups = [](const QString &) { return true; };
    std::function<void()> reconnect = [] {};
    std::function<void()> loadLastSession = [] {}; // last login and last queue
    std::function<void()> listLocalPath = [] {};
    std::function<void()> listServerPath = [] {};
    std::function<void()> clearQueueGrid = [] {};
    std::function<void()> clearServerGrid = [] {};
    std::function<void()> activated = [] {}; // brings a visible progress window or editor forward
    // At the end of the idle state: the focused file grid selects its remembered row again.
    std::function<void()> restoreGridSelection = [] {};

Q_SIGNALS:
    void siteManagerRequested();
    void optionsRequested();
    void batchJobStarted();
    void closingCleanupStarted(); // save layouts before the temporary folders go

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
    QString text(const QString &english, const QString &german) const { return m_context.language->text(english, german); }

    AppContext &m_context;
    StartupArguments m_arguments;
    MainWindowWidgets m_w;
    ProtocolTableModel *m_protocolModel = nullptr;
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
