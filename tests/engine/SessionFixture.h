#pragma once

#include "FakeUserPrompts.h"
#include "FtpTestServer.h"
#include "TestEnvironment.h"

#include "app/AppFolders.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "common/Language.h"
#include "engine/MasterFTP.h"
#include "engine/NullSessionHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace Velmora::Testing {

// The main window's side of the session, recording what the session asks of it.
class RecordingSessionHost : public NullSessionHost {
public:
    void setIdleState() override { calls << QStringLiteral("idle"); }
    void clearQueueGrid() override { calls << QStringLiteral("clearQueueGrid"); }
    void clearServerGrid() override { calls << QStringLiteral("clearServerGrid"); }
    void setBusyCursor(bool busy) override { calls << (busy ? QStringLiteral("busy") : QStringLiteral("normal")); }
    QStringList calls;
};

// A session with isolated application folders, a protocol log, options, prompts and a host.
class SessionTest : public ::testing::Test {
protected:
    SessionTest()
        : folders(makeFolders())
        , log(folders.appDataFolder)
        , options(folders.appDataFile(QStringLiteral("options.ini")))
    {
        makeMaster();
    }

    static AppFolders makeFolders()
    {
        AppFolders f = AppFolders::detect();
        f.create();
        return f;
    }

    void makeMaster(std::unique_ptr<FtpClient> client = nullptr)
    {
        master.reset();
        master = std::make_unique<MasterFTP>(log, options, prompts, folders, language, std::move(client));
        master->setSessionHost(&host);
        master->client().setTimeouts({3000, 5000, 5000});
    }

    void startServer(FtpTestServer::Setup setup = {})
    {
        server = std::make_unique<FtpTestServer>(setup);
        ASSERT_TRUE(server->start()) << server->errorText().toStdString();
        master->SetConnectionData(server->host(), QString::number(server->port()), server->user(), server->password(), 0);
    }

    void connectToServer()
    {
        startServer();
        ASSERT_TRUE(master->Connect(false)) << prompts.shown.join(u'\n').toStdString();
    }

    // Protocol lines as "kind: text".
    QStringList protocol() const
    {
        QStringList lines;
        for (const ProtocolEntry &e : log.entries())
            lines << QString::number(e.kind) + QStringLiteral(": ") + e.text;
        return lines;
    }
    qsizetype protocolCount(const QString &line) const { return protocol().count(line); }

    void setOptions(bool keepalive, const QString &interval, bool logfiles = false)
    {
        OptionsData d = options.data();
        d.keepalive = keepalive;
        d.keepaliveTime = interval;
        d.logfiles = logfiles;
        options.setData(d);
    }

    TestEnvironment env;
    AppFolders folders;
    ProtocolLog log;
    Options options;
    FakeUserPrompts prompts;
    Language language;
    RecordingSessionHost host;
    std::unique_ptr<FtpTestServer> server;
    std::unique_ptr<MasterFTP> master;
};

} // namespace Velmora::Testing
