#pragma once

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;

namespace Velmora {

// What a queue run shows in the main window: the progress panel, the queue bar's two texts and
// the charts panel with the file panes it takes the place of.
struct ProgressControls {
    QFrame *progressPanel = nullptr;
    QProgressBar *progressBar1 = nullptr, *progressBar2 = nullptr;
    QLabel *bytesPanel = nullptr, *totalsPanel = nullptr;
    QLabel *queueInfoPanel = nullptr, *queueSizePanel = nullptr;
    QFrame *chartsPanel = nullptr, *chartsClosePanel = nullptr;
    QPushButton *closeChartsButton = nullptr;
    QSplitter *gridSplitter = nullptr;
};

} // namespace Velmora
