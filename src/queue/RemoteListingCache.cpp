#include "RemoteListingCache.h"

#include "common/RemotePath.h"
#include "common/ListingEntry.h"
#include "engine/MasterFTP.h"

namespace Velmora {

bool RemoteListingCache::split(const QString &path, QString *parent, QString *name)
{
    *parent = RemoteParentPath(path);
    const QString prefix = *parent + u'/';
    if (!path.startsWith(prefix))
        return false;
    *name = path.mid(prefix.size());
    return !name->isEmpty();
}

bool RemoteListingCache::exists(MasterFTP &ftp, const QString &path)
{
    QString parent;
    QString name;
    const bool usable = split(path, &parent, &name);
    auto it = m_folders.find(parent);
    if (it == m_folders.end()) {
        QList<ListingEntry> entries;
        if (!ftp.GetListing(parent, entries))
            return false;
        QSet<QString> names;
        names.reserve(entries.size());
        for (const ListingEntry &entry : std::as_const(entries))
            names.insert(entry.name); // a link by its own name, as uploads and renames name it
        it = m_folders.insert(parent, names);
    }
    return usable && it->contains(name);
}

void RemoteListingCache::added(const QString &path)
{
    QString parent;
    QString name;
    if (!split(path, &parent, &name))
        return;
    const auto it = m_folders.find(parent);
    if (it != m_folders.end())
        it->insert(name);
}

void RemoteListingCache::removed(const QString &path)
{
    QString parent;
    QString name;
    if (!split(path, &parent, &name))
        return;
    const auto it = m_folders.find(parent);
    if (it != m_folders.end())
        it->remove(name);
    m_folders.remove(path); // a removed folder's own listing is gone too
}

void RemoteListingCache::forgetFolderOf(const QString &path)
{
    m_folders.remove(RemoteParentPath(path));
}

} // namespace Velmora
