#include "GridCommandDispatcher.h"

namespace Velmora {

void GridCommandDispatcher::setHandler(GridCommand command, Handler handler)
{
    m_handlers[size_t(command)] = std::move(handler);
}

bool GridCommandDispatcher::hasHandler(GridCommand command) const
{
    return bool(m_handlers[size_t(command)]);
}

std::optional<GridCommand> GridCommandDispatcher::commandForKey(BrowserSide side, int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) != Qt::NoModifier)
        return std::nullopt;
    switch (key) {
    case Qt::Key_F3:
        return GridCommand::SearchFiles;
    case Qt::Key_F4:
        return GridCommand::ViewEdit;
    case Qt::Key_F5:
        return GridCommand::Transfer;
    case Qt::Key_F6:
        return GridCommand::Rename;
    case Qt::Key_F7:
        return GridCommand::CreateDirectory;
    case Qt::Key_F8:
    case Qt::Key_Delete:
        return GridCommand::Delete;
    case Qt::Key_F9:
        return GridCommand::SearchInFiles;
    case Qt::Key_F10:
        return GridCommand::SearchAndReplace;
    case Qt::Key_F11:
        if (side == BrowserSide::Server)
            return GridCommand::FilePermissions;
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

bool GridCommandDispatcher::dispatchKey(BrowserSide side, int key, Qt::KeyboardModifiers modifiers) const
{
    const std::optional<GridCommand> command = commandForKey(side, key, modifiers);
    if (!command || !hasHandler(*command))
        return false;
    run(*command, side);
    return true;
}

void GridCommandDispatcher::run(GridCommand command, BrowserSide side) const
{
    if (const Handler &handler = m_handlers[size_t(command)])
        handler(side);
}

} // namespace Velmora
