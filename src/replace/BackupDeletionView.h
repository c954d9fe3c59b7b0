#pragma once

#include <QString>

namespace Velmora {

// The progress display of a backup deletion: shown first, one line per deleted backup folder,
// closed at the end. The program shows the window "Delete backup"; tests record the lines.
class BackupDeletionView {
public:
    virtual ~BackupDeletionView() = default;
    virtual void deletionStarted() = 0;
    virtual void lineAdded(const QString &line) = 0;
    virtual void deletionFinished() = 0;
};

} // namespace Velmora
