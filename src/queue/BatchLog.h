#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace Velmora {

// "Lastbatchjob.log": one line per finished batch job, nine fields separated by "|": start
// date, start time, end time, folder of the queue file (with a trailing "/"), its file name,
// the switch, the host, the queue's total size in kB and the number of its "RETR" and "STOR"
// records.
class BatchLog {
public:
    static inline const QString FileName = QStringLiteral("Lastbatchjob.log");
    static constexpr int FieldCount = 9;

    explicit BatchLog(QString path);

    const QString &path() const { return m_path; }

    // The line of one job. Dates as the grids show them ("dd.mm.yyyy" on a German system,
    // "mm/dd/yyyy" otherwise), times "hh:mm:ss".
    static QString lineFor(const QDateTime &start, const QDateTime &end, bool germanDates, const QString &queueFile,
                           const QString &mode, const QString &host, qint64 totalBytes, int files);

    // Appends one line to the file (read, add, written back whole). False when it cannot be written.
    bool append(const QString &line) const;
    QStringList lines() const;
    // Rewrites the file empty.
    bool clear() const;

    // The viewer's rows: words 1 to 9 of every line by "|". Empty fields make no word, so a
    // line with an empty host shows the following fields one column to the left.
    static QList<QStringList> viewerRows(const QStringList &lines);

private:
    QString m_path;
};

} // namespace Velmora
