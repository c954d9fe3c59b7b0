#pragma once

#include "SiteImportResult.h"

namespace Velmora {

// FileZilla 3: the site file "sitemanager.xml" (in ~/.config/filezilla/ on Linux), or the
// optional "fzdefaults.xml", which names the site file's folder in its setting "Config
// Location". The site file is read line by line, one site per "</Server>"; FTP sites come
// across with their encryption (protocol 0: TLS if available, 3: implicit TLS, 4: explicit TLS
// required, 6: plain FTP), SFTP sites (protocol 1) as SFTP sites with the key file their
// "<Keyfile>" names; sites that FileZilla reaches over another protocol are left out.
class FileZilla3Importer {
public:
    // True when the lines are a FileZilla site list (they hold a "<Servers" or "<Server>" tag).
    static bool IsSiteList(const QStringList &lines);
    // The site file named by the defaults file's lines (the last "Config Location" wins); a
    // relative location counts from defaultsFolder (ends with "/"). False when there is none.
    static bool SiteFilePath(const QStringList &defaultsLines, const QString &defaultsFolder, QString *siteFile);
    static SiteImportResult Parse(const QStringList &lines);
    // "1 0 4 home 3 www" -> "/home/www": the segments of FileZilla's encoded remote path.
    static QString ServerPathFromRemoteDir(const QString &value);
};

} // namespace Velmora
