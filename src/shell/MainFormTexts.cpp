#include "MainFormTexts.h"

#include "common/Language.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace Velmora {

QString MainFormTexts::keyHelpLine(const Language &language)
{
    return language.text(
        QStringLiteral("Help [F1] - View/Edit [F4] - Upload/Download [F5] - Rename [F6] - Create Directory [F7] - "
                       "Delete [F8] - Permission [F11] - Connetions [F12] - Options [Alt+O]"),
        QStringLiteral("Hilfe [F1] - Anzeigen/Bearbeiten [F4] - Hoch-/Herunterladen [F5] - Umbenennen [F6] - "
                       "Ordner erstellen [F7] - Löschen [F8] - Berechtigung [F11] - Verbindungen [F12] - Optionen [Alt+O]"));
}

void MainFormTexts::apply(MainWindowWidgets &w, const Language &l)
{
    auto t = [&l](const char16_t *en, const char16_t *de) { return l.text(QString::fromUtf16(en), QString::fromUtf16(de)); };

    w.fileMenu->setTitle(t(u"&File", u"Da&tei")); // Alt+D is "Design" in both languages
    w.ftpConnectionsAction->setText(t(u"FTP Connections", u"FTP Verbindungen"));
    w.exitAction->setText(t(u"Exit", u"Verlassen"));
    w.filterMenu->setTitle(t(u"F&ilter", u"F&ilter"));
    w.editFilterAction->setText(t(u"Edit Filter", u"Filter bearbeiten"));
    w.transferFilterOnAction->setText(t(u"Transfer filter on", u"Tranfer Filter an"));
    w.batchjobMenu->setTitle(t(u"&Batchjob", u"&Batchjob"));
    w.createBatchjobAction->setText(t(u"Create Batchjob", u"Batchjob erzeugen"));
    w.showBatchjobsAction->setText(t(u"Show last batchjobs (Logfile)", u"Letzte Batchjobs anzeigen (Logdatei)"));
    w.toolsMenu->setTitle(t(u"E&xtended Tools", u"E&rweiterte Tools"));
    w.createFileAction->setText(t(u"Create a file", u"Datei erzeugen"));
    w.copyToEachDirAction->setText(t(u"Copy a file to each directory (and subdirectories)",
                                     u"Eine Datei in jedes Verzeichnis kopieren (Inklusiv Unterordner)"));
    w.multiRenameAction->setText(t(u"Multi rename tool", u"Mehrfach-Umbenennungs-Tool"));
    w.settingsMenu->setTitle(t(u"&Settings", u"&Einstellungen"));
    w.optionsAction->setText(t(u"Options", u"Optionen"));
    w.designAction->setText(t(u"Design", u"Design"));
    w.languageMenu->setTitle(t(u"Language", u"Sprache"));
    w.germanAction->setText(t(u"German", u"Deutsch"));
    w.englishAction->setText(t(u"English", u"English"));
    w.viewMenu->setTitle(t(u"&View", u"&Ansicht"));
    w.protocolViewAction->setText(t(u"Protocal window", u"Protokoll Fenster"));
    w.navigationViewAction->setText(t(u"Navigation", u"Navigation"));
    w.queueViewAction->setText(t(u"Queue window", u"Warteschlange Fenster"));
    w.filterViewAction->setText(t(u"Filter window", u"Filter Fenster"));
    w.helpMenu->setTitle(t(u"&Help", u"&Hilfe"));
    w.showHelpAction->setText(t(u"Show help", u"Hilfe anzeigen"));
    w.aboutAction->setText(t(u"About", u"Über"));
    w.checkUpdateAction->setText(t(u"Check now for update", u"Jetzt auf Update überprüfen"));
    w.updateAtStartAction->setText(t(u"Check for updates at program start", u"Bei jedem Programmstart auf Update überprüfen"));

    w.connectionsButton->setText(t(u"FTP connections (F12)", u"FTP Verbindungen [F12]"));
    w.disconnectButton->setText(t(u"Disconnect", u"Verbindung trennen"));
    w.protocolButton->setText(t(u"Protocol window", u"Protokoll Fenster"));
    w.navigationButton->setText(t(u"Navigation", u"Navigation"));
    w.queueWindowButton->setText(t(u"Queue window", u"Warteschlange Fenster"));
    w.filterWindowButton->setText(t(u"Filter window", u"Filter Fenster"));
    w.restoreButton->setText(t(u"Restore", u"Restore"));

    w.localRootButton->setToolTip(t(u"Drives and volumes", u"Laufwerke"));
    w.localUpButton->setToolTip(t(u"Parent folder", u"Übergeordneter Ordner"));
    w.serverRootButton->setToolTip(t(u"Root folder", u"Stammverzeichnis"));
    w.serverUpButton->setToolTip(t(u"Parent folder", u"Übergeordneter Ordner"));
    w.uploadAction->setText(t(u"Upload", u"Hochladen"));
    w.downloadAction->setText(t(u"Download", u"Herunterladen"));
    w.uploadAction->setToolTip(t(u"Upload [F5]", u"Hochladen [F5]"));
    w.downloadAction->setToolTip(t(u"Download [F5]", u"Herunterladen [F5]"));

    w.closeCheckBox->setText(t(u"Close program after transfer", u"Programm nach dem Transfer schließen"));
    w.shutdownCheckBox->setText(t(u"Shutdown PC after transfer", u"PC nach dem Transfer herunterfahren"));
    w.abortButton->setText(t(u"Abort", u"Abbrechen"));

    w.queueLabel->setText(t(u"Queue: ", u"Warteschlange: "));
    w.queueLoadButton->setText(t(u"Load queue", u"Warteschlange öffnen"));
    w.queueSaveButton->setText(t(u"Save queue", u"Warteschlange speichern"));
    w.queueRunButton->setText(t(u"Run queue", u"Warteschlange abarbeiten"));
    w.queuePauseButton->setText(t(u"Pause queue", u"Warteschlange Pause"));
    w.queueDeleteButton->setText(t(u"Clear queue", u"Warteschlange löschen"));
    w.automaticRunButton->setToolTip(t(u"Automatic run queue", u"Warteschlange automatisch abarbeiten"));
    for (QToolButton *button : {w.queueLoadButton, w.queueSaveButton, w.queueRunButton, w.queuePauseButton, w.queueDeleteButton})
        button->setToolTip(button->text());
    w.loadQueueAction->setText(w.queueLoadButton->text());
    w.saveQueueAction->setText(w.queueSaveButton->text());
    w.runQueueAction->setText(w.queueRunButton->text());
    w.pauseQueueAction->setText(w.queuePauseButton->text());
    w.deleteQueueAction->setText(t(u"Delete queue", u"Warteschlange löschen"));

    w.abortTransferButton->setText(t(u"Abort transfer", u"Transfer abbrechen"));
    w.closeChartsButton->setText(t(u"Close charts window", u"Diagramm Fenster schließen"));
    w.closeChartsButton2->setText(w.closeChartsButton->text());
    w.autoCloseChartsCheckBox->setText(t(u"Automatic close charts after transfer",
                                         u"Transfer Diagramme automatisch schließen nach dem Transfer"));
}

} // namespace Velmora
