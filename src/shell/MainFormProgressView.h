#pragma once

#include "ProgressControls.h"

#include "queue/QueueProgressView.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace Velmora {

class TrafficChartsWidget;

// The main window's progress panel, queue bar texts and charts panel as a queue run sees them.
// The charts panel takes the place of the file panes while it is shown.
class MainFormProgressView : public QObject, public QueueProgressView {
    Q_OBJECT
public:
    MainFormProgressView(const ProgressControls &controls, TrafficChartsWidget &charts, QObject *parent = nullptr);

    void setProgressPanelVisible(bool visible) override;
    void setBytesText(const QString &text) override;
    void setByteBar(qint64 maximum, qint64 position) override;
    void setOverallProgress(int percent, const QString &totalsText) override;
    void setQueueInfoText(const QString &text) override;
    void setQueueSizeText(const QString &text) override;
    void showCharts() override;
    void hideCharts() override;
    void clearTrafficSeries() override;
    void addTrafficPoint(qint64 label, qint64 rate, qint64 cumulativeKB) override;
    void setPies(int filesLeft, int filesDone, int recordsLeft, int recordsDone) override;
    void clearPies() override;
    void setTrafficLabel(const QString &text) override;
    void setFileSizeLabel(const QString &text) override;
    void setFilesLabel(const QString &text) override;
    void setOperationsLabel(const QString &text) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ProgressControls m_w;
    TrafficChartsWidget &m_charts;
    QPointer<QWidget> m_chartsHolder; // the charts panel with its close panel
    QPointer<QWidget> m_panes;        // the file panes the charts take the place of
};

} // namespace Velmora
