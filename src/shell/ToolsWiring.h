#pragma once

#include "browser/BrowserSide.h"

#include <QObject>

#include <optional>

namespace Velmora {

class BrowserController;
class CopyFileToEachDirForm;
class GetFilesListForm;
class MainForm;
class MasterFTP;
class MultiRenameToolForm;
class PermissionForm;
class QueueWiring;
class TransferWiring;
struct AppContext;
struct WorkControl;

// Puts the three tools into the main window: "File permissions" (F11 in the server grid), the
// multi rename tool and "Copy a file to each directory" from the tools menu. Each command takes
// its side from the keyboard focus, checks the selection, asks its dialog and carries the work
// out on the local disk or through the session and the queue.
class ToolsWiring : public QObject {
    Q_OBJECT
public:
    struct Windows {
        PermissionForm &permissions;
        MultiRenameToolForm &multiRename;
        CopyFileToEachDirForm &copyToEachDir;
        GetFilesListForm &walkProgress;
    };

    ToolsWiring(AppContext &context, MainForm &main, MasterFTP &ftp, WorkControl &work, BrowserController &browser,
                QueueWiring &queue, TransferWiring &transfer, const Windows &windows);

    // "File permissions [F11]" for the server grid's selection.
    void requestPermissions();
    // "Multi rename tool" for the files selected on the focused side (the server side unless the
    // local grid or path box has the focus).
    void requestMultiRename();
    // "Copy a file to each directory (and subdirectories)" for the folders selected on the
    // focused side; nothing when neither side has the focus.
    void requestCopyToEachDir();

    // The side whose grid or path box has the keyboard focus, if any.

private:
    void copyLocally(const QStringList &destinations, const QStringList &sources);
    void queueUploads(const QStringList &destinations, const QStringList &sources);
    QString text(const QString &english, const QString &german) const;

    AppContext &m_context;
    MainForm &m_main;
    MasterFTP &m_ftp;
    WorkControl &m_work;
    BrowserController &m_browser;
    QueueWiring &m_queue;
    TransferWiring &m_transfer;
    Windows m_windows;
};

} // namespace Velmora
