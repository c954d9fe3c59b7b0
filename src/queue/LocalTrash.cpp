#include "LocalTrash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Velmora {

QString LocalTrash::homeTrashFolder()
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QFileInfo(dataHome).isDir())
        return {};
    const QString trash = dataHome + QStringLiteral("/Trash");
    if (!QFileInfo(trash).isDir()) {
        if (!QDir(dataHome).mkdir(QStringLiteral("Trash")))
            return {};
        // The trash holds what the user deleted: only the user may look into it.
        QFile::setPermissions(trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return QFileInfo(trash).isDir() ? trash : QString();
}

bool LocalTrash::moveToTrash(const QString &path)
{
    const QFileInfo entry(path);
    if (!entry.exists() && !entry.isSymLink())
        return false;
    if (homeTrashFolder().isEmpty())
        return false;
    QString inTrash;
    // Qt renames the entry into the trash: a folder moves with its contents, a link as a link.
    return QFile::moveToTrash(path, &inTrash);
}

} // namespace Velmora
