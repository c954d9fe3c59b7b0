#pragma once

#include "SiteImportResult.h"

namespace Velmora {

// FlashFXP 3: "Sites.dat", an INI file with one section per site. Passwords are not taken.
class FlashFxp3Importer {
public:
    static SiteImportResult Parse(const QStringList &lines);
};

} // namespace Velmora
