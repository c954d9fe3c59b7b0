#pragma once

#include "FtpClient.h"

namespace Velmora {

// How the protocol code in the worker thread reports its events; the worker turns them into
// queued signals for the caller's thread.
class FtpEvents {
public:
    virtual ~FtpEvents() = default;
    virtual void reportStatus(const QString &text) = 0;
    // A status the user must notice: the connection goes on in a weaker way than the site asks.
    virtual void reportWarning(const QString &text) = 0;
    virtual void reportWorkBegin(FtpClient::Direction direction, qint64 expectedBytes) = 0;
    virtual void reportWork(FtpClient::Direction direction, qint64 bytes) = 0;
    virtual void reportWorkEnd(FtpClient::Direction direction) = 0;
};

} // namespace Velmora
