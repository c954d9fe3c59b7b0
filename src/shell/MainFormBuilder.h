#pragma once

#include "DesignAreas.h"
#include "FilterControls.h"
#include "LayoutControls.h"
#include "MainWindowWidgets.h"
#include "PaneToolBars.h"
#include "ProgressControls.h"
#include "QueueControls.h"

#include "browser/BrowserWidgets.h"

class QMainWindow;

namespace Velmora {

class Language;

// Lays out the main window's regions from top to bottom: main toolbar, filter panel, protocol
// grid, the two panes, progress panel, queue toolbar, queue grid, status bar (the charts panel
// stays hidden until a transfer shows it), and puts their captions in the current language.
// Each region's controls are handed out as that region's own struct.
class MainFormBuilder {
public:
    static void build(QMainWindow &window, MainWindowWidgets &w);
    // Every caption and hint of the window in the current language.
    static void setTexts(MainWindowWidgets &w, const Language &language);

    static BrowserWidgets browserWidgets(const MainWindowWidgets &w);
    static PaneToolBars paneToolBars(const MainWindowWidgets &w);
    static QueueControls queueControls(const MainWindowWidgets &w);
    static ProgressControls progressControls(const MainWindowWidgets &w);
    static FilterControls filterControls(const MainWindowWidgets &w);
    static LayoutControls layoutControls(const MainWindowWidgets &w);
    static DesignAreas designAreas(const MainWindowWidgets &w);

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
