#pragma once

#include "SiteImportResult.h"

#include <QString>
#include <QStringList>

namespace Velmora {

// SmartFTP 4: one XML file per favourite, anywhere below the chosen "Favorites" folder.
// Passwords are not taken.
class SmartFtp4Importer {
public:
    // Every "*.xml" file below folder: in each folder its own files first (by name), then its
    // sub-folders (by name). Folders whose names begin with "." are skipped, and no folder is
    // entered twice (links that lead back up). Files below "Predefined Favorites" are left out.
    static QStringList CollectFiles(const QString &folder);
    // The site of one favourite file; *recognised is false when no line held a known tag.
    static FTPConnection ParseFavourite(const QStringList &lines, bool *recognised = nullptr);
};

} // namespace Velmora
