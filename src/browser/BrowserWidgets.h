#pragma once

class QAbstractButton;
class QComboBox;
class QLabel;

namespace Velmora {

class DriveListWidget;
class FileGridView;

// The controls of the two file panes that the browser drives: for each side its grid, path box,
// root and up buttons and status line, and on the local side the drive list.
struct BrowserWidgets {
    FileGridView *localGrid = nullptr, *serverGrid = nullptr;
    QComboBox *localPathBox = nullptr, *serverPathBox = nullptr;
    QAbstractButton *localRootButton = nullptr, *localUpButton = nullptr;   // "\" and ".."
    QAbstractButton *serverRootButton = nullptr, *serverUpButton = nullptr; // "/" and ".."
    QLabel *localStatusLabel = nullptr, *serverStatusLabel = nullptr;
    DriveListWidget *localDriveList = nullptr;
};

} // namespace Velmora
