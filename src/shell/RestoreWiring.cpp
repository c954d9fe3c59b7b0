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
#include "queue/TransferBuilders.h"
#include "replace/RestoreForm.h"

#include <QComboBox>
#include <QToolButton>

namespace Velmora {

RestoreWiring::RestoreWiring(AppContext &context, MainForm &main, BrowserController &browser, QueueWiring &queue,
                             RestoreForm &restore)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_browser(browser)
    , m_queue(queue)
    , m_restore(restore)
{
    connect(main.widgets().restoreButton, &QToolButton::clicked, this, &RestoreWiring::restoreRequested);
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
    if (backup.kind == BackupIndex::ServerKind)
        restoreOnServer(backup);
    else
        restoreLocally(backup);
    m_context.prompts.information(m_context.text(QStringLiteral("Backup restored."), QStringLiteral("Backup wiederhergestellt.")));
}

void RestoreWiring::restoreOnServer(const BackupIndex &backup)
{
    if (!m_builders)
        return;
    MainWindowWidgets &w = m_main.widgets();
    const QString rememberedLocal = w.localPathEdit->currentText();
    m_browser.FillLocalGrid(backup.backupPath);
    m_browser.pane(BrowserSide::Local).view()->selectAll();

    // An upload of the whole backup folder, unfiltered and at once, whatever the switches say.
    const bool filterWasOn = m_main.filterState();
    Options &options = m_context.options;
    const bool automaticWas = options.data().automaticRunQueue;
    m_main.setFilterState(false);
    options.applyUnsaved(&OptionsData::automaticRunQueue, true);
    m_queue.host().setServerPathText(backup.destinationPath);
    m_browser.FillServerGrid(backup.destinationPath);
    m_builders->Upload(WorkMode::Transfer);
    options.applyUnsaved(&OptionsData::automaticRunQueue, automaticWas);
    m_main.setFilterState(filterWasOn);
    m_browser.FillLocalGrid(rememberedLocal);
}

void RestoreWiring::restoreLocally(const BackupIndex &backup)
{
    const QStringList failed = m_restore.store().RestoreLocal(backup);
    for (const QString &path : failed)
        m_context.protocol.AddProtocolMessage(ProtocolEntry::Error,
                                              m_context.text(QStringLiteral("Could not restore "),
                                                             QStringLiteral("Konnte nicht wiederherstellen: "))
                                                  + path);
    m_browser.FillLocalGrid(backup.destinationPath);
}

} // namespace Velmora
