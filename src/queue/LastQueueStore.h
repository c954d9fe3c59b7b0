#pragma once

#include <QFile>
#include <QHash>
#include <QString>

namespace Velmora {

class QueueTableModel;

// Keeps "lastqueue.ini" equal to the queue grid, so a program that ends at any moment (killed,
// crashed, power switch aside) leaves exactly the rows not yet done, plus at most the row whose
// record was running.
//
// A full rewrite after every record would make a run quadratic in the queue's length. Instead
// the file is written whole when the grid is filled or edited, and a row the run has carried out
// is blanked in place: its bytes become spaces, one small write, and the queue-file reader skips
// lines that hold only blanks. Each row's line is one write of its own length, so the file is
// never half-changed by one step. When the blank lines outnumber the rows, and at the end of a
// run, the file is written whole again without them.
class LastQueueStore {
public:
    explicit LastQueueStore(QString path);

    const QString &path() const { return m_path; }

    // Writes every row of the grid; an empty grid writes an empty file.
    bool save(const QueueTableModel &model);
    // The row with this id has left the grid.
    bool rowRemoved(quint64 id, const QueueTableModel &model);
    // Writes the file whole when it holds blanked lines.
    bool compact(const QueueTableModel &model);

    qsizetype blankLines() const { return m_blankLines; }

    // Blanked lines beyond this many, and more of them than rows, make the next removal compact.
    static constexpr qsizetype CompactThreshold = 4096;

private:
    struct Span {
        qint64 offset;
        qint64 length;
    };

    QString m_path;
    QHash<quint64, Span> m_spans;
    QFile m_file;
    qsizetype m_blankLines = 0;
};

} // namespace Velmora
