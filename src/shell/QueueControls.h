#pragma once

class QAction;
class QCheckBox;
class QFrame;
class QPushButton;
class QTableView;
class QToolButton;

namespace Velmora {

// The queue's part of the main window: the queue bar with its menu items, the queue grid, and
// the charts panel with its close buttons.
struct QueueControls {
    QToolButton *queueLoadButton = nullptr, *queueSaveButton = nullptr, *queueRunButton = nullptr,
                *queuePauseButton = nullptr, *queueDeleteButton = nullptr, *automaticRunButton = nullptr;
    QAction *loadQueueAction = nullptr, *saveQueueAction = nullptr, *runQueueAction = nullptr,
            *pauseQueueAction = nullptr, *deleteQueueAction = nullptr;
    QTableView *queueGrid = nullptr;
    QFrame *chartsPanel = nullptr;
    QPushButton *closeChartsButton = nullptr, *closeChartsButton2 = nullptr;
    QCheckBox *autoCloseChartsCheckBox = nullptr;
};

} // namespace Velmora
