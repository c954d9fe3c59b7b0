#pragma once

#include "Options.h"
#include "ToolDialog.h"

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace Velmora {

// Edits "options.ini". Reads and applies the file when created and every time it is shown;
// the applied effects go out as signals so the engine and the main window can follow them.
class OptionsForm : public ToolDialog {
    Q_OBJECT
public:
    OptionsForm(const AppContext &context, QWidget *parent);

    // Reads the file into the controls and applies every setting.
    void LoadOptions();
    // Writes all fourteen keys from the controls ("FilterON" from the main window's state),
    // "KeyringPasswords" once the user has chosen it and "SimultaneousTransfers" when it is not 1.
    void SaveOptions();
    // Where SaveOptions takes the transfer filter's on/off state from.
    void setFilterStateSource(std::function<bool()> source) { m_filterState = std::move(source); }
    // Whether passwords go to the desktop keyring while the user has not chosen (a keyring
    // answered at start).
    void setKeyringDefault(std::function<bool()> source) { m_keyringDefault = std::move(source); }
    // The main window's "Automatic close charts after transfer" box: changes that one option
    // and saves it.
    void setCloseCharts(bool on);

    // Exposed for the window tests.
    QPushButton *okButton() const { return m_ok; }

Q_SIGNALS:
    // true: never ask and overwrite all; false: ask.
    void overwritePolicyApplied(bool alwaysOverwrite);
    void automaticRunApplied(bool automatic);
    void keepAliveApplied(bool on, int seconds);
    void filterStateApplied(bool on);
    // OK changed "Keep passwords in the desktop keyring": the passwords are to move.
    void keyringPasswordsApplied(bool on);
    // "Trusted certificates..." was clicked: the list of trusted certificates is to open.
    void trustedCertificatesRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void retranslate() override;

private:
    void buildControls();
    void fillControls(const OptionsData &data);
    OptionsData dataFromControls() const;
    void updateVisibility();
    void OKButtonClick();
    void ZipLogfilesButtonClick();
    void ExternalEditorButtonClick();

    std::function<bool()> m_filterState;
    std::function<bool()> m_keyringDefault;
    bool keyringInEffect(const OptionsData &data) const;
    QGroupBox *m_editorGroup = nullptr;
    QRadioButton *m_internal = nullptr;
    QRadioButton *m_extension = nullptr;
    QRadioButton *m_external = nullptr;
    QLineEdit *m_externalExe = nullptr;
    QPushButton *m_externalBrowse = nullptr;
    QGroupBox *m_keepAliveGroup = nullptr;
    QCheckBox *m_keepalive = nullptr;
    QLabel *m_sendAllLabel = nullptr;
    QLineEdit *m_interval = nullptr;
    QLabel *m_secondsLabel = nullptr;
    QGroupBox *m_settingsGroup = nullptr;
    QCheckBox *m_logfiles = nullptr;
    QPushButton *m_zipLogfiles = nullptr;
    QCheckBox *m_ftpConnections = nullptr;
    QCheckBox *m_allwaysOverwrite = nullptr;
    QCheckBox *m_automaticRun = nullptr;
    QCheckBox *m_keyringPasswords = nullptr;
    bool m_keyringClicked = false;
    QLabel *m_simultaneousLabel = nullptr;
    QSpinBox *m_simultaneous = nullptr;
    QPushButton *m_trustedCertificates = nullptr;
    QGroupBox *m_chartsGroup = nullptr;
    QCheckBox *m_showCharts = nullptr;
    QWidget *m_chartsSubPanel = nullptr;
    QCheckBox *m_closeCharts = nullptr;
    QCheckBox *m_resetCharts = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_abort = nullptr;
};

} // namespace Velmora
