#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

// "Lastbatchjob.log": one line per finished batch job, nine fields separated by "|": start
// date, start time, end time, folder of the queue file (with a trailing "/"), its file name,
// the switch, the host, the queue's total size in kB and the number of its "RETR" and "STOR"
// records. A tenth field, after these, says how the job ended ("exit status 3"): readers of the
// nine fields see the line as before, and a failed job no longer looks like a success. Lines of
// older versions have no tenth field.
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
    // Adds the job's exit status to the last line, when that line is the job's (the same queue
    // folder, file and switch) and has none yet. False when there is no such line or the file
    // cannot be written.
    bool recordExitStatus(const QString &queueFile, const QString &mode, int exitStatus) const;

    // The tenth field for an exit status, and the status a line records (none: older lines).
    static QString exitStatusField(int exitStatus);
    static std::optional<int> exitStatusOf(const QString &line);

    // The viewer's rows: words 1 to 9 of the nine fields of every line by "|". Empty fields make
    // no word, so a line with an empty host shows the following fields one column to the left.
    static QList<QStringList> viewerRows(const QStringList &lines);

private:
    QString m_path;
};

} // namespace Velmora
