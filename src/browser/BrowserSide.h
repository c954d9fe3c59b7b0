#pragma once

namespace Velmora {

// The two panes of the main window: the local file system on the left, the server on the right.
enum class BrowserSide { Local, Server };

} // namespace Velmora
