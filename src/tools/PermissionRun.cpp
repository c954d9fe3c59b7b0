#include "PermissionRun.h"

#include "PermissionBits.h"

#include "common/QueueRecord.h"
#include "common/RemotePath.h"
#include "queue/QueueHost.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "queue/TreeWalker.h"

#include "app/WorkControl.h"

namespace Velmora {

namespace {

const QString DefaultPermissions = QStringLiteral("-rwxr-xr-x");

} // namespace

QString InitialPermissionString(const QList<SelectionLine> &rows)
{
    int foldersAndFiles = 0;
    for (const SelectionLine &row : rows) {
        if (row.kind == EntryKind::Folder || row.kind == EntryKind::File)
            ++foldersAndFiles;
    }
    if (foldersAndFiles < 2 && !rows.isEmpty())
        return rows.last().permissions;
    return DefaultPermissions;
}

bool SelectionHasFolder(const QList<SelectionLine> &rows)
{
    for (const SelectionLine &row : rows) {
        if (row.kind == EntryKind::Folder)
            return true;
    }
    return false;
}

PermissionRun::PermissionRun(TreeWalker &walker, QueueRunner &runner, QueueHost &window)
    : m_walker(walker)
    , m_runner(runner)
    , m_window(window)
{
}

QString PermissionRun::fileRecord(const QString &serverPath, const QString &name, const QString &value)
{
    return QueueRecord(QueueCommand::Chmod, NormaliseRemotePath(serverPath + u'/' + name), value).format();
}

void PermissionRun::run(const QList<SelectionLine> &rows, const QString &serverPath, const PermissionChoice &choice)
{
    // Only a complete value is ever sent: "64" would take the owner's own rights away.
    if (!IsCompletePermissionValue(choice.value))
        return;
    QueueHost &window = m_window;
    window.setBusyState();
    m_runner.clearQueue();

    const bool filesOnly = choice.scope == PermissionChoice::Scope::FilesOnly;
    const bool directoriesOnly = choice.scope == PermissionChoice::Scope::DirectoriesOnly;
    const bool all = choice.scope == PermissionChoice::Scope::All;
    QStringList fileRecords;
    for (const SelectionLine &row : rows) {
        if (row.kind == EntryKind::Link)
            continue; // a link is never changed
        const QString path = NormaliseRemotePath(serverPath + u'/' + row.name);
        if (!TreeWalker::NameProblem(row.name).isEmpty()) {
            m_walker.refuse(path);
            continue;
        }
        if (row.kind == EntryKind::Folder)
            m_walker.CollectChmod(choice.value, serverPath, filesOnly, directoriesOnly, all, choice.recursive, path);
        else
            fileRecords.append(fileRecord(serverPath, row.name, choice.value));
        window.listServerPath();
        if (m_runner.work().cancel.isCancelled())
            break;
    }

    // Whatever "Automatic run queue" says, the files change at once.
    if (!fileRecords.isEmpty() && !m_runner.work().cancel.isCancelled()) {
        RunPlan plan;
        plan.records = fileRecords;
        m_runner.RunQueue(plan);
    }
    window.listServerPath();
    window.setIdleState();
}

} // namespace Velmora
