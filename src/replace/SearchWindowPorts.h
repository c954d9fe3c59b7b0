#pragma once

#include <QString>

namespace Velmora {

// What the search window needs of the main window and of the built-in editor; the program's
// shell answers it.
class SearchWindowHost {
public:
    virtual ~SearchWindowHost() = default;

    // The texts of the main window's path boxes.
    virtual QString localPathText() const = 0;
    virtual QString serverPathText() const = 0;
    // A server host is set for the current connection.
    virtual bool hasServerHost() const = 0;
    // The charts panel gives its place back to the file panes.
    virtual void hideCharts() = 0;
    // Opens the built-in editor modally on the file with "Save as" disabled; true when the
    // user saved the file.
    virtual bool editFile(const QString &path) = 0;
};

} // namespace Velmora
