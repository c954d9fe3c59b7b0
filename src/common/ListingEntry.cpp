#include "ListingEntry.h"

#include "RecordText.h"
#include "Word.h"

#include <QStringList>

namespace Velmora {

namespace {

constexpr QChar Bar = RecordText::FieldSeparator;

} // namespace

QStringView ListingEntry::ownName(QStringView listedName, EntryKind kind)
{
    const qsizetype arrow = kind == EntryKind::Link ? listedName.indexOf(LinkArrow) : -1;
    return arrow < 0 ? listedName : listedName.left(arrow);
}

QStringView ListingEntry::linkTargetOf(QStringView listedName, EntryKind kind)
{
    const qsizetype arrow = kind == EntryKind::Link ? listedName.indexOf(LinkArrow) : -1;
    return arrow < 0 ? QStringView() : listedName.mid(arrow + LinkArrow.size());
}

EntryKind ListingEntry::kindOf(QStringView field)
{
    const QStringView kind = field.trimmed();
    if (kind == u"0")
        return EntryKind::Folder;
    if (kind == u"2")
        return EntryKind::Link;
    return EntryKind::File;
}

QString ListingEntry::listedName() const
{
    return kind == EntryKind::Link && !linkTarget.isEmpty() ? name + LinkArrow + linkTarget : name;
}

QString ListingEntry::format() const
{
    return kindChar(kind) + Bar + listedName() + Bar + sizeText + Bar + dateText + Bar + permissions + Bar + owner;
}

ListingEntry ListingEntry::parse(QStringView record)
{
    QStringView words[6];
    SplitWords(record, Bar, words, 6);
    ListingEntry entry;
    entry.kind = kindOf(words[0]);
    entry.name = ownName(words[1], entry.kind).toString();
    entry.linkTarget = linkTargetOf(words[1], entry.kind).toString();
    entry.sizeText = words[2].trimmed().toString();
    bool ok = false;
    entry.size = entry.sizeText.toLongLong(&ok);
    if (!ok)
        entry.size = 0;
    entry.dateText = words[3].toString();
    entry.date = readDate(entry.dateText);
    entry.permissions = words[4].toString();
    entry.owner = words[5].toString();
    return entry;
}

ListingEntry::Fields ListingEntry::fieldsOf(QStringView record)
{
    QStringView words[4];
    SplitWords(record, Bar, words, 4);
    return {words[0], words[1], words[2], words[3]};
}

QDateTime ListingEntry::readDate(QStringView text)
{
    const QStringList parts = text.toString().simplified().split(u' ');
    if (parts.isEmpty() || parts.size() > 2)
        return {};
    const QStringList day = parts[0].split(u'.');
    if (day.size() != 3)
        return {};
    bool ok[3] = {};
    const QDate date(day[2].toInt(&ok[2]), day[1].toInt(&ok[1]), day[0].toInt(&ok[0]));
    if (!ok[0] || !ok[1] || !ok[2] || !date.isValid())
        return {};
    QTime time(0, 0);
    if (parts.size() == 2) {
        const QStringList clock = parts[1].split(u':');
        if (clock.size() < 2 || clock.size() > 3)
            return {};
        bool h = false, m = false, s = true;
        const int hour = clock[0].toInt(&h);
        const int minute = clock[1].toInt(&m);
        const int second = clock.size() == 3 ? clock[2].toInt(&s) : 0;
        time = QTime(hour, minute, second);
        if (!h || !m || !s || !time.isValid())
            return {};
    }
    return QDateTime(date, time, Qt::UTC);
}

} // namespace Velmora
