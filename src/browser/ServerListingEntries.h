#pragma once

#include "FileGridEntry.h"
#include "ListingSummary.h"

#include <QHash>
#include <QStringList>

#include <vector>

namespace Velmora {

class Language;

// Turns the engine's listing records ("type|name|size|date|permissions|owner group") into grid
// rows, in the order received. Dates arrive as "dd.mm.yyyy" or "dd.mm.yyyy hh:nn"; a date that
// cannot be read is shown as it came. Kind 0 counts as a folder, kind 1 as a file, links as
// neither; the sizes of all records are added up.
class ServerListingEntries {
public:
    struct Result {
        std::vector<FileGridEntry> rows;
        ListingSummary summary;
    };

    explicit ServerListingEntries(const Language *language = nullptr);

    Result convert(const QStringList &records);
    FileGridEntry entryFromRecord(const QString &record);

    // "dd.mm.yyyy[ hh:nn[:ss]]" read as a date and time (as shown, no time zone); false when the
    // text is no such date.
    static bool parseRecordDate(const QString &text, qint64 *msecs);

private:
    QString shared(QHash<QString, QString> &pool, const QString &text);

    const Language *m_language;
    // Permissions, owners and type texts repeat from row to row: keep one copy of each.
    QHash<QString, QString> m_types;
    QHash<QString, QString> m_texts;
};

} // namespace Velmora
