#include "AppStarter.h"

#include "DialogUserPrompts.h"
#include "MainForm.h"
#include "MainSessionHost.h"
#include "OptionsForm.h"
#include "ProfileFiles.h"
#include "SplashForm.h"
#include "SystemPlatform.h"
#include "common/TextCodec.h"

#include "app/ConnectivityCheckForm.h"
#include "app/OnlineUpdateForm.h"
#include "browser/BrowserController.h"
#include "browser/DesignForm.h"
#include "browser/RenameForm.h"
#include "editor/EditorForm.h"
#include "filter/FilterForm.h"
#include "filter/WizardFilterForm.h"
#include "queue/AskOverwriteForm.h"
#include "queue/BatchJobForm.h"
#include "queue/BatchJobLogForm.h"
#include "queue/GetFilesListForm.h"
#include "queue/QueueWiring.h"
#include "replace/DeleteBackupForm.h"
#include "replace/RestoreForm.h"
#include "replace/SearchAndReplaceForm.h"
#include "sites/EditFTPDataForm.h"
#include "sites/FTPConnectionsForm.h"
#include "sites/SitesWiring.h"
#include "tools/CopyFileToEachDirForm.h"
#include "tools/MultiRenameToolForm.h"
#include "tools/SetPermissionForm.h"

#include <QFile>
#include <QToolButton>
#include <QGuiApplication>
#include <QScreen>
#include <QFileInfo>

