#pragma once

#include "FilterRow.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

// The second step of a search in files: the ticked text files become records whose local paths
// lie in the working folder, and the same records with the user's own local paths are what
// "SEARCH_QUEUE.TXT" keeps for the search window. Files whose extension contains one of the
// non-text words (".docx" contains "doc") are left out; "DELE" and "RMD" rows stay as they are.
struct SearchStepRecords {
    QStringList queueList;         // with the working folder's paths
    QStringList searchQueueLines;  // the same, with the local path box's folder again
};

// localPathBox: the local path box's text; downloadFolder: the working folder ("download/" in
// the temporary folder). Only the local path box's folder at the start of a download's local
// path is replaced (a box of "/" must not replace every separator); an empty local path box
// replaces nothing.
SearchStepRecords BuildSearchStepRecords(const QList<FilterRow> &tickedRows, const QString &localPathBox,
                                         const QString &downloadFolder);
// The local path with the local path box's folder at its start replaced by the working folder;
// a path outside that folder stays as it is.
QString IntoWorkingFolder(const QString &path, const QString &localPathBox, const QString &downloadFolder);

inline const QString SearchQueueFileName = QStringLiteral("SEARCH_QUEUE.TXT");

} // namespace Velmora
