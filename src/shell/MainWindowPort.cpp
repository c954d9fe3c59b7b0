#include "MainWindowPort.h"

#include "MainForm.h"

#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "editor/EditorForm.h"
#include "engine/MasterFTP.h"

#include <QApplication>

namespace Velmora {

MainWindowPort::MainWindowPort(MainForm &main, MasterFTP &ftp, EditorForm &editor)
    : m_main(main)
    , m_ftp(ftp)
    , m_editor(editor)
{
}

MainWindowPort::~MainWindowPort() = default;

void MainWindowPort::setBusyState()
{
    m_main.SetBusyState();
}

void MainWindowPort::setIdleState()
{
    m_main.SetIdleState();
}

void MainWindowPort::setBusyCursor(bool busy)
{
    if (busy && !m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    } else if (!busy && m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
}

QString MainWindowPort::localPathText() const
{
    return m_browser ? m_browser->pane(BrowserSide::Local).folder() : QString();
}

QString MainWindowPort::serverPathText() const
{
    return m_browser ? m_browser->pane(BrowserSide::Server).folder() : QString();
}

void MainWindowPort::setLocalPathText(const QString &text)
{
    if (m_browser)
        m_browser->pane(BrowserSide::Local).setPathText(text);
}

void MainWindowPort::setServerPathText(const QString &text)
{
    if (m_browser)
        m_browser->pane(BrowserSide::Server).setPathText(text);
}

void MainWindowPort::listLocalPath()
{
    Q_EMIT localListingRequested();
}

void MainWindowPort::listServerPath()
{
    Q_EMIT serverListingRequested();
}

void MainWindowPort::showServerFolder(const QString &path)
{
    setServerPathText(path);
    listServerPath();
}

void MainWindowPort::clearQueueGrid()
{
    Q_EMIT queueGridClearRequested();
}

void MainWindowPort::clearServerGrid()
{
    Q_EMIT serverGridClearRequested();
}

void MainWindowPort::hideCharts()
{
    Q_EMIT chartsHideRequested();
}

void MainWindowPort::setAutomaticRunButton(bool automatic)
{
    m_main.setAutomaticRunButton(automatic);
}

bool MainWindowPort::closeAfterRunChecked() const
{
    return m_main.closeAfterRunChecked();
}

bool MainWindowPort::shutdownAfterRunChecked() const
{
    return m_main.shutdownAfterRunChecked();
}

void MainWindowPort::endProgram()
{
    m_main.endFromRun();
}

void MainWindowPort::shutdownComputer()
{
    m_main.ShutdownComputer();
}

bool MainWindowPort::isBatchMode() const
{
    return m_main.isBatchMode();
}

QString MainWindowPort::batchQueueFile() const
{
    return m_main.arguments().queueFile;
}

QString MainWindowPort::batchModeArgument() const
{
    return m_main.arguments().mode;
}

bool MainWindowPort::hasServerHost() const
{
    return !m_ftp.host().isEmpty();
}

bool MainWindowPort::editFile(const QString &path)
{
    if (!m_editor.Load(path))
        return false;
    m_editor.setSaveAsEnabled(false);
    m_editor.execModal();
    const bool saved = m_editor.savedReport();
    m_editor.resetSavedReport();
    m_editor.setSaveAsEnabled(true);
    return saved;
}

} // namespace Velmora
