#include "AppStarter.h"

#include "BatchJobWiring.h"
#include "BrowserWiring.h"
#include "ConnectivityCheckForm.h"
#include "ConnectivityProbe.h"
#include "DeleteWiring.h"
#include "DesignForm.h"
#include "DialogUserPrompts.h"
#include "HelpMenuWiring.h"
#include "FilterWiring.h"
#include "FileOpsWiring.h"
#include "MainForm.h"
#include "MainFormLayout.h"
#include "MainWindowPort.h"
#include "OnlineUpdateForm.h"
#include "PasswordKeepingWiring.h"
#include "QueueWiring.h"
#include "RestoreWiring.h"
#include "SearchWiring.h"
#include "SitesWiring.h"
#include "SplashForm.h"
#include "ToolsWiring.h"
#include "TransferWiring.h"
#include "TrustedCertificatesForm.h"
#include "ViewEditWiring.h"

#include "app/Options.h"
#include "app/OptionsForm.h"
#include "app/ProfileFiles.h"
#include "app/ProtocolLog.h"
#include "app/SystemPlatform.h"
#include "app/WindowFront.h"
#include "browser/BrowserController.h"
#include "browser/RenameForm.h"
#include "common/TextCodec.h"
#include "editor/EditorForm.h"
#include "engine/MasterFTP.h"
#include "filter/FilterForm.h"
#include "filter/WizardFilterForm.h"
#include "queue/AskOverwriteForm.h"
#include "queue/BatchJobForm.h"
#include "queue/BatchJobLogForm.h"
#include "queue/GetFilesListForm.h"
#include "queue/QueueController.h"
#include "queue/QueueRunner.h"
#include "replace/DeleteBackupForm.h"
#include "replace/RestoreForm.h"
#include "replace/SearchAndReplaceForm.h"
#include "sites/EditFTPDataForm.h"
#include "sites/FTPConnectionsForm.h"
#include "tools/CopyFileToEachDirForm.h"
#include "tools/MultiRenameToolForm.h"
#include "tools/PermissionForm.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QToolButton>

