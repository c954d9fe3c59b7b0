#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace Velmora {

// What a collection of the selected rows found: the work as records, the folders it needs
// first, the folders it read and the totals. A collector returns it and knows nothing of what
// the work is for.
struct Collection {
    // Downloads: "RETR" records of the selected files, then those of the walked folders.
    // Server deletions: "DELE" records, then "RMD" records from the deepest folder up.
    QStringList records;
    // Local collections: one collected-file text per file (full path, U+0083, entry part).
    QStringList localFiles;
    // The folders the records need before they run ("MKLOCALDIR" for downloads, "MKD" for
    // uploads), in the order they must be made.
    QStringList folderRecords;
    // Every folder read, in the order it was read, each once.
    QStringList foldersRead;
    qint64 files = 0;
    qint64 folders = 0;
    qint64 bytes = 0;
    // Abort was pressed: the collection is incomplete and no work may come of it.
    bool aborted = false;
};

} // namespace Velmora
