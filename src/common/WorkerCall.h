#pragma once

#include <functional>

class QObject;

namespace Velmora {

// Runs work on the thread of worker and waits for it in a local event loop, so the caller's
// thread keeps delivering events (progress, status) while the work goes on; every event the
// work queued has been delivered when this returns. When the application quits during the
// wait (a local loop then returns at once and delivers nothing), stop is called, which must
// make the work end soon; the call still returns only after the work has let go of the
// caller's frame. Returns false in that case.
bool RunOnWorker(QObject *worker, const std::function<void()> &work, const std::function<void()> &stop);

} // namespace Velmora