namespace Velmora {

AppStarter::AppStarter(StartupArguments startup)
    : AppStarter(std::move(startup), Seams())
{
}

AppStarter::AppStarter(StartupArguments startup, Seams seams)
    : m_startup(std::move(startup))
    , m_seams(std::move(seams))
{
}

int AppStarter::batchExitStatus() const
{
    return m_batchJobs ? m_batchJobs->exitStatus() : 0;
}

AppStarter::~AppStarter()
{
    if (m_splash)
        m_splash->close();
    m_mainForm.reset();
}

BrowserController &AppStarter::browser() const
{
    return m_browser->browser();
}

template <typename Form, typename... Extra>
Form *AppStarter::createDialog(Extra &...extra)
{
    auto *form = new Form(*m_context, extra..., m_mainForm.get());
    m_creationOrder.append(form->objectName());
    return form;
}

bool AppStarter::start()
{
    createServices();

    // A new profile gets what an installer would have put there.
    ProfileFiles profile(m_folders.appDataFolder);
    if (m_folders.appDataCreatedNow)
        profile.createForNewProfile(QStringLiteral(VELMORA_VERSION_TEXT), m_context->systemIsGerman);
    else
        profile.refreshVersion(QStringLiteral(VELMORA_VERSION_TEXT));

    bool languageFound = false;
    m_splash = new SplashForm(m_folders.programFolder, profile.readLanguageName(&languageFound));
    m_splash->show();

    createWindows();
    readLanguageAndVersion();
    wireWindows();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_mainForm->setGeometry(screen->availableGeometry());
    m_layout->LoadLayout();
    m_mainForm->showMaximized();
    if (m_splash)
        WindowFront::raise(*m_splash); // the start picture stays in front until its time is up
    if (m_mainForm->FormShow() != MainForm::StartOutcome::Continue)
        return false;
    if (!m_mainForm->isBatchMode())
        m_help->checkAtStart();
    return true;
}

void AppStarter::createServices()
{
    m_folders = AppFolders::detect(m_seams.programFolder);
    m_folders.create();
    if (!m_seams.platform)
        m_ownPlatform = std::make_unique<SystemPlatform>();
    Platform &platform = m_seams.platform ? *m_seams.platform : *m_ownPlatform;
    m_options = std::make_unique<Options>(m_folders.appDataFile(QStringLiteral("options.ini")));
    m_protocol = std::make_unique<ProtocolLog>(m_folders.appDataFolder);
    if (!m_seams.prompts) {
        m_ownPrompts = std::make_unique<DialogUserPrompts>(
            m_language, [this]() -> QWidget * { return m_mainForm.get(); },
            [this] { return m_context->captionText(); });
    }
    UserPrompts *prompts = m_seams.prompts ? m_seams.prompts : m_ownPrompts.get();
    // A batch run (queue file and switch on the command line) usually has nobody at the screen:
    // until its job is over no box may wait, so every message goes to the protocol and the
    // console instead, valid command line or not. Afterwards ("-r") boxes appear again, echoed.
    if (m_startup.check() != StartupArguments::Verdict::NoBatch) {
        const ConsoleEchoPrompts::LineSink console = m_seams.console ? m_seams.console : &ConsoleEchoPrompts::writeToStandardError;
        m_consolePrompts = std::make_unique<ConsoleEchoPrompts>(*prompts, console);
        m_unattendedPrompts = std::make_unique<UnattendedPrompts>(*m_consolePrompts, *m_protocol, m_language, console);
        m_unattendedPrompts->setUnattended(true);
        prompts = m_unattendedPrompts.get();
    }
    m_context.reset(new AppContext{m_folders, m_language, *m_options, *m_protocol, *prompts, platform, m_design});
    m_context->systemIsGerman = platform.isSystemLanguageGerman();
}

void AppStarter::createWindows()
{
    m_mainForm = std::make_unique<MainForm>(*m_context, m_work, m_startup);
    m_creationOrder.append(m_mainForm->objectName());
    const QString batchLog = m_folders.appDataFile(QStringLiteral("Lastbatchjob.log"));
    if (!QFileInfo::exists(batchLog))
        TextCodec::WriteLines(batchLog, {});

    m_ftp = std::make_unique<MasterFTP>(*m_protocol, *m_options, m_context->prompts, m_folders, m_language);
    m_creationOrder.append(QStringLiteral("MasterFTP"));
    AppDialogs &d = m_dialogs;
    d.sites = createDialog<FTPConnectionsForm>(m_typeAhead);
    d.walkProgress = createDialog<GetFilesListForm>(m_work);
    d.permissions = createDialog<PermissionForm>();
    d.filter = createDialog<FilterForm>();
    d.rename = createDialog<RenameForm>();
    d.options = createDialog<OptionsForm>();
    d.overwriteQuestion = createDialog<AskOverwriteForm>();
    d.editSite = createDialog<EditFTPDataForm>();
    d.searchAndReplace = createDialog<SearchAndReplaceForm>();
    d.restore = createDialog<RestoreForm>();
    d.deleteBackup = createDialog<DeleteBackupForm>();
    d.wizardFilter = createDialog<WizardFilterForm>();
    d.connectivityCheck = createDialog<ConnectivityCheckForm>();
    d.onlineUpdate = createDialog<OnlineUpdateForm>();
    d.design = createDialog<DesignForm>();
    d.batchJob = createDialog<BatchJobForm>();
    d.batchJobLog = createDialog<BatchJobLogForm>();
    d.copyToEachDir = createDialog<CopyFileToEachDirForm>();
    d.multiRename = createDialog<MultiRenameToolForm>();
    d.editor = createDialog<EditorForm>();
    // Not one of the windows of the fixed order above: after them.
    d.trustedCertificates = createDialog<TrustedCertificatesForm>();
}

void AppStarter::readLanguageAndVersion()
{
    ProfileFiles profile(m_folders.appDataFolder);
    bool found = false;
    const QString language = profile.readLanguageName(&found);
    if (!found)
        m_context->prompts.error(profile.languageFile() + QStringLiteral(" not found!"));
    m_language.setCurrent(found ? Language::fromName(language) : Language::English);

    m_context->versionText = profile.readVersionText(&found);
    if (!found)
        m_context->prompts.error(profile.versionFile() + QStringLiteral(" not found!"));
}

void AppStarter::wireEngine()
{
    MainForm *main = m_mainForm.get();
    MasterFTP *ftp = m_ftp.get();
    connect(main, &MainForm::reconnectRequested, ftp, [ftp] { ftp->handleUnexpectedError(); });
    connect(main, &MainForm::disconnectRequested, main, [this, main, ftp] {
        // Also while a connect waits on a host that does not answer: it ends at once.
        if (!ftp->isConnected() && !ftp->isConnecting())
            return;
        // Clicked while a run or a walk uses the connection: it ends after the command that
        // Disconnect cuts off, instead of connecting again for the next one.
        if (ftp->client().isBusy())
            m_work.cancel.cancel();
        ftp->Disconnect();
        main->SetIdleState();
    });
    connect(ftp, &MasterFTP::connectionChanged, main, [main](bool) {
        if (!main->isBusy())
            main->SetIdleState();
    });
    // The main window tells whether the connection is encrypted, and how: a short text in the
    // status bar, the protocol version and cipher in the tips.
    connect(ftp, &MasterFTP::connectionChanged, main, [this, main, ftp](bool connected) {
        const QString how = ftp->encryptionText();
        const QString tip = !connected ? QString()
                            : how.isEmpty()
                                ? m_context->text(QStringLiteral("Connected without encryption"),
                                                  QStringLiteral("Verbunden ohne Verschlüsselung"))
                                : m_context->text(QStringLiteral("Encrypted connection: "), QStringLiteral("Verschlüsselte Verbindung: ")) + how;
        const QString shown = !connected ? QString()
                              : how.isEmpty()
                                  ? m_context->text(QStringLiteral("Not encrypted"), QStringLiteral("Unverschlüsselt"))
                                  : m_context->text(QStringLiteral("Encrypted (%1)"), QStringLiteral("Verschlüsselt (%1)"))
                                        .arg(how.section(QLatin1Char(','), 0, 0).trimmed());
        main->showEncryption(shown, tip);
    });
}

void AppStarter::wireFrame()
{
    MainForm *main = m_mainForm.get();
    m_layout = new MainFormLayout(*m_context, *main);
    if (!m_seams.connectivity)
        m_ownProbe = std::make_unique<SystemConnectivityProbe>();
    ConnectivityProbe &probe = m_seams.connectivity ? *m_seams.connectivity : *m_ownProbe;
    m_help = new HelpMenuWiring(*m_context, *main, probe, {*m_dialogs.onlineUpdate, *m_dialogs.connectivityCheck});
    DesignForm *design = m_dialogs.design;
    connect(main, &MainForm::designRequested, design, [design] { design->open(); });
}

void AppStarter::wireWindows()
{
    MainForm *main = m_mainForm.get();
    OptionsForm *options = m_dialogs.options;
    options->setFilterStateSource([main] { return main->filterState(); });
    connect(options, &OptionsForm::automaticRunApplied, main, &MainForm::setAutomaticRunButton);
    connect(options, &OptionsForm::filterStateApplied, main, &MainForm::setFilterState);
    // The options were read while the dialog was created, before these connections existed.
    main->setAutomaticRunButton(m_options->data().automaticRunQueue);
    main->setFilterState(m_options->data().filterOn);
    connect(main, &MainForm::optionsRequested, options, [options] { options->exec(); });
    TrustedCertificatesForm *trusted = m_dialogs.trustedCertificates;
    connect(options, &OptionsForm::trustedCertificatesRequested, trusted, [trusted] { trusted->exec(); });

    m_port = std::make_unique<MainWindowPort>(*main, *m_ftp, *m_dialogs.editor);
    MainWindowPort &port = *m_port;
    m_browser = new BrowserWiring(*m_context, *main, port, *m_ftp, m_typeAhead);
    port.setBrowser(m_browser->browser());
    m_queue = new QueueWiring(*m_context, *main, port, *m_ftp, m_work,
                              {*m_dialogs.overwriteQuestion, *m_dialogs.walkProgress, *m_dialogs.options});
    m_filter = new FilterWiring(*m_context, *main, *m_dialogs.filter, *m_dialogs.options, *m_queue, m_browser->browser());
    m_search = new SearchWiring(*main, port, *m_ftp, m_browser->browser(), m_dialogs.restore->store(),
                                *m_dialogs.searchAndReplace);
    m_transfer = new TransferWiring(*m_context, *main, *m_ftp, m_work, m_browser->browser(), *m_queue,
                                    {*m_dialogs.wizardFilter, *m_dialogs.walkProgress, *m_dialogs.options, m_search},
                                    m_filter->transferFilter());
    m_search->setBuilders(m_transfer->builders(), m_transfer->filter());
    m_restore = new RestoreWiring(*m_context, *main, *m_ftp, m_browser->browser(), *m_queue, m_transfer->builders(),
                                  *m_dialogs.restore);
    m_delete = new DeleteWiring(*m_context, *main, *m_ftp, m_browser->browser(), m_transfer->builders());
    m_batchJobs = new BatchJobWiring(*m_context, *main, *m_ftp, *m_queue, m_unattendedPrompts.get(),
                                     {*m_dialogs.batchJob, *m_dialogs.batchJobLog});
    m_viewEdit = new ViewEditWiring(*m_context, *main, *m_ftp, m_browser->browser(), m_queue->runner(), *m_dialogs.editor);
    m_sites = new SitesWiring(*m_context, *main, *m_ftp, m_browser->browser(), m_queue->runner().overwritePolicy(),
                              *m_viewEdit, {*m_dialogs.sites, *m_dialogs.editSite, *m_dialogs.restore, *m_dialogs.deleteBackup});
    m_fileOps = new FileOpsWiring(*m_context, *main, port, *m_ftp, m_browser->browser(), *m_queue, *m_transfer, *m_dialogs.rename);
    m_tools = new ToolsWiring(*m_context, *main, *m_ftp, m_work, m_browser->browser(), *m_queue, *m_transfer,
                              {*m_dialogs.permissions, *m_dialogs.multiRename, *m_dialogs.copyToEachDir,
                               *m_dialogs.walkProgress});
    m_ftp->setSessionHost(m_port.get());
    // Before the last login is read at the window's first show.
    m_passwords = new PasswordKeepingWiring(*m_context, *m_ftp, m_dialogs.sites->store(), *options, m_seams.vault, main);

    MasterFTP *ftp = m_ftp.get();
    SitesWiring *sites = m_sites;
    main->setHooks({[ftp] { return ftp->isConnected(); },
                    [sites](const QString &question) { return sites->deleteAllBackups(question); }});
    wireEngine();
    wireFrame();
    connect(main, &MainForm::windowActivated, this, [this] {
        for (QDialog *form : {static_cast<QDialog *>(m_dialogs.walkProgress), static_cast<QDialog *>(m_dialogs.editor)}) {
            if (form->isVisible())
                WindowFront::raise(*form);
        }
    });
}

} // namespace Velmora
