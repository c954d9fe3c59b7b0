#pragma once

#include "queue/TransferBuilders.h"
#include "queue/TransferPorts.h"

#include <QObject>

class QAction;

namespace Velmora {

class BrowserController;
class GetFilesListForm;
class MainForm;
class MasterFTP;
class OptionsForm;
class QueueWiring;
class WizardFilterForm;
struct AppContext;
struct WorkControl;

// Puts the transfer requests into the main window: the Upload and Download buttons, F5 in the
// two grids, the grids' "Upload [F5]" and "Download [F5]" menu items and drag and drop between
// the grids start the upload or the download builder; the transfer-mode question switches the
// window's transfer filter, whose window (filter) the builders open when it is on.
class TransferWiring : public QObject {
    Q_OBJECT
public:
    struct Windows {
        WizardFilterForm &transferMode;
        GetFilesListForm &walkProgress;
        OptionsForm &options;
        SearchFollowUp *search = nullptr; // none: a search ends as if its window was closed
    };

    TransferWiring(AppContext &context, MainForm &main, MasterFTP &ftp, WorkControl &work, BrowserController &browser,
                   QueueWiring &queue, const Windows &windows, TransferFilter &filter);
    ~TransferWiring() override;

    TransferBuilders &builders() { return *m_builders; }
    TransferFilter &filter() { return m_filter; }
    QAction *uploadMenuItem() const { return m_uploadItem; }
    QAction *downloadMenuItem() const { return m_downloadItem; }

    // "Upload" and "Download" with the selection check of their grid.
    void requestUpload();
    void requestDownload();

private:
    void rowsDropped(bool ontoServer, const QString &dropFolder);
    void updateMenuItems();
    void retranslate();

    AppContext &m_context;
    MainForm &m_main;
    BrowserController &m_browser;
    TransferFilter &m_filter;
    NoSearchFollowUp m_search;
    std::unique_ptr<TransferBuilders> m_builders;
    QAction *m_uploadItem = nullptr;
    QAction *m_downloadItem = nullptr;
};

} // namespace Velmora
