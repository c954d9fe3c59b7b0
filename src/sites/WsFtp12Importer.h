#pragma once

#include "SiteImportResult.h"

namespace Velmora {

// WS_FTP 12: an INI file with one section per site (except "[_config_]"). Passwords are not
// taken.
class WsFtp12Importer {
public:
    static SiteImportResult Parse(const QStringList &lines);
};

} // namespace Velmora
