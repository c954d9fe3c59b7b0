#pragma once

#include "AppFolders.h"

#include <QString>
#include <QStringList>

namespace Velmora {

// Checks that the program folder holds the program's own files and that they can be read:
// both splash pictures, the pictures of every design (read through Qt's image readers, so a
// missing image plugin shows too) and both help pages. Nothing is created or changed.
class ProgramFilesCheck {
public:
    // The files, relative to the program folder.
    static QStringList requiredFiles();

    // Writes a report: the folders the program uses, then one line per file ("ok",
    // "missing" or "unreadable" and its path), then a summary. True when every file is fine.
    static bool run(const AppFolders &folders, QString *report);
};

} // namespace Velmora
