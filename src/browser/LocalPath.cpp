#include "LocalPath.h"

#include "common/RemotePath.h"
#include "common/Word.h"

#include <QFileInfo>

namespace Velmora::LocalPath {

bool isDriveList(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() || trimmed == DriveListText;
}

QString normalise(const QString &text)
{
    if (isDriveList(text))
        return DriveListText;
    return IncludeTrailingBackslash(ToLocalPath(text.trimmed()));
}

QString parent(const QString &path, QString *lastComponent)
{
    const bool absolute = path.startsWith(u'/');
    const QStringList words = Words(path, u"/");
    if (lastComponent)
        *lastComponent = words.isEmpty() ? QString() : words.last();
    // An absolute path has the root as one more component.
    const qsizetype components = words.size() + (absolute ? 1 : 0);
    if (components < 2)
        return {};
    QString result = absolute ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i + 1 < words.size(); ++i)
        result += words[i] + u'/';
    return result;
}

bool folderExists(const QString &path)
{
    return path.startsWith(u'/') && QFileInfo(path).isDir();
}

QString shortenToExisting(const QString &path, const QString &startDrive, int maxCuts)
{
    if (isDriveList(path))
        return DriveListText;
    QString current = path;
    for (int cuts = 0; !folderExists(current); ++cuts) {
        if (cuts >= maxCuts || current.isEmpty())
            return startDrive;
        current = parent(current);
    }
    return current;
}

} // namespace Velmora::LocalPath
