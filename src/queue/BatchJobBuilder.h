#pragma once

#include "QueueRow.h"

#include "app/BatchSwitch.h"

#include <QList>
#include <QString>

#include <optional>

namespace Velmora {

class QueueController;
class QueueTableModel;

// What the batch-job builder window works on: the chosen queue file, the switch, and the two
// texts it builds from them, the command line and a ready crontab line. While a queue is
// chosen the queue grid shows its rows; closing puts back what the grid showed before, so
// looking at a saved queue never loses the queue the user was building.
class BatchJobBuilder {
public:
    BatchJobBuilder(QueueController &controller, QueueTableModel &grid, QString programPath);

    // "Select queue" confirmed: false (after a message) when the file is no queue file.
    bool selectQueue(const QString &path);
    bool hasQueue() const { return !m_queueFile.isEmpty(); }
    const QString &queueFile() const { return m_queueFile; }
    const QString &programPath() const { return m_programPath; }

    // "-rc" at the start.
    void setSwitch(BatchSwitch batchSwitch) { m_switch = batchSwitch; }
    QString switchText() const { return BatchSwitchText(m_switch); }

    // The program's absolute path, a blank, the queue file in double quotes, a blank, the switch.
    QString commandLine() const;
    // A crontab(5) line that runs the job every night at 2:00, its messages appended to
    // ~/velmora-batch.log. Jobs that end ("-rc", "-rs") need no desktop session, since no box
    // waits in a batch job; "-r" stays open, so it opens on the desktop (display :0).
    QString crontabLine() const;

    // "Close": the grid shows what it showed before "Select queue"; the builder starts afresh.
    void close();

    // The text as one word for /bin/sh: in single quotes, each ' written as '\''.
    static QString shellQuoted(const QString &text);

private:
    QueueController &m_controller;
    QueueTableModel &m_grid;
    QString m_programPath;
    QString m_queueFile;
    BatchSwitch m_switch = BatchSwitch::RunAndClose;
    std::optional<QList<QueueRow>> m_gridBefore;
};

} // namespace Velmora
