#include "FileGridEntry.h"

#include "common/Language.h"

#include <QDateTime>

namespace Velmora {

QString FileGridEntry::ownName() const
{
    return ListingEntry::ownName(name, kind).toString();
}

FileGridEntry FileGridEntry::parentRow()
{
    FileGridEntry entry;
    entry.name = QStringLiteral("..");
    entry.kind = Folder;
    entry.isParent = true;
    entry.hasDate = true;
    entry.dateMs = QDateTime::currentMSecsSinceEpoch();
    return entry;
}

QString FileTypeText(EntryKind kind, const QString &name, const Language *language)
{
    if (kind == FileGridEntry::Folder)
        return language ? language->text(QStringLiteral("Directory"), QStringLiteral("Ordner")) : QStringLiteral("Directory");
    if (kind == FileGridEntry::Link)
        return QStringLiteral("Link");
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return QStringLiteral("Datei");
    QString text = QStringView(name).mid(dot).toString().toUpper() + QStringLiteral("-Datei");
    text.remove(u'.');
    return text;
}

} // namespace Velmora
