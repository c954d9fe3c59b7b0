#pragma once

#include "app/BatchSwitch.h"
#include "app/ToolDialog.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace Velmora {

class BatchJobBuilder;

// "Create batchjob": four steps that lead to the command line of a batch job, the switch, a
// help group with the switches and a ready crontab line, and "Close". The logic lives in the
// BatchJobBuilder; "Close" and Escape give the queue grid back what it showed before.
class BatchJobForm : public ToolDialog {
    Q_OBJECT
public:
    BatchJobForm(const AppContext &context, QWidget *parent);

    // The queue grid and the program's path come in once the queue exists.
    void setBuilder(BatchJobBuilder *builder);

    void SelectQueueButtonClick();
    void BuildCommandLineButtonClick();
    void CopyCommandLineButtonClick();

    QPushButton *selectQueueButton() const { return m_select; }
    QPushButton *buildButton() const { return m_build; }
    QPushButton *copyButton() const { return m_copy; }
    QPushButton *closeButton() const { return m_close; }
    QPlainTextEdit *commandLineEdit() const { return m_commandLine; }
    QPlainTextEdit *crontabEdit() const { return m_crontab; }
    QRadioButton *runOnlyRadioButton() const { return m_runOnly; }
    QRadioButton *runAndCloseRadioButton() const { return m_runAndClose; }
    QRadioButton *runAndShutdownRadioButton() const { return m_runAndShutdown; }

protected:
    void retranslate() override;
    void reject() override;

private:
    void buildControls();
    // The state of a new window: "-rc", nothing chosen, only "Select queue" and "Close" act.
    void resetControls();
    void switchChosen(BatchSwitch batchSwitch);
    void showCrontabLine();

    BatchJobBuilder *m_builder = nullptr;
    QLabel *m_step1 = nullptr;
    QLabel *m_step2 = nullptr;
    QLabel *m_step3 = nullptr;
    QLabel *m_step4 = nullptr;
    QLabel *m_queueFile = nullptr;
    QPushButton *m_select = nullptr;
    QPushButton *m_build = nullptr;
    QPushButton *m_copy = nullptr;
    QPlainTextEdit *m_commandLine = nullptr;
    QRadioButton *m_runOnly = nullptr;
    QRadioButton *m_runAndClose = nullptr;
    QRadioButton *m_runAndShutdown = nullptr;
    QGroupBox *m_help = nullptr;
    QLabel *m_syntax = nullptr;
    QLabel *m_options = nullptr;
    QLabel *m_switches = nullptr;
    QLabel *m_crontabLabel = nullptr;
    QPlainTextEdit *m_crontab = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace Velmora
