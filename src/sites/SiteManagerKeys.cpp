#include "SiteManagerKeys.h"

#include <QEvent>
#include <QKeyEvent>

namespace Velmora {

SiteManagerKeys::SiteManagerKeys(QObject *parent)
    : QObject(parent)
{
}

SiteManagerKeys::Command SiteManagerKeys::commandFor(int key, Qt::KeyboardModifiers modifiers)
{
    modifiers &= ~Qt::KeypadModifier;
    if (key == Qt::Key_F4 && modifiers == Qt::AltModifier)
        return Command::Abort;
    if (key == Qt::Key_A && modifiers == Qt::ControlModifier)
        return Command::SelectAll;
    if (modifiers == Qt::AltModifier)
        return Command::None;
    switch (key) {
    case Qt::Key_F9:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Command::Connect;
    case Qt::Key_F10: return Command::Import;
    case Qt::Key_F6: return Command::Copy;
    case Qt::Key_F4: return Command::Edit;
    case Qt::Key_Delete: return Command::Delete;
    case Qt::Key_F5: return Command::New;
    case Qt::Key_Escape: return Command::Abort;
    default: return Command::None;
    }
}

bool SiteManagerKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return handle(static_cast<QKeyEvent *>(event));
    // Keeps Qt's own shortcut handling (default buttons, Escape) from taking the keys first.
    if (event->type() == QEvent::ShortcutOverride && !tableEditOn()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (commandFor(key->key(), key->modifiers()) != Command::None) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool SiteManagerKeys::handle(QKeyEvent *event)
{
    if (tableEditOn())
        return false;
    const Command command = commandFor(event->key(), event->modifiers());
    if (command != Command::None) {
        run(command);
        return true;
    }
    return typeAhead(*event);
}

} // namespace Velmora
