#include "CollectionSteps.h"

#include "QueueHost.h"
#include "QueueRunner.h"
#include "RemoteFileStates.h"
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
#include "common/SizeText.h"
#include "engine/MasterFTP.h"
#include "filter/NoWizardFilterFile.h"
#include "filter/TransferModeQuestion.h"

#include <algorithm>

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

void CollectionSteps::showBackupNotice(const QStringList &notUploaded)
{
    m_s.search.showRestoreButton();
    if (!notUploaded.isEmpty()) {
        // A failed upload is no success, and what it left on the server was read, not assumed.
        m_s.context.prompts.error(
            m_s.context
                .text(QStringLiteral("%1 of the changed files could not be uploaded (the protocol says why; they stay in the "
                                     "queue). What the server holds now:"),
                      QString::fromUtf8("%1 der geänderten Dateien konnten nicht hochgeladen werden (das Protokoll nennt den "
                                        "Grund; sie bleiben in der Warteschlange). Was der Server jetzt hat:"))
                .arg(notUploaded.size())
            + u'\n' + notUploaded.join(u'\n') + u'\n'
            + m_s.context.text(QStringLiteral("You have a backup: \"Restore\" at the top of the program puts back the old "
                                              "version of every file."),
                               QString::fromUtf8("Sie haben eine Sicherung: \"Restore\" oben im Programm stellt die alte "
                                                 "Version jeder Datei wieder her.")));
        return;
    }
    m_s.context.prompts.information(m_s.context.text(
        QStringLiteral("You have a backup now. Please press \"Restore\" at the top of the program, to restore the old version."),
        QString::fromUtf8("Sie haben jetzt eine Sicherung. Bitte drücken Sie oben im Programm auf \"Restore\", um die alte "
                          "Version wiederherzustellen.")));
}

QString CollectionSteps::serverStateLine(const QueueRecord &upload, const RemoteFileStates::State &state) const
{
    const AppContext &c = m_s.context;
    const QString path = upload.target + QStringLiteral(": ");
    if (!state.readable)
        return path + c.text(QStringLiteral("what the server holds could not be read."),
                             QString::fromUtf8("was der Server hat, konnte nicht gelesen werden."));
    if (!state.entry)
        return path + c.text(QStringLiteral("the server has no file of that name."),
                             QString::fromUtf8("der Server hat keine Datei dieses Namens."));
    const QString bytes = FormatSizeDots(QString::number(state.entry->size), false);
    const QString before = FormatSizeDots(upload.entrySize(), false);
    if (isUntouched(upload, state))
        return path + c.text(QStringLiteral("%1 bytes and the same date as before the upload: the upload changed nothing there."),
                             QString::fromUtf8("%1 Bytes und dasselbe Datum wie vor dem Hochladen: das Hochladen hat dort "
                                               "nichts geändert.")).arg(bytes);
    if (state.entry->sizeText.trimmed() == upload.entrySize().trimmed())
        return path + c.text(QStringLiteral("%1 bytes, the size it had before, but a new date: the upload may have changed it."),
                             QString::fromUtf8("%1 Bytes wie vorher, aber ein neues Datum: das Hochladen kann sie verändert "
                                               "haben.")).arg(bytes);
    return path + c.text(QStringLiteral("%1 bytes (it had %2 bytes before): the upload stopped part-way, so the server's copy "
                                        "may be incomplete."),
                         QString::fromUtf8("%1 Bytes (vorher %2 Bytes): das Hochladen brach mittendrin ab, die Datei auf dem "
                                           "Server kann unvollständig sein."))
                      .arg(bytes, before);
}

bool CollectionSteps::isUntouched(const QueueRecord &upload, const RemoteFileStates::State &state)
{
    return state.entry && !upload.entrySize().trimmed().isEmpty()
        && state.entry->sizeText.trimmed() == upload.entrySize().trimmed() && !upload.date.trimmed().isEmpty()
        && state.entry->dateText.trimmed() == upload.date.trimmed();
}

void CollectionSteps::reportUploadBack(const QStringList &records, const RunResult &result)
{
    RemoteFileStates states(m_s.ftp);
    QStringList notUploaded;
    QStringList untouched;
    QList<SearchFollowUp::UploadLeft> left;
    for (const QString &text : records) {
        const QueueRecord upload = QueueRecord::parse(text);
        if (upload.command != QueueCommand::Stor)
            continue;
        const bool succeeded = std::any_of(result.succeededRecords.cbegin(), result.succeededRecords.cend(),
                                           [&upload](const QueueRecord &done) {
                                               return done.source == upload.source && done.target == upload.target;
                                           });
        const RemoteFileStates::State state = states.state(upload.target);
        if (succeeded) {
            left.append({NormaliseRemotePath(upload.target), state.entry});
            continue;
        }
        notUploaded.append(serverStateLine(upload, state));
        if (isUntouched(upload, state))
            untouched.append(upload.source);
    }
    m_s.search.uploadsEnded(left, untouched);
    showBackupNotice(notUploaded);
}

} // namespace Velmora
