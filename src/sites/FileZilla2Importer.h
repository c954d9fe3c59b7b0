#pragma once

#include "SiteImportResult.h"

namespace Velmora {

// FileZilla 2: every line with "<Site Name=" is one site; its attribute values are the
// even-numbered words between double quotes. Passwords are not taken; a site whose "ServerType"
// is not plain FTP is left out.
class FileZilla2Importer {
public:
    static SiteImportResult Parse(const QStringList &lines);
};

} // namespace Velmora
