#include "MainFormQueueHost.h"

#include "app/MainForm.h"

#include <QCheckBox>
#include <QComboBox>

namespace Velmora {

MainFormQueueHost::MainFormQueueHost(MainForm &main)
    : m_main(main)
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
    m_main.listLocalPath();
}

void MainFormQueueHost::listServerPath()
{
    m_main.listServerPath();
}

void MainFormQueueHost::showServerFolder(const QString &path)
{
    setServerPathText(path);
    m_main.listServerPath();
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
