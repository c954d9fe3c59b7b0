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
#include "queue/QueueRunner.h"
#include "queue/TransferBuilders.h"
#include "replace/BackupStore.h"
#include "replace/RestoreForm.h"

#include <QComboBox>
#include <QToolButton>

namespace Velmora {

RestoreWiring::RestoreWiring(AppContext &context, MainForm &main, BrowserController &browser, QueueWiring &queue,
                             TransferBuilders &builders, RestoreForm &restore)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
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
    return result.allSucceeded() ? QString() : notRestoredText(m_context, result.failed());
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
