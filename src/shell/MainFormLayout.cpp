#include "MainFormLayout.h"

#include "MainForm.h"

#include "app/AppContext.h"
#include "app/DesignState.h"
#include "app/ProtocolLog.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QPushButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QTableView>
#include <QToolButton>

namespace Velmora {

MainFormLayout::MainFormLayout(AppContext &context, MainForm &main)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_w(main.layoutControls())
{
    const LayoutControls &w = m_w;
    connect(w.protocolButton, &QToolButton::clicked, this, &MainFormLayout::switchProtocolWindow);
    connect(w.protocolViewAction, &QAction::triggered, this, &MainFormLayout::switchProtocolWindow);
    connect(w.navigationButton, &QToolButton::clicked, this, &MainFormLayout::switchNavigation);
    connect(w.navigationViewAction, &QAction::triggered, this, &MainFormLayout::switchNavigation);
    connect(w.queueWindowButton, &QToolButton::clicked, this, &MainFormLayout::switchQueueWindow);
    connect(w.queueViewAction, &QAction::triggered, this, &MainFormLayout::switchQueueWindow);
    connect(w.filterWindowButton, &QToolButton::clicked, this, &MainFormLayout::switchFilterWindow);
    connect(w.filterViewAction, &QAction::triggered, this, &MainFormLayout::switchFilterWindow);
    connect(&main, &MainForm::closingCleanupStarted, this, &MainFormLayout::SaveLayout);
    w.chartsPanel->installEventFilter(this);
    w.closeChartsButton->installEventFilter(this);
    w.abortTransferButton->installEventFilter(this);

    // The grid heights the user drags are the ones the next run starts with.
    connect(w.topSplitter, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = m_w.topSplitter->sizes();
        if (!m_w.protocolGrid->isHidden() && sizes.value(0) > 0)
            m_protocolHeight = sizes.value(0);
    });
    connect(w.queueSplitter, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = m_w.queueSplitter->sizes();
        if (!m_w.queueGrid->isHidden() && sizes.value(1) > 0)
            m_queueHeight = sizes.value(1);
    });
}

QString MainFormLayout::filePath() const
{
    return m_context.folders.appDataFile(WindowPositions::FileName);
}

void MainFormLayout::LoadLayout()
{
    QStringList damaged;
    const WindowPositions positions = WindowPositions::read(filePath(), &damaged);
    if (!damaged.isEmpty()) {
        m_context.protocol.AddProtocolMessage(
            ProtocolEntry::Error, m_context.text(QStringLiteral("Layout file damaged, defaults used for "),
                                               QStringLiteral("Layoutdatei beschädigt, Standardwerte für "))
                                    + damaged.join(QStringLiteral(", ")) + QStringLiteral(": ") + filePath());
    }
    apply(positions);
    m_context.design.setName(positions.design);
}

void MainFormLayout::SaveLayout()
{
    current().write(filePath());
}

WindowPositions MainFormLayout::current() const
{
    const LayoutControls &w = m_w;
    WindowPositions positions;
    positions.protocolGrid = !w.protocolGrid->isHidden();
    positions.localButtonsPanel = !w.localButtonsPanel->isHidden();
    positions.serverButtonsPanel = !w.serverButtonsPanel->isHidden();
    positions.queueGrid = !w.queueGrid->isHidden();
    positions.queuePanel = !w.queuePanel->isHidden();
    positions.queueSplitter = m_queueSplitterVisible;
    positions.filterPanel = !w.filterPanel->isHidden();
    positions.protocolHeight = m_protocolHeight;
    positions.queueHeight = m_queueHeight;
    // The grids' shown heights count when the window is up; before that the remembered ones.
    if (m_main.isVisible()) {
        if (positions.protocolGrid && w.protocolGrid->height() > 0)
            positions.protocolHeight = std::max(w.protocolGrid->height(), WindowPositions::MinimumProtocolHeight);
        if (positions.queueGrid && w.queueGrid->height() > 0)
            positions.queueHeight = w.queueGrid->height();
    }
    positions.design = m_context.design.name();
    return positions;
}

