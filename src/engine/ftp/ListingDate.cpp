#include "ListingDate.h"

#include "ListingLine.h"

#include <QStringList>

namespace Velmora {

namespace {

int number(QStringView text, bool *ok)
{
    return text.toInt(ok);
}

// "10:30", "9:05", "10:30AM", "10:30PM"; false when it is none of these.
bool parseTimeOfDay(QStringView text, QTime *time)
{
    int colon = int(text.indexOf(u':'));
    if (colon <= 0)
        return false;
    QStringView rest = text.mid(colon + 1);
    int pm = -1; // -1: 24-hour clock, 0 AM, 1 PM
    if (rest.endsWith(u"AM", Qt::CaseInsensitive) || rest.endsWith(u"PM", Qt::CaseInsensitive)) {
        pm = rest.endsWith(u"PM", Qt::CaseInsensitive) ? 1 : 0;
        rest.chop(2);
    }
    bool okHour = false;
    bool okMinute = false;
    int hour = number(text.left(colon), &okHour);
    const int minute = number(rest, &okMinute);
    if (!okHour || !okMinute || rest.size() != 2)
        return false;
    if (pm >= 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = (hour % 12) + (pm == 1 ? 12 : 0);
    }
    const QTime t(hour, minute);
    if (!t.isValid())
        return false;
    *time = t;
    return true;
}

QDateTime parseMsDos(QStringView line)
{
    const ListingColumns c = SplitListingLine(line);
    const QStringView date = c.column[0];
    bool ok1 = false;
    bool ok2 = false;
    bool ok3 = false;
    const int month = number(date.mid(0, 2), &ok1);
    const int day = number(date.mid(3, 2), &ok2);
    const QStringView yearText = date.mid(6);
    int year = number(yearText, &ok3);
    if (!ok1 || !ok2 || !ok3 || (yearText.size() != 2 && yearText.size() != 4))
        return {};
    if (yearText.size() == 2)
        year += year < 70 ? 2000 : 1900;
    const QDate d(year, month, day);
    if (!d.isValid())
        return {};
    QTime time(0, 0);
    parseTimeOfDay(c.column[1], &time);
    return QDateTime(d, time, Qt::UTC);
}

} // namespace

QDateTime ParseListingDate(QStringView line, const QDate &today)
{
    if (IsMsDosLine(line))
        return parseMsDos(line);
    const ListingColumns c = SplitListingLine(line);
    const QString monthText = ListingMonth(c.column[5]);
    if (monthText.isEmpty())
        return {};
    const int month = monthText.toInt();
    bool okDay = false;
    const int day = number(c.column[6], &okDay);
    if (!okDay)
        return {};
    const QStringView last = c.column[7];
    if (last.contains(u':')) {
        QTime time;
        if (!parseTimeOfDay(last, &time))
            return {};
        const int year = month > today.month() ? today.year() - 1 : today.year();
        const QDate d(year, month, day);
        return d.isValid() ? QDateTime(d, time, Qt::UTC) : QDateTime();
    }
    bool okYear = false;
    const int year = number(last, &okYear);
    if (!okYear || last.size() != 4)
        return {};
    const QDate d(year, month, day);
    return d.isValid() ? QDateTime(d, QTime(0, 0), Qt::UTC) : QDateTime();
}

QString RecordDateText(const QDate &date)
{
    if (!date.isValid() || date.year() < 1000 || date.year() > 9999)
        return date.toString(u"dd.MM.yyyy");
    // Written by hand: this runs once per listed entry, and format strings are slow.
    const int y = date.year();
    const char16_t text[10] = {char16_t(u'0' + date.day() / 10), char16_t(u'0' + date.day() % 10), u'.',
                               char16_t(u'0' + date.month() / 10), char16_t(u'0' + date.month() % 10), u'.',
                               char16_t(u'0' + y / 1000), char16_t(u'0' + y / 100 % 10), char16_t(u'0' + y / 10 % 10),
                               char16_t(u'0' + y % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 10);
}

QString FallbackEntryDate(QStringView day, const QString &month, const QString &todayText)
{
    const QStringList parts = todayText.split(u'.');
    bool ok[3] = {false, false, false};
    int todayDay = 0;
    int todayMonth = 0;
    QString yearText;
    if (parts.size() >= 3) {
        todayDay = parts[0].trimmed().toInt(&ok[0]);
        todayMonth = parts[1].trimmed().toInt(&ok[1]);
        yearText = parts[2].trimmed();
        yearText.toInt(&ok[2]);
    }
    if (!ok[0] || !ok[1] || !ok[2])
        return day.toString() + u'.' + month + u".2010";
    if (yearText.size() == 2)
        yearText.prepend(u"20");
    int year = yearText.toInt();
    const int entry = month.toInt() * 100 + day.toInt();
    if (entry >= todayMonth * 100 + todayDay)
        --year;
    return day.toString() + u'.' + month + u'.' + QString::number(year);
}

} // namespace Velmora
