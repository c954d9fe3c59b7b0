#pragma once

#include <atomic>
#include <memory>

namespace Velmora {

// The way to stop one piece of work. Copies share one state: the window's Abort cancels the
// token of the work it is busy with, and every loop and transfer of that work holding a copy
// sees it, on any thread. New work gets a new token, so an Abort of earlier work never reaches
// it, however the earlier work ended.
// Pause is gentler than cancel: a queue run stops before its next record, but the record that is
// running (a transfer half way) finishes.
class CancelToken {
public:
    CancelToken()
        : m_state(std::make_shared<State>())
    {
    }

    void cancel() { m_state->cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return m_state->cancelled.load(std::memory_order_relaxed); }
    void requestPause() { m_state->pauseRequested.store(true, std::memory_order_relaxed); }
    bool isPauseRequested() const { return m_state->pauseRequested.load(std::memory_order_relaxed); }
    // The run a Pause stopped is over: later runs of the same work go on.
    void endPause() { m_state->pauseRequested.store(false, std::memory_order_relaxed); }
    // A run stops before its next step: cancelled or paused.
    bool stopsRun() const { return isCancelled() || isPauseRequested(); }
    // Both are the same token (copies of one another).
    bool operator==(const CancelToken &other) const { return m_state == other.m_state; }

private:
    struct State {
        std::atomic<bool> cancelled{false};
        std::atomic<bool> pauseRequested{false};
    };
    std::shared_ptr<State> m_state;
};

} // namespace Velmora
