#pragma once

#include "BrowserSide.h"

#include <QtGlobal>
#include <qnamespace.h>

#include <array>
#include <functional>
#include <optional>

namespace Velmora {

// The commands the keys of the file grids start. Each feature installs its handler; a command
// without a handler does nothing.
enum class GridCommand {
    SearchFiles,      // F3
    ViewEdit,         // F4
    Transfer,         // F5: upload from the local grid, download from the server grid
    Rename,           // F6
    CreateDirectory,  // F7
    Delete,           // F8 or Del
    SearchInFiles,    // F9
    SearchAndReplace, // F10
    FilePermissions,  // F11, server grid only
};
constexpr int GridCommandCount = int(GridCommand::FilePermissions) + 1;

class GridCommandDispatcher {
public:
    using Handler = std::function<void(BrowserSide side)>;

    void setHandler(GridCommand command, Handler handler);
    bool hasHandler(GridCommand command) const;

    // The command a key pressed alone starts in a grid of the given side; none for other keys,
    // for keys pressed with Shift, Ctrl or Alt, and for F11 in the local grid.
    static std::optional<GridCommand> commandForKey(BrowserSide side, int key, Qt::KeyboardModifiers modifiers);
    // Runs the command of the key; true when it ran. A command key whose command has no handler
    // yet is left to the grid and the controls around it, like any other key.
    bool dispatchKey(BrowserSide side, int key, Qt::KeyboardModifiers modifiers) const;
    void run(GridCommand command, BrowserSide side) const;

private:
    std::array<Handler, GridCommandCount> m_handlers;
};

} // namespace Velmora
