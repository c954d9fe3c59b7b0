#include "DeleteWiring.h"

#include "MainForm.h"

#include "app/AppContext.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "queue/TransferBuilders.h"

#include <QAction>
#include <QStyle>
#include <QToolBar>

namespace Velmora {

namespace {

QAction *namedAction(QObject *parent, const char *name)
{
    auto *action = new QAction(parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

bool parentRowSelected(FileGridPane &pane)
{
    for (int row : pane.selectedRows()) {
        if (pane.model().entryAt(row).isParent)
            return true;
    }
    return false;
}

} // namespace

DeleteWiring::DeleteWiring(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                           TransferBuilders &builders)
    : QObject(&main)
    , m_context(context)
    , m_main(main)
    , m_ftp(ftp)
    , m_browser(browser)
    , m_builders(builders)
{
    MainWindowWidgets &w = main.widgets();
    const QIcon trash = main.style()->standardIcon(QStyle::SP_TrashIcon);
    // The panes' buttons sit beside Upload and Download on the panes' tool bars.
    m_localButton = namedAction(w.localToolBar, "DeleteLocalSpeedButton");
    m_serverButton = namedAction(w.serverToolBar, "DeleteServerSpeedButton");
    m_localItem = namedAction(this, "DeleteLocalMenuItem");
    m_serverItem = namedAction(this, "Delete1");
    for (QAction *action : {m_localButton, m_serverButton})
        action->setIcon(trash);
    w.localToolBar->addAction(m_localButton);
    w.serverToolBar->addAction(m_serverButton);
    for (auto [side, item] : {std::pair{BrowserSide::Local, m_localItem}, std::pair{BrowserSide::Server, m_serverItem}}) {
        FileGridView *grid = browser.pane(side).view();
        grid->addAction(item);
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    for (QAction *action : {m_localButton, m_localItem})
        connect(action, &QAction::triggered, this, &DeleteWiring::requestLocalDelete);
    for (QAction *action : {m_serverButton, m_serverItem})
        connect(action, &QAction::triggered, this, &DeleteWiring::requestServerDelete);
    browser.commands().setHandler(GridCommand::Delete, [this](BrowserSide side) {
        if (side == BrowserSide::Local)
            requestLocalDelete();
        else
            requestServerDelete();
    });

    connect(&context.language, &Language::languageChanged, this, &DeleteWiring::retranslate);
    retranslate();
}

DeleteWiring::~DeleteWiring() = default;

void DeleteWiring::requestServerDelete()
{
    if (m_main.isBusy() || m_builders.isBuilding())
        return;
    if (!m_ftp.isConnected()) {
        m_ftp.Connect(false);
        if (!m_ftp.isConnected())
            return;
    }
    if (!m_browser.CheckSelection(BrowserSide::Server, SelectionRule::AFileOrDirectory))
        return;
    m_builders.DeleteOnServer();
}

void DeleteWiring::requestLocalDelete()
{
    if (m_main.isBusy() || m_builders.isBuilding())
        return;
    FileGridPane &pane = m_browser.pane(BrowserSide::Local);
    if (!m_browser.CheckSelection(BrowserSide::Local, SelectionRule::AFileOrDirectory) || parentRowSelected(pane))
        return;
    m_builders.DeleteLocally();
}

void DeleteWiring::retranslate()
{
    const QString text = m_context.text(QStringLiteral("Delete [F8]"), QString::fromUtf8("Löschen [F8]"));
    for (QAction *action : {m_localButton, m_serverButton, m_localItem, m_serverItem})
        action->setText(text);
}

} // namespace Velmora
