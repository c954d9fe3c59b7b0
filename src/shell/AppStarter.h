#pragma once

#include "SplashForm.h"

#include "app/AppContext.h"
#include "app/ConsoleEchoPrompts.h"
#include "app/UnattendedPrompts.h"
#include "app/DesignState.h"
#include "app/StartupArguments.h"
#include "app/TypeAheadSearch.h"
#include "app/WorkControl.h"
#include "common/Language.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

namespace Velmora {

class AskOverwriteForm;
class BatchJobForm;
class BatchJobLogForm;
class BatchJobWiring;
class BrowserController;
class BrowserWiring;
class ConnectivityCheckForm;
class ConnectivityProbe;
class CopyFileToEachDirForm;
class DeleteBackupForm;
class DeleteWiring;
class DesignForm;
class EditFTPDataForm;
class EditorForm;
class FileOpsWiring;
class FilterForm;
class FilterWiring;
class FTPConnectionsForm;
class HelpMenuWiring;
class GetFilesListForm;
class MainForm;
class MainFormLayout;
class MainWindowPort;
class MasterFTP;
class MultiRenameToolForm;
class OnlineUpdateForm;
class OptionsForm;
class TrustedCertificatesForm;
class PasswordKeepingWiring;
class PasswordVault;
class Options;
class Platform;
class ProtocolLog;
class QueueWiring;
class RenameForm;
class RestoreForm;
class RestoreWiring;
class SearchAndReplaceForm;
class SearchWiring;
class PermissionForm;
class SitesWiring;
class ToolsWiring;
class TransferWiring;
class ViewEditWiring;
class UserPrompts;
class WizardFilterForm;

// Every dialog of the program, created once at start in this order; owned by the main window.
struct AppDialogs {
    FTPConnectionsForm *sites = nullptr;
    GetFilesListForm *walkProgress = nullptr;
    PermissionForm *permissions = nullptr;
    FilterForm *filter = nullptr;
    RenameForm *rename = nullptr;
    OptionsForm *options = nullptr;
    TrustedCertificatesForm *trustedCertificates = nullptr;
    AskOverwriteForm *overwriteQuestion = nullptr;
    EditFTPDataForm *editSite = nullptr;
    SearchAndReplaceForm *searchAndReplace = nullptr;
    RestoreForm *restore = nullptr;
    DeleteBackupForm *deleteBackup = nullptr;
    WizardFilterForm *wizardFilter = nullptr;
    ConnectivityCheckForm *connectivityCheck = nullptr;
    OnlineUpdateForm *onlineUpdate = nullptr;
    DesignForm *design = nullptr;
    BatchJobForm *batchJob = nullptr;
    BatchJobLogForm *batchJobLog = nullptr;
    CopyFileToEachDirForm *copyToEachDir = nullptr;
    MultiRenameToolForm *multiRename = nullptr;
    EditorForm *editor = nullptr;
};

// Brings the program up in its fixed order: splash, main window, engine and every dialog,
// then language and version, then the main window's show handler. Owns all of them, and is
// the one place where the features are joined to each other and to the main window.
class AppStarter : public QObject {
    Q_OBJECT
public:
    struct Seams {
        UserPrompts *prompts = nullptr;   // null: real dialogs
        Platform *platform = nullptr;     // null: the system's
        QString programFolder;            // empty: the executable's folder
        ConsoleEchoPrompts::LineSink console; // batch runs echo their messages here; empty: stderr
        ConnectivityProbe *connectivity = nullptr; // null: the system's network information
        PasswordVault *vault = nullptr;   // null: the desktop keyring
    };

    // startup: the batch job the command line names, if any (read once, by the caller).
    explicit AppStarter(StartupArguments startup);
    AppStarter(StartupArguments startup, Seams seams);
    ~AppStarter() override;

    // Runs the start-up; false when the program must end at once (bad command line).
    bool start();

    AppContext &context() { return *m_context; }
    MainForm *mainForm() const { return m_mainForm.get(); }
    MasterFTP &ftp() const { return *m_ftp; }
    WorkControl &work() { return m_work; }
    TypeAheadSearch &typeAhead() { return m_typeAhead; }
    const AppDialogs &dialogs() const { return m_dialogs; }
    BrowserController &browser() const;
    QueueWiring &queue() const { return *m_queue; }
    BatchJobWiring &batchJobs() const { return *m_batchJobs; }
    // The exit status the batch job of this run asks for (0 without one).
    int batchExitStatus() const;
    SitesWiring &sites() const { return *m_sites; }
    TransferWiring &transfer() const { return *m_transfer; }
    MainFormLayout &layout() const { return *m_layout; }
    HelpMenuWiring &help() const { return *m_help; }
    DeleteWiring &deletions() const { return *m_delete; }
    FilterWiring &filter() const { return *m_filter; }
    FileOpsWiring &fileOps() const { return *m_fileOps; }
    ViewEditWiring &viewEdit() const { return *m_viewEdit; }
    SearchWiring &search() const { return *m_search; }
    RestoreWiring &restore() const { return *m_restore; }
    ToolsWiring &tools() const { return *m_tools; }
    PasswordKeepingWiring &passwords() const { return *m_passwords; }
    SplashForm *splash() const { return m_splash; }
    const QStringList &creationOrder() const { return m_creationOrder; }

private:
    void createServices();
    void createWindows();
    void readLanguageAndVersion();
    void wireWindows();
    void wireEngine();
    void wireFrame();
    template <typename Form, typename... Extra>
    Form *createDialog(Extra &...extra);

    StartupArguments m_startup;
    Seams m_seams;
    AppFolders m_folders;
    Language m_language;
    DesignState m_design;
    WorkControl m_work;
    TypeAheadSearch m_typeAhead;
    std::unique_ptr<Options> m_options;
    std::unique_ptr<ProtocolLog> m_protocol;
    std::unique_ptr<Platform> m_ownPlatform;
    std::unique_ptr<UserPrompts> m_ownPrompts;
    std::unique_ptr<ConsoleEchoPrompts> m_consolePrompts;
    std::unique_ptr<UnattendedPrompts> m_unattendedPrompts;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainForm> m_mainForm;
    std::unique_ptr<MasterFTP> m_ftp;
    std::unique_ptr<MainWindowPort> m_port; // the main window as the features see it
    AppDialogs m_dialogs; // the dialogs are children of the main window
    BrowserWiring *m_browser = nullptr;
    QueueWiring *m_queue = nullptr;
    BatchJobWiring *m_batchJobs = nullptr;
    SitesWiring *m_sites = nullptr;
    TransferWiring *m_transfer = nullptr;
    std::unique_ptr<ConnectivityProbe> m_ownProbe;
    MainFormLayout *m_layout = nullptr;
    HelpMenuWiring *m_help = nullptr;
    DeleteWiring *m_delete = nullptr;
    FilterWiring *m_filter = nullptr;
    FileOpsWiring *m_fileOps = nullptr;
    ViewEditWiring *m_viewEdit = nullptr;
    SearchWiring *m_search = nullptr;
    RestoreWiring *m_restore = nullptr;
    ToolsWiring *m_tools = nullptr;
    PasswordKeepingWiring *m_passwords = nullptr;
    QPointer<SplashForm> m_splash;
    QStringList m_creationOrder;
};

} // namespace Velmora
