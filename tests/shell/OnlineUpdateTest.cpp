#include "AppFixture.h"

#include "shell/ConnectivityCheckForm.h"
#include "shell/ConnectivityProbe.h"
#include "shell/HelpMenuWiring.h"
#include "shell/OnlineUpdateForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class FakeConnectivity : public ConnectivityProbe {
public:
    State state() override
    {
        ++asked;
        return answer;
    }
    State answer = State::Online;
    int asked = 0;
};

} // namespace

class HelpMenu : public AppFixture {
protected:
    void startWith(ConnectivityProbe::State state, const QByteArray &updateIni = {})
    {
        probe.answer = state;
        connectivity = &probe;
        existingProfile();
        if (!updateIni.isNull())
            env.writeFile(updatePath(), updateIni);
        ASSERT_TRUE(start());
    }
    QString updatePath() const { return env.appDataFolder() + QStringLiteral("Update.ini"); }
    OnlineUpdateForm &update() { return *starter->dialogs().onlineUpdate; }
    ConnectivityCheckForm &check() { return *starter->dialogs().connectivityCheck; }
    FakeConnectivity probe;
};

TEST_F(HelpMenu, CheckNowWhileOfflineSaysThereIsNoConnection)
{
    startWith(ConnectivityProbe::State::Offline);
    EXPECT_EQ(probe.asked, 0); // no check at start unless switched on
    w().checkUpdateAction->trigger();
    EXPECT_EQ(probe.asked, 1);
    ASSERT_TRUE(check().isVisible());
    EXPECT_FALSE(update().isVisible());
    EXPECT_EQ(check().messageLabel()->text(),
              QStringLiteral("No internet connection found. Please check the network connection of this computer."));
    EXPECT_EQ(check().headerTitle(), QStringLiteral("Internet connection"));
    EXPECT_EQ(check().closeButton()->text(), QStringLiteral("Close"));
    main().SetLanguage(Language::German);
    EXPECT_EQ(check().messageLabel()->text(),
              QString::fromUtf8("Keine Internetverbindung gefunden. Bitte prüfen Sie die Netzwerkverbindung dieses Computers."));
    EXPECT_EQ(check().closeButton()->text(), QString::fromUtf8("Schließen"));
    check().closeButton()->click();
    EXPECT_FALSE(check().isVisible());
}

TEST_F(HelpMenu, CheckNowWhileOnlineShowsTheVersionAndThePackageManager)
{
    startWith(ConnectivityProbe::State::Online);
    w().checkUpdateAction->trigger();
    ASSERT_TRUE(update().isVisible());
    EXPECT_FALSE(check().isVisible());
    EXPECT_EQ(update().versionLabel()->text(), QStringLiteral("Velmora " VELMORA_VERSION_TEXT));
    EXPECT_EQ(update().messageLabel()->text(),
              QStringLiteral("Updates come through the system's package manager: use it to install a newer version of Velmora."));
    EXPECT_EQ(update().headerTitle(), QStringLiteral("Online update"));
    main().SetLanguage(Language::German);
    EXPECT_EQ(update().messageLabel()->text(),
              QString::fromUtf8("Updates kommen über die Paketverwaltung des Systems: installieren Sie damit eine neuere Version von Velmora."));
}

TEST_F(HelpMenu, UnknownStateStillShowsTheUpdateWindow)
{
    startWith(ConnectivityProbe::State::Unknown);
    w().checkUpdateAction->trigger();
    EXPECT_TRUE(update().isVisible());
    EXPECT_FALSE(check().isVisible());
}

TEST_F(HelpMenu, StartCheckSettingIsKeptAndOfflineStartTellsTheUser)
{
    startWith(ConnectivityProbe::State::Offline);
    EXPECT_FALSE(w().updateAtStartAction->isChecked());
    EXPECT_FALSE(check().isVisible());
    w().updateAtStartAction->trigger();
    EXPECT_TRUE(w().updateAtStartAction->isChecked());
    EXPECT_EQ(TestEnvironment::readFile(updatePath()), QByteArray("[SETTINGS]\r\nCheckAtStart=1\r\n\r\n"));
    starter->mainForm()->endFromRun();
    starter.reset();

    ASSERT_TRUE(start());
    EXPECT_TRUE(w().updateAtStartAction->isChecked());
    EXPECT_EQ(probe.asked, 1);
    EXPECT_TRUE(check().isVisible());
    EXPECT_EQ(check().state(), ConnectivityProbe::State::Offline);
    w().updateAtStartAction->trigger();
    EXPECT_EQ(TestEnvironment::readFile(updatePath()), QByteArray("[SETTINGS]\r\nCheckAtStart=0\r\n\r\n"));
}

TEST_F(HelpMenu, OnlineStartCheckShowsNothing)
{
    startWith(ConnectivityProbe::State::Online, "[SETTINGS]\r\nCheckAtStart=1\r\n");
    EXPECT_EQ(probe.asked, 1);
    EXPECT_FALSE(check().isVisible());
    EXPECT_FALSE(update().isVisible());
}

TEST_F(HelpMenu, AboutNamesProgramVersionAndLicence)
{
    startWith(ConnectivityProbe::State::Online);
    prompts.clear();
    w().aboutAction->trigger();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral(
        "information: Velmora - " VELMORA_VERSION_TEXT "\nFTP client with transfer filter, queue, search and replace "
        "and site manager.\nLicence: GNU General Public License, version 3 or later.")});
}

TEST(ConnectivityProbe, OnlyOnlineReachesTheInternet)
{
    using R = QNetworkInformation::Reachability;
    using S = ConnectivityProbe::State;
    const std::pair<R, S> cases[] = {{R::Online, S::Online}, {R::Disconnected, S::Offline}, {R::Local, S::Offline},
                                     {R::Site, S::Offline}, {R::Unknown, S::Unknown}};
    for (const auto &[reachability, state] : cases)
        EXPECT_EQ(ConnectivityProbe::fromReachability(reachability), state) << int(reachability);
}
