// Queue control in the whole program, offscreen, against a real FTP server: requests gathered
// with MAN and run with "Run queue", Pause with its resumption after a restart, work asked for
// while paused transfers finish, no line deleted while a run goes on, and the AUTO/MAN choice
// kept by the one options object.
#include "AppFixture.h"
#include "FtpTestServer.h"

#include "app/Options.h"
#include "app/OptionsForm.h"
#include "app/ProtocolLog.h"
#include "browser/BrowserController.h"
#include "browser/FileGridPane.h"
#include "browser/FileGridView.h"
#include "engine/MasterFTP.h"
#include "queue/QueueFile.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "shell/PaintThrottle.h"
#include "shell/QueueWiring.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class QueueControlWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(server.start()) << server.errorText().toStdString();
        local = env.root() + QStringLiteral("local/");
        QDir().mkpath(local);
    }

    MasterFTP &ftp() { return starter->ftp(); }
    QueueWiring &queue() { return starter->queue(); }
    QueueTableModel &model() { return starter->queue().model(); }

    void connectToServer()
    {
        ftp().SetConnectionData(server.host(), QString::number(server.port()), server.user(), server.password(), 0);
        ASSERT_TRUE(ftp().Connect(false));
        main().SetIdleState();
    }
    // What a builder does with its records: run them (AUTO) or only add them to the grid (MAN).
    void request(const QStringList &records)
    {
        RunPlan plan;
        plan.records = records;
        plan.autoRun = context().options.data().automaticRunQueue;
        queue().runner().RunQueue(plan);
        main().SetIdleState();
    }
    QString retr(const QString &name) const
    {
        return QStringLiteral("RETR|/pub/") + name + u'|' + local + name;
    }
    QueueRow retrRow(const QString &name, const QString &target) const
    {
        return {QStringLiteral("/pub/") + name, QStringLiteral("RETR"), target, QStringLiteral("4"), QStringLiteral("05/20/2010 10:12:00")};
    }
    QStringList gridSources()
    {
        QStringList sources;
        for (const QueueRow &r : model().rows())
            sources << r.source;
        return sources;
    }
    QStringList lastQueueSources() const
    {
        QStringList sources;
        for (const QueueRow &r : QueueFile::read(env.appDataFolder() + QStringLiteral("lastqueue.ini")).rows)
            sources << r.source;
        return sources;
    }
    QByteArray optionsFile() const { return TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("options.ini")); }
    void restart()
    {
        main().endFromRun();
        starter.reset();
        prompts.clear();
        ASSERT_TRUE(start());
    }

    FtpTestServer server;
    QString local;
};

} // namespace

TEST_F(QueueControlWindowTest, ManGathersTwoRequestsAndRunQueueRunsThem)
{
    server.writeFile(QStringLiteral("pub/a.dat"), "aaaa");
    server.writeFile(QStringLiteral("pub/b.dat"), "bbbb");
    ASSERT_TRUE(start());
    connectToServer();
    w().automaticRunButton->click();
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("MAN"));

    request({retr(QStringLiteral("a.dat"))});
    request({retr(QStringLiteral("b.dat"))});
    EXPECT_EQ(gridSources(), (QStringList{QStringLiteral("/pub/a.dat"), QStringLiteral("/pub/b.dat")}));
    EXPECT_EQ(lastQueueSources(), gridSources());
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("a.dat"))) << "MAN runs nothing";
    EXPECT_EQ(w().queueInfoPanel->text(), QStringLiteral("    2 operations"));
    ASSERT_TRUE(w().queueRunButton->isEnabled());

    w().queueRunButton->click();
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("a.dat")), QByteArray("aaaa"));
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("b.dat")), QByteArray("bbbb"));
    EXPECT_TRUE(model().isEmpty());
    EXPECT_EQ(QFileInfo(env.appDataFolder() + QStringLiteral("lastqueue.ini")).size(), 0);
    EXPECT_FALSE(w().queueRunButton->isEnabled());
}

