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
    const QChar *data = text.data();
    const qsizetype length = text.size();
    qsizetype i = 0;
    int found = 0;
    while (i < length && found < max) {
        while (i < length && data[i] == delimiter)
            ++i;
        if (i >= length)
            break;
        const qsizetype start = i;
        while (i < length && data[i] != delimiter)
            ++i;
        words[found++] = QStringView(data + start, i - start);
    }
    return found;
}

QStringView WordView(QStringView text, int n, QChar delimiter)
{
    const QChar *data = text.data();
    const qsizetype length = text.size();
    qsizetype i = 0;
    int index = 0;
    while (i < length) {
        while (i < length && data[i] == delimiter)
            ++i;
        if (i >= length)
            break;
        const qsizetype start = i;
        while (i < length && data[i] != delimiter)
            ++i;
        if (++index == n)
            return QStringView(data + start, i - start);
    }
    return {};
}

} // namespace Velmora