namespace Velmora {

AppStarter::AppStarter(QStringList arguments)
    : AppStarter(std::move(arguments), Seams())
{
}

AppStarter::AppStarter(QStringList arguments, Seams seams)
    : m_arguments(std::move(arguments))
    , m_seams(std::move(seams))
{
}

AppStarter::~AppStarter()
{
    if (m_splash)
        m_splash->close();
    m_mainForm.reset();
}

template <typename Form>
Form *AppStarter::createDialog()
{
    auto *form = new Form(m_context, m_mainForm.get());
    m_dialogs.push_back(form);
    m_creationOrder.append(form->objectName());
    return form;
}

OptionsForm *AppStarter::optionsForm() const
{
    return qobject_cast<OptionsForm *>(dialog(QStringLiteral("OptionsForm")));
}

QDialog *AppStarter::dialog(const QString &objectName) const
{
    for (QDialog *d : m_dialogs) {
        if (d->objectName() == objectName)
            return d;
    }
    return nullptr;
}

bool AppStarter::start()
{
    m_context.folders = AppFolders::detect(m_seams.programFolder);
    m_context.folders.create();

    if (!m_seams.platform)
        m_ownPlatform = std::make_unique<SystemPlatform>();
    m_context.platform = m_seams.platform ? m_seams.platform : m_ownPlatform.get();
    m_context.systemIsGerman = m_context.platform->isSystemLanguageGerman();

    // A new profile gets what an installer would have put there.
    ProfileFiles profile(m_context.folders.appDataFolder);
    if (m_context.folders.appDataCreatedNow)
        profile.createForNewProfile(QStringLiteral(VELMORA_VERSION_TEXT), m_context.systemIsGerman);

    bool languageFound = false;
    m_splash = new SplashForm(m_context.folders.programFolder, profile.readLanguageName(&languageFound));
    m_splash->show();

    createWindows();
    readLanguageAndVersion();
    wireWindows();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_mainForm->setGeometry(screen->availableGeometry());
    m_mainForm->showMaximized();
    if (m_splash)
        m_splash->raise(); // the start picture stays in front until its time is up
    return m_mainForm->FormShow() == MainForm::StartOutcome::Continue;
}

void AppStarter::createWindows()
{
    m_context.language = &m_language;
    m_context.design = &m_design;
    m_context.work = &m_work;
    m_context.typeAhead = &m_typeAhead;
    m_options = std::make_unique<Options>(m_context.folders.appDataFile(QStringLiteral("options.ini")));
    m_context.options = m_options.get();
    m_protocol = std::make_unique<ProtocolLog>(m_context.folders.appDataFolder);
    m_context.protocol = m_protocol.get();
    if (!m_seams.prompts) {
        m_ownPrompts = std::make_unique<DialogUserPrompts>(
            m_language, [this]() -> QWidget * { return m_mainForm.get(); },
            [this] { return m_context.captionText(); });
    }
    m_context.prompts = m_seams.prompts ? m_seams.prompts : m_ownPrompts.get();

    m_mainForm = std::make_unique<MainForm>(m_context, StartupArguments::fromArguments(m_arguments));
    m_creationOrder.append(m_mainForm->objectName());
    const QString batchLog = m_context.folders.appDataFile(QStringLiteral("Lastbatchjob.log"));
    if (!QFileInfo::exists(batchLog))
        TextCodec::WriteLines(batchLog, {});

    m_ftp = std::make_unique<MasterFTP>(*m_protocol, *m_options, *m_context.prompts, m_context.folders, m_language);
    m_context.ftp = m_ftp.get();
    m_sessionHost = std::make_unique<MainSessionHost>(*m_mainForm);
    m_ftp->setSessionHost(m_sessionHost.get());
    m_creationOrder.append(QStringLiteral("MasterFTP"));
    createDialog<FTPConnectionsForm>();
    createDialog<GetFilesListForm>();
    createDialog<SetPermissionForm>();
    createDialog<FilterForm>();
    createDialog<RenameForm>();
    createDialog<OptionsForm>();
    createDialog<AskOverwriteForm>();
    createDialog<EditFTPDataForm>();
    createDialog<SearchAndReplaceForm>();
    createDialog<RestoreForm>();
    createDialog<DeleteBackupForm>();
    createDialog<WizardFilterForm>();
    createDialog<ConnectivityCheckForm>();
    createDialog<OnlineUpdateForm>();
    createDialog<DesignForm>();
    createDialog<BatchJobForm>();
    createDialog<BatchJobLogForm>();
    createDialog<CopyFileToEachDirForm>();
    createDialog<MultiRenameToolForm>();
    createDialog<EditorForm>();
}

void AppStarter::readLanguageAndVersion()
{
    ProfileFiles profile(m_context.folders.appDataFolder);
    bool found = false;
    const QString language = profile.readLanguageName(&found);
    if (!found)
        m_context.prompts->error(profile.languageFile() + QStringLiteral(" not found!"));
    m_language.setCurrent(found ? Language::fromName(language) : Language::English);

    m_context.versionText = profile.readVersionText(&found);
    if (!found)
        m_context.prompts->error(profile.versionFile() + QStringLiteral(" not found!"));
}

void AppStarter::wireEngine()
{
    MainForm *main = m_mainForm.get();
    MasterFTP *ftp = m_ftp.get();
    main->isConnected = [ftp] { return ftp->isConnected(); };
    main->reconnect = [ftp] { ftp->handleUnexpectedError(); };
    main->loadLastSession = [this, ftp] {
        ftp->LoadLogin(m_context.folders.appDataFile(MasterFTP::LoginFileName));
    };
    connect(main->widgets().disconnectButton, &QToolButton::clicked, main, [this, main, ftp] {
        if (!ftp->isConnected())
            return;
        // Clicked while a run or a walk uses the connection: it ends after the command that
        // Disconnect cuts off, instead of connecting again for the next one.
        if (ftp->client().isBusy())
            m_context.work->abortRequested = true;
        ftp->Disconnect();
        main->SetIdleState();
    });
    connect(ftp, &MasterFTP::connectionChanged, main, [main](bool) {
        if (!main->isBusy())
            main->SetIdleState();
    });
}

void AppStarter::wireWindows()
{
    MainForm *main = m_mainForm.get();
    OptionsForm *options = optionsForm();
    options->setFilterStateSource([main] { return main->filterState(); });
    connect(options, &OptionsForm::automaticRunApplied, main, &MainForm::setAutomaticRunButton);
    connect(options, &OptionsForm::filterStateApplied, main, &MainForm::setFilterState);
    // The options were read while the dialog was created, before these connections existed.
    main->setAutomaticRunButton(m_options->data().automaticRunQueue);
    main->setFilterState(m_options->data().filterOn);
    connect(main, &MainForm::optionsRequested, options, [options] { options->exec(); });
    wireEngine();
    SitesWiring::wire(*this);
    QueueWiring::wire(*this);
    BrowserController::wire(*this);
    main->activated = [this] {
        for (const QString &name : {QStringLiteral("GetFilesListForm"), QStringLiteral("EditorForm")}) {
            QDialog *form = dialog(name);
            if (form && form->isVisible())
                form->raise();
        }
    };
}

} // namespace Velmora
