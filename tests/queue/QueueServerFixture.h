#pragma once

#include "FakePlatform.h"
#include "FakeUserPrompts.h"
#include "FtpTestServer.h"
#include "ScriptedFtpServer.h"
#include "TestEnvironment.h"
#include "QtPrinters.h"

#include "app/AppContext.h"
#include "app/AppFolders.h"
#include "app/DesignState.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "app/WorkControl.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "queue/LastQueueStore.h"
#include "queue/OverwritePolicy.h"
#include "queue/OverwriteQuestion.h"
#include "queue/QueueController.h"
#include "queue/QueueFile.h"
#include "queue/QueueHost.h"
#include "queue/QueueProgressView.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "queue/TreeWalker.h"
#include "queue/WalkProgress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace Velmora::Testing {

// Answers the overwrite question from a script: each answer sets the controls and says OK or
// Abort. Records the targets it was asked about.
class ScriptedQuestion : public OverwriteQuestion {
public:
    struct Answer {
        bool skip = false;
        bool always = false;
        bool currentQueue = false;
        bool ok = true;
    };
    bool askOverwrite(const QString &target, OverwritePolicy &policy) override
    {
        asked << target;
        const Answer a = answers.isEmpty() ? Answer{} : answers.takeFirst();
        policy.applyQuestionState(!a.skip, a.skip, a.always, a.currentQueue);
        return a.ok;
    }
    QList<Answer> answers;
    QStringList asked;
};

// Records what the run shows.
class RecordingView : public NullQueueProgressView {
public:
    void setBytesText(const QString &text) override
    {
        bytes << text;
        if (onBytes)
            onBytes();
    }
    void setOverallProgress(int, const QString &text) override { totals << text; }
    void setQueueInfoText(const QString &text) override { info = text; }
    void setQueueSizeText(const QString &text) override { size = text; }
    void showCharts() override { ++chartsShown; }
    void setTrafficLabel(const QString &text) override { traffic = text; }
    QStringList bytes;
    QStringList totals;
    QString info;
    QString size;
    QString traffic;
    int chartsShown = 0;
    std::function<void()> onBytes; // after every bytes text
};

class RecordingWalkProgress : public WalkProgress {
public:
    void addProgressLine(const QString &line, qint64, qint64, qint64) override
    {
        lines << line;
        if (onLine)
            onLine(lines.size());
    }
    QStringList lines;
    std::function<void(qsizetype)> onLine;
};

class RecordingHost : public NullQueueHost {
public:
    void endProgram() override { calls << QStringLiteral("endProgram"); }
    void shutdownComputer() override
    {
        calls << QStringLiteral("shutdown");
        if (onShutdown)
            onShutdown();
    }
    bool closeAfterRunChecked() const override { return closeChecked; }
    bool shutdownAfterRunChecked() const override { return shutdownChecked; }
    bool isBatchMode() const override { return batch; }
    QString batchQueueFile() const override { return queueFile; }
    QString batchModeArgument() const override { return mode; }
    QStringList calls;
    std::function<void()> onShutdown;
    bool closeChecked = false;
    bool shutdownChecked = false;
    bool batch = false;
    QString queueFile;
    QString mode;
};

// The queue with its engine, a real FTP server in a temporary folder, and a local folder.
class QueueServerTest : public ::testing::Test {
protected:
    QueueServerTest()
        : folders(makeFolders())
        , log(folders.appDataFolder)
        , options(folders.appDataFile(QStringLiteral("options.ini")))
        , context{folders, language, options, log, prompts, platform, design}
        , store(folders.appDataFile(QStringLiteral("lastqueue.ini")))
    {
        master = std::make_unique<MasterFTP>(log, options, prompts, context.folders, language);
        master->client().setTimeouts({3000, 5000, 5000});
        resetRunner();
        walker = std::make_unique<TreeWalker>(context, *master, work, host, *runner);
        walker->setProgress(&walkProgress);
        local = env.root() + QStringLiteral("local/");
        QDir().mkpath(local);
    }

