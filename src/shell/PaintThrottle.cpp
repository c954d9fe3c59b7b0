#include "PaintThrottle.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace Velmora {

PaintThrottle::PaintThrottle(QWidget &window, std::function<bool()> busy)
    : QObject(&window)
    , m_window(window)
    , m_busy(std::move(busy))
{
    m_deferred.setSingleShot(true);
    connect(&m_deferred, &QTimer::timeout, this, &PaintThrottle::flush);
    qApp->installEventFilter(this);
}

PaintThrottle::~PaintThrottle()
{
    qApp->removeEventFilter(this);
}

bool PaintThrottle::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::UpdateRequest && type != QEvent::LayoutRequest) || m_flushing || !watched->isWidgetType()
        || !m_window.isVisible())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->window() != &m_window)
        return false;
    if (!m_busy() || !m_lastPaint.isValid() || m_lastPaint.elapsed() >= IntervalMs) {
        if (type == QEvent::UpdateRequest)
            m_lastPaint.start();
        return false;
    }
    // Kept until the turn comes: the widgets keep their dirty regions and invalid layouts.
    if (type == QEvent::UpdateRequest)
        m_paintRequested = true;
    else if (!m_layoutRequests.contains(widget))
        m_layoutRequests.append(widget);
    if (!m_deferred.isActive())
        m_deferred.start(int(std::max<qint64>(1, IntervalMs - m_lastPaint.elapsed())));
    return true;
}

void PaintThrottle::flush()
{
    m_lastPaint.start();
    m_flushing = true;
    const QList<QPointer<QWidget>> layouts = std::exchange(m_layoutRequests, {});
    for (const QPointer<QWidget> &widget : layouts) {
        if (widget) {
            QEvent request(QEvent::LayoutRequest);
            QCoreApplication::sendEvent(widget, &request);
        }
    }
    if (std::exchange(m_paintRequested, false)) {
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(&m_window, &request);
    }
    m_flushing = false;
}

} // namespace Velmora
