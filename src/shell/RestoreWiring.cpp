#include "RestoreWiring.h"

#include "MainForm.h"
#include "QueueWiring.h"

#include "app/AppContext.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "app/UserPrompts.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "common/RemotePath.h"
#include "common/SizeText.h"
#include "queue/QueueRunner.h"
#include "queue/RemoteFileStates.h"
#include "queue/TransferBuilders.h"
#include "replace/BackupStore.h"
#include "replace/RestoreForm.h"

#include <QComboBox>
#include <QDateTime>
#include <QLocale>
#include <QToolButton>

namespace Velmora {

RestoreWiring::RestoreWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                             QueueWiring &queue, TransferBuilders &builders, RestoreForm &restore)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_ftp(ftp)
    , m_browser(browser)
    , m_queue(queue)
    , m_restore(restore)
    , m_builders(builders)
{
    connect(&main, &MainForm::restoreRequested, this, &RestoreWiring::restoreRequested);
}

void RestoreWiring::restoreRequested()
{
    if (m_main.isBusy())
        return;
    if (m_restore.openRestore() != QDialog::Accepted)
        return;
    restore(m_restore.chosen());
}

void RestoreWiring::restore(const BackupIndex &backup)
{
    const QString failure = backup.kind == BackupIndex::ServerKind ? restoreOnServer(backup) : restoreLocally(backup);
    if (!failure.isEmpty()) {
        // Never "restored" when it was not: the user must know which files are not back.
        m_context.prompts.error(failure);
        return;
    }
    m_context.prompts.information(m_context.text(QStringLiteral("Backup restored."), QStringLiteral("Backup wiederhergestellt.")));
}

namespace {

QString notRestoredText(const AppContext &context, int count)
{
    if (count < 0)
        return context.text(QStringLiteral("The backup was not restored: no file was put back. The backup is kept; press \"Restore\" to try again."),
                            QString::fromUtf8("Die Sicherung wurde nicht wiederhergestellt: keine Datei wurde zurückgelegt. Die "
                                              "Sicherung bleibt erhalten; \"Restore\" versucht es noch einmal."));
    return context.text(QStringLiteral("The backup was not restored completely: %1 of its files are not back (the protocol names "
                                       "them). The backup is kept; press \"Restore\" to try again."),
                        QString::fromUtf8("Die Sicherung wurde nicht vollständig wiederhergestellt: %1 ihrer Dateien sind nicht "
                                          "zurückgelegt (das Protokoll nennt sie). Die Sicherung bleibt erhalten; \"Restore\" "
                                          "versucht es noch einmal."))
        .arg(count);
}

} // namespace

QString RestoreWiring::restoreOnServer(const BackupIndex &backup)
{
    // A backup whose work changed no file has nothing to put back.
    if (BackupStore::HoldsNoFiles(backup.backupPath))
        return {};
    if (!confirmLaterChanges(backup))
        return notRestoredText(m_context, -1);
    const QString rememberedLocal = m_browser.pane(BrowserSide::Local).folder();
    m_browser.FillLocalGrid(backup.backupPath);
    m_browser.pane(BrowserSide::Local).view()->selectAll();

    // An upload of the whole backup folder, unfiltered and at once, whatever the switches say.
    m_queue.host().setServerPathText(backup.destinationPath);
    m_browser.FillServerGrid(backup.destinationPath);
    TransferRequest request;
    request.filtered = false;
    request.runAtOnce = true;
    const RunResult result = m_builders.Upload(request);
    m_browser.FillLocalGrid(rememberedLocal);
    // Aborted before anything ran (the transfer-mode question, say), or records that failed.
    if (!result.ran)
        return notRestoredText(m_context, -1);
    rememberWhatWasLeft(backup);
    return result.allSucceeded() ? QString() : notRestoredText(m_context, result.failed());
}

void RestoreWiring::rememberWhatWasLeft(const BackupIndex &backup)
{
    // The restore changed these files itself: a later restore compares with what it left.
    BackupStore &store = m_restore.store();
    RemoteFileStates states(m_ftp);
    const QDateTime now = QDateTime::currentDateTime();
    for (const QString &relative : BackupStore::FilesOf(backup.backupPath)) {
        const QString remote = NormaliseRemotePath(backup.destinationPath + u'/' + relative);
        if (!store.leftAt(remote))
            continue;
        if (const RemoteFileStates::State state = states.state(remote); state.entry)
            store.rememberLeft(remote, *state.entry, now);
    }
}

bool RestoreWiring::confirmLaterChanges(const BackupIndex &backup)
{
    const BackupStore &store = m_restore.store();
    RemoteFileStates states(m_ftp);
    const QLocale locale = QLocale::system();
    for (const QString &relative : BackupStore::FilesOf(backup.backupPath)) {
        const QString remote = NormaliseRemotePath(backup.destinationPath + u'/' + relative);
        const std::optional<BackupStore::LeftOnServer> left = store.leftAt(remote);
        if (!left)
            continue; // no upload of this run left it there: nothing to compare with
        const RemoteFileStates::State now = states.state(remote);
        const bool same = now.readable && now.entry && now.entry->sizeText == left->entry.sizeText
            && now.entry->dateText == left->entry.dateText;
        if (same)
            continue;
        QString found;
        if (!now.readable)
            found = m_context.text(QStringLiteral("what the server holds now could not be read"),
                                   QString::fromUtf8("was der Server jetzt hat, konnte nicht gelesen werden"));
        else if (!now.entry)
            found = m_context.text(QStringLiteral("the server has no file of that name now"),
                                   QString::fromUtf8("der Server hat jetzt keine Datei dieses Namens"));
        else
            found = m_context.text(QStringLiteral("now %1 bytes, dated %2"), QString::fromUtf8("jetzt %1 Bytes, vom %2"))
                        .arg(FormatSizeDots(now.entry->sizeText, false), now.entry->dateText.trimmed());
        const QString question =
            m_context.text(QStringLiteral("The file %1 was changed on the server since it was uploaded at %2 (it was then %3 "
                                          "bytes, dated %4; %5). Restore the old version over it anyway?"),
                           QString::fromUtf8("Die Datei %1 wurde auf dem Server geändert, seit sie um %2 hochgeladen wurde "
                                             "(damals %3 Bytes, vom %4; %5). Trotzdem die alte Version darüber "
                                             "wiederherstellen?"))
                .arg(remote, locale.toString(left->when, QLocale::ShortFormat),
                     FormatSizeDots(left->entry.sizeText, false), left->entry.dateText.trimmed(), found);
        if (!m_context.prompts.confirm(question))
            return false;
    }
    return true;
}

QString RestoreWiring::restoreLocally(const BackupIndex &backup)
{
    const QStringList failed = m_restore.store().RestoreLocal(backup);
    for (const QString &path : failed)
        m_context.protocol.AddProtocolMessage(ProtocolEntry::Error,
                                              m_context.text(QStringLiteral("Could not restore "),
                                                             QStringLiteral("Konnte nicht wiederherstellen: "))
                                                  + path);
    m_browser.FillLocalGrid(backup.destinationPath);
    return failed.isEmpty() ? QString() : notRestoredText(m_context, int(failed.size()));
}

} // namespace Velmora
