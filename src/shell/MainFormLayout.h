#pragma once

#include "LayoutControls.h"
#include "WindowPositions.h"

#include <QObject>

namespace Velmora {

struct AppContext;
class MainForm;

// The main window's layout between runs and while it runs: reads "positions.ini" when the
// window is shown, writes it when the window closes, and carries out the four view switches
// (protocol window, navigation, queue window, filter window) from the toolbar and the View menu.
class MainFormLayout : public QObject {
    Q_OBJECT
public:
    MainFormLayout(AppContext &context, MainForm &main);

    QString filePath() const;
    // Reads "positions.ini" (defaults where it is missing or damaged; a damaged value is named
    // in a protocol line), applies it and the design it names, and sets the View check marks.
    void LoadLayout();
    // Writes the current layout to "positions.ini".
    void SaveLayout();
    // The layout as the window shows it now.
    WindowPositions current() const;
    void apply(const WindowPositions &positions);

    void switchProtocolWindow();
    void switchNavigation();
    void switchQueueWindow();
    void switchFilterWindow();

    // Puts "Abort transfer" and "Close charts window" at the top of the charts panel, their
    // right edges on the right edge of the right-hand charts; "Close charts window" lies on top.
    void placeChartsButtons();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setProtocolHeight(int height);
    void setQueueHeight(int height);
    void updateQueueSplitter();
    void updateCheckMarks();

    AppContext &m_context;
    MainForm &m_main;
    LayoutControls m_w;
    // The heights last shown, kept while the grids are hidden.
    int m_protocolHeight = WindowPositions::DefaultProtocolHeight;
    int m_queueHeight = WindowPositions::DefaultQueueHeight;
    bool m_queueSplitterVisible = true;
    static constexpr int ChartsButtonTop = 4;
    static constexpr int ChartsRightMargin = 12; // the charts' own margin inside the panel
};

} // namespace Velmora
