#include "ProfilePermissions.h"

#include "common/OwnerOnly.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace Velmora {

bool ProfilePermissions::openToOthers(const QString &path)
{
    return (QFile::permissions(path) & OwnerOnly::Others) != QFileDevice::Permissions();
}

bool ProfilePermissions::tighten(const QString &folder)
{
    const QFileInfo root(folder);
    if (!root.isDir() || root.isSymLink() || !openToOthers(folder))
        return false;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        if (entry.isSymLink())
            continue;
        const QString path = entry.filePath();
        if (openToOthers(path))
            QFile::setPermissions(path, QFile::permissions(path) & ~OwnerOnly::Others);
    }
    QFile::setPermissions(folder, OwnerOnly::Folder);
    return true;
}

} // namespace Velmora
