#pragma once

#include "RemoteListingSource.h"

#include <functional>

namespace Velmora {

class MasterFTP;

// The server pane's listing source on the program's FTP session. The session is looked up at
// every call, so the pane may be built before the session exists; without one nothing connects
// and nothing lists.
class MasterFtpListingSource : public RemoteListingSource {
public:
    explicit MasterFtpListingSource(std::function<MasterFTP *()> session);

    bool hasHost() const override;
    bool isConnected() const override;
    bool connectQuietly() override;
    bool list(const QString &path, QStringList &records) override;

private:
    std::function<MasterFTP *()> m_session;
};

} // namespace Velmora
