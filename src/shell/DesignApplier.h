#pragma once

#include "DesignAreas.h"

#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QStringList>

class QMenuBar;

namespace Velmora {

// Puts a design's pictures behind the main window's bars and panels and gives the menu bar the
// design's menu style. "ControlBar_<design>.bmp" goes behind the main, local, server and queue
// toolbars, the two status lines under the file grids and the charts panel;
// "FilterBar_<design>.bmp" behind the progress panel, the charts close panel, the two
// navigation bars and the filter panel while the transfer filter is off. Each picture is
// stretched over its area, whatever size the area takes later.
class DesignApplier : public QObject {
    Q_OBJECT
public:
    enum class MenuStyle { Blue, Silver, Olive };

    DesignApplier(const DesignAreas &areas, QMenuBar &menuBar, QString programFolder, QObject *parent = nullptr);

    static MenuStyle menuStyleFor(const QString &designName);
    static QString controlBarPath(const QString &programFolder, const QString &designName);
    static QString filterBarPath(const QString &programFolder, const QString &designName);

    // Applies the design; returns the picture files that could not be loaded (their areas keep
    // the picture they had).
    QStringList apply(const QString &designName);

    MenuStyle menuStyle() const { return m_menuStyle; }
    const DesignAreas &areas() const { return m_w; }
    // The picture file behind an area; empty when it has none.
    QString pictureFileOf(const QWidget *area) const;
    QList<QWidget *> controlBarAreas() const;
    QList<QWidget *> filterBarAreas() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Picture {
        QString file;
        QPixmap pixmap;
    };
    void setPicture(QWidget *area, const QString &file, const QPixmap &pixmap);
    void applyMenuStyle(MenuStyle style);

    DesignAreas m_w;
    QMenuBar &m_menuBar;
    QString m_programFolder;
    QHash<const QWidget *, Picture> m_pictures;
    MenuStyle m_menuStyle = MenuStyle::Blue;
};

} // namespace Velmora
