#pragma once

#include "queue/QueueHost.h"

#include <functional>

namespace Velmora {

class BrowserController;
class MainForm;

// The queue's view of the main window: its states, path boxes, grids, end-of-run check boxes
// and command line.
class MainFormQueueHost : public QueueHost {
public:
    MainFormQueueHost(MainForm &main, BrowserController &browser);

    void setBusyState() override;
    void setIdleState() override;
    QString localPathText() const override;
    QString serverPathText() const override;
    void setServerPathText(const QString &path) override;
    void listLocalPath() override;
    void listServerPath() override;
    void showServerFolder(const QString &path) override;
    void setAutomaticRunButton(bool automatic) override;
    bool closeAfterRunChecked() const override;
    bool shutdownAfterRunChecked() const override;
    void endProgram() override;
    void shutdownComputer() override;
    bool isBatchMode() const override;
    QString batchQueueFile() const override;
    QString batchModeArgument() const override;

    // Until the work mode of the builders exists every request is a transfer.

private:
    MainForm &m_main;
    BrowserController &m_browser;
};

} // namespace Velmora
