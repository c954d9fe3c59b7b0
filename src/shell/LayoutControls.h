#pragma once

class QAction;
class QFrame;
class QPushButton;
class QSplitter;
class QTableView;
class QToolButton;
class QWidget;

namespace Velmora {

// The main window's regions that the layout shows, hides and sizes, with the four view
// switches of the toolbar and the View menu and the two buttons over the charts.
struct LayoutControls {
    QToolButton *protocolButton = nullptr, *navigationButton = nullptr, *queueWindowButton = nullptr,
                *filterWindowButton = nullptr;
    QAction *protocolViewAction = nullptr, *navigationViewAction = nullptr, *queueViewAction = nullptr,
            *filterViewAction = nullptr;
    QSplitter *topSplitter = nullptr, *queueSplitter = nullptr;
    QTableView *protocolGrid = nullptr, *queueGrid = nullptr;
    QWidget *localButtonsPanel = nullptr, *serverButtonsPanel = nullptr;
    QFrame *queuePanel = nullptr, *filterPanel = nullptr, *chartsPanel = nullptr;
    QPushButton *abortTransferButton = nullptr, *closeChartsButton = nullptr;
};

} // namespace Velmora
