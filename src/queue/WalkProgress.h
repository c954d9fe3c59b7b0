#pragma once

#include <QString>

namespace Velmora {

// The directory-structure progress window as the tree walks see it: one line per step, with
// the walk counters at that moment.
class WalkProgress {
public:
    virtual ~WalkProgress() = default;
    virtual void addProgressLine(const QString &line, qint64 filesFound, qint64 totalSize, qint64 foldersFound) = 0;
};

} // namespace Velmora
