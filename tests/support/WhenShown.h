#pragma once

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace Velmora::Testing {

// Acts in a modal window once it is shown (and its event loop runs); events processed before
// that, by a tree walk for example, do not trigger it.
class WhenShown : public QObject {
public:
    static void act(QWidget &window, std::function<void()> action);

    WhenShown(QWidget *window, std::function<void()> act)
        : m_act(std::move(act))
    {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && m_act) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::exchange(m_act, {}));
        }
        return false;
    }

private:
    std::function<void()> m_act;
};

inline void whenShown(QWidget *window, std::function<void()> act)
{
    auto *filter = new WhenShown(window, std::move(act));
    filter->setParent(window);
}

inline void WhenShown::act(QWidget &window, std::function<void()> action)
{
    whenShown(&window, std::move(action));
}

} // namespace Velmora::Testing
