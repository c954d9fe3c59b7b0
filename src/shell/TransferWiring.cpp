#include "TransferWiring.h"

#include "MainForm.h"
#include "QueueWiring.h"

#include "app/AppContext.h"
#include "app/OptionsForm.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "filter/WizardFilterForm.h"
#include "queue/GetFilesListForm.h"
#include "queue/QueueRunner.h"

#include <QAction>

namespace Velmora {

TransferWiring::TransferWiring(AppContext &context, MainForm &main, MasterFTP &ftp, WorkControl &work,
                               BrowserController &browser, QueueWiring &queue, const Windows &windows,
                               TransferFilter &filter)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_browser(browser)
    , m_filter(filter)
{
    OptionsForm &options = windows.options;
    // Choosing the other transfer mode switches the filter like the window's on/off switch.
    windows.transferMode.setFilterSwitch([&main] { return main.filterState(); },
                                         [&main, &options](bool on) {
                                             main.setFilterState(on);
                                             options.SaveOptions();
                                         });
    m_builders = std::make_unique<TransferBuilders>(TransferBuilderSetup{
        context, ftp, work, queue.host(), queue.runner(), queue.walker(), windows.walkProgress, browser, windows.transferMode,
        m_filter, windows.search ? *windows.search : m_search});

    connect(&main, &MainForm::uploadRequested, this, &TransferWiring::requestUpload);
    connect(&main, &MainForm::downloadRequested, this, &TransferWiring::requestDownload);
    browser.commands().setHandler(GridCommand::Transfer, [this](BrowserSide side) {
        if (side == BrowserSide::Local)
            requestUpload();
        else
            requestDownload();
    });

    // The grids' menu items; the pane menus of the other file commands join them later.
    m_uploadItem = new QAction(this);
    m_uploadItem->setObjectName(QStringLiteral("UploadMenuItem"));
    m_downloadItem = new QAction(this);
    m_downloadItem->setObjectName(QStringLiteral("Download1"));
    connect(m_uploadItem, &QAction::triggered, this, &TransferWiring::requestUpload);
    connect(m_downloadItem, &QAction::triggered, this, &TransferWiring::requestDownload);
    for (auto [side, item] : {std::pair{BrowserSide::Local, m_uploadItem}, std::pair{BrowserSide::Server, m_downloadItem}}) {
        FileGridView *grid = browser.pane(side).view();
        grid->addAction(item);
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    connect(&main, &MainForm::idleStateEntered, this, &TransferWiring::updateMenuItems);
    connect(&ftp, &MasterFTP::connectionChanged, this, &TransferWiring::updateMenuItems);

    browser.setDragAllowed([&main] { return !main.isBusy(); });
    connect(&browser, &BrowserController::rowsDropped, this,
            [this](BrowserSide target, const QString &folder) { rowsDropped(target == BrowserSide::Server, folder); });

    connect(&context.language, &Language::languageChanged, this, &TransferWiring::retranslate);
    retranslate();
    m_uploadItem->setEnabled(false); // nothing is connected yet
}

TransferWiring::~TransferWiring() = default;

void TransferWiring::requestUpload()
{
    if (m_main.isBusy() || !m_browser.CheckSelection(BrowserSide::Local, SelectionRule::AFileOrDirectory))
        return;
    m_builders->Upload();
}

void TransferWiring::requestDownload()
{
    if (m_main.isBusy() || !m_browser.CheckSelection(BrowserSide::Server, SelectionRule::AFileOrDirectory))
        return;
    m_builders->Download();
}

void TransferWiring::rowsDropped(bool ontoServer, const QString &dropFolder)
{
    if (m_main.isBusy())
        return;
    if (ontoServer)
        m_builders->Upload({dropFolder});
    else
        m_builders->Download({dropFolder});
}

void TransferWiring::updateMenuItems()
{
    m_uploadItem->setEnabled(m_main.isConnected());
}

void TransferWiring::retranslate()
{
    m_uploadItem->setText(m_context.text(QStringLiteral("Upload [F5]"), QStringLiteral("Hochladen [F5]")));
    m_downloadItem->setText(m_context.text(QStringLiteral("Download [F5]"), QStringLiteral("Herunterladen [F5]")));
}

} // namespace Velmora
