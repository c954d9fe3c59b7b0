#pragma once

#include "FtpClient.h"
#include "FtpEvents.h"

#include <QObject>

#include <atomic>
#include <memory>

namespace Velmora {

class FtpProtocol;

// Lives in the client's worker thread: owns the protocol (and with it every socket) and turns
// its events into signals, which reach the caller's thread queued.
class FtpWorker : public QObject, public FtpEvents {
    Q_OBJECT
public:
    FtpWorker(const std::atomic_bool &abortRequested, const std::atomic_bool &stopping);
    ~FtpWorker() override;

    FtpProtocol &protocol() { return *m_protocol; }
    // Closes every connection; called in the worker thread before it ends.
    void shutdown();

    void reportStatus(const QString &text) override { Q_EMIT statusReported(text); }
    void reportWarning(const QString &text) override { Q_EMIT warningReported(text); }
    void reportWorkBegin(FtpClient::Direction direction, qint64 expectedBytes) override
    {
        Q_EMIT workBegan(direction, expectedBytes);
    }
    void reportWork(FtpClient::Direction direction, qint64 bytes) override { Q_EMIT workProgressed(direction, bytes); }
    void reportWorkEnd(FtpClient::Direction direction) override { Q_EMIT workEnded(direction); }

Q_SIGNALS:
    void statusReported(const QString &text);
    void warningReported(const QString &text);
    void workBegan(Velmora::FtpClient::Direction direction, qint64 expectedBytes);
    void workProgressed(Velmora::FtpClient::Direction direction, qint64 bytes);
    void workEnded(Velmora::FtpClient::Direction direction);

private:
    std::unique_ptr<FtpProtocol> m_protocol;
};

} // namespace Velmora
