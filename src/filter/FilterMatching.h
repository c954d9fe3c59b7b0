#pragma once

#include "common/Word.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

// The text tests of the transfer filter. Every comparison ignores case for the ASCII letters A
// to Z only; other letters (umlauts, ...) compare exactly. Words are found with the word rule:
// runs of "|" separate them and produce no empty word.
namespace Velmora {

// text with A-Z turned into a-z and every other character kept.
QString LowerAscii(QStringView text);
// The same into out, whose memory is reused (for loops over many records).
void LowerAsciiInto(QStringView text, QString &out);

// The words of a "|" list, each trimmed, without those that are empty or only blanks: a word made
// only of blanks never occurs anywhere. A list is split once per evaluation, not once per record.
class FilterWords {
public:
    FilterWords() = default;
    explicit FilterWords(QStringView list);

    // Whether some word occurs in lowerText (already lower-cased by LowerAscii). Plain substring
    // tests: "*" and "?" are ordinary characters.
    bool anyOccursIn(QStringView lowerText) const;
    // Whether some word matches a record's date text (normalised, lower-cased): a word that
    // names a calendar day ("12/11/2026" as the grid shows it in English, "11.12.2026" in German,
    // "2026-12-11") matches the records of that day whichever form wrote them; any other word
    // ("2026", "10:30") is looked for in the text.
    bool anyMatchesDate(QStringView lowerDate) const;
    bool isEmpty() const { return m_words.isEmpty(); }

private:
    QList<QString> m_words;
    QList<QDate> m_days; // per word: the day it names, or invalid
    bool m_namesDays = false;
};

// Yes when some trimmed, non-empty word of list occurs in text lower-cased. The caller lower-cases
// list.
bool ContainsAny(QStringView list, QStringView text);
// Yes when no trimmed word of list occurs in text lower-cased; yes for an empty list.
bool ContainsNone(QStringView list, QStringView text);

// The calendar day a date text names, read by its separator: "20.05.2010" day.month.year (the
// records' own form and the German one), "05/20/2010" month/day/year (the other date form the
// program writes), "2010-05-20" year-month-day. A two-digit year means 1950 to 2049. Anything
// after the first blank (a time) is ignored. Invalid when the text names no day.
QDate ReadDay(QStringView text);

enum class DateComparison { SinceOrOn, Before }; // "Date since" (>=), "Date before" (<)

// Compares the days only, never the times: filterDate's first word by "|", then by " ", against
// recordDate's first word by " ". False when either cannot be read as a day.
bool DateMatches(QStringView filterDate, QStringView recordDate, DateComparison comparison);

enum class SizeComparison { Less, GreaterOrEqual, Equal }; // "Size less ", "Size greater or equal", "Size equal"

// The limits of a size list: its words read as 64-bit integers, up to the first word that is
// not one (the test ends there).
QList<qint64> SizeLimits(QStringView list);
// Whether size compares true with any of the limits.
bool SizeMatchesLimits(const QList<qint64> &limits, qint64 size, SizeComparison comparison);
// recordSize read as a 64-bit integer (false when it is not one), compared with each limit of list.
bool SizeMatches(QStringView list, QStringView recordSize, SizeComparison comparison);

// "5.7.2010 9:03" -> "05.07.2010 9:03": day and month padded to two digits, for "." or "/" dates;
// anything after the time is dropped and a date without time gets a trailing blank. Other texts
// are returned unchanged.
QString NormaliseDate(QStringView text);
// The same into out, whose memory is reused; text must not point into out.
void NormaliseDateInto(QStringView text, QString &out);

} // namespace Velmora
