#pragma once

#include "common/ListingEntry.h"
#include "engine/sftp/SftpEntry.h"

#include <QString>

namespace Velmora {

// Turns the entries an SFTP server describes by their attributes into the listing entries
// every FTP listing gives, so that the browser, the walks and the queue treat both alike.
class SftpListing {
public:
    // The name exactly as the server gave it, the size as a whole number (folders 0, as FTP
    // records have them), the modification time as "dd.mm.yyyy hh:mm" in UTC, the mode bits
    // as "ls -l" shows them; a link stays a link with its target.
    static ListingEntry Entry(const SftpEntry &entry);
    // "drwxr-x---", "-rw-r--r--", "lrwxrwxrwx", with "s"/"S" and "t"/"T" for the special bits;
    // "" when the server did not tell.
    static QString PermissionText(SftpEntry::Kind kind, int mode);
};

} // namespace Velmora
