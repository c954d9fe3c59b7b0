#include "Word.h"

namespace Velmora {

namespace {

template <typename Visit>
void forEachWord(QStringView text, QStringView delimiters, Visit visit)
{
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length) {
        while (i < length && delimiters.contains(text[i]))
            ++i;
        if (i >= length)
            break;
        const qsizetype start = i;
        while (i < length && !delimiters.contains(text[i]))
            ++i;
        if (!visit(text.mid(start, i - start)))
            return;
    }
}

// The word that starts at or after position i, which then stands behind it; false when no word
// is left. The readers that go over many records use this one, so it stays a plain loop.
inline bool nextWord(QStringView text, QChar delimiter, qsizetype &i, QStringView &word)
{
    const QChar *data = text.data();
    const qsizetype length = text.size();
    while (i < length && data[i] == delimiter)
        ++i;
    if (i >= length)
        return false;
    const qsizetype start = i;
    while (i < length && data[i] != delimiter)
        ++i;
    word = QStringView(data + start, i - start);
    return true;
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
    qsizetype i = 0;
    int found = 0;
    QStringView word;
    while (found < max && nextWord(text, delimiter, i, word))
        words[found++] = word;
    return found;
}

QStringView WordView(QStringView text, int n, QChar delimiter)
{
    qsizetype i = 0;
    QStringView word;
    for (int index = 1; nextWord(text, delimiter, i, word); ++index) {
        if (index == n)
            return word;
    }
    return {};
}

} // namespace Velmora
