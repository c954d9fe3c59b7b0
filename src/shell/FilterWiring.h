#pragma once

#include "FilterControls.h"
#include "MainFormTransferFilter.h"

#include <QObject>

class QWidget;

namespace Velmora {

class BrowserController;
class FilterForm;
class MainForm;
class OptionsForm;
class QueueWiring;
struct AppContext;

// Puts the transfer filter into the main window: the filter panel's on/off switch with its LED
// picture and background, "Edit Filter [F2]" and the filter menu, the description label kept
// equal to the filter window's, and the panel's three search buttons, which start the search
// requests of the active side through the grids' commands (GridCommand::SearchFiles,
// SearchInFiles, SearchAndReplace: whoever builds the searches installs those handlers). Also
// owns the transfer filter the builders use.
class FilterWiring : public QObject {
    Q_OBJECT
public:
    FilterWiring(AppContext &context, MainForm &main, FilterForm &form, OptionsForm &options, QueueWiring &queue,
                 BrowserController &browser);
    ~FilterWiring() override;

    MainFormTransferFilter &transferFilter() { return m_transferFilter; }

    // The switch: its look, the menu's check mark and the "FilterON" option.
    void SwitchFilterOn() { switchTo(true); }
    void SwitchFilterOff() { switchTo(false); }
    // "Edit Filter": the filter window in mode EditOnly, then the idle state.
    void editFilter();

    QWidget *onBackground() const { return m_onBackground; }
    QWidget *offBackground() const { return m_offBackground; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void switchTo(bool on);
    void switchClicked(bool on);
    void showSwitchState(bool on);
    void showDescription(const QString &description);
    void retranslate();

    AppContext &m_context;
    MainForm &m_main;
    FilterControls m_w;
    FilterForm &m_form;
    OptionsForm &m_options;
    MainFormTransferFilter m_transferFilter;
    QWidget *m_onBackground;
    QWidget *m_offBackground;
};

} // namespace Velmora
