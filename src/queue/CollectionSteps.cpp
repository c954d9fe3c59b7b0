#include "CollectionSteps.h"

#include "QueueHost.h"
#include "QueueRunner.h"
#include "TransferPorts.h"
#include "TreeWalker.h"
#include "WalkProgress.h"

#include "app/AppContext.h"
#include "app/Options.h"
#include "app/UserPrompts.h"
#include "app/WorkControl.h"
#include "app/ProtocolLog.h"
#include "common/RecordText.h"
#include "common/RemotePath.h"
#include "engine/MasterFTP.h"
#include "filter/NoWizardFilterFile.h"
#include "filter/TransferModeQuestion.h"

namespace Velmora {

CollectionSteps::CollectionSteps(const TransferBuilderSetup &setup)
    : m_s(setup)
{
}

QueueHost &CollectionSteps::queueHost() const
{
    return m_s.window;
}

bool CollectionSteps::askTransferMode(GridSide side)
{
    if (NoWizardFilterFile(m_s.context.folders.appDataFolder).exists())
        return true;
    if (m_s.question.askTransferMode())
        return true;
    m_s.host.restoreRememberedRow(side);
    return false;
}

void CollectionSteps::enterBusyState(bool runAtOnce)
{
    m_busy.emplace(queueHost(), m_s.work);
    if (runAtOnce || automaticRun())
        m_s.runner.clearQueue();
}

void CollectionSteps::endBusyState()
{
    if (m_busy)
        m_busy.reset();
    else
        queueHost().setIdleState();
}

void CollectionSteps::closeBusyScope()
{
    m_busy.reset();
}

bool CollectionSteps::automaticRun() const
{
    return m_s.context.options.data().automaticRunQueue;
}

RunResult CollectionSteps::runQueue(const QStringList &records, bool runAtOnce)
{
    RunPlan plan;
    plan.records = records;
    plan.autoRun = runAtOnce || automaticRun();
    return m_s.runner.RunQueue(plan);
}

void CollectionSteps::closeCollection(Collection &collection) const
{
    collection.files = m_s.work.filesFound;
    collection.folders = m_s.work.foldersFound;
    collection.bytes = m_s.work.totalSize;
    collection.aborted = abortRequested();
}

void CollectionSteps::progressLine(const QString &line)
{
    const WorkControl &w = m_s.work;
    m_s.progress.addProgressLine(line, w.filesFound, w.totalSize, w.foldersFound);
}

bool CollectionSteps::refusesName(const QString &name, const QString &path)
{
    if (TreeWalker::NameProblem(name).isEmpty())
        return false;
    m_s.walker.refuse(path);
    return true;
}

bool CollectionSteps::refusesPaths(const QStringList &paths)
{
    const QString path = RecordText::firstPathWithSeparator(paths);
    if (path.isEmpty())
        return false;
    const QString message = RecordText::pathRefusal(path, m_s.context.language.isGerman());
    m_s.context.protocol.AddProtocolMessage(ProtocolEntry::Error, RecordText::printable(message));
    m_s.context.prompts.error(message);
    return true;
}

bool CollectionSteps::abortRequested() const
{
    return m_s.work.cancel.isCancelled();
}

void CollectionSteps::showUsedSpaceTotals()
{
    const QString stars(40, u'*');
    const QString done = m_s.context.text(QStringLiteral("Done"), QStringLiteral("Fertig"));
    for (const QString &line : {QStringLiteral(" "), stars, done, stars, QStringLiteral(" ")})
        progressLine(line);
    m_s.progress.collectionEnded(true);
}

void CollectionSteps::showChosenLocalFile(const QString &path)
{
    const qsizetype cut = path.lastIndexOf(u'/');
    m_s.host.setLocalPathText(path.left(cut + 1));
    queueHost().listLocalPath();
    m_s.host.selectRowByName(GridSide::Local, path.mid(cut + 1));
}

void CollectionSteps::showChosenRemoteFile(const QString &path)
{
    queueHost().showServerFolder(RemoteParentPath(path));
    m_s.host.selectRowByName(GridSide::Server, RemoteLastSegment(path));
}

void CollectionSteps::goToChosenFile(GridSide side)
{
    goToFile(side, m_s.filter.chosenRemoteFile(), m_s.filter.chosenLocalFile());
}

void CollectionSteps::goToFile(GridSide side, const QString &remote, const QString &local)
{
    if (side == GridSide::Local) {
        if (!m_s.ftp.host().isEmpty() && m_s.runner.RemoteDirExists(RemoteParentPath(remote)))
            showChosenRemoteFile(remote);
        showChosenLocalFile(local);
    } else {
        showChosenLocalFile(local);
        showChosenRemoteFile(remote);
    }
    endBusyState();
    m_s.host.focusGrid(side);
}

void CollectionSteps::showBackupNotice(int notUploaded)
{
    m_s.search.showRestoreButton();
    if (notUploaded > 0) {
        // A refused upload is no success: the user learns which files are not as expected.
        m_s.context.prompts.error(
            m_s.context
                .text(QStringLiteral("%1 of the changed files could not be uploaded (the protocol names them; they stay in the "
                                     "queue): the server still has their old version. You have a backup: \"Restore\" at the "
                                     "top of the program puts back the old version of every file."),
                      QString::fromUtf8("%1 der geänderten Dateien konnten nicht hochgeladen werden (das Protokoll nennt sie; "
                                        "sie bleiben in der Warteschlange): der Server hat noch ihre alte Version. Sie haben "
                                        "eine Sicherung: \"Restore\" oben im Programm stellt die alte Version jeder Datei "
                                        "wieder her."))
                .arg(notUploaded));
        return;
    }
    m_s.context.prompts.information(m_s.context.text(
        QStringLiteral("You have a backup now. Please press \"Restore\" at the top of the program, to restore the old version."),
        QString::fromUtf8("Sie haben jetzt eine Sicherung. Bitte drücken Sie oben im Programm auf \"Restore\", um die alte "
                          "Version wiederherzustellen.")));
}

} // namespace Velmora
