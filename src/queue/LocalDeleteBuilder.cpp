#include "LocalDeleteBuilder.h"

#include "BusyScope.h"
#include "CollectionSteps.h"
#include "DeleteQuestion.h"
#include "QueueHost.h"
#include "QueueRecord.h"
#include "QueueRunner.h"
#include "TransferPorts.h"
#include "TreeWalker.h"
#include "WalkProgress.h"

#include "app/AppContext.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "common/RemotePath.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace Velmora {

namespace {

// A name the grid could never list for an entry of the folder itself: using it would reach
// another folder.
bool leavesFolder(const QString &name)
{
    return name.isEmpty() || name == u"." || name == u".." || name.contains(u'/');
}

// Deletes for good; a folder with everything in it. A link is removed itself, never what it
// points to.
bool removePermanently(const QString &path)
{
    const QFileInfo entry(path);
    if (entry.isDir() && !entry.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

} // namespace

LocalDeleteBuilder::LocalDeleteBuilder(CollectionSteps &steps)
    : m_steps(steps)
{
}

void LocalDeleteBuilder::build()
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    const QString localBase = IncludeTrailingBackslash(window.localPathText());
    const QList<SelectionLine> lines = s.host.selectionLines(GridSide::Local);
    // While the drive list ("\") is shown there is no folder the rows could belong to.
    if (lines.isEmpty() || !QDir::isAbsolutePath(localBase))
        return;
    // Through the filter the files travel as records; a folder they cannot carry is refused.
    if (s.filter.isInUse() && m_steps.refusesPaths({localBase}))
        return;
    int files = 0;
    int folders = 0;
    for (const SelectionLine &line : lines)
        ++(line.kind == EntryKind::Folder ? folders : files);
    if (!s.context.prompts.confirm(DeleteQuestionText(files, folders, s.context.language.isGerman())))
        return;

    BusyScope busy(window, s.work);
    if (s.filter.isInUse())
        deleteThroughFilter(lines, localBase);
    else
        moveToTrash(lines, localBase);
    window.listLocalPath();
    busy.end();
    s.host.restoreRememberedRow(GridSide::Local);
}

QString LocalDeleteBuilder::collectedFile(const QString &path, const QString &name) const
{
    const QFileInfo file(path);
    const QDateTime time = file.lastModified();
    const QString date = !time.isValid() ? QString()
        : time.toString(m_steps.setup().context.systemIsGerman ? u"dd.MM.yyyy hh:mm:ss" : u"MM/dd/yyyy hh:mm:ss");
    return CollectedFile{path, QueueRecord::fileEntry(name, QString::number(file.size()), date)}.format();
}

void LocalDeleteBuilder::deleteThroughFilter(const QList<SelectionLine> &lines, const QString &localBase)
{
    const TransferBuilderSetup &s = m_steps.setup();
    s.progress.collectionStarted(false);
    QStringList collected;
    for (const SelectionLine &line : lines) {
        const QString path = localBase + line.name;
        if (leavesFolder(line.name) || m_steps.refusesName(line.name, path))
            continue;
        if (line.kind == EntryKind::Folder) {
            ++s.work.foldersFound;
            m_steps.progressLine(QStringLiteral("Read folder: ") + path);
            if (!QFileInfo(path).isSymLink())
                s.walker.CollectLocal(path + QStringLiteral("/*.*"), collected);
        } else {
            const QString file = collectedFile(path, line.name);
            ++s.work.filesFound;
            s.work.totalSize += QFileInfo(path).size();
            m_steps.progressLine(QStringLiteral("Read file: ") + path);
            collected.append(file);
        }
        m_steps.pump();
        if (m_steps.abortRequested())
            break;
    }
    s.progress.collectionEnded(false);

    QStringList records;
    QSet<QString> offered;
    records.reserve(collected.size());
    for (const QString &file : std::as_const(collected)) {
        const CollectedFile collectedFile = CollectedFile::parse(file);
        const QString path = ToLocalPath(collectedFile.path);
        records.append(QueueRecord(QueueCommand::DelLoc, path, {}, collectedFile.entry).format());
        offered.insert(path);
    }
    collected.clear();
    if (m_steps.abortRequested() || !s.filter.chooseRecords(FilterWindowMode::Transfer, records))
        return;
    // Only files this request offered are deleted, whatever else the window hands back.
    for (const QString &path : s.filter.chosenFiles()) {
        if (offered.contains(path) && !QFileInfo(path).isDir())
            QFile::remove(path);
    }
}

void LocalDeleteBuilder::moveToTrash(const QList<SelectionLine> &lines, const QString &localBase)
{
    const TransferBuilderSetup &s = m_steps.setup();
    QueueHost &window = m_steps.queueHost();
    for (const SelectionLine &line : lines) {
        if (leavesFolder(line.name))
            continue;
        const QString path = localBase + line.name;
        if (!m_trash->moveToTrash(path)) {
            const QFileInfo entry(path);
            if (entry.exists() || entry.isSymLink()) {
                const QString question = u'"' + path + u'"'
                    + s.context.text(QStringLiteral(" cannot be moved to the trash. Delete it permanently? This cannot be undone."),
                                     QString::fromUtf8(" kann nicht in den Papierkorb verschoben werden. Endgültig löschen? "
                                                       "Das kann nicht rückgängig gemacht werden."));
                if (s.context.prompts.confirm(question))
                    removePermanently(path);
            }
        }
        window.listLocalPath();
        s.host.restoreRememberedRow(GridSide::Local);
    }
}

} // namespace Velmora
