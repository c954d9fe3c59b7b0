#include "SelectionLine.h"

#include "common/ListingEntry.h"

namespace Velmora {

QString SelectionLine::text() const
{
    QString line = QString::number(int(kind)) + u'|' + name + u'|' + size + u'|' + date;
    if (server)
        line += u'|' + permissions + u'|' + owner;
    return line;
}

QString SelectionLine::realName() const
{
    return ListingEntry::ownName(name, kind).toString();
}

qint64 SelectionLine::bytes() const
{
    bool ok = false;
    const qint64 value = size.toLongLong(&ok);
    return ok && value > 0 ? value : 0;
}

QString SelectionLine::sizeField(const QString &cellText)
{
    QString field = cellText.trimmed();
    field.remove(u'.');
    return field;
}

} // namespace Velmora
