#pragma once

#include "TransferModeQuestion.h"

#include "app/ToolDialog.h"

#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace Velmora {

// The transfer-mode question: "Normal transfer" or "Filtered transfer". It opens on the mode the
// transfer-filter switch is in; choosing the other one switches the filter at once. When it
// closes with "Don't show this message again" ticked, "no_wizard_filter.ini" is written and the
// question is not asked again.
class WizardFilterForm : public ToolDialog, public TransferModeQuestion {
    Q_OBJECT
public:
    WizardFilterForm(const AppContext &context, QWidget *parent);

    // The main window's transfer-filter switch: its state, and switching it.
    void setFilterSwitch(std::function<bool()> isOn, std::function<void(bool on)> switchTo);

    bool askTransferMode() override;
    // Sets the controls for a new question (the window tests drive it without its modal loop).
    void prepare();

    QRadioButton *normalRadioButton() const { return m_normal; }
    QRadioButton *filteredRadioButton() const { return m_filtered; }
    QCheckBox *dontShowCheckBox() const { return m_dontShow; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *abortButton() const { return m_abort; }

    void done(int result) override;

protected:
    void retranslate() override;

private:
    void modeChosen();

    std::function<bool()> m_isOn;
    std::function<void(bool)> m_switchTo;
    QRadioButton *m_normal = nullptr;
    QRadioButton *m_filtered = nullptr;
    QCheckBox *m_dontShow = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_abort = nullptr;
    bool m_preparing = false;
};

} // namespace Velmora
