#pragma once

#include <QString>

namespace Velmora {

// The syntax colourings of the editor.
enum class Highlighter { None, Html, JavaScript, Sql, Pascal };

// Chosen by the file name's extension (from the last "." of the name on), compared exactly
// with regard to case: "index.html" is HTML, "index.HTML" has no colouring.
Highlighter HighlighterForFile(const QString &path);

} // namespace Velmora
