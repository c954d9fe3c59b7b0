#include "TransferBuilders.h"

namespace Velmora {

TransferBuilders::TransferBuilders(const TransferBuilderSetup &setup)
    : m_steps(setup)
    , m_upload(m_steps)
    , m_download(m_steps)
    , m_serverDelete(m_steps)
    , m_localDelete(m_steps)
{
}

template <typename Build>
void TransferBuilders::request(WorkMode mode, Build build)
{
    if (m_building)
        return;
    m_building = true;
    const struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_building};
    m_mode = mode;
    build();
}

void TransferBuilders::Upload(WorkMode mode, const QString &dropFolder)
{
    request(mode, [&] { m_upload.build(mode, dropFolder); });
}

void TransferBuilders::Download(WorkMode mode, const QString &dropFolder)
{
    request(mode, [&] { m_download.build(mode, dropFolder); });
}

void TransferBuilders::DeleteOnServer()
{
    request(WorkMode::Transfer, [&] { m_serverDelete.build(); });
}

void TransferBuilders::DeleteLocally()
{
    request(WorkMode::Transfer, [&] { m_localDelete.build(); });
}

} // namespace Velmora
