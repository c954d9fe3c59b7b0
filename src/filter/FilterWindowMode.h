#pragma once

namespace Velmora {

// What the filter window is opened for; decides its title, its action button and its height.
// The requests of the queue map their work modes onto these.
enum class FilterWindowMode {
    EditOnly,         // only the criteria: no grid, no records evaluated
    Transfer,         // "Execute": the ticked rows become the queue list
    FindFiles,        // "Goto selected file"
    SearchInFiles,    // "Step2: Search in selected files"
    SearchAndReplace, // "Step2: Search and replace in selected files"
};

} // namespace Velmora
