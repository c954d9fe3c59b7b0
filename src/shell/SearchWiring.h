#pragma once

#include "browser/BrowserSide.h"
#include "queue/TransferPorts.h"
#include "queue/TransferRequest.h"
#include "replace/SearchWindowPorts.h"

#include <QList>
#include <QObject>


namespace Velmora {

class BackupStore;
class BrowserController;
class MainForm;
class MasterFTP;
class SearchAndReplaceForm;
class TransferBuilders;

// Puts the search in files into the program: F9 and F10 in either grid start "Search in files"
// and "Search and replace in files" for that side; after the filter window the builders open
// the search window through this class (SearchFollowUp). The search window asks its questions
// about the main window through the window's port.
class SearchWiring : public QObject, public SearchFollowUp {
    Q_OBJECT
public:
    SearchWiring(MainForm &main, SearchWindowHost &window, MasterFTP &ftp,
                 BrowserController &browser, BackupStore &backups, SearchAndReplaceForm &search);

    // The builders that collect the selection, and the filter they ask whether it can open (the
    // filter window is what hands the files over).
    void setBuilders(TransferBuilders &builders, TransferFilter &filter);
    // "Search files [F3]", "Search in files [F9]" or "Search and replace in files [F10]" for a
    // side: the selection check, the connection for the server side, then the search workflow,
    // which always lets the filter window choose.
    void requestSearch(BrowserSide side, SearchKind kind);

    // The grids' menu items "Search in files [F9]" and "Search and replace in files [F10]"
    // (local grid first), present once the builders are there.

    // SearchFollowUp
    Outcome execSearchWindow(bool replaceMode) override;
    QStringList transferRecords() const override;
    void showRestoreButton() override;
    void uploadsEnded(const QList<UploadLeft> &left, const QStringList &untouched) override;
    QString chosenRemoteFile() const override;
    QString chosenLocalFile() const override;

private:

    MainForm &m_main;
    MasterFTP &m_ftp;
    BrowserController &m_browser;
    SearchAndReplaceForm &m_form;
    BackupStore &m_backups;
    TransferBuilders *m_builders = nullptr;
    TransferFilter *m_filter = nullptr;
};

} // namespace Velmora
