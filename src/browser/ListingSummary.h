#pragma once

#include <QString>
#include <QtGlobal>

namespace Velmora {

class Language;

// What a listing counted: files, folders and the sum of all sizes.
struct ListingSummary {
    qint64 files = 0;
    qint64 folders = 0;
    qint64 totalSize = 0;

    // The pane's status line: " 3 Files and 1 Directory. Total Size: 1.536  bytes  (1.50 kB)"
    // (German " 3 Dateien und 1 Ordner. Gesamtgröße: ...").
    QString statusText(const Language *language) const;
};

} // namespace Velmora
