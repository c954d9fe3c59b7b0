#include "RemoteFileStates.h"

#include "common/RemotePath.h"
#include "engine/MasterFTP.h"

namespace Velmora {

RemoteFileStates::RemoteFileStates(MasterFTP &ftp)
    : m_ftp(ftp)
{
}

RemoteFileStates::State RemoteFileStates::state(const QString &remotePath)
{
    const QString path = NormaliseRemotePath(remotePath);
    const QString parent = RemoteParentPath(path);
    auto folder = m_folders.find(parent);
    if (folder == m_folders.end()) {
        QList<ListingEntry> entries;
        std::optional<QList<ListingEntry>> listed;
        if (m_ftp.GetListing(parent, entries))
            listed = std::move(entries);
        folder = m_folders.insert(parent, listed);
    }
    State state;
    if (!folder->has_value())
        return state;
    state.readable = true;
    const QString name = RemoteLastSegment(path);
    for (const ListingEntry &entry : **folder) {
        if (entry.name == name && entry.kind != EntryKind::Folder) {
            state.entry = entry;
            break;
        }
    }
    return state;
}

} // namespace Velmora
