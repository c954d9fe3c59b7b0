#include "LocalFileOperations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Velmora {

namespace {

bool entryExists(const QString &path)
{
    // A dangling symbolic link exists too: it would be replaced just the same.
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

} // namespace

bool LocalFileOperations::rename(const QString &folder, const QString &oldName, const QString &newName)
{
    const QString from = withoutTrailingSlash(folder + oldName);
    const QString to = withoutTrailingSlash(folder + newName);
    if (from == to || !QFileInfo(from).dir().exists() || !entryExists(from) || entryExists(to))
        return false;
    return QDir().rename(from, to);
}

bool LocalFileOperations::createDirectory(const QString &folder, const QString &name)
{
    const QString path = folder + name;
    if (entryExists(withoutTrailingSlash(path)))
        return false;
    return QDir().mkpath(path);
}

LocalFileOperations::CreateFileResult LocalFileOperations::createEmptyFile(const QString &path)
{
    if (entryExists(path))
        return CreateFileResult::AlreadyExists;
    QFile file(path);
    // NewOnly: a file that appears meanwhile is not truncated either.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return entryExists(path) ? CreateFileResult::AlreadyExists : CreateFileResult::Failed;
    return CreateFileResult::Created;
}

LocalFileOperations::CreateFileResult LocalFileOperations::copyNew(const QString &source, const QString &target)
{
    if (entryExists(target))
        return CreateFileResult::AlreadyExists;
    // QFile::copy never overwrites an existing target.
    if (QFile::copy(source, target))
        return CreateFileResult::Created;
    return entryExists(target) ? CreateFileResult::AlreadyExists : CreateFileResult::Failed;
}

} // namespace Velmora
