#pragma once

#include <QWidget>

class QAreaSeries;
class QChartView;
class QLabel;
class QLineSeries;
class QPieSeries;
class QValueAxis;

namespace Velmora {

// The content of the charts panel, two by two: the traffic line ("Series1"), the cumulative
// transferred kB ("AreaSeries1"), the files pie ("PieSeries2") and the records pie
// ("PieSeries1"), each under its label.
class TrafficChartsWidget : public QWidget {
    Q_OBJECT
public:
    explicit TrafficChartsWidget(QWidget *parent = nullptr);

    void clearTraffic();
    void addTrafficPoint(qint64 label, qint64 rate, qint64 cumulativeKB);
    void setPies(int filesLeft, int filesDone, int recordsLeft, int recordsDone);
    void clearPies();

    QLabel *trafficLabel() const { return m_trafficLabel; }
    QLabel *fileSizeLabel() const { return m_fileSizeLabel; }
    QLabel *filesLabel() const { return m_filesLabel; }
    QLabel *operationsLabel() const { return m_operationsLabel; }
    QLineSeries *trafficSeries() const { return m_traffic; }
    QLineSeries *cumulativeLine() const { return m_cumulative; }
    QAreaSeries *areaSeries() const { return m_area; }
    QPieSeries *recordsPie() const { return m_recordsPie; }
    QPieSeries *filesPie() const { return m_filesPie; }

    // The line and area keep this many of the newest points.
    static constexpr int VisiblePoints = 300;

private:
    QChartView *makeView(const char *name);

    QLabel *m_trafficLabel;
    QLabel *m_fileSizeLabel;
    QLabel *m_filesLabel;
    QLabel *m_operationsLabel;
    QLineSeries *m_traffic;
    QLineSeries *m_cumulative;
    QAreaSeries *m_area;
    QPieSeries *m_recordsPie;
    QPieSeries *m_filesPie;
    QValueAxis *m_trafficX = nullptr;
    QValueAxis *m_trafficY = nullptr;
    QValueAxis *m_areaX = nullptr;
    QValueAxis *m_areaY = nullptr;
    qint64 m_trafficMax = 4;
    qint64 m_areaMax = 1;
};

} // namespace Velmora
