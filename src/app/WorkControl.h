#pragma once

#include "CancelToken.h"

#include <QtGlobal>

namespace Velmora {

// The work the window is busy with: its cancel token, which Abort and Pause act on, and the
// counters of the running collection (files, folders, total size). Entering the busy state
// starts new work: a new token and zero counters. A run keeps the token it started with.
struct WorkControl {
    CancelToken cancel;
    qint64 filesFound = 0;
    qint64 foldersFound = 0;
    qint64 totalSize = 0;

    void startWork()
    {
        cancel = CancelToken();
        resetCounters();
    }

    void resetCounters()
    {
        filesFound = 0;
        foldersFound = 0;
        totalSize = 0;
    }
};

} // namespace Velmora
