#include "PathBoxFollower.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace Velmora {

namespace {

bool isModifierOnly(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

bool opensList(const QKeyEvent &event)
{
    const int key = event.key();
    return key == Qt::Key_F4 || ((key == Qt::Key_Down || key == Qt::Key_Up) && (event.modifiers() & Qt::AltModifier));
}

} // namespace

PathBoxFollower::PathBoxFollower(QComboBox *box)
    : QObject(box)
    , m_box(box)
{
    box->installEventFilter(this);
    if (QLineEdit *edit = box->lineEdit())
        edit->installEventFilter(this);
    connect(box, &QComboBox::activated, this, [this](int index) {
        if (m_following && index >= 0)
            Q_EMIT entryChosen(m_box->itemText(index));
    });
}

bool PathBoxFollower::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        m_following = true;
        break;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_following = true;
            Q_EMIT enterPressed();
            return true;
        }
        if (!isModifierOnly(key->key()) && !opensList(*key))
            m_following = false;
        break;
    }
    case QEvent::Wheel:
        if (!m_box->hasFocus())
            return true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Velmora
