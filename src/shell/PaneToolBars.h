#pragma once

class QToolBar;

namespace Velmora {

// The toolbars above the two file grids, where the file commands put their buttons.
struct PaneToolBars {
    QToolBar *localToolBar = nullptr, *serverToolBar = nullptr;
};

} // namespace Velmora
