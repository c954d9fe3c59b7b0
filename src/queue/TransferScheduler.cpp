#include "TransferScheduler.h"

#include <algorithm>

namespace Velmora {

TransferScheduler::TransferScheduler(const QList<QueueRecord> &records, int sessions)
    : m_records(records)
    , m_state(records.size(), State::Waiting)
    , m_sessions(std::max(1, sessions))
{
    m_paths.reserve(records.size());
    for (const QueueRecord &record : records)
        m_paths.append(pathsOf(record));
}

bool TransferScheduler::isTransfer(const QueueRecord &record)
{
    return record.command == QueueCommand::Retr || record.command == QueueCommand::Stor;
}

TransferScheduler::Paths TransferScheduler::pathsOf(const QueueRecord &record)
{
    if (record.command == QueueCommand::Retr)
        return {record.source, record.target};
    if (record.command == QueueCommand::Stor)
        return {record.target, record.source};
    return {};
}

bool TransferScheduler::mayStart(int index) const
{
    if (m_state.at(index) != State::Waiting)
        return false;
    if (!isTransfer(m_records.at(index)))
        return index == m_firstOpen && m_running == 0;
    const Paths &mine = m_paths.at(index);
    for (int earlier = m_firstOpen; earlier < index; ++earlier) {
        if (m_state.at(earlier) == State::Done)
            continue;
        if (!isTransfer(m_records.at(earlier)))
            return false;
        const Paths &theirs = m_paths.at(earlier);
        if ((!mine.remote.isEmpty() && mine.remote == theirs.remote) || (!mine.local.isEmpty() && mine.local == theirs.local))
            return false;
    }
    return true;
}

std::optional<int> TransferScheduler::next()
{
    if (m_running >= m_sessions)
        return std::nullopt;
    for (int index = m_firstOpen; index < m_state.size(); ++index) {
        if (mayStart(index)) {
            m_state[index] = State::Running;
            ++m_running;
            return index;
        }
        // Nothing after a record that runs alone starts before it has ended.
        if (!isTransfer(m_records.at(index)))
            break;
    }
    return std::nullopt;
}

void TransferScheduler::finished(int index)
{
    if (m_state.at(index) != State::Running)
        return;
    m_state[index] = State::Done;
    --m_running;
    ++m_done;
    while (m_firstOpen < m_state.size() && m_state.at(m_firstOpen) == State::Done)
        ++m_firstOpen;
}

void TransferScheduler::giveBack(int index)
{
    if (m_state.at(index) != State::Running)
        return;
    m_state[index] = State::Waiting;
    --m_running;
}

void TransferScheduler::setSessions(int sessions)
{
    m_sessions = std::max(1, sessions);
}

} // namespace Velmora
