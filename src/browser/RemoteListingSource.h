#pragma once

#include <QString>
#include <QStringList>

namespace Velmora {

// Where the server pane gets its rows: the FTP session in the program, a scripted double in
// tests. Records are listing records "type|name|size|date|permissions|owner group".
class RemoteListingSource {
public:
    virtual ~RemoteListingSource() = default;

    virtual bool hasHost() const = 0;
    virtual bool isConnected() const = 0;
    // One silent connection attempt (the session reports its own failure); true when connected.
    virtual bool connectQuietly() = 0;
    // Lists a server folder ("/" or empty: the root); false when the listing failed.
    virtual bool list(const QString &path, QStringList &records) = 0;
};

} // namespace Velmora
