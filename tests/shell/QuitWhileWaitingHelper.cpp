// The program as main() starts it, with scripted answers to its questions: it waits on a server
// that does not answer and File > Exit is chosen while it waits. The test that starts this
// process checks that it ends. (The real executable cannot be driven from outside: its
// questions are real dialogs.)
// Usage: app_quit_helper port connect|listing|download|silent-host local-folder
#include "FakePlatform.h"
#include "FakeUserPrompts.h"

#include "shell/AppStarter.h"
#include "shell/MainForm.h"
#include "MainWindowControls.h"
#include "shell/VelmoraApplication.h"
#include "engine/ftp/FtpError.h"
#include "engine/MasterFTP.h"
#include "queue/QueueTableModel.h"
#include "shell/QueueWiring.h"

#include <QAction>
#include <QToolButton>
#include <QTimer>

#include <cstdio>

using namespace Velmora;
using namespace Velmora::Testing;

int main(int argc, char **argv)
{
    VelmoraApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Velmora"));
    app.setOrganizationName(QStringLiteral("Holmvik"));
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    const QString port = args[1];
    const QString mode = args[2];
    const QString localFolder = args[3];

    FakeUserPrompts prompts;
    prompts.confirmAnswers = {true, true}; // "Do you really want to exit the program?" and the backups
    FakePlatform platform;
    AppStarter::Seams seams;
    seams.prompts = &prompts;
    seams.platform = &platform;
    seams.programFolder = qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/bin/");
    AppStarter starter(StartupArguments(), seams);
    app.setUnexpectedErrorHandler([&starter](const QString &errorText) {
        if (starter.mainForm())
            starter.mainForm()->HandleUnexpectedError(errorText);
    });
    if (!starter.start())
        return 3;
    MainForm &main = *starter.mainForm();
    main.siteManagerTimer().stop();
    if (starter.splash())
        starter.splash()->close();

    MasterFTP &ftp = starter.ftp();
    ftp.SetConnectionData(QStringLiteral("127.0.0.1"), port, QStringLiteral("u"), QStringLiteral("p"), 0);
    bool exitChosen = false;
    const auto chooseExit = [&] {
        if (exitChosen)
            return;
        exitChosen = true;
        std::printf("exit chosen while waiting\n");
        std::fflush(stdout);
        Testing::MainWindowControls::of(main).exitAction->trigger();
    };
    // The moment the client waits: the connection stands but the greeting does not come, the
    // listing or the download has begun and its data stop.
    QObject::connect(&ftp.client(), &FtpClient::statusReported, &main, [&](const QString &status) {
        if ((mode == u"connect" && status == u"Connected.") || (mode == u"listing" && status == u"FTP transfer started")
            || (mode == u"silent-host" && status.startsWith(u"Connecting to")))
            chooseExit();
    });
    QObject::connect(&ftp.client(), &FtpClient::workProgressed, &main, [&] {
        if (mode == u"download")
            chooseExit();
    });
    QTimer::singleShot(0, &main, [&] {
        if (mode == u"silent-host") {
            // As users start it: "Run queue" with a row in the grid connects first.
            starter.queue().model().appendRows({{QStringLiteral("/a.dat"), QStringLiteral("RETR"), localFolder + QStringLiteral("/a.dat"),
                                                 QStringLiteral("4"), QStringLiteral("05/20/2010 10:12:00")}});
            main.SetIdleState();
            Testing::MainWindowControls::of(main).queueRunButton->click();
            std::printf("the call returned\n");
            return;
        }
        ftp.Connect(false);
        if (mode == u"listing") {
            QStringList records;
            ftp.GetListing(QStringLiteral("/"), records);
        } else if (mode == u"download") {
            try {
                ftp.client().download(QStringLiteral("/big.bin"), localFolder + QStringLiteral("/big.bin"));
            } catch (const FtpError &error) {
                std::printf("download: %s\n", qPrintable(error.message()));
            }
        }
        std::printf("the call returned\n");
    });
    const int code = app.exec();
    for (const QString &line : std::as_const(prompts.shown))
        std::printf("%s\n", qPrintable(line));
    return code;
}
