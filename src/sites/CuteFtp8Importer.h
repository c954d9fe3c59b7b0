#pragma once

#include "SiteImportResult.h"

namespace Velmora {

// CuteFTP 8: the text export of its site list, English or German labels. A site ends at two
// blank lines in a row, or at the end of the file. Passwords are not taken; a host written as
// a URL names its protocol ("sftp://host" makes an SFTP site; a protocol other than FTP or
// SFTP leaves its site out).
class CuteFtp8Importer {
public:
    static SiteImportResult Parse(const QStringList &lines);
};

} // namespace Velmora
