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
class EditorForm;
class MainForm;
class MasterFTP;
class QueueWiring;
class SearchAndReplaceForm;
class TransferBuilders;
struct AppContext;

// Puts the search in files into the program: F9 and F10 in either grid start "Search in files"
// and "Search and replace in files" for that side; after the filter window the builders open
// the search window through this class (SearchFollowUp), which also answers the window's
// questions about the main window and opens the built-in editor for it.
class SearchWiring : public QObject, public SearchFollowUp, public SearchWindowHost {
    Q_OBJECT
public:
    struct Windows {
        SearchAndReplaceForm &search;
        EditorForm &editor;
    };

    SearchWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser, QueueWiring &queue,
                 BackupStore &backups, const Windows &windows);

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
    QString chosenRemoteFile() const override;
    QString chosenLocalFile() const override;

    // SearchWindowHost
    QString localPathText() const override;
    QString serverPathText() const override;
    bool hasServerHost() const override;
    void hideCharts() override;
    bool editFile(const QString &path) override;

private:

    AppContext &m_context;
    MainForm &m_main;
    MasterFTP &m_ftp;
    BrowserController &m_browser;
    QueueWiring &m_queue;
    SearchAndReplaceForm &m_form;
    EditorForm &m_editor;
    TransferBuilders *m_builders = nullptr;
    TransferFilter *m_filter = nullptr;
};

} // namespace Velmora
