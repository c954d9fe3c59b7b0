#include "MainFormSiteConnector.h"

#include "app/AppContext.h"
#include "app/MainForm.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "queue/QueueRunner.h"
#include "queue/QueueWiring.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QTableView>

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

MainFormSiteConnector::MainFormSiteConnector(AppContext &context, MainForm &main)
    : m_context(context)
    , m_main(main)
{
}

SiteConnector::ConnectionData MainFormSiteConnector::connectionData() const
{
    if (MasterFTP *ftp = m_context.ftp)
        return {ftp->host(), ftp->port(), ftp->user(), ftp->password(), ftp->activeMode()};
    return m_withoutSession;
}

void MainFormSiteConnector::setConnectionData(const ConnectionData &data)
{
    m_withoutSession = data;
    if (MasterFTP *ftp = m_context.ftp)
        ftp->SetConnectionData(data.host, data.port, data.user, data.password, data.activeMode);
}

QString MainFormSiteConnector::localPathText() const
{
    return m_main.widgets().localPathEdit->currentText();
}

QString MainFormSiteConnector::serverPathText() const
{
    return m_main.widgets().serverPathEdit->currentText();
}

void MainFormSiteConnector::setPathTexts(const QString &localPath, const QString &serverPath)
{
    m_main.widgets().localPathEdit->setEditText(localPath);
    m_main.widgets().serverPathEdit->setEditText(serverPath);
}

bool MainFormSiteConnector::deleteAllBackups(const QString &question)
{
    return m_main.deleteAllBackups(question);
}

bool MainFormSiteConnector::isConnected() const
{
    if (MasterFTP *ftp = m_context.ftp)
        return ftp->isConnected();
    return m_main.isConnected();
}

void MainFormSiteConnector::disconnect()
{
    if (MasterFTP *ftp = m_context.ftp)
        ftp->Disconnect();
}

bool MainFormSiteConnector::connect(bool clearQueueGrid)
{
    if (MasterFTP *ftp = m_context.ftp)
        return ftp->Connect(clearQueueGrid);
    if (clearQueueGrid)
        m_main.clearQueueGrid();
    m_context.protocol->AddProtocolMessage(
        ProtocolEntry::Error, m_context.language->text(QStringLiteral("No FTP session is available; no connection was made."),
                                                       QStringLiteral("Keine FTP-Sitzung vorhanden; es wurde keine Verbindung aufgebaut.")));
    return false;
}

void MainFormSiteConnector::setCaption(const QString &caption)
{
    m_main.setWindowTitle(caption);
}

void MainFormSiteConnector::listServer()
{
    m_main.listServerPath();
    selectFirstRow(m_main.widgets().serverGrid);
}

void MainFormSiteConnector::listLocal()
{
    m_main.listLocalPath();
    selectFirstRow(m_main.widgets().localGrid);
}

void MainFormSiteConnector::stopFileMonitoring()
{
    stopMonitoring();
}

void MainFormSiteConnector::resetRetryCounter()
{
    if (MasterFTP *ftp = m_context.ftp)
        ftp->resetRetryCounter();
}

void MainFormSiteConnector::resetOverwriteQuestion()
{
    if (auto *queue = m_main.findChild<QueueWiring *>(QStringLiteral("QueueWiring")))
        queue->runner().overwritePolicy().ask = !m_context.options->data().allwaysOverwrite;
}

void MainFormSiteConnector::setIdleState()
{
    m_main.SetIdleState();
}

} // namespace Velmora
