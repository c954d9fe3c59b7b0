#pragma once

#include "SftpClient.h"

namespace Velmora {

// How the protocol code in the worker thread reports its events; the worker turns them into
// queued signals for the caller's thread.
class SftpEvents {
public:
    virtual ~SftpEvents() = default;
    virtual void reportStatus(const QString &text) = 0;
    virtual void reportWorkBegin(SftpClient::Direction direction, qint64 expectedBytes) = 0;
    virtual void reportWork(SftpClient::Direction direction, qint64 bytes) = 0;
    virtual void reportWorkEnd(SftpClient::Direction direction) = 0;
};

} // namespace Velmora
