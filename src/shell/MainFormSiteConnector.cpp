#include "MainFormSiteConnector.h"

#include "MainForm.h"

#include "app/AppContext.h"
#include "app/Options.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "engine/MasterFTP.h"
#include "queue/OverwritePolicy.h"
#include "replace/RestoreForm.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QItemSelectionModel>

namespace Velmora {

namespace {

void selectFirstRow(QTableView *grid)
{
    if (!grid || !grid->model() || grid->model()->rowCount() == 0 || !grid->selectionModel())
        return;
    grid->selectionModel()->setCurrentIndex(grid->model()->index(0, 0),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace

MainFormSiteConnector::MainFormSiteConnector(AppContext &context, MainForm &main, MasterFTP &ftp,
                                             BrowserController &browser, OverwritePolicy &overwrite, RestoreForm &restore,
                                             std::function<void()> stopMonitoring)
    : m_context(context)
    , m_main(main)
    , m_ftp(ftp)
    , m_browser(browser)
    , m_overwrite(overwrite)
    , m_restore(restore)
    , m_stopMonitoring(std::move(stopMonitoring))
{
}

SiteConnector::ConnectionData MainFormSiteConnector::connectionData() const
{
    return {m_ftp.host(),       m_ftp.port(),       m_ftp.user(),    m_ftp.password(),
            m_ftp.activeMode(), m_ftp.encryption(), m_ftp.keyFile(), m_ftp.lockedPasswordEntry()};
}

void MainFormSiteConnector::setConnectionData(const ConnectionData &data)
{
    m_ftp.SetConnectionData(data.host, data.port, data.user, data.password, data.activeMode);
    m_ftp.setPasswordInLockedKeyring(data.lockedPasswordEntry);
    m_ftp.setEncryption(data.encryption);
    m_ftp.setKeyFile(data.keyFile);
}

QString MainFormSiteConnector::localPathText() const
{
    return m_browser.pane(BrowserSide::Local).folder();
}

QString MainFormSiteConnector::serverPathText() const
{
    return m_browser.pane(BrowserSide::Server).folder();
}

void MainFormSiteConnector::setPathTexts(const QString &localPath, const QString &serverPath)
{
    m_browser.pane(BrowserSide::Local).setPathText(localPath);
    m_browser.pane(BrowserSide::Server).setPathText(serverPath);
}

bool MainFormSiteConnector::deleteAllBackups(const QString &question)
{
    return m_restore.DeleteAllBackups(question);
}

bool MainFormSiteConnector::isConnected() const
{
    return m_ftp.isConnected();
}

void MainFormSiteConnector::disconnect()
{
    m_ftp.Disconnect();
}

bool MainFormSiteConnector::connect(bool clearQueueGrid)
{
    return m_ftp.Connect(clearQueueGrid);
}

void MainFormSiteConnector::setCaption(const QString &caption)
{
    m_main.setWindowTitle(caption);
}

void MainFormSiteConnector::listServer()
{
    FileGridPane &pane = m_browser.pane(BrowserSide::Server);
    m_browser.FillServerGrid(pane.folder());
    selectFirstRow(pane.view());
}

void MainFormSiteConnector::listLocal()
{
    FileGridPane &pane = m_browser.pane(BrowserSide::Local);
    m_browser.FillLocalGrid(pane.folder());
    selectFirstRow(pane.view());
}

void MainFormSiteConnector::stopFileMonitoring()
{
    m_stopMonitoring();
}

void MainFormSiteConnector::resetRetryCounter()
{
    m_ftp.resetRetryCounter();
}

void MainFormSiteConnector::resetOverwriteQuestion()
{
    m_overwrite.ask = !m_context.options.data().allwaysOverwrite;
}

void MainFormSiteConnector::setIdleState()
{
    m_main.SetIdleState();
}

} // namespace Velmora
