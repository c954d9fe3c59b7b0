#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

namespace Velmora {

// The site manager's keyboard, for its grid and every button: F4 Edit, F5 New, F6 Copy, F9 and
// Enter Connect, F10 the import menu, Del Delete, Esc and Alt+F4 Abort, Ctrl+A all rows, and
// any other key that types a character searches the Name column. The function keys, Del,
// Enter and Esc do nothing while Alt is the only modifier held. Nothing is taken while
// table-edit mode is on: the grid's own editing keys apply.
class SiteManagerKeys : public QObject {
    Q_OBJECT
public:
    enum class Command { None, Edit, New, Copy, Connect, Import, Delete, Abort, SelectAll };

    explicit SiteManagerKeys(QObject *parent = nullptr);

    // The command of a key press; None for keys left to the widget or to the type-ahead search.
    static Command commandFor(int key, Qt::KeyboardModifiers modifiers);

    std::function<bool()> tableEditOn = [] { return false; };
    std::function<void(Command)> run = [](Command) {};
    // Every other key; true when it was used (the type-ahead search of the Name column).
    std::function<bool(const QKeyEvent &event)> typeAhead = [](const QKeyEvent &) { return false; };

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handle(QKeyEvent *event);
};

} // namespace Velmora
