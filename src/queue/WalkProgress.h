#pragma once

#include <QString>

namespace Velmora {

// The directory-structure progress window as the tree walks see it: one line per step, with
// the walk counters at that moment.
class WalkProgress {
public:
    virtual ~WalkProgress() = default;
    virtual void addProgressLine(const QString &line, qint64 filesFound, qint64 totalSize, qint64 foldersFound) = 0;
    // A builder starts collecting: the window opens empty, titled for a used-space request when
    // usedSpace.
    virtual void collectionStarted(bool usedSpace) { Q_UNUSED(usedSpace); }
    // The collection is over: the window closes, or stays open for reading with keepOpen.
    virtual void collectionEnded(bool keepOpen) { Q_UNUSED(keepOpen); }
};

} // namespace Velmora
