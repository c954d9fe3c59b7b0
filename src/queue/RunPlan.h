#pragma once

#include "QueueRow.h"

#include "common/QueueRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Velmora {

// An unattended job's part of a run: the queue file of the command line and its switch, for
// the batch log line the run writes when it ends.
struct BatchRunInfo {
    QString queueFile;
    QString switchText; // "-r", "-rc" or "-rs"
    QDateTime start;    // when the job started (before it connected); invalid: when the run did
};

// One run of the queue: what it carries out and how. Nothing else hands records to the runner.
struct RunPlan {
    // The records in the order they run; blank ones get no row and do not run.
    QStringList records;
    // false: the rows are only added to the grid (automatic running off).
    bool autoRun = true;
    // Single operations leave the rows the grid already has; a queue run replaces them.
    bool keepRows = false;
    // Existing targets are overwritten without the question (files the user opens or sends
    // back himself); the queue's own overwrite setting comes back after the run.
    bool overwriteWithoutQuestion = false;
    // The queue texts above the grid stay after the run (transfers), or are emptied
    // (the working copies of a search).
    bool keepQueueTexts = true;
    // Grid rows that cannot become records: they stay in the grid (and in "lastqueue.ini")
    // after the records' rows and count as records that did not succeed.
    QList<QueueRow> rowsNotRun;
    // Set for an unattended job: the run writes its line to the batch log.
    std::optional<BatchRunInfo> batch;
};

// What a run achieved.
struct RunResult {
    int records = 0;   // records it was to carry out (rows that could not run included)
    int succeeded = 0; // records carried out successfully
    bool ran = false;  // false when it only showed the rows or could not start
    // One line for each record or row that was not done: its file and the reason.
    QStringList failures;
    QList<QueueRecord> succeededRecords; // the records carried out successfully, as they ended
    bool allSucceeded() const { return succeeded == records; }
    int failed() const { return records - succeeded; }
};

} // namespace Velmora
