#include "SitesWiring.h"

#include "MainForm.h"
#include "ViewEditWiring.h"

#include "app/AppContext.h"
#include "replace/DeleteBackupForm.h"
#include "replace/RestoreForm.h"
#include "sites/EditFTPDataForm.h"
#include "sites/FTPConnectionsForm.h"

namespace Velmora {

SitesWiring::SitesWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                         OverwritePolicy &overwrite, ViewEditWiring &viewEdit, const Windows &windows)
    : QObject(&main)
    , m_restore(windows.restore)
    , m_connector(context, main, ftp, browser, overwrite, windows.restore, [&viewEdit] { viewEdit.stopRemoteMonitor(); })
    , m_sequence(m_connector, context.language, context.folders.startDrive, [&context] { return context.captionText(); })
{
    windows.sites.setEditForm(&windows.editSite);
    windows.restore.setDeletionWindow(&windows.deleteBackup);
    FTPConnectionsForm *sites = &windows.sites;
    connect(&main, &MainForm::siteManagerRequested, sites, &FTPConnectionsForm::openSiteManager);
    connect(sites, &FTPConnectionsForm::connectRequested, this, [this, sites] { m_sequence.run(sites->chosenSite()); });
}

bool SitesWiring::deleteAllBackups(const QString &question)
{
    return m_restore.DeleteAllBackups(question);
}

} // namespace Velmora
