#pragma once

#include <QString>

namespace Velmora {

// The one question a deletion asks before it starts, in English or German, from the number of
// selected files (links count as files) and folders: "Really delete 2 Files and 1 Directory
// with contents?", in German "2 Dateien löschen und 1 Ordner mit Inhalt löschen?".
QString DeleteQuestionText(int files, int folders, bool german);

} // namespace Velmora
