#pragma once

namespace Velmora {

// What a collection of work is for. Every request sets it before it calls a builder; the
// builders branch on it once the selection is collected, and the queue run reads it.
enum class WorkMode {
    EditOnly = 0,         // the filter window opened only to edit the filter
    Transfer = 1,         // upload, download, drag and drop, deletions: the queue runs or is shown
    FindFiles = 2,        // filter window, then go to the chosen file
    SearchInFiles = 3,    // filter window, then the search window
    SearchAndReplace = 4, // filter window, then the search window
    UsedSpace = 5,        // the totals stay in the progress window
    CopyToEachDir = 6,    // the copy tool takes over after collecting
};

} // namespace Velmora
