#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Velmora {

// The inputs of the multi rename tool; they keep their values for the whole program run.
struct RenamePatternInputs {
    QString namePattern = QStringLiteral("[N]");      // "[N]", "[C]", "[DATE]", "[TIME]"
    QString extensionPattern = QStringLiteral("[E]"); // "[E]", "[C]"
    QString search;      // replaced in the built name when not empty
    QString replacement;
    qint64 start = 1;    // the first file's counter
    qint64 step = 1;     // added after each file; may be 0 or negative
    int digits = 1;      // minimum width of the counter text, 1 to 10
};

// The counter left-padded with "0" to the number of digits; a longer number is not cut, and a
// negative one keeps its sign in front of the padded digits.
QString CounterText(qint64 counter, int digits);
// A date or time text with every ".", ":", "/" and "-" removed, as "[DATE]" and "[TIME]" use it.
QString StripDateSeparators(QString text);
// The platform's short date and long time texts of a moment, without separators.
QString RenameDateText(const QDateTime &now);
QString RenameTimeText(const QDateTime &now);

// The new name of one file: the name pattern with "[N]" (the old name without its final
// extension), then "[C]", "[DATE]" and "[TIME]" replaced, followed by the extension pattern
// with "[E]" (the final extension with its dot, empty without one) and then "[C]" replaced;
// finally every occurrence of the search text replaced when it is not empty. Every replacement
// is case-sensitive and works on the result of the one before.
QString ApplyPattern(const QString &oldName, qint64 counter, const QString &dateText, const QString &timeText,
                     const RenamePatternInputs &inputs);

// The new names of files in order: the counter starts at the start value and grows by the step
// after each file.
QStringList PreviewNames(const QStringList &oldNames, const RenamePatternInputs &inputs, const QString &dateText,
                         const QString &timeText);

} // namespace Velmora
