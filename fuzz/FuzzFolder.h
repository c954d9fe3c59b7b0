#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// The temporary folder of a target that writes files, one per run: in memory where the system
// has a tmpfs at /dev/shm, so that the flush of every save to disk does not slow each input down.
inline QString fuzzFolder()
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/velmora-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/velmora-fuzz-XXXXXX"));
    return folder.isValid() ? folder.path() + u'/' : QString();
}