TEST_F(QueueControlWindowTest, PauseKeepsTheRestWhichARestartShowsAndRunQueueFinishes)
{
    for (const char *name : {"p0.dat", "p1.dat", "t.dat", "p3.dat"})
        server.writeFile(QStringLiteral("pub/") + QString::fromLatin1(name), QByteArray(name).left(4));
    ASSERT_TRUE(start());
    connectToServer();
    const QString downloads = context().folders.downloadFolder();
    // The third row is a search's download into the temporary folder: Pause drops it.
    model().appendRows({retrRow(QStringLiteral("p0.dat"), local + QStringLiteral("p0.dat")),
                        retrRow(QStringLiteral("p1.dat"), local + QStringLiteral("p1.dat")),
                        retrRow(QStringLiteral("t.dat"), downloads + QStringLiteral("t.dat")),
                        retrRow(QStringLiteral("p3.dat"), local + QStringLiteral("p3.dat"))});
    main().SetIdleState();
    bool pauseEnabled = false;
    const QMetaObject::Connection pause =
        QObject::connect(&queue().runner(), &QueueRunner::recordStarted, &main(), [&](int index) {
            if (index != 1)
                return;
            pauseEnabled = w().queuePauseButton->isEnabled();
            w().queuePauseButton->click();
        });
    w().queueRunButton->click();
    QObject::disconnect(pause);
    EXPECT_TRUE(pauseEnabled) << "Pause acts while the queue runs";
    EXPECT_TRUE(QFileInfo::exists(local + QStringLiteral("p1.dat"))) << "the record that was running finished";
    EXPECT_FALSE(QFileInfo::exists(local + QStringLiteral("p3.dat"))) << "the run stopped after it";
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/pub/p3.dat")});
    EXPECT_EQ(lastQueueSources(), gridSources());

    // The next start shows the rest with the last login, and "Run queue" finishes it.
    restart();
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/pub/p3.dat")});
    EXPECT_EQ(ftp().host(), server.host());
    EXPECT_FALSE(ftp().isConnected());
    ASSERT_TRUE(w().queueRunButton->isEnabled());
    w().queueRunButton->click();
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("p3.dat")), QByteArray("p3.d"));
    EXPECT_TRUE(model().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(downloads + QStringLiteral("t.dat")));
}

TEST_F(QueueControlWindowTest, NoLineIsDeletedWhileARunGoesOnWhicheverWayItIsAsked)
{
    for (const char *name : {"a.dat", "b.dat", "c.dat"})
        server.writeFile(QStringLiteral("pub/") + QString::fromLatin1(name), "data");
    ASSERT_TRUE(start());
    connectToServer();
    model().appendRows({retrRow(QStringLiteral("a.dat"), local + QStringLiteral("a.dat")),
                        retrRow(QStringLiteral("b.dat"), local + QStringLiteral("b.dat")),
                        retrRow(QStringLiteral("c.dat"), local + QStringLiteral("c.dat"))});
    main().SetIdleState();
    prompts.confirmAnswers = {true, true, true}; // a question that came would delete
    QTableView *grid = w().queueGrid;
    bool deleteLinesEnabled = true;
    int rowsDuringRun = -1;
    const QMetaObject::Connection tries =
        QObject::connect(&queue().runner(), &QueueRunner::recordStarted, &main(), [&](int index) {
            if (index != 0)
                return;
            main().SetIdleState(); // what a click into the protocol grid does, run or not
            deleteLinesEnabled = queue().deleteLinesAction()->isEnabled();
            grid->selectAll();
            QTest::keyClick(grid, Qt::Key_Delete);           // the key
            queue().deleteSelectedLines();                     // the popup menu's "Delete line(s)"
            w().queueDeleteButton->click();                    // the queue bar's "Clear queue"
            w().deleteQueueAction->trigger();                  // the popup menu's "Delete queue"
            rowsDuringRun = model().rowCount();
        });
    w().queueRunButton->click();
    QObject::disconnect(tries);

    EXPECT_FALSE(deleteLinesEnabled);
    EXPECT_EQ(rowsDuringRun, 3);
    EXPECT_TRUE(prompts.shown.filter(QStringLiteral("confirm:")).isEmpty()) << prompts.shown.join(u'\n').toStdString();
    int refusals = 0;
    for (const ProtocolEntry &entry : context().protocol.entries())
        refusals += entry.text == QStringLiteral("The queue is running: its lines can be deleted after the run or after Pause.");
    EXPECT_GE(refusals, 3);
    for (const char *name : {"a.dat", "b.dat", "c.dat"})
        EXPECT_TRUE(QFileInfo::exists(local + QString::fromLatin1(name))) << name;
    EXPECT_TRUE(model().isEmpty());
    EXPECT_TRUE(queue().deleteLinesAction()->isEnabled()) << "after the run lines can go again";
}

