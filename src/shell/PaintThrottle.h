#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QWidget;

namespace Velmora {

// While the window is busy (a queue run, a tree walk), lays it out and paints it at most once
// every IntervalMs. A run waits on the server in local event loops, several per file, and the
// progress bars and texts, the protocol and the queue grid change in nearly every pass; laying
// out and painting the whole window in each pass cost more than the transfers themselves on a
// queue of small files. What changed in between is laid out and painted together at the next
// turn, ten times a second, as the traffic figures are taken. In the idle state every request
// passes at once, so typing and clicking answer without delay. Watches the application's
// layout and paint requests for the widgets of this one window.
class PaintThrottle : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 100;

    // busy: whether the window is busy now.
    PaintThrottle(QWidget &window, std::function<bool()> busy);
    ~PaintThrottle() override;

    // Lays out and paints what waited (tests drive it directly).
    QTimer &deferredTimer() { return m_deferred; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void flush();

    QWidget &m_window;
    std::function<bool()> m_busy;
    QElapsedTimer m_lastPaint;
    QTimer m_deferred;
    QList<QPointer<QWidget>> m_layoutRequests;
    bool m_paintRequested = false;
    bool m_flushing = false;
};

} // namespace Velmora
