#pragma once

#include <QString>

namespace Velmora {

// Where a queue run shows its progress: the progress panel with its two bars and texts, the
// queue bar's two texts and the charts panel. The main window implements it; tests record it.
class QueueProgressView {
public:
    virtual ~QueueProgressView() = default;

    virtual void setProgressPanelVisible(bool visible) = 0;
    virtual void setBytesText(const QString &text) = 0;
    // ProgressBar2: the bytes of the current transfer (64-bit; the bar scales them).
    virtual void setByteBar(qint64 maximum, qint64 position) = 0;
    // ProgressBar1 (0 to 100) and the totals panel.
    virtual void setOverallProgress(int percent, const QString &totalsText) = 0;
    virtual void setQueueInfoText(const QString &text) = 0;
    virtual void setQueueSizeText(const QString &text) = 0;

    // The charts panel is shown before a transfer (its "Close charts window" button hidden)
    // and hidden by single operations.
    virtual void showCharts() = 0;
    virtual void hideCharts() = 0;
    // Series1 and AreaSeries1.
    virtual void clearTrafficSeries() = 0;
    virtual void addTrafficPoint(qint64 label, qint64 rate, qint64 cumulativeKB) = 0;
    // PieSeries2 (files) and PieSeries1 (records): what remains and what is done.
    virtual void setPies(int filesLeft, int filesDone, int recordsLeft, int recordsDone) = 0;
    virtual void clearPies() = 0;
    virtual void setTrafficLabel(const QString &text) = 0;
    virtual void setFileSizeLabel(const QString &text) = 0;
    virtual void setFilesLabel(const QString &text) = 0;
    virtual void setOperationsLabel(const QString &text) = 0;
};

// A view that shows nothing (a run without a window, and the benchmarks).
class NullQueueProgressView : public QueueProgressView {
public:
    void setProgressPanelVisible(bool) override {}
    void setBytesText(const QString &) override {}
    void setByteBar(qint64, qint64) override {}
    void setOverallProgress(int, const QString &) override {}
    void setQueueInfoText(const QString &) override {}
    void setQueueSizeText(const QString &) override {}
    void showCharts() override {}
    void hideCharts() override {}
    void clearTrafficSeries() override {}
    void addTrafficPoint(qint64, qint64, qint64) override {}
    void setPies(int, int, int, int) override {}
    void clearPies() override {}
    void setTrafficLabel(const QString &) override {}
    void setFileSizeLabel(const QString &) override {}
    void setFilesLabel(const QString &) override {}
    void setOperationsLabel(const QString &) override {}
};

} // namespace Velmora
