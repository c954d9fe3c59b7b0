#include "MainSessionHost.h"

#include "MainForm.h"

#include "browser/BrowserController.h"
#include "queue/QueueController.h"

#include <QApplication>
#include <QComboBox>

namespace Velmora {

MainSessionHost::MainSessionHost(MainForm &main, QueueController &queue, BrowserController &browser)
    : m_main(main)
    , m_queue(queue)
    , m_browser(browser)
{
}

void MainSessionHost::setIdleState()
{
    m_main.SetIdleState();
}

void MainSessionHost::clearQueueGrid()
{
    m_queue.ClearGrid();
}

void MainSessionHost::clearServerGrid()
{
    m_browser.clearServerGrid();
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