    // A runner as at program start (a fresh overwrite policy).
    void resetRunner()
    {
        runner = std::make_unique<QueueRunner>(context, *master, work, model, store, host, view);
        runner->setQuestion(&question);
        runner->traffic().setRandom([] { return 2; });
        QObject::connect(runner.get(), &QueueRunner::recordsShown, [this](const QStringList &records) { shown = records; });
    }

    static AppFolders makeFolders()
    {
        AppFolders f = AppFolders::detect();
        f.create();
        return f;
    }

    // activeMode: 0 passive, 1 active (the login's value).
    void connectToServer(FtpTestServer::Setup setup = {}, int activeMode = 0)
    {
        server = std::make_unique<FtpTestServer>(setup);
        ASSERT_TRUE(server->start()) << server->errorText().toStdString();
        master->SetConnectionData(server->host(), QString::number(server->port()), server->user(), server->password(),
                                  activeMode);
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    }

    // For replies a real server will not give: the rules must be added before this.
    void connectToScriptedServer()
    {
        ASSERT_TRUE(scripted.start());
        master->SetConnectionData(QStringLiteral("127.0.0.1"), QString::number(scripted.port()), QStringLiteral("velmora"),
                                  QStringLiteral("secret"), 0);
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    }

    // A server whose transfers stop after HeldAfter bytes until the client aborts them: a test
    // that aborts on the first progress can neither pass nor fail by how fast the machine is.
    static constexpr qint64 HeldAfter = 1024 * 1024;
    void connectToHoldingServer()
    {
        FtpTestServer::Setup setup;
        setup.holdTransfersAfter = HeldAfter;
        connectToServer(setup);
    }

    RunResult run(const QStringList &records)
    {
        work.startWork();
        RunPlan plan;
        plan.records = records;
        return runner->RunQueue(plan);
    }

    QStringList protocol() const
    {
        QStringList lines;
        for (const ProtocolEntry &e : log.entries())
            lines << QString::number(e.kind) + QStringLiteral(": ") + e.text;
        return lines;
    }
    QStringList gridSources() const
    {
        QStringList sources;
        for (const QueueRow &row : model.rows())
            sources << row.source;
        return sources;
    }
    QStringList lastQueueSources() const
    {
        QStringList sources;
        for (const QueueRow &row : QueueFile::read(store.path()).rows)
            sources << row.source;
        return sources;
    }
    static QByteArray readLocal(const QString &path) { return TestEnvironment::readFile(path); }
    static QString octalMode(const QString &path)
    {
        const QFile::Permissions p = QFileInfo(path).permissions();
        int owner = 0, group = 0, other = 0;
        owner = (p & QFile::ReadOwner ? 4 : 0) | (p & QFile::WriteOwner ? 2 : 0) | (p & QFile::ExeOwner ? 1 : 0);
        group = (p & QFile::ReadGroup ? 4 : 0) | (p & QFile::WriteGroup ? 2 : 0) | (p & QFile::ExeGroup ? 1 : 0);
        other = (p & QFile::ReadOther ? 4 : 0) | (p & QFile::WriteOther ? 2 : 0) | (p & QFile::ExeOther ? 1 : 0);
        return QString::number(owner) + QString::number(group) + QString::number(other);
    }

    TestEnvironment env;
    AppFolders folders;
    ProtocolLog log;
    Options options;
    FakeUserPrompts prompts;
    Language language;
    WorkControl work;
    FakePlatform platform;
    DesignState design;
    AppContext context;
    QueueTableModel model;
    LastQueueStore store;
    RecordingHost host;
    RecordingView view;
    ScriptedQuestion question;
    RecordingWalkProgress walkProgress;
    std::unique_ptr<FtpTestServer> server;
    ScriptedFtpServer scripted;
    std::unique_ptr<MasterFTP> master;
    std::unique_ptr<QueueRunner> runner;
    // The records the last run was given (shown in the grid), whether it ran them or not.
    QStringList shown;
    std::unique_ptr<TreeWalker> walker;
    QString local;
};

} // namespace Velmora::Testing
