#include "MainFormQueueHost.h"

#include "MainForm.h"

#include "browser/BrowserController.h"

#include <QCheckBox>
#include <QComboBox>

namespace Velmora {

MainFormQueueHost::MainFormQueueHost(MainForm &main, BrowserController &browser)
    : m_main(main)
    , m_browser(browser)
{
}

void MainFormQueueHost::setBusyState()
{
    m_main.SetBusyState();
}

void MainFormQueueHost::setIdleState()
{
    m_main.SetIdleState();
}

QString MainFormQueueHost::localPathText() const
{
    return m_main.widgets().localPathEdit->currentText();
}

QString MainFormQueueHost::serverPathText() const
{
    return m_main.widgets().serverPathEdit->currentText();
}

void MainFormQueueHost::setServerPathText(const QString &path)
{
    m_main.widgets().serverPathEdit->setEditText(path);
}

void MainFormQueueHost::listLocalPath()
{
    m_browser.FillLocalGrid(localPathText());
}

void MainFormQueueHost::listServerPath()
{
    m_browser.FillServerGrid(serverPathText());
}

void MainFormQueueHost::showServerFolder(const QString &path)
{
    setServerPathText(path);
    listServerPath();
}

void MainFormQueueHost::setAutomaticRunButton(bool automatic)
{
    m_main.setAutomaticRunButton(automatic);
}

bool MainFormQueueHost::closeAfterRunChecked() const
{
    return m_main.widgets().closeCheckBox->isChecked();
}

bool MainFormQueueHost::shutdownAfterRunChecked() const
{
    return m_main.widgets().shutdownCheckBox->isChecked();
}

void MainFormQueueHost::endProgram()
{
    m_main.endFromRun();
}

void MainFormQueueHost::shutdownComputer()
{
    m_main.ShutdownComputer();
}

bool MainFormQueueHost::isBatchMode() const
{
    return m_main.isBatchMode();
}

QString MainFormQueueHost::batchQueueFile() const
{
    return m_main.arguments().queueFile;
}

QString MainFormQueueHost::batchModeArgument() const
{
    return m_main.arguments().mode;
}

} // namespace Velmora
