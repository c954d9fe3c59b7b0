#pragma once

#include "common/QueueRecord.h"

#include <QString>

namespace Velmora {

// One row of the search window's result list. The engine reads selected and
// workingCopyPath and writes hitMark; the other fields belong to the window.
struct SearchEntry {
    bool selected = true;
    QueueCommand command = QueueCommand::None; // Retr (a server file) or Stor (a local file)
    QString shownPath;         // the remote path for "RETR", the local path for "STOR"
    QString otherPath;         // the local path for "RETR", the remote path for "STOR"
    QString size;
    QString date;
    QString workingCopyPath;   // the copy that is searched and changed
    int hitMark = 0;           // 0 no hit / not changed, 1 term found / file changed
    bool binary = false;       // the copy holds NUL bytes or UTF-16/32 text: skipped, never changed as text
    // The copy is Windows-1252 text, which cannot hold a character of the search or replacement
    // text: the last run left it unchanged.
    bool unfit = false;
};

} // namespace Velmora
