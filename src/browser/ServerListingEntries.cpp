#include "ServerListingEntries.h"

#include "common/ListingEntry.h"
#include "common/SizeText.h"

#include <QDateTime>

namespace Velmora {

ServerListingEntries::ServerListingEntries(const Language *language)
    : m_language(language)
{
}

QString ServerListingEntries::shared(QHash<QString, QString> &pool, const QString &text)
{
    auto it = pool.constFind(text);
    if (it == pool.constEnd())
        it = pool.insert(text, text);
    return *it;
}

bool ServerListingEntries::parseRecordDate(const QString &text, qint64 *msecs)
{
    const QDateTime date = ListingEntry::readDate(text);
    if (!date.isValid())
        return false;
    *msecs = date.toMSecsSinceEpoch();
    return true;
}

FileGridEntry ServerListingEntries::entryFromRecord(const QString &record)
{
    const ListingEntry listed = ListingEntry::parse(record);
    FileGridEntry entry;
    entry.kind = listed.kind;
    entry.name = listed.listedName();
    const QString typeKey = entry.kind == EntryKind::File
                                ? (entry.name.contains(u'.') ? entry.name.mid(entry.name.lastIndexOf(u'.')) : QString())
                                : QString(ListingEntry::kindChar(entry.kind));
    auto it = m_types.constFind(typeKey);
    if (it == m_types.constEnd())
        it = m_types.insert(typeKey, FileTypeText(entry.kind, entry.name, m_language));
    entry.typeText = *it;

    const QString &sizeField = listed.sizeText;
    QString digits = FormatSizeDots(sizeField, false);
    digits.remove(u'.');
    bool ok = false;
    entry.size = digits.toLongLong(&ok);
    if (!ok)
        entry.size = 0;
    bool plain = ok && !sizeField.isEmpty();
    for (QChar c : sizeField)
        plain = plain && c.isDigit();
    if (!plain)
        entry.rawSize = FormatSizeDots(sizeField, true);

    entry.hasDate = listed.date.isValid();
    if (entry.hasDate)
        entry.dateMs = listed.date.toMSecsSinceEpoch();
    entry.utcDate = true;
    if (!entry.hasDate)
        entry.rawDate = listed.dateText.trimmed();
    entry.permissions = shared(m_texts, listed.permissions);
    entry.owner = shared(m_texts, listed.owner);
    return entry;
}

ServerListingEntries::Result ServerListingEntries::convert(const QStringList &records)
{
    Result result;
    result.rows.reserve(size_t(records.size()));
    for (const QString &record : records) {
        FileGridEntry entry = entryFromRecord(record);
        if (entry.name.isEmpty())
            continue; // a blank line is no entry
        if (entry.kind == FileGridEntry::Folder)
            ++result.summary.folders;
        else if (entry.kind == FileGridEntry::File)
            ++result.summary.files;
        result.summary.totalSize += entry.size;
        result.rows.push_back(std::move(entry));
    }
    return result;
}

} // namespace Velmora
