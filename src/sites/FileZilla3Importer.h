#pragma once

#include "SiteImportResult.h"

namespace Velmora {

// FileZilla 3: "fzdefaults.xml" names the folder of "sitemanager.xml" in its setting
// "Config Location"; the site file is read line by line, one site per "</Server>".
class FileZilla3Importer {
public:
    // The site file named by the defaults file's lines (the last "Config Location" wins); a
    // relative location counts from defaultsFolder (ends with "/"). False when there is none.
    static bool SiteFilePath(const QStringList &defaultsLines, const QString &defaultsFolder, QString *siteFile);
    static SiteImportResult Parse(const QStringList &lines);
    // "1 0 4 home 3 www" -> "/home/www": the segments of FileZilla's encoded remote path.
    static QString ServerPathFromRemoteDir(const QString &value);
};

} // namespace Velmora
