#pragma once

#include "MainFormSiteConnector.h"
#include "SiteConnectSequence.h"

#include <QObject>

namespace Velmora {

class AppStarter;
class FTPConnectionsForm;
class MainForm;
class RestoreForm;
struct AppContext;

// Puts the site manager and the backup deletion into the program: the main window's "FTP
// connections" opens the site manager, its Connect runs the connect sequence, and the main
// window's backup hook deletes through the restore window. Owned by the main window; found
// there as its child "SitesWiring".
class SitesWiring : public QObject {
    Q_OBJECT
public:
    // The one call AppStarter makes once every window exists.
    static SitesWiring *wire(AppStarter &starter);

    SitesWiring(AppContext &context, MainForm &main, FTPConnectionsForm &sites, RestoreForm &restore);

    MainFormSiteConnector &connector() { return m_connector; }
    SiteConnectSequence &sequence() { return m_sequence; }

private:
    MainFormSiteConnector m_connector;
    SiteConnectSequence m_sequence;
};

} // namespace Velmora
