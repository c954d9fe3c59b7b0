#pragma once

#include "MainFormSiteConnector.h"

#include "sites/SiteConnectSequence.h"

#include <QObject>

namespace Velmora {

class BrowserController;
class DeleteBackupForm;
class EditFTPDataForm;
class FTPConnectionsForm;
class MainForm;
class MasterFTP;
class OverwritePolicy;
class RestoreForm;
class ViewEditWiring;
struct AppContext;

// Puts the site manager and the backup deletion into the program: the main window's "FTP
// connections" opens the site manager, its Connect runs the connect sequence, and backups are
// deleted through the restore window.
class SitesWiring : public QObject {
    Q_OBJECT
public:
    struct Windows {
        FTPConnectionsForm &sites;
        EditFTPDataForm &editSite;
        RestoreForm &restore;
        DeleteBackupForm &deleteBackup;
    };

    SitesWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                OverwritePolicy &overwrite, ViewEditWiring &viewEdit, const Windows &windows);

    MainFormSiteConnector &connector() { return m_connector; }
    SiteConnectSequence &sequence() { return m_sequence; }
    // The restore window's deletion of every backup, after the question (none: no question).
    bool deleteAllBackups(const QString &question);

private:
    RestoreForm &m_restore;
    MainFormSiteConnector m_connector;
    SiteConnectSequence m_sequence;
};

} // namespace Velmora
