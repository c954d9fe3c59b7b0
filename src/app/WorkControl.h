#pragma once

#include <QtGlobal>

namespace Velmora {

// What every long-running loop consults: the Abort request, and the counters of the running
// collection (files, folders, total size). Entering the busy state clears all of them.
// Pause is gentler than Abort: a queue run stops before its next record, but the record that
// is running (a transfer half way) finishes.
struct WorkControl {
    bool abortRequested = false;
    bool pauseRequested = false;
    qint64 filesFound = 0;
    qint64 foldersFound = 0;
    qint64 totalSize = 0;

    void reset()
    {
        abortRequested = false;
        pauseRequested = false;
        filesFound = 0;
        foldersFound = 0;
        totalSize = 0;
    }
};

} // namespace Velmora
