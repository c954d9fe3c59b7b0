#pragma once

#include "SftpEntry.h"

#include <libssh/sftp.h>

#include <memory>

namespace Velmora {

struct SftpAttributesDeleter {
    void operator()(sftp_attributes attributes) const { sftp_attributes_free(attributes); }
};
// Attributes from libssh that free themselves.
using SftpAttributes = std::unique_ptr<sftp_attributes_struct, SftpAttributesDeleter>;

// Turns the attributes the server sent for a name into a listing entry. Only what the flags
// say is present is taken; a link's target is the caller's to read.
class SftpAttributesReader {
public:
    static SftpEntry::Kind kindOf(const sftp_attributes_struct &attributes);
    static SftpEntry entry(const sftp_attributes_struct &attributes, const QByteArray &rawName);
};

} // namespace Velmora
