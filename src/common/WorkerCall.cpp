#include "WorkerCall.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QSemaphore>

namespace Velmora {

bool RunOnWorker(QObject *worker, const std::function<void()> &work, const std::function<void()> &stop)
{
    QEventLoop loop;
    QSemaphore finished;
    bool done = false;
    QMetaObject::invokeMethod(
        worker,
        [&] {
            work();
            // Queued behind every event of this piece of work, so the caller has seen them all
            // when it goes on.
            QMetaObject::invokeMethod(
                &loop,
                [&] {
                    done = true;
                    loop.quit();
                },
                Qt::QueuedConnection);
            finished.release(); // the last touch of the caller's frame
        },
        Qt::QueuedConnection);
    bool completed = true;
    while (!done) {
        if (loop.exec() == -1 && !done) {
            stop();
            completed = false;
            break;
        }
    }
    // The work refers to this frame: wait until it has let go of it.
    finished.acquire();
    return completed;
}

} // namespace Velmora
