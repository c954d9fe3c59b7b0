#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace Velmora::Testing {

// What a message window showed.
struct SeenMessageBox {
    QString title;
    QString text;
    QStringList buttons; // sorted: the platform's style orders them
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs ask() and answers the modal message window of that object name, once it is up, with the
// button of the given text; returns what the window showed.
inline SeenMessageBox answerMessageBox(const QString &objectName, const QString &button, const std::function<void()> &ask)
{
    SeenMessageBox seen;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box->objectName() != objectName)
            return;
        poll.stop();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton *b : box->buttons()) {
            seen.buttons << b->text();
            if (b->text() == button)
                QTimer::singleShot(0, b, &QAbstractButton::click);
        }
        seen.buttons.sort();
    });
    poll.start();
    ask();
    return seen;
}

} // namespace Velmora::Testing
