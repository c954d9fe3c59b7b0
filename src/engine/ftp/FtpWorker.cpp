#include "FtpWorker.h"

#include "FtpProtocol.h"

namespace Velmora {

FtpWorker::FtpWorker(const std::atomic_bool &abortRequested, const std::atomic_bool &stopping)
    : m_protocol(std::make_unique<FtpProtocol>(*this, abortRequested, stopping))
{
}

FtpWorker::~FtpWorker() = default;

void FtpWorker::shutdown()
{
    m_protocol->closeConnection();
}

} // namespace Velmora