TEST_F(QueueControlWindowTest, TheAutoManChoiceStaysAsChosen)
{
    ASSERT_TRUE(start());
    OptionsForm &options = *starter->dialogs().options;
    auto *automaticBox = options.findChild<QCheckBox *>(QStringLiteral("AutomaticRunQueueCheckBox"));
    auto *closeChartsBox = options.findChild<QCheckBox *>(QStringLiteral("CloseChartsCheckBox"));
    auto *abort = options.findChild<QPushButton *>(QStringLiteral("AbortButton"));

    // AUTO -> MAN, then a tick in the charts panel's box: both stay in the file.
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("AUTO"));
    w().automaticRunButton->click();
    w().autoCloseChartsCheckBox->click();
    EXPECT_TRUE(optionsFile().contains("\r\nAutomaticRunQueue=0\r\n")) << optionsFile().constData();
    EXPECT_TRUE(optionsFile().contains("\r\nCloseCharts=0\r\n"));
    options.show(); // the dialog shows the options as they are
    EXPECT_FALSE(automaticBox->isChecked());
    EXPECT_FALSE(closeChartsBox->isChecked());
    abort->click();
    restart();
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("MAN"));
    EXPECT_FALSE(w().autoCloseChartsCheckBox->isChecked());

    // The dialog's box takes effect at once and stays after Abort; the button's first click
    // then switches from what it shows.
    OptionsForm &again = *starter->dialogs().options;
    again.show();
    again.findChild<QCheckBox *>(QStringLiteral("AutomaticRunQueueCheckBox"))->click();
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("AUTO"));
    again.findChild<QPushButton *>(QStringLiteral("AbortButton"))->click();
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("AUTO"));
    EXPECT_TRUE(optionsFile().contains("\r\nAutomaticRunQueue=0\r\n")) << "Abort stores nothing";
    w().autoCloseChartsCheckBox->click(); // another option's save does not store it either
    EXPECT_TRUE(optionsFile().contains("\r\nAutomaticRunQueue=0\r\n"));
    EXPECT_TRUE(optionsFile().contains("\r\nCloseCharts=1\r\n"));
    w().automaticRunButton->click();
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("MAN"));
    EXPECT_TRUE(optionsFile().contains("\r\nAutomaticRunQueue=0\r\n"));
    w().automaticRunButton->click();
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("AUTO"));
    EXPECT_TRUE(optionsFile().contains("\r\nAutomaticRunQueue=1\r\n"));
}

namespace {

// Counts the layout and paint requests that reach one widget.
class RequestCounter : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::UpdateRequest;
        layouts += event->type() == QEvent::LayoutRequest;
        return false;
    }
    int paints = 0;
    int layouts = 0;
};

} // namespace

