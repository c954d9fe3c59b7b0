#include "TransferBuilders.h"

#include "QueueHost.h"
#include "QueueRunner.h"
#include "TransferPorts.h"

namespace Velmora {

TransferBuilders::TransferBuilders(const TransferBuilderSetup &setup)
    : m_steps(setup)
    , m_upload(m_steps)
    , m_download(m_steps)
    , m_search(m_steps, m_upload, m_download)
    , m_serverDelete(m_steps)
    , m_localDelete(m_steps)
{
}

template <typename Work>
auto TransferBuilders::request(Work work) -> decltype(work())
{
    // Nothing new starts while a run is still going on (after Pause its transfers finish with
    // the window idle): the user is told, and the queue keeps its rows.
    if (m_building || m_steps.setup().runner.refusesNewWork())
        return decltype(work())();
    m_building = true;
    // However the request ends, the window is idle afterwards.
    const struct Reset {
        bool &flag;
        CollectionSteps &steps;
        ~Reset()
        {
            steps.closeBusyScope();
            flag = false;
        }
    } reset{m_building, m_steps};
    return work();
}

RunResult TransferBuilders::Upload(const TransferRequest &transfer)
{
    return request([&] { return m_upload.upload(transfer); });
}

RunResult TransferBuilders::Download(const TransferRequest &transfer)
{
    return request([&] { return m_download.download(transfer); });
}

void TransferBuilders::UsedSpace(GridSide side)
{
    request([&] {
        const std::optional<Collection> collection =
            side == GridSide::Local ? m_upload.collect(true) : m_download.collect(false, true);
        if (!collection)
            return;
        m_steps.showUsedSpaceTotals();
        m_steps.endBusyState();
        m_steps.setup().host.restoreRememberedRow(side);
    });
}

void TransferBuilders::Search(GridSide side, SearchKind kind)
{
    request([&] { m_search.run(side, kind); });
}

std::optional<Collection> TransferBuilders::CollectFolders(GridSide side)
{
    return request([&]() -> std::optional<Collection> {
        std::optional<Collection> collection = side == GridSide::Local ? m_upload.collect(false) : m_download.collect(false, false);
        if (collection && collection->aborted)
            return std::nullopt;
        return collection;
    });
}

void TransferBuilders::DeleteOnServer()
{
    request([&] { m_serverDelete.build(); });
}

void TransferBuilders::DeleteLocally()
{
    request([&] { m_localDelete.build(); });
}

} // namespace Velmora
