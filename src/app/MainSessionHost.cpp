#include "MainSessionHost.h"

#include "MainForm.h"

#include <QApplication>
#include <QComboBox>

namespace Velmora {

MainSessionHost::MainSessionHost(MainForm &main)
    : m_main(main)
{
}

void MainSessionHost::setIdleState()
{
    m_main.SetIdleState();
}

void MainSessionHost::clearQueueGrid()
{
    m_main.clearQueueGrid();
}

void MainSessionHost::clearServerGrid()
{
    m_main.clearServerGrid();
}

QString MainSessionHost::localPathText() const
{
    return m_main.widgets().localPathEdit->currentText();
}

QString MainSessionHost::serverPathText() const
{
    return m_main.widgets().serverPathEdit->currentText();
}

void MainSessionHost::setLocalPathText(const QString &text)
{
    m_main.widgets().localPathEdit->setEditText(text);
}

void MainSessionHost::setServerPathText(const QString &text)
{
    m_main.widgets().serverPathEdit->setEditText(text);
}

void MainSessionHost::setBusyCursor(bool busy)
{
    if (busy && !m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    } else if (!busy && m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
}

} // namespace Velmora
