#pragma once

#include "SftpClient.h"
#include "SftpEvents.h"

#include <QObject>

#include <atomic>
#include <memory>

namespace Velmora {

class SftpProtocol;

// Lives in the client's worker thread: owns the protocol (and with it the SSH session) and
// turns its events into signals, which reach the caller's thread queued.
class SftpWorker : public QObject, public SftpEvents {
    Q_OBJECT
public:
    explicit SftpWorker(const std::atomic_bool &abortRequested);
    ~SftpWorker() override;

    SftpProtocol &protocol() { return *m_protocol; }

    void reportStatus(const QString &text) override { Q_EMIT statusReported(text); }
    void reportWorkBegin(SftpClient::Direction direction, qint64 expectedBytes) override
    {
        Q_EMIT workBegan(direction, expectedBytes);
    }
    void reportWork(SftpClient::Direction direction, qint64 bytes) override { Q_EMIT workProgressed(direction, bytes); }
    void reportWorkEnd(SftpClient::Direction direction) override { Q_EMIT workEnded(direction); }

Q_SIGNALS:
    void statusReported(const QString &text);
    void workBegan(Velmora::SftpClient::Direction direction, qint64 expectedBytes);
    void workProgressed(Velmora::SftpClient::Direction direction, qint64 bytes);
    void workEnded(Velmora::SftpClient::Direction direction);

private:
    std::unique_ptr<SftpProtocol> m_protocol;
};

} // namespace Velmora
