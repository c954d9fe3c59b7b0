#pragma once

#include "QueueHost.h"

namespace Velmora {

// The main window as a batch job's run sees it: everything passes through to the window's
// host, except that batch mode is on (with the job's queue file and switch) and that ending the
// program or shutting down is only noted. The job carries those out itself once the run and
// what follows it (listing the folders again) are over, so the program never ends while work
// still waits on the server.
class BatchJobHost : public QueueHost {
public:
    BatchJobHost(QueueHost &inner, QString queueFile, QString mode)
        : m_inner(inner)
        , m_queueFile(std::move(queueFile))
        , m_mode(std::move(mode))
    {
    }

    bool endRequested() const { return m_endRequested; }
    bool shutdownRequested() const { return m_shutdownRequested; }

    void setBusyState() override { m_inner.setBusyState(); }
    void setIdleState() override { m_inner.setIdleState(); }
    QString localPathText() const override { return m_inner.localPathText(); }
    QString serverPathText() const override { return m_inner.serverPathText(); }
    void setServerPathText(const QString &path) override { m_inner.setServerPathText(path); }
    void listLocalPath() override { m_inner.listLocalPath(); }
    void listServerPath() override { m_inner.listServerPath(); }
    void showServerFolder(const QString &path) override { m_inner.showServerFolder(path); }
    void setAutomaticRunButton(bool automatic) override { m_inner.setAutomaticRunButton(automatic); }
    bool closeAfterRunChecked() const override { return m_inner.closeAfterRunChecked(); }
    bool shutdownAfterRunChecked() const override { return m_inner.shutdownAfterRunChecked(); }
    void endProgram() override { m_endRequested = true; }
    void shutdownComputer() override { m_shutdownRequested = true; }
    bool isBatchMode() const override { return true; }
    QString batchQueueFile() const override { return m_queueFile; }
    QString batchModeArgument() const override { return m_mode; }

private:
    QueueHost &m_inner;
    QString m_queueFile;
    QString m_mode;
    bool m_endRequested = false;
    bool m_shutdownRequested = false;
};

} // namespace Velmora