void MainFormLayout::apply(const WindowPositions &positions)
{
    const LayoutControls &w = m_w;
    w.protocolGrid->setVisible(positions.protocolGrid);
    w.localButtonsPanel->setVisible(positions.localButtonsPanel);
    w.serverButtonsPanel->setVisible(positions.serverButtonsPanel);
    w.queueGrid->setVisible(positions.queueGrid);
    w.queuePanel->setVisible(positions.queuePanel);
    m_queueSplitterVisible = positions.queueSplitter;
    w.filterPanel->setVisible(positions.filterPanel);
    setProtocolHeight(std::max(positions.protocolHeight, WindowPositions::MinimumProtocolHeight));
    setQueueHeight(positions.queueHeight);
    updateQueueSplitter();
    updateCheckMarks();
}

bool MainFormLayout::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::LayoutRequest:
        placeChartsButtons();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void MainFormLayout::placeChartsButtons()
{
    const LayoutControls &w = m_w;
    const int right = w.chartsPanel->width() - ChartsRightMargin;
    for (QPushButton *button : {w.abortTransferButton, w.closeChartsButton}) {
        const QSize size = button->sizeHint();
        button->setGeometry(right - size.width(), ChartsButtonTop, size.width(), size.height());
        button->raise();
    }
}

void MainFormLayout::setProtocolHeight(int height)
{
    m_protocolHeight = height;
    QSplitter *splitter = m_w.topSplitter;
    const int total = std::max(splitter->height(), height + 400);
    splitter->setSizes({height, total - height});
}

void MainFormLayout::setQueueHeight(int height)
{
    m_queueHeight = height;
    QSplitter *splitter = m_w.queueSplitter;
    const int total = std::max(splitter->height(), height + 400);
    splitter->setSizes({total - height, height});
}

void MainFormLayout::updateQueueSplitter()
{
    // The splitter's handle stands between the panes and the queue grid; without the grid it
    // has nothing to move.
    const LayoutControls &w = m_w;
    if (QSplitterHandle *handle = w.queueSplitter->handle(1))
        handle->setVisible(m_queueSplitterVisible && !w.queueGrid->isHidden());
}

void MainFormLayout::updateCheckMarks()
{
    const LayoutControls &w = m_w;
    w.protocolViewAction->setChecked(!w.protocolGrid->isHidden());
    w.navigationViewAction->setChecked(!w.localButtonsPanel->isHidden());
    w.queueViewAction->setChecked(!w.queueGrid->isHidden());
    w.filterViewAction->setChecked(!w.filterPanel->isHidden());
}

void MainFormLayout::switchProtocolWindow()
{
    const LayoutControls &w = m_w;
    const bool show = w.protocolGrid->isHidden();
    if (!show)
        m_protocolHeight = std::max(w.protocolGrid->height(), WindowPositions::MinimumProtocolHeight);
    w.protocolGrid->setVisible(show);
    if (show)
        setProtocolHeight(m_protocolHeight);
    updateCheckMarks();
}

void MainFormLayout::switchNavigation()
{
    // Each bar is inverted on its own; the check mark follows the local one.
    const LayoutControls &w = m_w;
    w.localButtonsPanel->setVisible(w.localButtonsPanel->isHidden());
    w.serverButtonsPanel->setVisible(w.serverButtonsPanel->isHidden());
    updateCheckMarks();
}

void MainFormLayout::switchQueueWindow()
{
    const LayoutControls &w = m_w;
    const bool showGrid = w.queueGrid->isHidden();
    if (!showGrid && w.queueGrid->height() > 0)
        m_queueHeight = w.queueGrid->height();
    w.queueGrid->setVisible(showGrid);
    w.queuePanel->setVisible(w.queuePanel->isHidden());
    m_queueSplitterVisible = !m_queueSplitterVisible;
    if (showGrid)
        setQueueHeight(m_queueHeight);
    updateQueueSplitter();
    updateCheckMarks();
}

void MainFormLayout::switchFilterWindow()
{
    const LayoutControls &w = m_w;
    w.filterPanel->setVisible(w.filterPanel->isHidden());
    updateCheckMarks();
}

} // namespace Velmora
