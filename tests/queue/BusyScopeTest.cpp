#include "queue/BusyScope.h"
#include "queue/QueueHost.h"

#include "app/WorkControl.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Velmora;

namespace {

// Counts the window's state changes.
class StateRecordingHost : public NullQueueHost {
public:
    void setBusyState() override { ++busy; }
    void setIdleState() override { ++idle; }
    int busy = 0;
    int idle = 0;
};

} // namespace

TEST(BusyScope, TheWindowIsIdleAgainOnceWhicheverWayTheWorkEnds)
{
    StateRecordingHost window;
    WorkControl work;
    { BusyScope busy(window, work); }
    EXPECT_EQ(window.busy, 1);
    EXPECT_EQ(window.idle, 1) << "to the end";

    {
        BusyScope busy(window, work);
        busy.end();
        EXPECT_EQ(window.idle, 2) << "ended early, before the work's last steps";
    }
    EXPECT_EQ(window.idle, 2) << "and not again when the scope goes";

    try {
        BusyScope busy(window, work);
        throw std::runtime_error("a step failed");
    } catch (const std::runtime_error &) {
    }
    EXPECT_EQ(window.idle, 3) << "a step that failed";
}

TEST(BusyScope, AbortOfEarlierWorkNeverReachesNewWorkAndAbortOfNewWorkReachesItsRun)
{
    StateRecordingHost window;
    WorkControl work;
    work.filesFound = 7;
    CancelToken earlier;
    {
        BusyScope busy(window, work);
        earlier = busy.token();
        work.cancel.cancel(); // the Abort button
        EXPECT_TRUE(earlier.isCancelled());
        EXPECT_EQ(work.filesFound, 0) << "new work counts from zero";
    }
    BusyScope busy(window, work);
    EXPECT_FALSE(busy.token().isCancelled());
    EXPECT_FALSE(work.cancel.isCancelled());
    const CancelToken run = work.cancel; // what a run takes when it starts
    work.cancel.requestPause();
    EXPECT_TRUE(run.stopsRun());
    EXPECT_FALSE(run.isCancelled()) << "Pause lets the running record finish";
    work.cancel.cancel();
    EXPECT_TRUE(run.isCancelled());
}
