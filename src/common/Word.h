#pragma once

#include <QString>
#include <QStringList>

// The word rule every reader of records, rows and lines uses: word n (counted from 1) is the
// n-th maximal run of characters that are not delimiters. Runs of delimiters separate two words
// but never produce an empty word, so an empty field cannot be addressed by its number.
namespace Velmora {

QString Word(int n, QStringView text, QStringView delimiters);
int WordCount(QStringView text, QStringView delimiters);
QStringList Words(QStringView text, QStringView delimiters);

// The word rule for one delimiter, without copying: puts up to max words of text into words
// (views into text) and returns how many it found.
int SplitWords(QStringView text, QChar delimiter, QStringView *words, int max);
// Word n (from 1) of text by one delimiter, as a view; empty when there is no such word.
QStringView WordView(QStringView text, int n, QChar delimiter);

} // namespace Velmora
