#pragma once

#include "replace/BackupIndex.h"

#include <QObject>

namespace Velmora {

class BrowserController;
class MainForm;
class MasterFTP;
class QueueWiring;
class RestoreForm;
class TransferBuilders;
struct AppContext;

// The main window's "Restore": the restore window lists the backups; the chosen one goes back
// to the server as an upload of the backup folder into the recorded remote folder, or is
// copied into the recorded local folder.
class RestoreWiring : public QObject {
    Q_OBJECT
public:
    RestoreWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser, QueueWiring &queue,
                  TransferBuilders &builders, RestoreForm &restore);

    // The Restore button: the window, then the restore of the chosen backup.
    void restoreRequested();
    // Puts one backup back and says so.
    void restore(const BackupIndex &backup);

private:
    // Each returns what was not put back, as a message for the user (empty when all was).
    QString restoreOnServer(const BackupIndex &backup);
    QString restoreLocally(const BackupIndex &backup);
    // Each file of a server backup that someone changed on the server since the search and
    // replace uploaded it is named in a question; false when the user keeps any of them.
    bool confirmLaterChanges(const BackupIndex &backup);
    // After a restore: what it left on the server is what a later restore compares with.
    void rememberWhatWasLeft(const BackupIndex &backup);

    AppContext &m_context;
    MainForm &m_main;
    MasterFTP &m_ftp;
    BrowserController &m_browser;
    QueueWiring &m_queue;
    RestoreForm &m_restore;
    TransferBuilders &m_builders;
};

} // namespace Velmora
