#pragma once

#include <QDialog>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <functional>

namespace Velmora::Testing {

// Acts on a modal dialog once it is shown: the action runs from the dialog's own event loop,
// so a command that processes events before it opens the dialog cannot trigger it early.
class WhenShown : public QObject {
public:
    static void act(QDialog &dialog, std::function<void()> action)
    {
        dialog.installEventFilter(new WhenShown(dialog, std::move(action)));
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !m_done) {
            m_done = true;
            QTimer::singleShot(0, watched, [this] {
                m_action();
                deleteLater();
            });
        }
        return false;
    }

private:
    WhenShown(QDialog &dialog, std::function<void()> action)
        : QObject(&dialog)
        , m_action(std::move(action))
    {
    }

    std::function<void()> m_action;
    bool m_done = false;
};

} // namespace Velmora::Testing
