#include "ServerListingEntries.h"

#include "common/SizeText.h"
#include "common/Word.h"

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
    const QStringList parts = text.simplified().split(u' ');
    if (parts.isEmpty() || parts.size() > 2)
        return false;
    const QStringList day = parts[0].split(u'.');
    if (day.size() != 3)
        return false;
    bool ok[3] = {};
    const QDate date(day[2].toInt(&ok[2]), day[1].toInt(&ok[1]), day[0].toInt(&ok[0]));
    if (!ok[0] || !ok[1] || !ok[2] || !date.isValid())
        return false;
    QTime time(0, 0);
    if (parts.size() == 2) {
        const QStringList clock = parts[1].split(u':');
        if (clock.size() < 2 || clock.size() > 3)
            return false;
        bool h = false, m = false, s = true;
        const int hour = clock[0].toInt(&h);
        const int minute = clock[1].toInt(&m);
        const int second = clock.size() == 3 ? clock[2].toInt(&s) : 0;
        time = QTime(hour, minute, second);
        if (!h || !m || !s || !time.isValid())
            return false;
    }
    *msecs = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    return true;
}

FileGridEntry ServerListingEntries::entryFromRecord(const QString &record)
{
    FileGridEntry entry;
    const QString type = Word(1, record, u"|");
    entry.kind = type == u"0" ? FileGridEntry::Folder : type == u"2" ? FileGridEntry::Link : FileGridEntry::File;
    entry.name = Word(2, record, u"|");
    const QString typeKey = entry.kind == FileGridEntry::File
                                ? (entry.name.contains(u'.') ? entry.name.mid(entry.name.lastIndexOf(u'.')) : QString())
                                : QString(QChar(u'0' + entry.kind));
    auto it = m_types.constFind(typeKey);
    if (it == m_types.constEnd())
        it = m_types.insert(typeKey, FileTypeText(entry.kind, entry.name, m_language));
    entry.typeText = *it;

    const QString sizeField = Word(3, record, u"|").trimmed();
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

    const QString dateField = Word(4, record, u"|");
    entry.hasDate = parseRecordDate(dateField, &entry.dateMs);
    entry.utcDate = true;
    if (!entry.hasDate)
        entry.rawDate = dateField.trimmed();
    entry.permissions = shared(m_texts, Word(5, record, u"|"));
    entry.owner = shared(m_texts, Word(6, record, u"|"));
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
