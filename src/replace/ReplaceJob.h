#pragma once

#include "ReplaceMode.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

// The parameters of one search-and-replace run, taken from the search window when the run
// starts. Terms and lines are text as the user typed it: each file gets them in its own
// encoding (UTF-8, or Windows-1252 where they fit), never with a character lost.
struct ReplaceJob {
    ReplaceMode mode = ReplaceMode::ReplaceTerm;
    QString term;                   // operations 0, 2, 3
    QString replacement;            // operation 0
    bool replaceWholeLine = false;  // operation 0
    QStringList termLines;          // operations 2, 3: inserted after or before each matching line
    QStringList edgeLines;          // operations 4, 5: inserted at the beginning or end of each file
    QString sourceFile;             // operation 1: the file that replaces every selected file

    // The texts the operation writes or searches for (the term, the replacement, the lines).
    QStringList textsInUse() const
    {
        switch (mode) {
        case ReplaceMode::ReplaceTerm: return {term, replacement};
        case ReplaceMode::InsertAfterTerm:
        case ReplaceMode::InsertBeforeTerm: return QStringList{term} + termLines;
        case ReplaceMode::InsertAtBeginning:
        case ReplaceMode::InsertAtEnd: return edgeLines;
        case ReplaceMode::ReplaceFile: break;
        }
        return {};
    }

    // The lines typed into a box of lines to insert. The last line break of the box ends its
    // last line; it starts no extra empty line.
    static QStringList LinesOfBox(const QString &text)
    {
        if (text.isEmpty())
            return {};
        QStringList lines = text.split(u'\n');
        if (text.endsWith(u'\n'))
            lines.removeLast();
        return lines;
    }
};

} // namespace Velmora
