#include "TransferStatistics.h"

#include "common/SizeText.h"

#include <algorithm>
#include <numeric>

namespace Velmora {

void TransferStatistics::workBegan(qint64 expectedCount)
{
    if (expectedCount > 0) {
        barMaximum = expectedCount;
        // The area chart counts every transfer, uploads (whose size the client announces)
        // included; the ticks measure them from their work events.
        cumulativeBytes += expectedCount;
    } else if (expectedSize > 0) {
        pendingBytes += expectedSize;
        cumulativeBytes += expectedSize;
        barMaximum = expectedSize;
    }
    barPosition = 0;
}

QString TransferStatistics::workProgressed(qint64 bytes)
{
    barPosition = std::min(bytes, barMaximum);
    if (expectedSize < 1)
        return QStringLiteral("Bytes: -");
    workSeen = true;
    bytesSeen = bytes;
    return bytesText(bytes, expectedSize, percent());
}

void TransferStatistics::sessionWorkBegan(qint64 expectedCount)
{
    if (expectedCount > 0)
        cumulativeBytes += expectedCount;
}

QString TransferStatistics::sessionsProgressed(qint64 totalBytes)
{
    workSeen = true;
    bytesSeen = totalBytes;
    barMaximum = std::max<qint64>(totalBytesAtStart, 1);
    barPosition = std::min(totalBytes, barMaximum);
    return bytesText(totalBytes, totalBytesAtStart, percent());
}

void TransferStatistics::workEnded()
{
    barMaximum = 100;
    barPosition = 100;
    if (workSeen)
        pendingBytes = 0;
}

int TransferStatistics::percent() const
{
    if (barMaximum <= 0)
        return 0;
    return int((barPosition * 200 + barMaximum) / (barMaximum * 2)); // rounded
}

TransferStatistics::Tick TransferStatistics::tick(const std::function<int()> &random)
{
    ++tickCounter;
    qint64 amount = 0;
    if (workSeen) {
        amount = (bytesSeen - bytesAtLastTick) / 1024;
        bytesAtLastTick = bytesSeen;
    } else {
        amount = pendingBytes / 1024;
        pendingBytes = 0;
    }
    if (amount <= 1)
        amount = random();
    const qint64 sum = std::accumulate(samples.begin(), samples.end(), qint64(0));
    Tick t;
    t.label = tickCounter;
    t.rate = (sum + amount) / 6;
    for (size_t i = 0; i + 1 < samples.size(); ++i)
        samples[i] = samples[i + 1];
    samples.back() = amount;
    t.cumulativeKB = cumulativeBytes / 1024;
    if (t.cumulativeKB == 0)
        t.cumulativeKB = 1;
    return t;
}

void TransferStatistics::startRun(bool reset, int records, int files, qint64 totalBytes)
{
    filesDone = 0;
    recordsDone = 0;
    recordsInQueue = records;
    filesInQueue = files;
    totalBytesAtStart = totalBytes;
    bytesToGo = totalBytes;
    if (reset) {
        tickCounter = 0;
        pendingBytes = 0;
        samples.fill(0);
        cumulativeBytes = 0;
        directoriesMade = 0;
    } else {
        ++tickCounter;
    }
}

void TransferStatistics::beforeRecord()
{
    workSeen = false;
    bytesAtLastTick = 0;
    expectedSize = -1;
}

QString TransferStatistics::bytesText(qint64 bytes, qint64 expected, int percent)
{
    return QStringLiteral("Bytes: ") + FormatSizeDots(QString::number(bytes), false) + QStringLiteral(" / ")
        + FormatSizeDots(QString::number(expected), false) + QStringLiteral("   (") + QString::number(percent)
        + QStringLiteral("%)");
}

QString TransferStatistics::trafficText(const QString &prefix, qint64 rate)
{
    return prefix + u' ' + QString::number(rate) + QStringLiteral(" (kB/s)");
}

QString TransferStatistics::fileSizeText(const QString &prefix) const
{
    return prefix + u' ' + FormatSizeKB(QString::number(totalBytesAtStart - bytesToGo)) + QStringLiteral(" / ")
        + FormatSizeKB(QString::number(totalBytesAtStart));
}

QString TransferStatistics::filesText(const QString &prefix) const
{
    return prefix + u' ' + QString::number(filesDone) + QStringLiteral(" / ") + QString::number(filesInQueue);
}

QString TransferStatistics::operationsText(const QString &prefix) const
{
    return prefix + u' ' + QString::number(recordsInQueue - recordsDone);
}

} // namespace Velmora
