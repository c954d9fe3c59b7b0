#include "SitesWiring.h"

#include "EditFTPDataForm.h"
#include "FTPConnectionsForm.h"

#include "app/AppStarter.h"
#include "app/MainForm.h"
#include "replace/DeleteBackupForm.h"
#include "replace/RestoreForm.h"

namespace Velmora {

SitesWiring *SitesWiring::wire(AppStarter &starter)
{
    auto *sites = qobject_cast<FTPConnectionsForm *>(starter.dialog(QStringLiteral("FTPConnectionsForm")));
    auto *edit = qobject_cast<EditFTPDataForm *>(starter.dialog(QStringLiteral("EditFTPDataForm")));
    auto *restore = qobject_cast<RestoreForm *>(starter.dialog(QStringLiteral("RestoreForm")));
    auto *deletion = qobject_cast<DeleteBackupForm *>(starter.dialog(QStringLiteral("DeleteBackupForm")));
    sites->setEditForm(edit);
    restore->setDeletionWindow(deletion);
    return new SitesWiring(starter.context(), *starter.mainForm(), *sites, *restore);
}

SitesWiring::SitesWiring(AppContext &context, MainForm &main, FTPConnectionsForm &sites, RestoreForm &restore)
    : QObject(&main)
    , m_connector(context, main)
    , m_sequence(m_connector, *context.language, context.folders.startDrive, [&context] { return context.captionText(); })
{
    setObjectName(QStringLiteral("SitesWiring"));
    main.deleteAllBackups = [&restore](const QString &question) { return restore.DeleteAllBackups(question); };
    connect(&main, &MainForm::siteManagerRequested, &sites, &FTPConnectionsForm::openSiteManager);
    connect(&sites, &FTPConnectionsForm::connectRequested, this, [this, &sites] { m_sequence.run(sites.chosenSite()); });
}

} // namespace Velmora
