#pragma once

class QFrame;
class QLabel;
class QPushButton;
class QToolBar;
class QWidget;

namespace Velmora {

// The bars and panels of the main window that carry a design's pictures, and the filter switch
// whose state decides whether the filter panel shows its picture.
struct DesignAreas {
    QWidget *mainControlBar = nullptr;
    QToolBar *localToolBar = nullptr, *serverToolBar = nullptr;
    QWidget *localButtonsPanel = nullptr, *serverButtonsPanel = nullptr;
    QLabel *localStatusLabel = nullptr, *serverStatusLabel = nullptr;
    QFrame *queuePanel = nullptr, *progressPanel = nullptr, *chartsPanel = nullptr, *chartsClosePanel = nullptr;
    QFrame *filterPanel = nullptr;
    QPushButton *filterOnOffButton = nullptr;
};

} // namespace Velmora
