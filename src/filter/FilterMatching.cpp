#include "FilterMatching.h"

#include "common/Word.h"

namespace Velmora {

namespace {

// Word 1 of text by one delimiter, as a view: leading delimiters are skipped.
QStringView firstWord(QStringView text, QChar delimiter)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == delimiter)
        ++start;
    qsizetype end = start;
    while (end < text.size() && text[end] != delimiter)
        ++end;
    return text.mid(start, end - start);
}

// A number written only with the digits 0-9, one to maxDigits of them; -1 otherwise.
int digits(QStringView text, qsizetype maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return -1;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

int fullYear(QStringView text)
{
    if (text.size() == 2) {
        const int year = digits(text, 2);
        return year < 0 ? -1 : (year < 50 ? 2000 + year : 1900 + year);
    }
    return text.size() == 4 ? digits(text, 4) : -1;
}

} // namespace

QString LowerAscii(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        out[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c);
    }
    return result;
}

FilterWords::FilterWords(QStringView list)
{
    for (const QString &word : Words(list, u"|")) {
        const QString trimmed = word.trimmed();
        if (!trimmed.isEmpty())
            m_words.append(trimmed);
    }
}

bool FilterWords::anyOccursIn(QStringView lowerText) const
{
    for (const QString &word : m_words) {
        if (lowerText.contains(word))
            return true;
    }
    return false;
}

bool ContainsAny(QStringView list, QStringView text)
{
    return FilterWords(list).anyOccursIn(LowerAscii(text));
}

bool ContainsNone(QStringView list, QStringView text)
{
    return !ContainsAny(list, text);
}

QDate ReadDay(QStringView text)
{
    const QStringView day = firstWord(text.trimmed(), u' ').trimmed();
    QChar separator;
    for (QChar candidate : {QChar(u'.'), QChar(u'/'), QChar(u'-')}) {
        if (day.contains(candidate)) {
            separator = candidate;
            break;
        }
    }
    if (separator.isNull())
        return {};
    const QString delimiter(separator);
    if (WordCount(day, delimiter) != 3)
        return {};
    const QString parts[3] = {Word(1, day, delimiter), Word(2, day, delimiter), Word(3, day, delimiter)};
    int d = 0;
    int m = 0;
    int y = 0;
    if (separator == u'.') {
        d = digits(parts[0], 2);
        m = digits(parts[1], 2);
        y = fullYear(parts[2]);
    } else if (separator == u'/') {
        m = digits(parts[0], 2);
        d = digits(parts[1], 2);
        y = fullYear(parts[2]);
    } else {
        y = parts[0].size() == 4 ? digits(parts[0], 4) : -1;
        m = digits(parts[1], 2);
        d = digits(parts[2], 2);
    }
    if (d < 0 || m < 0 || y < 0)
        return {};
    return QDate(y, m, d); // invalid for a day that does not exist (31.02., month 13, ...)
}

bool DateMatches(QStringView filterDate, QStringView recordDate, DateComparison comparison)
{
    const QDate filterDay = ReadDay(firstWord(filterDate, u'|'));
    const QDate recordDay = ReadDay(recordDate);
    if (!filterDay.isValid() || !recordDay.isValid())
        return false;
    return comparison == DateComparison::SinceOrOn ? recordDay >= filterDay : recordDay < filterDay;
}

QList<qint32> SizeLimits(QStringView list)
{
    QList<qint32> limits;
    for (const QString &word : Words(list, u"|")) {
        bool ok = false;
        const qint32 limit = word.trimmed().toInt(&ok);
        if (!ok)
            break;
        limits.append(limit);
    }
    return limits;
}

bool SizeMatchesLimits(const QList<qint32> &limits, qint32 size, SizeComparison comparison)
{
    for (qint32 limit : limits) {
        switch (comparison) {
        case SizeComparison::Less:
            if (size < limit)
                return true;
            break;
        case SizeComparison::GreaterOrEqual:
            if (size >= limit)
                return true;
            break;
        case SizeComparison::Equal:
            if (size == limit)
                return true;
            break;
        }
    }
    return false;
}

bool SizeMatches(QStringView list, QStringView recordSize, SizeComparison comparison)
{
    bool ok = false;
    const qint32 size = recordSize.trimmed().toInt(&ok);
    return ok && SizeMatchesLimits(SizeLimits(list), size, comparison);
}

QString NormaliseDate(QStringView text)
{
    const QString dateWord = Word(1, text, u" ");
    QString separator;
    if (dateWord.contains(u'.'))
        separator = QStringLiteral(".");
    else if (dateWord.contains(u'/'))
        separator = QStringLiteral("/");
    else
        return text.toString();
    const QString timeWord = Word(2, text, u" ");
    return Word(1, dateWord, separator).rightJustified(2, u'0') + separator
        + Word(2, dateWord, separator).rightJustified(2, u'0') + separator + Word(3, dateWord, separator) + u' '
        + timeWord;
}

} // namespace Velmora
