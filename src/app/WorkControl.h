#pragma once

#include <QtGlobal>

namespace Velmora {

// What every long-running loop consults: the Abort request, and the counters of the running
// collection (files, folders, total size). Entering the busy state clears all of them.
struct WorkControl {
    bool abortRequested = false;
    qint64 filesFound = 0;
    qint64 foldersFound = 0;
    qint64 totalSize = 0;

    void reset()
    {
        abortRequested = false;
        filesFound = 0;
        foldersFound = 0;
        totalSize = 0;
    }
};

} // namespace Velmora
