#include "SftpWorker.h"

#include "SftpProtocol.h"

namespace Velmora {

SftpWorker::SftpWorker(const std::atomic_bool &abortRequested)
    : m_protocol(std::make_unique<SftpProtocol>(*this, abortRequested))
{
}

SftpWorker::~SftpWorker() = default;

} // namespace Velmora
