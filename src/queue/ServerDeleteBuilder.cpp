#include "ServerDeleteBuilder.h"

#include "BusyScope.h"
#include "CollectionSteps.h"
#include "DeleteQuestion.h"
#include "QueueHost.h"
#include "QueueRecord.h"
#include "QueueRunner.h"
#include "QueueTableModel.h"
#include "TransferPorts.h"
#include "TreeWalker.h"
#include "WalkProgress.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "common/RemotePath.h"

namespace Velmora {

ServerDeleteBuilder::ServerDeleteBuilder(CollectionSteps &steps)
    : m_steps(steps)
{
}

void ServerDeleteBuilder::build()
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    const QList<SelectionLine> lines = s.host.selectionLines(GridSide::Server);
    if (lines.isEmpty())
        return;
    // A folder that records cannot carry is refused as a whole; a name that they cannot carry
    // is skipped below with a protocol line.
    const QString serverPath = window.serverPathText();
    if (m_steps.refusesPaths({serverPath}))
        return;
    int files = 0;
    int folders = 0;
    for (const SelectionLine &line : lines)
        ++(line.kind == EntryKind::Folder ? folders : files);
    if (!s.context.prompts.confirm(DeleteQuestionText(files, folders, s.context.language.isGerman())))
        return;

    BusyScope busy(window, s.work);
    // A deletion never joins work gathered earlier: the grid starts empty.
    s.runner.clearQueue();
    s.progress.collectionStarted(false);

    QStringList records;
    QStringList fileRecords;
    for (const SelectionLine &line : lines) {
        const QString name = line.realName();
        const QString path = NormaliseRemotePath(serverPath + u'/' + name);
        if (!m_steps.refusesName(name, path)) {
            if (line.kind == EntryKind::Folder) {
                records.append(s.walker.CollectDelete(serverPath, path));
            } else {
                s.work.totalSize += line.bytes();
                ++s.work.filesFound;
                m_steps.progressLine(QStringLiteral("Read file: ") + path);
                fileRecords.append(QueueRecord(QueueCommand::Dele, path, {}, line.text()).format());
            }
        }
        m_steps.pump();
        if (m_steps.abortRequested())
            break;
    }
    s.progress.collectionEnded(false);
    records.append(fileRecords);

    if (!m_steps.abortRequested()) {
        if (!s.filter.isInUse()) {
            m_steps.runQueue(records);
        } else if (const std::optional<QStringList> chosen = s.filter.chooseRecords(FilterWindowMode::Transfer, records)) {
            m_steps.runQueue(*chosen);
        }
    }
    window.listServerPath();
    busy.end();
    s.host.restoreRememberedRow(GridSide::Server);
}

} // namespace Velmora
