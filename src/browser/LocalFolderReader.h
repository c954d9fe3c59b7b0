#pragma once

#include "FileGridEntry.h"
#include "ListingSummary.h"

#include <QHash>
#include <QString>

#include <vector>

namespace Velmora {

class Language;

// Reads one local folder into grid rows: every entry, hidden ones included, except "." and "..".
// A folder (or a link to one) is kind 0 with size 0; everything else is kind 1 with its size.
// Rows come in the order the system lists them; the grid sorts them.
class LocalFolderReader {
public:
    struct Result {
        std::vector<FileGridEntry> rows;
        ListingSummary summary;
        bool readable = true; // false when the folder could not be opened
    };

    explicit LocalFolderReader(const Language *language = nullptr);

    // folder ends with "/". With withParentRow the ".." row comes first.
    Result read(const QString &folder, bool withParentRow = false);

private:
    QString typeText(EntryKind kind, const QString &name);

    const Language *m_language;
    // One shared text per extension, so 100,000 rows keep a handful of type texts.
    QHash<QString, QString> m_typeTexts;
};

} // namespace Velmora
