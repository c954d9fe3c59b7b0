#pragma once

#include <QString>

namespace Velmora {

// How an upload or download of a grid's selection is to go.
struct TransferRequest {
    // The folder row the rows were dropped on, or empty.
    QString dropFolder;
    // false: the filter window is left out whatever its switch says.
    bool filtered = true;
    // true: the work runs at once whatever "Automatic run queue" says.
    bool runAtOnce = false;
};

// What a search of a grid's selection is for.
enum class SearchKind {
    FindFiles,        // the filter window, then the grids go to the chosen file
    SearchInFiles,    // the filter window, then the search window
    SearchAndReplace, // the filter window, then the search window in its replace mode
};

} // namespace Velmora
