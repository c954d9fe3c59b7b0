#pragma once

#include "ReplaceJob.h"
#include "SearchEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Velmora {

// What a run tells the search window while it goes on.
class SearchReplaceObserver {
public:
    virtual ~SearchReplaceObserver() = default;
    // After every entry: a percentage such as "42%"; the empty text after the last entry.
    virtual void progressChanged(const QString &text) = 0;
    // After each file of the operations that read files (0, 2 to 5): the window processes
    // pending events here, so it stays responsive and typing can start a nested search.
    virtual void fileFinished() = 0;
};

// Applies one operation, or only searches, over the working copies of a result list. It never
// touches the user's own files or the server, and keeps no state between runs.
class SearchReplaceEngine {
public:
    explicit SearchReplaceEngine(SearchReplaceObserver *observer = nullptr);

    // Runs over all entries in list order. With write off only the marks are computed and no
    // file is written. anyFileWritten is set as soon as a file has been written (and never
    // cleared). Throws SearchReplaceError when a working copy cannot be read or written; the
    // entries handled before keep their marks and changes.
    void RunSearchReplace(ReplaceJob job, QList<SearchEntry> &entries, bool write, bool &anyFileWritten);

    // The result of one operation over the lines of one file: hit tells whether the term was
    // found (operations 0, 2, 3) or always true (1, 4, 5); lines is the text to write. unfit:
    // the file is Windows-1252 and a text of the job has no byte there, so nothing was done.
    struct Edit {
        bool hit = false;
        bool unfit = false;
        QList<QByteArray> lines;
    };
    // The lines carry their own line ends (ByteLines::SplitKeepingEnds): a changed line keeps
    // its end, inserted lines end with lineEnd, and joining the result changes no byte that
    // was not matched. The job's texts are written in the file's encoding: UTF-8 for a UTF-8
    // file; in a Windows-1252 file as single bytes, except in lines written in UTF-8 (a file
    // that mixes both), which get UTF-8.
    static Edit EditLines(const ReplaceJob &job, QList<QByteArray> lines, bool utf8File,
                          const QByteArray &lineEnd = QByteArrayLiteral("\r\n"));
    // Whether the term is found in the file's text (operations 0, 2, 3), without building the
    // output: the search-only run that follows every key press.
    static bool FindsTerm(const ReplaceJob &job, const QByteArray &fileBytes);
    // Every text the job writes or searches for has a Windows-1252 byte per character.
    static bool FitsWindows1252(const ReplaceJob &job);

    // The integer nearest to 100 * index / count, halves to the even neighbour, and "%".
    static QString ProgressText(qsizetype index, qsizetype count);

private:
    void runEntry(const ReplaceJob &job, bool fitsWindows1252, SearchEntry &entry, bool write, bool &anyFileWritten);
    void report(const QString &progress);
    void pumpEvents();

    SearchReplaceObserver *m_observer;
};

} // namespace Velmora
