#include "LocalFileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace Velmora {

QString LocalFileIdentity(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return QStringLiteral("%1:%2:%3.%4")
        .arg(quint64(info.st_dev))
        .arg(quint64(info.st_ino))
        .arg(qint64(info.st_ctim.tv_sec))
        .arg(qint64(info.st_ctim.tv_nsec), 9, 10, QLatin1Char('0'));
}

} // namespace Velmora
