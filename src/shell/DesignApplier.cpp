#include "DesignApplier.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>

namespace Velmora {

DesignApplier::DesignApplier(const DesignAreas &areas, QMenuBar &menuBar, QString programFolder, QObject *parent)
    : QObject(parent)
    , m_w(areas)
    , m_menuBar(menuBar)
    , m_programFolder(std::move(programFolder))
{
    // The filter panel shows the design's picture only while the transfer filter is off; the
    // "on" look belongs to the filter switch.
    connect(m_w.filterOnOffButton, &QPushButton::toggled, this, [this] { m_w.filterPanel->update(); });
}

DesignApplier::MenuStyle DesignApplier::menuStyleFor(const QString &designName)
{
    if (designName == QStringLiteral("Office2003Silver") || designName == QStringLiteral("Aluminium"))
        return MenuStyle::Silver;
    if (designName == QStringLiteral("Office2003Olive") || designName == QStringLiteral("Gold"))
        return MenuStyle::Olive;
    return MenuStyle::Blue;
}

QString DesignApplier::controlBarPath(const QString &programFolder, const QString &designName)
{
    return programFolder + QStringLiteral("skins/ControlBar_") + designName + QStringLiteral(".bmp");
}

QString DesignApplier::filterBarPath(const QString &programFolder, const QString &designName)
{
    return programFolder + QStringLiteral("skins/FilterBar_") + designName + QStringLiteral(".bmp");
}

QList<QWidget *> DesignApplier::controlBarAreas() const
{
    return {m_w.mainControlBar, m_w.localToolBar, m_w.serverToolBar, m_w.queuePanel,
            m_w.localStatusLabel, m_w.serverStatusLabel, m_w.chartsPanel};
}

QList<QWidget *> DesignApplier::filterBarAreas() const
{
    return {m_w.progressPanel, m_w.chartsClosePanel, m_w.localButtonsPanel, m_w.serverButtonsPanel, m_w.filterPanel};
}

QStringList DesignApplier::apply(const QString &designName)
{
    QStringList missing;
    const auto place = [&](const QString &file, const QList<QWidget *> &areas) {
        const QPixmap pixmap(file);
        if (pixmap.isNull()) {
            missing.append(file);
            return;
        }
        for (QWidget *area : areas)
            setPicture(area, file, pixmap);
    };
    place(controlBarPath(m_programFolder, designName), controlBarAreas());
    place(filterBarPath(m_programFolder, designName), filterBarAreas());
    applyMenuStyle(menuStyleFor(designName));
    m_w.mainControlBar->repaint();
    return missing;
}

QString DesignApplier::pictureFileOf(const QWidget *area) const
{
    return m_pictures.value(area).file;
}

void DesignApplier::setPicture(QWidget *area, const QString &file, const QPixmap &pixmap)
{
    if (!m_pictures.contains(area))
        area->installEventFilter(this);
    m_pictures.insert(area, {file, pixmap});
    area->update();
}

bool DesignApplier::eventFilter(QObject *watched, QEvent *event)
{
    // The picture goes down first; the area then paints its own content over it.
    if (event->type() == QEvent::Paint) {
        auto *area = static_cast<QWidget *>(watched);
        const auto found = m_pictures.constFind(area);
        const bool filterOn = area == m_w.filterPanel && m_w.filterOnOffButton->isChecked();
        if (found != m_pictures.constEnd() && !filterOn) {
            QPainter painter(area);
            painter.drawPixmap(area->rect(), found->pixmap);
        }
    }
    return QObject::eventFilter(watched, event);
}

void DesignApplier::applyMenuStyle(MenuStyle style)
{
    m_menuStyle = style;
    // The Office 2003 menu bars: a light-to-dark band in the scheme's colour, the hovered
    // title in the pale orange of that family.
    QString top, bottom;
    switch (style) {
    case MenuStyle::Blue:
        top = QStringLiteral("#e3efff");
        bottom = QStringLiteral("#9ebef5");
        break;
    case MenuStyle::Silver:
        top = QStringLiteral("#f7f7fa");
        bottom = QStringLiteral("#c0c0d3");
        break;
    case MenuStyle::Olive:
        top = QStringLiteral("#f4f7de");
        bottom = QStringLiteral("#b7c691");
        break;
    }
    m_menuBar.setStyleSheet(
        QStringLiteral("QMenuBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2); }"
                       "QMenuBar::item { background: transparent; padding: 3px 8px; }"
                       "QMenuBar::item:selected { background: #ffeec2; border: 1px solid #4b4b6f; }")
            .arg(top, bottom));
}

} // namespace Velmora
