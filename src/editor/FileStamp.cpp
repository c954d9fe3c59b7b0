#include "FileStamp.h"

#include <QFile>

#include <sys/stat.h>

namespace Velmora {

QString FileStamp(const QString &path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    return QString::number(qint64(info.st_mtim.tv_sec)) + u'.'
        + QStringLiteral("%1").arg(qint64(info.st_mtim.tv_nsec), 9, 10, QLatin1Char('0')) + u' '
        + QString::number(qint64(info.st_size));
}

} // namespace Velmora
