#pragma once

#include <QString>

namespace Velmora {

// The folder, relative to the monitoring folder, that holds the working copy of a server file
// opened with View/Edit: one folder per site (its host, port and user, with every character
// other than letters, digits, ".", "_" and "-" made "_"), then the file's server folder
// ("/ve/a" gives ".../ve/a/"). So files of one name in different folders or on different sites
// never share a copy. serverFolder is absolute and holds no "." or ".." segment.
QString WorkingCopyFolder(const QString &site, const QString &serverFolder);

} // namespace Velmora
