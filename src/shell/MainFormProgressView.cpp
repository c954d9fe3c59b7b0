#include "MainFormProgressView.h"

#include "queue/TrafficChartsWidget.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>

#include <limits>

namespace Velmora {

MainFormProgressView::MainFormProgressView(const ProgressControls &controls, TrafficChartsWidget &charts, QObject *parent)
    : QObject(parent)
    , m_w(controls)
    , m_charts(charts)
{
    const ProgressControls &w = m_w;
    w.progressBar1->setRange(0, 100);
    m_chartsHolder = w.chartsPanel->parentWidget();
    m_panes = w.gridSplitter;
    // Whoever hides the charts (the idle state, "Close charts window") gives the panes back.
    m_chartsHolder->installEventFilter(this);
}

bool MainFormProgressView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched == m_chartsHolder && m_panes)
        m_panes->show();
    return QObject::eventFilter(watched, event);
}

void MainFormProgressView::setProgressPanelVisible(bool visible)
{
    m_w.progressPanel->setVisible(visible);
}

void MainFormProgressView::setBytesText(const QString &text)
{
    m_w.bytesPanel->setText(text);
}

void MainFormProgressView::setByteBar(qint64 maximum, qint64 position)
{
    // The bar counts in int: sizes of 2 GiB and more are shown in kB (or larger) steps.
    while (maximum > std::numeric_limits<int>::max()) {
        maximum >>= 10;
        position >>= 10;
    }
    QProgressBar *bar = m_w.progressBar2;
    bar->setRange(0, int(std::max<qint64>(maximum, 1)));
    bar->setValue(int(std::clamp<qint64>(position, 0, maximum)));
}

void MainFormProgressView::setOverallProgress(int percent, const QString &totalsText)
{
    m_w.progressBar1->setValue(percent);
    m_w.totalsPanel->setText(totalsText);
}

void MainFormProgressView::setQueueInfoText(const QString &text)
{
    m_w.queueInfoPanel->setText(text);
}

void MainFormProgressView::setQueueSizeText(const QString &text)
{
    m_w.queueSizePanel->setText(text);
}

void MainFormProgressView::showCharts()
{
    const ProgressControls &w = m_w;
    w.closeChartsButton->hide();
    w.chartsClosePanel->hide();
    w.chartsPanel->show();
    w.chartsPanel->parentWidget()->show();
    w.gridSplitter->hide();
}

void MainFormProgressView::hideCharts()
{
    const ProgressControls &w = m_w;
    w.chartsPanel->hide();
    w.chartsClosePanel->hide();
    w.closeChartsButton->hide();
    w.chartsPanel->parentWidget()->hide();
    w.gridSplitter->show();
}

void MainFormProgressView::clearTrafficSeries()
{
    m_charts.clearTraffic();
}

void MainFormProgressView::addTrafficPoint(qint64 label, qint64 rate, qint64 cumulativeKB)
{
    m_charts.addTrafficPoint(label, rate, cumulativeKB);
}

void MainFormProgressView::setPies(int filesLeft, int filesDone, int recordsLeft, int recordsDone)
{
    m_charts.setPies(filesLeft, filesDone, recordsLeft, recordsDone);
}

void MainFormProgressView::clearPies()
{
    m_charts.clearPies();
}

void MainFormProgressView::setTrafficLabel(const QString &text)
{
    m_charts.trafficLabel()->setText(text);
}

void MainFormProgressView::setFileSizeLabel(const QString &text)
{
    m_charts.fileSizeLabel()->setText(text);
}

void MainFormProgressView::setFilesLabel(const QString &text)
{
    m_charts.filesLabel()->setText(text);
}

void MainFormProgressView::setOperationsLabel(const QString &text)
{
    m_charts.operationsLabel()->setText(text);
}

} // namespace Velmora
