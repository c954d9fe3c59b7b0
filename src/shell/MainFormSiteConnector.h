#pragma once

#include "sites/SiteConnector.h"

#include <functional>

namespace Velmora {

class BrowserController;
class MainForm;
class MasterFTP;
class OverwritePolicy;
class RestoreForm;
struct AppContext;

// Connecting as the program does it: the main window's path boxes, caption, grids and idle
// state, the FTP session (MasterFTP) and the transfer queue's overwrite question.
class MainFormSiteConnector : public SiteConnector {
public:
    // restore deletes the search-and-replace backups; stopMonitoring switches the edited-file
    // monitor of server files off.
    MainFormSiteConnector(AppContext &context, MainForm &main, MasterFTP &ftp, BrowserController &browser,
                          OverwritePolicy &overwrite, RestoreForm &restore, std::function<void()> stopMonitoring);

    ConnectionData connectionData() const override;
    void setConnectionData(const ConnectionData &data) override;
    QString localPathText() const override;
    QString serverPathText() const override;
    void setPathTexts(const QString &localPath, const QString &serverPath) override;
    bool deleteAllBackups(const QString &question) override;
    bool isConnected() const override;
    void disconnect() override;
    bool connect(bool clearQueueGrid) override;
    void setCaption(const QString &caption) override;
    void listServer() override;
    void listLocal() override;
    void stopFileMonitoring() override;
    void resetRetryCounter() override;
    void resetOverwriteQuestion() override;
    void setIdleState() override;

private:
    AppContext &m_context;
    MainForm &m_main;
    MasterFTP &m_ftp;
    BrowserController &m_browser;
    OverwritePolicy &m_overwrite;
    RestoreForm &m_restore;
    std::function<void()> m_stopMonitoring;
};

} // namespace Velmora
