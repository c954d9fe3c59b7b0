#pragma once

#include "common/ListingEntry.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace Velmora {

class MasterFTP;

// What the server holds at some paths, read from the listings of their folders (each folder
// listed once): a message about the server says what was read, never what was only expected.
class RemoteFileStates {
public:
    explicit RemoteFileStates(MasterFTP &ftp);

    struct State {
        bool readable = false;             // the folder's listing could be read
        std::optional<ListingEntry> entry; // the file's listing entry; none when it is not there
    };
    State state(const QString &remotePath);

private:
    MasterFTP &m_ftp;
    QHash<QString, std::optional<QList<ListingEntry>>> m_folders;
};

} // namespace Velmora