TEST_F(QueueControlWindowTest, WhileBusyTheWindowIsLaidOutAndPaintedAtMostTenTimesASecond)
{
    ASSERT_TRUE(start());
    auto *throttle = main().findChild<PaintThrottle *>();
    ASSERT_NE(throttle, nullptr);
    main().SetBusyState();
    QCoreApplication::processEvents();
    RequestCounter window;
    RequestCounter panel;
    main().installEventFilter(&window);
    w().progressPanel->installEventFilter(&panel);
    const auto request = [](QWidget *receiver, QEvent::Type type) {
        QEvent event(type);
        QCoreApplication::sendEvent(receiver, &event);
    };
    for (int i = 0; i < 5; ++i) {
        request(&main(), QEvent::UpdateRequest);
        request(w().progressPanel, QEvent::LayoutRequest);
    }
    EXPECT_LE(window.paints, 1);
    EXPECT_LE(panel.layouts, 1);
    ASSERT_TRUE(throttle->deferredTimer().isActive()) << "what waits is done at the next turn";
    const int paintsBefore = window.paints;
    QMetaObject::invokeMethod(&throttle->deferredTimer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(window.paints, paintsBefore + 1);
    EXPECT_GE(panel.layouts, 1);

    main().SetIdleState(); // idle: every request at once
    window.paints = 0;
    for (int i = 0; i < 3; ++i)
        request(&main(), QEvent::UpdateRequest);
    EXPECT_EQ(window.paints, 3);
    main().removeEventFilter(&window);
    w().progressPanel->removeEventFilter(&panel);
}

// Pause while four transfers run side by side: the window is idle at once and says that they
// are finishing. A download asked for meanwhile (F5) is refused in plain words and sends nothing,
// and the rows the Pause left stay in the grid and in "lastqueue.ini", through the end of the run
// and through the next request; "Run queue" then carries them out.
TEST_F(QueueControlWindowTest, WorkAskedForAfterPauseNeverDropsThePausedRows)
{
    constexpr qint64 Held = 1024 * 1024;
    const QString release = env.root() + QStringLiteral("release");
    const QString commands = env.root() + QStringLiteral("commands.log");
    FtpTestServer::Setup setup;
    setup.holdTransfersAfter = Held;
    setup.releaseFile = release;
    setup.orderLog = commands;
    FtpTestServer holding(setup);
    QStringList records;
    QStringList names;
    for (int i = 0; i < 6; ++i) {
        const QString name = QStringLiteral("f%1.bin").arg(i);
        holding.writeFile(QStringLiteral("pub/") + name, QByteArray(i < 4 ? 2 * Held + i : 100 + i, char('a' + i)));
        records << retr(name);
        names << QStringLiteral("/pub/") + name;
    }
    holding.writeFile(QStringLiteral("pub/other.txt"), "other\n");
    ASSERT_TRUE(holding.start()) << holding.errorText().toStdString();
    env.writeFile(env.appDataFolder() + QStringLiteral("no_wizard_filter.ini"), " \r\n");
    ASSERT_TRUE(start());
    OptionsData data = context().options.data();
    data.simultaneousTransfers = 4;
    context().options.setData(data);
    ftp().SetConnectionData(holding.host(), QString::number(holding.port()), holding.user(), holding.password(), 0);
    ASSERT_TRUE(ftp().Connect(false));
    main().SetIdleState();
    BrowserController &browser = starter->browser();
    browser.FillLocalGrid(local);
    browser.FillServerGrid(QStringLiteral("/pub/"));
    const auto selectOther = [&] {
        FileGridPane &pane = browser.pane(BrowserSide::Server);
        for (int row = 0; row < pane.model().rowCount(); ++row) {
            if (pane.model().nameAt(row) == u"other.txt")
                pane.view()->selectRow(row);
        }
    };
    const auto asked = [&] { return TestEnvironment::readFile(commands).contains("RETR /pub/other.txt"); };

    QueueRunner &runner = queue().runner();
    bool paused = false;
    QString infoWhileFinishing;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (paused || runner.traffic().movingSessionTransfers() < 4)
            return;
        paused = true;
        w().queuePauseButton->click();
        EXPECT_FALSE(main().isBusy()) << "the window is idle at once";
        infoWhileFinishing = w().queueInfoPanel->text();
        prompts.clear();
        selectOther();
        w().downloadAction->trigger(); // F5 on a file while the transfers finish
        EXPECT_EQ(gridSources(), names) << "the paused rows stay";
        EXPECT_EQ(lastQueueSources(), names);
        QFile(release).open(QIODevice::WriteOnly); // the running transfers go on to their end
    });
    watch.start(5);
    main().SetBusyState(); // as every request runs: Pause is what the window lets through
    request(records);
    watch.stop();
    ASSERT_TRUE(paused);

    EXPECT_EQ(infoWhileFinishing, QStringLiteral("    Pause: the running transfers are finishing"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral(
                                 "information: Transfers are still finishing after Pause. New work can start when they have ended.")});
    EXPECT_FALSE(asked()) << "the refused download sent nothing";
    const QStringList notStarted{QStringLiteral("/pub/f4.bin"), QStringLiteral("/pub/f5.bin")};
    EXPECT_EQ(gridSources(), notStarted);
    EXPECT_EQ(lastQueueSources(), notStarted);
    EXPECT_EQ(w().queueInfoPanel->text(), QStringLiteral("    2 operations"));

    // Now the download runs, and the paused rows wait beside it.
    prompts.clear();
    selectOther();
    w().downloadAction->trigger();
    EXPECT_TRUE(asked());
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("other.txt")), QByteArray("other\n"));
    EXPECT_EQ(gridSources(), notStarted);
    EXPECT_EQ(lastQueueSources(), notStarted);
    // Changing the server folder keeps them too.
    browser.FillServerGrid(QStringLiteral("/"));
    EXPECT_EQ(gridSources(), notStarted);

    w().queueRunButton->click();
    EXPECT_TRUE(model().isEmpty()) << context().protocol.entries().size();
    EXPECT_TRUE(lastQueueSources().isEmpty());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(QFileInfo(local + QStringLiteral("f%1.bin").arg(i)).size(), i < 4 ? 2 * Held + i : 100 + i) << i;
}
