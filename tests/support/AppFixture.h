#pragma once

#include "FakePlatform.h"
#include "FakeUserPrompts.h"
#include "MainWindowControls.h"
#include "MemoryVault.h"
#include "TestEnvironment.h"
#include "shell/AppStarter.h"
#include "shell/MainForm.h"

#include <QDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace Velmora::Testing {

// A whole program start in a fresh profile, offscreen, with scripted prompts.
class AppFixture : public ::testing::Test {
protected:
    // The build's bin folder holds the generated skins and splash pictures.
    static QString programFolder()
    {
        return qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/bin/");
    }

    // An existing profile: the folder exists, with the given files.
    void existingProfile(bool withLanguage = true, bool withVersion = true, const QByteArray &language = "ENGLISH")
    {
        QDir().mkpath(env.appDataFolder());
        if (withLanguage)
            env.writeFile(env.appDataFolder() + QStringLiteral("LanguageIsSet.ini"), language + "\r\n");
        if (withVersion)
            env.writeFile(env.appDataFolder() + QStringLiteral("ver.ini"), VELMORA_VERSION_TEXT "\r\n");
    }

    bool start(const QStringList &arguments = {})
    {
        AppStarter::Seams seams;
        seams.prompts = &prompts;
        seams.platform = useSystemPlatform ? nullptr : &platform;
        seams.programFolder = programFolder();
        seams.console = [this](const QString &line) { console.append(line); };
        seams.connectivity = connectivity;
        seams.vault = &vault;
        starter = std::make_unique<AppStarter>(StartupArguments::fromArguments(arguments), seams);
        return starter->start();
    }

    MainForm &main() { return *starter->mainForm(); }
    // The main window's controls, found by their object names.
    MainWindowControls &w()
    {
        if (!m_controls || m_controlsOf != starter->mainForm()) {
            m_controls = MainWindowControls::of(*starter->mainForm());
            m_controlsOf = starter->mainForm();
        }
        return *m_controls;
    }
    AppContext &context() { return starter->context(); }
    TypeAheadSearch &typeAhead() { return starter->typeAhead(); }
    // Replaces the main window's answer to "is a session connected?".
    void fakeConnected(std::function<bool()> isConnected)
    {
        MainFormHooks hooks = main().hooks();
        hooks.isConnected = std::move(isConnected);
        main().setHooks(hooks);
    }

    void TearDown() override
    {
        if (starter && starter->mainForm())
            starter->mainForm()->endFromRun();
        starter.reset();
    }

    TestEnvironment env;
    FakeUserPrompts prompts;
    FakePlatform platform;
    // The program's own platform in place of the fake: its shutdown runs the recording command
    // that every test has (VELMORA_SHUTDOWN_COMMAND).
    bool useSystemPlatform = false;
    // What the program hears when it asks whether the machine is online; null: the system.
    ConnectivityProbe *connectivity = nullptr;
    // The desktop keyring the program finds; unreachable unless a test says otherwise, so no
    // start touches a real one.
    MemoryVault vault = unreachableVault();
    static MemoryVault unreachableVault()
    {
        MemoryVault unreachable;
        unreachable.answers = false;
        return unreachable;
    }
    QStringList console; // lines a batch run wrote to standard error
    std::unique_ptr<AppStarter> starter;

private:
    std::optional<MainWindowControls> m_controls;
    const MainForm *m_controlsOf = nullptr;
};

} // namespace Velmora::Testing
