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

} // namespace Velmora
