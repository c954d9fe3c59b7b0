#pragma once

#include <QString>

#include <array>
#include <functional>

namespace Velmora {

// The figures behind the progress bars, the traffic chart and the pie charts. Plain integer
// arithmetic fed by the FTP client's work events, the traffic ticks and the queue run.
class TransferStatistics {
public:
    // Traffic figures.
    qint64 tickCounter = 0;
    std::array<qint64, 5> samples{}; // the last five per-tick amounts in kB, oldest first
    qint64 pendingBytes = 0;         // announced at work begin, not yet counted by a tick
    qint64 cumulativeBytes = 0;      // every announced size (the area chart)
    qint64 bytesSeen = 0;            // count of the last work event of the current transfer
    qint64 bytesAtLastTick = 0;
    bool workSeen = false;
    qint64 expectedSize = -1; // the current transfer's size; below 1 means unknown

    // The byte bar of the current transfer.
    qint64 barMaximum = 100;
    qint64 barPosition = 0;

    // Run figures.
    int recordsInQueue = 0;
    int recordsDone = 0;
    int filesInQueue = 0;
    int filesDone = 0;
    int directoriesMade = 0;
    qint64 totalBytesAtStart = 0;
    qint64 bytesToGo = 0;

    // Work begin with the client's expected count (0 when it does not know).
    void workBegan(qint64 expectedCount);
    // Work with the bytes so far; returns the bytes panel text.
    QString workProgressed(qint64 bytes);
    // Several transfers at once: one of them begins (its size goes to the area chart), and all
    // of them together have moved totalBytes in this run (the traffic line, the byte bar and the
    // bytes text follow the run's total).
    void sessionWorkBegan(qint64 expectedCount);
    QString sessionsProgressed(qint64 totalBytes);
    void workEnded();

    struct Tick {
        qint64 label = 0;        // the tick counter: the x label of the points
        qint64 rate = 0;         // mean kB per 100 ms tick over the last six amounts
        qint64 cumulativeKB = 1; // the area chart's value, at least 1
    };
    // One traffic tick. random gives a whole number from 0 to 4; it replaces amounts of 1 kB
    // or less, so an idle line never lies flat.
    Tick tick(const std::function<int()> &random);

    // The start of a run. reset: "Reset charts at queue starting" (the traffic history starts
    // again); otherwise the tick counter jumps one, leaving a gap on the x axis.
    void startRun(bool reset, int records, int files, qint64 totalBytes);
    // Before every record.
    void beforeRecord();

    int percent() const;

    // The texts of the bytes panel and the four chart labels, after their prefixes.
    static QString bytesText(qint64 bytes, qint64 expected, int percent);
    static QString trafficText(const QString &prefix, qint64 rate);
    QString fileSizeText(const QString &prefix) const;
    QString filesText(const QString &prefix) const;
    QString operationsText(const QString &prefix) const;
};

} // namespace Velmora
