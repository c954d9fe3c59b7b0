#include "TrafficChartsWidget.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>

namespace Velmora {

namespace {

const QColor LightGreen(162, 239, 175);

QLabel *makeLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void addSlice(QPieSeries *series, int value, const QColor &colour)
{
    QPieSlice *slice = series->append(QStringLiteral("Bar 2"), value);
    slice->setColor(colour);
    slice->setBorderColor(Qt::darkGray);
}

} // namespace

TrafficChartsWidget::TrafficChartsWidget(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TrafficChartsWidget"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(12, 6, 12, 6);
    m_trafficLabel = makeLabel(this, "TrafficChartsLabel");
    m_fileSizeLabel = makeLabel(this, "FileSizeChartLabel");
    m_filesLabel = makeLabel(this, "NoOfFilesChartLabel");
    m_operationsLabel = makeLabel(this, "NoOfOperationsChartLabel");

    QChartView *trafficView = makeView("TrafficChart");
    m_traffic = new QLineSeries(trafficView->chart());
    m_traffic->setObjectName(QStringLiteral("Series1"));
    m_traffic->setColor(LightGreen.darker(130));
    trafficView->chart()->addSeries(m_traffic);
    m_trafficX = new QValueAxis(trafficView->chart());
    m_trafficY = new QValueAxis(trafficView->chart());
    m_trafficX->setLabelFormat(QStringLiteral("%d"));
    m_trafficY->setLabelFormat(QStringLiteral("%d"));
    trafficView->chart()->addAxis(m_trafficX, Qt::AlignBottom);
    trafficView->chart()->addAxis(m_trafficY, Qt::AlignLeft);
    m_traffic->attachAxis(m_trafficX);
    m_traffic->attachAxis(m_trafficY);

    QChartView *sizeView = makeView("FileSizeChart");
    m_cumulative = new QLineSeries(sizeView->chart());
    m_area = new QAreaSeries(m_cumulative);
    m_area->setObjectName(QStringLiteral("AreaSeries1"));
    m_area->setColor(LightGreen);
    m_area->setBorderColor(LightGreen.darker(130));
    sizeView->chart()->addSeries(m_area);
    m_areaX = new QValueAxis(sizeView->chart());
    m_areaY = new QValueAxis(sizeView->chart());
    m_areaX->setLabelFormat(QStringLiteral("%d"));
    m_areaY->setLabelFormat(QStringLiteral("%d"));
    sizeView->chart()->addAxis(m_areaX, Qt::AlignBottom);
    sizeView->chart()->addAxis(m_areaY, Qt::AlignLeft);
    m_area->attachAxis(m_areaX);
    m_area->attachAxis(m_areaY);

    QChartView *filesView = makeView("NoOfFilesChart");
    m_filesPie = new QPieSeries(filesView->chart());
    m_filesPie->setObjectName(QStringLiteral("PieSeries2"));
    filesView->chart()->addSeries(m_filesPie);
    QChartView *recordsView = makeView("NoOfOperationsChart");
    m_recordsPie = new QPieSeries(recordsView->chart());
    m_recordsPie->setObjectName(QStringLiteral("PieSeries1"));
    recordsView->chart()->addSeries(m_recordsPie);

    grid->addWidget(m_trafficLabel, 0, 0);
    grid->addWidget(m_fileSizeLabel, 0, 1);
    grid->addWidget(trafficView, 1, 0);
    grid->addWidget(sizeView, 1, 1);
    grid->addWidget(m_filesLabel, 2, 0);
    grid->addWidget(m_operationsLabel, 2, 1);
    grid->addWidget(filesView, 3, 0);
    grid->addWidget(recordsView, 3, 1);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(3, 1);
    clearTraffic();
}

QChartView *TrafficChartsWidget::makeView(const char *name)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    auto *view = new QChartView(chart, this);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(160, 100);
    return view;
}

void TrafficChartsWidget::clearTraffic()
{
    m_traffic->clear();
    m_cumulative->clear();
    m_trafficMax = 4;
    m_areaMax = 1;
    m_trafficX->setRange(0, VisiblePoints);
    m_trafficY->setRange(0, double(m_trafficMax));
    m_areaX->setRange(0, VisiblePoints);
    m_areaY->setRange(0, double(m_areaMax));
}

void TrafficChartsWidget::addTrafficPoint(qint64 label, qint64 rate, qint64 cumulativeKB)
{
    m_traffic->append(double(label), double(rate));
    m_cumulative->append(double(label), double(cumulativeKB));
    // Only the newest points are kept: a run of hours adds ten points a second.
    if (m_traffic->count() > VisiblePoints) {
        m_traffic->removePoints(0, m_traffic->count() - VisiblePoints);
        m_cumulative->removePoints(0, m_cumulative->count() - VisiblePoints);
    }
    m_trafficMax = std::max(m_trafficMax, rate + 1);
    m_areaMax = std::max(m_areaMax, cumulativeKB + 1);
    const double first = m_traffic->at(0).x();
    const double last = std::max(first + VisiblePoints, double(label));
    m_trafficX->setRange(first, last);
    m_areaX->setRange(first, last);
    m_trafficY->setRange(0, double(m_trafficMax));
    m_areaY->setRange(0, double(m_areaMax));
}

void TrafficChartsWidget::setPies(int filesLeft, int filesDone, int recordsLeft, int recordsDone)
{
    // The pies change after every record: their two slices are made once and then only change
    // their values (new slices would cost new chart items each time).
    const auto fill = [](QPieSeries *series, int first, const QColor &firstColour, int second, const QColor &secondColour) {
        if (series->count() != 2) {
            series->clear();
            addSlice(series, first, firstColour);
            addSlice(series, second, secondColour);
            return;
        }
        series->slices()[0]->setValue(first);
        series->slices()[1]->setValue(second);
    };
    fill(m_filesPie, filesLeft, Qt::white, filesDone, LightGreen);
    fill(m_recordsPie, recordsLeft, LightGreen, recordsDone, Qt::white);
}

void TrafficChartsWidget::clearPies()
{
    m_filesPie->clear();
    m_recordsPie->clear();
}

} // namespace Velmora
