#pragma once

class QAction;
class QFrame;
class QLabel;
class QPushButton;

namespace Velmora {

// The transfer filter's part of the main window: the filter panel with its switch, label and
// buttons, and the two items of the Filter menu.
struct FilterControls {
    QFrame *filterPanel = nullptr;
    QPushButton *filterOnOffButton = nullptr, *editFilterButton = nullptr;
    QPushButton *searchFilesButton = nullptr, *searchInFilesButton = nullptr, *searchAndReplaceButton = nullptr;
    QLabel *filterLabel = nullptr;
    QAction *editFilterAction = nullptr, *transferFilterOnAction = nullptr;
};

} // namespace Velmora
