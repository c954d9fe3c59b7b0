#pragma once

#include <QString>

namespace Velmora {

// What the queue needs of the main window: its busy and idle states, the two path boxes and the
// file grids, the end-of-run check boxes, batch mode, and ending the program or the session.
class QueueHost {
public:
    virtual ~QueueHost() = default;

    virtual void setBusyState() = 0;
    virtual void setIdleState() = 0;
    virtual QString localPathText() const = 0;
    virtual QString serverPathText() const = 0;
    virtual void setServerPathText(const QString &path) = 0;
    // The local grid lists the local path box; the server grid the server path box.
    virtual void listLocalPath() = 0;
    virtual void listServerPath() = 0;
    // The server grid and path box show this folder (the permission walk).
    virtual void showServerFolder(const QString &path) = 0;
    virtual void setAutomaticRunButton(bool automatic) = 0;

    virtual bool closeAfterRunChecked() const = 0;
    virtual bool shutdownAfterRunChecked() const = 0;
    virtual void endProgram() = 0;
    virtual void shutdownComputer() = 0;

    // Batch mode: the queue file of the command line and its mode ("-r", "-rc", "-rs").
    virtual bool isBatchMode() const = 0;
    virtual QString batchQueueFile() const = 0;
    virtual QString batchModeArgument() const = 0;
};

// A host without a window: path boxes as plain texts, everything else does nothing.
class NullQueueHost : public QueueHost {
public:
    void setBusyState() override {}
    void setIdleState() override {}
    QString localPathText() const override { return localPath; }
    QString serverPathText() const override { return serverPath; }
    void setServerPathText(const QString &path) override { serverPath = path; }
    void listLocalPath() override {}
    void listServerPath() override {}
    void showServerFolder(const QString &path) override { serverPath = path; }
    void setAutomaticRunButton(bool) override {}
    bool closeAfterRunChecked() const override { return false; }
    bool shutdownAfterRunChecked() const override { return false; }
    void endProgram() override {}
    void shutdownComputer() override {}
    bool isBatchMode() const override { return false; }
    QString batchQueueFile() const override { return {}; }
    QString batchModeArgument() const override { return {}; }

    QString localPath = QStringLiteral("/");
    QString serverPath = QStringLiteral("/");
};

} // namespace Velmora
