#include "Word.h"

namespace Velmora {

namespace {

// Calls visit with each word in turn until it returns false.
template <typename IsDelimiter, typename Visit>
void forEachWord(QStringView text, IsDelimiter isDelimiter, Visit visit)
{
    const QChar *data = text.data();
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length) {
        while (i < length && isDelimiter(data[i]))
            ++i;
        if (i >= length)
            break;
        const qsizetype start = i;
        while (i < length && !isDelimiter(data[i]))
            ++i;
        if (!visit(QStringView(data + start, i - start)))
            return;
    }
}

template <typename Visit>
void forEachWord(QStringView text, QStringView delimiters, Visit visit)
{
    forEachWord(text, [delimiters](QChar c) { return delimiters.contains(c); }, visit);
}

template <typename Visit>
void forEachWord(QStringView text, QChar delimiter, Visit visit)
{
    forEachWord(text, [delimiter](QChar c) { return c == delimiter; }, visit);
}

} // namespace

QString Word(int n, QStringView text, QStringView delimiters)
{
    if (n < 1)
        return {};
    QString result;
    int index = 0;
    forEachWord(text, delimiters, [&](QStringView word) {
        if (++index == n) {
            result = word.toString();
            return false;
        }
        return true;
    });
    return result;
}

int WordCount(QStringView text, QStringView delimiters)
{
    int count = 0;
    forEachWord(text, delimiters, [&](QStringView) {
        ++count;
        return true;
    });
    return count;
}

QStringList Words(QStringView text, QStringView delimiters)
{
    QStringList words;
    forEachWord(text, delimiters, [&](QStringView word) {
        words.append(word.toString());
        return true;
    });
    return words;
}

int SplitWords(QStringView text, QChar delimiter, QStringView *words, int max)
{
    int found = 0;
    if (max < 1)
        return found;
    forEachWord(text, delimiter, [&](QStringView word) {
        words[found++] = word;
        return found < max;
    });
    return found;
}

QStringView WordView(QStringView text, int n, QChar delimiter)
{
    QStringView result;
    int index = 0;
    forEachWord(text, delimiter, [&](QStringView word) {
        if (++index == n) {
            result = word;
            return false;
        }
        return true;
    });
    return result;
}

} // namespace Velmora
