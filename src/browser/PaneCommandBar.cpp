#include "PaneCommandBar.h"

#include "FileGridView.h"

#include "common/Language.h"

#include <QAction>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace Velmora {

namespace {

QStyle::StandardPixmap iconOf(PaneCommand command)
{
    switch (command) {
    case PaneCommand::OpenDirectory: return QStyle::SP_DirOpenIcon;
    case PaneCommand::ViewEdit: return QStyle::SP_FileDialogContentsView;
    case PaneCommand::CreateDirectory: return QStyle::SP_FileDialogNewFolder;
    case PaneCommand::Refresh: return QStyle::SP_BrowserReload;
    case PaneCommand::Delete: return QStyle::SP_TrashIcon;
    case PaneCommand::Rename: return QStyle::SP_FileLinkIcon;
    case PaneCommand::FilePermissions: return QStyle::SP_FileDialogInfoView;
    case PaneCommand::UsedSpace: return QStyle::SP_DriveHDIcon;
    case PaneCommand::SearchFiles: return QStyle::SP_FileDialogStart;
    case PaneCommand::SearchInFiles: return QStyle::SP_FileDialogDetailedView;
    case PaneCommand::SearchAndReplace: return QStyle::SP_FileDialogListView;
    default: return QStyle::SP_CustomBase;
    }
}

} // namespace

PaneCommandBar::PaneCommandBar(const Setup &setup, QObject *parent)
    : QObject(parent)
    , m_side(setup.side)
    , m_language(setup.language)
    , m_menu(new QMenu(setup.grid))
    , m_state(setup.state)
{
    m_menu->setObjectName(setup.side == BrowserSide::Local ? QStringLiteral("LocalPopupMenu")
                                                            : QStringLiteral("ServerPopupMenu"));
    const std::function<void(PaneCommand)> run = setup.run;
    QStyle *style = setup.toolbar->style();
    for (PaneCommand command : PaneCommands::toolbar(m_side)) {
        if (command == PaneCommand::Transfer)
            continue; // the transfer requests' own button leads the toolbar
        QAction *action = setup.toolbar->addAction(style->standardIcon(iconOf(command)), QString());
        action->setObjectName(PaneCommands::buttonName(command, m_side));
        connect(action, &QAction::triggered, this, [run, command] { run(command); });
        // The caption is the tool tip; the button shows its picture only.
        if (auto *button = qobject_cast<QToolButton *>(setup.toolbar->widgetForAction(action))) {
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
            button->setObjectName(action->objectName());
        }
        m_buttons.insert(int(command), action);
    }
    for (PaneCommand command : PaneCommands::contextMenu(m_side)) {
        if (command == PaneCommand::Separator) {
            m_menu->addSeparator();
            continue;
        }
        QAction *item = command == PaneCommand::Transfer ? setup.transferMenuItem : new QAction(m_menu);
        if (command != PaneCommand::Transfer) {
            item->setObjectName(PaneCommands::menuItemName(command, m_side));
            connect(item, &QAction::triggered, this, [run, command] { run(command); });
        }
        m_menu->addAction(item);
        m_items.insert(int(command), item);
    }
    setup.grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(setup.grid, &QWidget::customContextMenuRequested, this, &PaneCommandBar::openMenu);
    connect(m_menu, &QMenu::aboutToShow, this, &PaneCommandBar::updateMenu);
    connect(m_language, &Language::languageChanged, this, &PaneCommandBar::retranslate);
    retranslate();
}

void PaneCommandBar::retranslate()
{
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it) {
        const QString tip = PaneCommands::toolTip(PaneCommand(it.key()), m_side, *m_language);
        it.value()->setText(tip);
        it.value()->setToolTip(tip);
    }
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it) {
        if (PaneCommand(it.key()) != PaneCommand::Transfer)
            it.value()->setText(PaneCommands::menuText(PaneCommand(it.key()), m_side, *m_language));
    }
}

void PaneCommandBar::updateMenu()
{
    const PaneMenuState state = m_state ? m_state() : PaneMenuState();
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it)
        it.value()->setEnabled(PaneCommands::isMenuItemEnabled(PaneCommand(it.key()), m_side, state));
}

void PaneCommandBar::openMenu(const QPoint &position)
{
    auto *grid = qobject_cast<FileGridView *>(m_menu->parentWidget());
    m_menu->popup(grid ? grid->viewport()->mapToGlobal(position) : position);
}

} // namespace Velmora
