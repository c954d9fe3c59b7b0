#include "SftpListing.h"

#include "engine/ftp/ListingDate.h"

namespace Velmora {

QString SftpListing::PermissionText(SftpEntry::Kind kind, int mode)
{
    if (mode < 0)
        return {};
    QString text(10, u'-');
    switch (kind) {
    case SftpEntry::Kind::Folder: text[0] = u'd'; break;
    case SftpEntry::Kind::Link: text[0] = u'l'; break;
    default: break;
    }
    static constexpr char16_t Letters[3] = {u'r', u'w', u'x'};
    for (int bit = 0; bit < 9; ++bit) {
        if (mode & (0400 >> bit))
            text[1 + bit] = Letters[bit % 3];
    }
    // Set-user-ID, set-group-ID and sticky show in the executable places.
    const auto special = [&text, mode](int flag, int place, QChar withX, QChar withoutX) {
        if (mode & flag)
            text[place] = text[place] == u'x' ? withX : withoutX;
    };
    special(04000, 3, u's', u'S');
    special(02000, 6, u's', u'S');
    special(01000, 9, u't', u'T');
    return text;
}

ListingEntry SftpListing::Entry(const SftpEntry &entry)
{
    ListingEntry out;
    switch (entry.kind) {
    case SftpEntry::Kind::Folder: out.kind = EntryKind::Folder; break;
    case SftpEntry::Kind::Link: out.kind = EntryKind::Link; break;
    default: out.kind = EntryKind::File; break;
    }
    out.name = entry.name;
    if (out.kind == EntryKind::Link)
        out.linkTarget = entry.linkTarget;
    out.size = out.kind == EntryKind::Folder ? 0 : qMax<qint64>(entry.size, 0);
    out.sizeText = QString::number(out.size);
    if (entry.modified.isValid()) {
        const QDateTime utc = entry.modified.toUTC();
        const QTime time = utc.time();
        out.date = QDateTime(utc.date(), QTime(time.hour(), time.minute()), Qt::UTC);
        out.dateText = RecordDateText(utc.date()) + u' ' + utc.toString(u"hh:mm");
    }
    out.permissions = PermissionText(entry.kind, entry.permissions);
    return out;
}

} // namespace Velmora
