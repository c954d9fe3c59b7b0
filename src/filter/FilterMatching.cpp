#include "FilterMatching.h"

#include "common/Word.h"

#include <cstring>

namespace Velmora {

namespace {

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

// Whether needle occurs in text. The texts here are short (names, paths, dates) and the words
// few, so a plain scan for the first character beats a general search's set-up.
bool occurs(QStringView text, QStringView needle)
{
    const qsizetype n = needle.size();
    const qsizetype last = text.size() - n;
    const char16_t first = needle[0].unicode();
    const QChar *data = text.data();
    for (qsizetype i = 0; i <= last; ++i) {
        if (data[i].unicode() == first
            && std::memcmp(data + i + 1, needle.data() + 1, size_t(n - 1) * sizeof(QChar)) == 0)
            return true;
    }
    return false;
}

QStringView pad2(QStringView text, QChar *buffer)
{
    if (text.size() >= 2)
        return text;
    buffer[0] = u'0';
    buffer[1] = text.isEmpty() ? QChar(u'0') : text[0];
    return QStringView(buffer, 2);
}

} // namespace

void LowerAsciiInto(QStringView text, QString &out)
{
    const qsizetype length = text.size();
    const QChar *in = text.data();
    if (out.constData() != in)
        out.resize(length);
    QChar *data = out.data();
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = in[i].unicode();
        data[i] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c);
    }
}

QString LowerAscii(QStringView text)
{
    QString result;
    LowerAsciiInto(text, result);
    return result;
}

FilterWords::FilterWords(QStringView list)
{
    for (const QString &word : Words(list, u"|")) {
        const QString trimmed = word.trimmed();
        if (trimmed.isEmpty())
            continue;
        m_words.append(trimmed);
        m_days.append(ReadDay(trimmed));
        m_namesDays = m_namesDays || m_days.last().isValid();
    }
}

bool FilterWords::anyMatchesDate(QStringView lowerDate) const
{
    const QDate recordDay = m_namesDays ? ReadDay(lowerDate) : QDate();
    for (qsizetype i = 0; i < m_words.size(); ++i) {
        if (m_days[i].isValid() ? m_days[i] == recordDay : occurs(lowerDate, m_words[i]))
            return true;
    }
    return false;
}

bool FilterWords::anyOccursIn(QStringView lowerText) const
{
    for (const QString &word : m_words) {
        if (occurs(lowerText, word))
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
    const QStringView day = WordView(text, 1, u' ').trimmed();
    QChar separator;
    for (QChar candidate : {QChar(u'.'), QChar(u'/'), QChar(u'-')}) {
        if (day.contains(candidate)) {
            separator = candidate;
            break;
        }
    }
    if (separator.isNull())
        return {};
    QStringView parts[4];
    if (SplitWords(day, separator, parts, 4) != 3)
        return {};
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
    const QDate filterDay = ReadDay(WordView(filterDate, 1, u'|'));
    const QDate recordDay = ReadDay(recordDate);
    if (!filterDay.isValid() || !recordDay.isValid())
        return false;
    return comparison == DateComparison::SinceOrOn ? recordDay >= filterDay : recordDay < filterDay;
}

QList<qint64> SizeLimits(QStringView list)
{
    QList<qint64> limits;
    for (const QString &word : Words(list, u"|")) {
        bool ok = false;
        const qint64 limit = word.trimmed().toLongLong(&ok);
        if (!ok)
            break;
        limits.append(limit);
    }
    return limits;
}

bool SizeMatchesLimits(const QList<qint64> &limits, qint64 size, SizeComparison comparison)
{
    for (qint64 limit : limits) {
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
    const qint64 size = recordSize.trimmed().toLongLong(&ok);
    return ok && SizeMatchesLimits(SizeLimits(list), size, comparison);
}

void NormaliseDateInto(QStringView text, QString &out)
{
    QStringView words[2];
    SplitWords(text, u' ', words, 2);
    const QStringView dateWord = words[0];
    QChar separator;
    if (dateWord.contains(u'.'))
        separator = u'.';
    else if (dateWord.contains(u'/'))
        separator = u'/';
    if (separator.isNull()) {
        out.resize(0);
        out.append(text);
        return;
    }
    QStringView parts[3];
    SplitWords(dateWord, separator, parts, 3);
    QChar dayBuffer[2];
    QChar monthBuffer[2];
    out.resize(0); // keeps the memory for the next record
    out.append(pad2(parts[0], dayBuffer)).append(separator).append(pad2(parts[1], monthBuffer)).append(separator);
    out.append(parts[2]).append(u' ').append(words[1]);
}

QString NormaliseDate(QStringView text)
{
    QString result;
    NormaliseDateInto(text, result);
    return result;
}

} // namespace Velmora
