#pragma once

#include <QHash>
#include <QSet>
#include <QString>

namespace Velmora {

class MasterFTP;

// The existence test before an upload, for one queue run. The first upload into a folder lists
// that folder (as MasterFTP::RemoteFileExists does); later uploads into it look the name up in
// what the listing gave plus what the run itself has created or removed there since. So 1,000
// uploads into one folder cost one listing instead of 1,000 listings of a growing folder.
class RemoteListingCache {
public:
    void clear() { m_folders.clear(); }
    // True when the listing of the path's parent holds an entry whose name, appended to the
    // parent and "/", is the path exactly. A listing that fails is not kept.
    bool exists(MasterFTP &ftp, const QString &path);
    // The run created the path, or removed it.
    void added(const QString &path);
    void removed(const QString &path);
    // What the run knows of the path's folder is no longer sure (a failed upload).
    void forgetFolderOf(const QString &path);

private:
    static bool split(const QString &path, QString *parent, QString *name);
    QHash<QString, QSet<QString>> m_folders;
};

} // namespace Velmora
