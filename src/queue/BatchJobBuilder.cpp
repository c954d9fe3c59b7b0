#include "BatchJobBuilder.h"

#include "QueueController.h"
#include "QueueTableModel.h"

namespace Velmora {

BatchJobBuilder::BatchJobBuilder(QueueController &controller, QueueTableModel &grid, QString programPath)
    : m_controller(controller)
    , m_grid(grid)
    , m_programPath(std::move(programPath))
{
}

bool BatchJobBuilder::selectQueue(const QString &path)
{
    const QList<QueueRow> before = m_grid.rows();
    if (!m_controller.ShowQueueFile(path))
        return false;
    if (!m_gridBefore)
        m_gridBefore = before;
    m_queueFile = path;
    return true;
}

QString BatchJobBuilder::commandLine() const
{
    return m_programPath + QStringLiteral(" \"") + m_queueFile + QStringLiteral("\" ") + switchText();
}

QString BatchJobBuilder::shellQuoted(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString BatchJobBuilder::crontabLine() const
{
    const QString queue = hasQueue() ? m_queueFile : QStringLiteral("/path/to/saved.queue");
    const QString session = BatchSwitchEnds(m_switch) ? QStringLiteral("QT_QPA_PLATFORM=offscreen") : QStringLiteral("DISPLAY=:0");
    QString command = session + u' ' + shellQuoted(m_programPath) + u' ' + shellQuoted(queue) + u' ' + switchText()
        + QStringLiteral(" 2>>\"$HOME/velmora-batch.log\"");
    // cron turns every unescaped "%" into a line break.
    command.replace(u'%', QStringLiteral("\\%"));
    return QStringLiteral("0 2 * * * ") + command;
}

void BatchJobBuilder::close()
{
    if (m_gridBefore)
        m_grid.setRows(*m_gridBefore);
    m_gridBefore.reset();
    m_queueFile.clear();
    m_switch = BatchSwitch::RunAndClose;
}

} // namespace Velmora
