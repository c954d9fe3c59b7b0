#pragma once

#include "EventPump.h"
#include "SelectionLine.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

class MasterFTP;
class QueueProgressView;
struct AppContext;
struct WorkControl;

// The "MKD" records of an unfiltered upload: for every selected folder its remote folder and
// every folder below it, empty ones too, each selected folder's records sorted so that a folder
// comes before the folders below it. While it walks, the queue size text shows the bytes found.
// Folders the local walk does not enter (hidden ones, names beginning with ".", linked folders,
// names records cannot hold) get no record either, so no empty copies of them appear.
class UploadFolderWalk {
public:
    UploadFolderWalk(AppContext &context, MasterFTP &ftp, WorkControl &work, QueueProgressView &view);

    // localBase ends with "/"; dropFolder is empty unless the rows were dropped on a folder row.
    QStringList collect(const QList<SelectionLine> &lines, const QString &localBase, const QString &serverPath,
                        const QString &dropFolder);

private:
    bool walk(const QString &localFolder, const QString &remoteFolder, QStringList &records);

    AppContext &m_context;
    MasterFTP &m_ftp;
    WorkControl &m_work;
    QueueProgressView &m_view;
    EventPump m_pump;
    QString m_prepareText;
};

} // namespace Velmora
