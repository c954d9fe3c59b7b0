#pragma once

#include <QFileDevice>

namespace Velmora {

// The program's own files (state, logs, saved queues, the log archive) hold hosts, user names,
// paths and file lists: they are readable by their owner only, as ~/.ssh is.
struct OwnerOnly {
    static constexpr QFileDevice::Permissions File = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    static constexpr QFileDevice::Permissions Folder = File | QFileDevice::ExeOwner;
    static constexpr QFileDevice::Permissions Others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                                       | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                                       | QFileDevice::WriteOther | QFileDevice::ExeOther;

    // For a file just opened for writing: one that did not exist before is made 0600 before a
    // byte is written; an existing file keeps the mode it has.
    static void restrictNew(QFileDevice &file, bool existedBefore)
    {
        if (!existedBefore)
            file.setPermissions(File);
    }
};

} // namespace Velmora
