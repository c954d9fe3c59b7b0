#pragma once

#include "BrowserSide.h"
#include "PaneCommands.h"

#include <QHash>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QToolBar;

namespace Velmora {

class FileGridView;
class Language;

// A pane's toolbar buttons and its grid's context menu. Every button and menu item runs its
// command through one callback; the transfer button and menu item are the transfer requests'
// own actions and are only placed here. The menu's enabling rules are applied when it opens.
class PaneCommandBar : public QObject {
    Q_OBJECT
public:
    struct Setup {
        BrowserSide side = BrowserSide::Local;
        const Language *language = nullptr;
        QToolBar *toolbar = nullptr;       // holds the transfer button already
        FileGridView *grid = nullptr;
        QAction *transferMenuItem = nullptr;
        std::function<void(PaneCommand)> run;
        std::function<PaneMenuState()> state;
    };

    explicit PaneCommandBar(const Setup &setup, QObject *parent = nullptr);

    QMenu *menu() const { return m_menu; }
    QAction *button(PaneCommand command) const { return m_buttons.value(int(command)); }
    QAction *menuItem(PaneCommand command) const { return m_items.value(int(command)); }
    // Applies the enabling rules, as when the menu opens.
    void updateMenu();
    // Opens the menu at a point of the grid's viewport.
    void openMenu(const QPoint &position);

private:
    void retranslate();

    BrowserSide m_side;
    const Language *m_language;
    QMenu *m_menu;
    QHash<int, QAction *> m_buttons;
    QHash<int, QAction *> m_items;
    std::function<PaneMenuState()> m_state;
};

} // namespace Velmora
