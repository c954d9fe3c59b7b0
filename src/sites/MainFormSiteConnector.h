#pragma once

#include "SiteConnector.h"

#include <functional>

namespace Velmora {

class MainForm;
struct AppContext;

// Connecting as the program does it: the main window's path boxes, caption, grids and idle
// state, the FTP session (MasterFTP) and the transfer queue's overwrite question.
class MainFormSiteConnector : public SiteConnector {
public:
    MainFormSiteConnector(AppContext &context, MainForm &main);

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

    // The edited-file monitoring stops here once the editor exists.
    std::function<void()> stopMonitoring = [] {};

private:
    AppContext &m_context;
    MainForm &m_main;
    ConnectionData m_withoutSession; // kept while no FTP session exists
};

} // namespace Velmora
