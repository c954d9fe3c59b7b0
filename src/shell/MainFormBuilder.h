#pragma once

#include "MainWindowWidgets.h"

class QMainWindow;

namespace Velmora {

// Lays out the main window's regions from top to bottom: main toolbar, filter panel, protocol
// grid, the two panes, progress panel, queue toolbar, queue grid, status bar (the charts panel
// stays hidden until a transfer shows it). Texts are set separately by MainFormTexts.
class MainFormBuilder {
public:
    static void build(QMainWindow &window, MainWindowWidgets &w);

private:
    static void buildMenus(QMainWindow &window, MainWindowWidgets &w);
    static QWidget *buildMainToolBar(QMainWindow &window, MainWindowWidgets &w);
    static QWidget *buildFilterPanel(QMainWindow &window, MainWindowWidgets &w);
    static QWidget *buildPane(QWidget *parent, MainWindowWidgets &w, bool local);
    static QWidget *buildProgressPanel(QWidget *parent, MainWindowWidgets &w);
    static QWidget *buildQueuePanel(QWidget *parent, MainWindowWidgets &w);
    static QWidget *buildChartsPanel(QWidget *parent, MainWindowWidgets &w);
};

} // namespace Velmora
