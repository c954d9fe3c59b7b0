#pragma once

#include "ReplaceMode.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

// The parameters of one search-and-replace run, taken from the search window when the run
// starts. Terms and lines are 8-bit text: the window encodes what the user typed as
// Windows-1252, so an umlaut is one byte here.
struct ReplaceJob {
    ReplaceMode mode = ReplaceMode::ReplaceTerm;
    QByteArray term;                // operations 0, 2, 3
    QByteArray replacement;         // operation 0
    bool replaceWholeLine = false;  // operation 0
    QList<QByteArray> termLines;    // operations 2, 3: inserted after or before each matching line
    QList<QByteArray> edgeLines;    // operations 4, 5: inserted at the beginning or end of each file
    QString sourceFile;             // operation 1: the file that replaces every selected file

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
