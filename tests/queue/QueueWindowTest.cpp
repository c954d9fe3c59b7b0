// The queue's windows offscreen: the overwrite question, the walk's progress window, and in the
// whole program the queue grid, the queue bar, the progress panel and the charts.
#include "AppFixture.h"

#include "common/TextCodec.h"
#include "QtPrinters.h"
#include "queue/AskOverwriteForm.h"
#include "queue/GetFilesListForm.h"
#include "shell/MainFormProgressView.h"
#include "queue/OverwritePolicy.h"
#include "queue/QueueFile.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "shell/QueueWiring.h"
#include "queue/TrafficChartsWidget.h"

#include <QAreaSeries>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QLineSeries>
#include <QListWidget>
#include <QPieSeries>
#include <QPieSlice>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

class QueueWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        existingProfile();
        ASSERT_TRUE(start());
        wiring = &starter->queue();
    }
    QueueWiring *wiring = nullptr;
};

} // namespace

TEST_F(QueueWindowTest, TheOverwriteQuestionShowsItsTextsAndKeepsOneCheckBoxChecked)
{
    auto *ask = starter->dialogs().overwriteQuestion;
    ASSERT_NE(ask, nullptr);
    OverwritePolicy policy;
    ask->prepare(QStringLiteral("/home/anna/site/index.html"), policy);
    EXPECT_EQ(ask->messageLabel()->text(), QStringLiteral("The target file allready exists."));
    EXPECT_EQ(ask->pathLabel()->text(), QStringLiteral("/ home/ anna/ site/ index.html"));
    EXPECT_EQ(ask->findChild<QGroupBox *>(QStringLiteral("ActionGroupBox"))->title(), QStringLiteral("Action"));
    EXPECT_EQ(ask->overwriteRadioButton()->text(), QStringLiteral("Overwrite"));
    EXPECT_EQ(ask->skipRadioButton()->text(), QStringLiteral("Skip"));
    EXPECT_EQ(ask->allwaysCheckBox()->text(), QStringLiteral("Allways use this action"));
    EXPECT_EQ(ask->currentQueueCheckBox()->text(), QStringLiteral("Apply to current queue only"));
    EXPECT_EQ(ask->abortButton()->text(), QStringLiteral("Abort"));
    EXPECT_TRUE(ask->overwriteRadioButton()->isChecked()) << "neither checked: Overwrite";

    ask->show();
    ask->skipRadioButton()->click();
    EXPECT_EQ(policy.action, OverwritePolicy::Action::Skip);
    EXPECT_TRUE(policy.ask);
    ask->allwaysCheckBox()->click();
    ask->allwaysCheckBox()->click();
    EXPECT_TRUE(ask->allwaysCheckBox()->isChecked()) << "a checked box stays checked";
    EXPECT_EQ(policy.scope, OverwritePolicy::Scope::Always);
    ask->currentQueueCheckBox()->click();
    EXPECT_FALSE(ask->allwaysCheckBox()->isChecked());
    EXPECT_EQ(policy.scope, OverwritePolicy::Scope::CurrentQueue);
    ask->hide();

    // Shown again: the radio button stays, the check boxes are cleared.
    ask->prepare(QStringLiteral("/x"), policy);
    EXPECT_TRUE(ask->skipRadioButton()->isChecked());
    EXPECT_FALSE(ask->currentQueueCheckBox()->isChecked());
    EXPECT_EQ(policy.scope, OverwritePolicy::Scope::ThisFile);

    context().language.setCurrent(Language::German);
    EXPECT_EQ(ask->messageLabel()->text(), QStringLiteral("Die Zieldatei existiert bereits."));
    EXPECT_EQ(ask->abortButton()->text(), QStringLiteral("Abbrechen"));
}

TEST_F(QueueWindowTest, TheOverwriteQuestionAnswersThroughItsModalLoop)
{
    auto *ask = starter->dialogs().overwriteQuestion;
    OverwritePolicy policy;
    QTimer::singleShot(0, ask, [ask] {
        ask->overwriteRadioButton()->click();
        ask->allwaysCheckBox()->click();
        ask->okButton()->click();
    });
    EXPECT_TRUE(ask->askOverwrite(QStringLiteral("/a"), policy));
    EXPECT_FALSE(policy.questionNeeded());

    QTimer::singleShot(0, ask, [ask] { QTest::keyClick(ask, Qt::Key_Escape); });
    EXPECT_FALSE(ask->askOverwrite(QStringLiteral("/a"), policy)) << "Escape is Abort";
}

TEST_F(QueueWindowTest, TheWalkProgressWindowShowsLinesCountersAndAborts)
{
    auto *progress = starter->dialogs().walkProgress;
    ASSERT_NE(progress, nullptr);
    progress->openProgress();
    EXPECT_EQ(progress->titleLabel()->text(), QStringLiteral("Get directory structure"));
    progress->addProgressLine(QStringLiteral("Read folder: /www"), 0, 0, 1);
    EXPECT_EQ(progress->dirsLabel()->text(), QStringLiteral("Determined directories:  1"));
    EXPECT_EQ(progress->filesLabel()->text(), QString());
    EXPECT_EQ(progress->sizeLabel()->text(), QString());
    progress->addProgressLine(QStringLiteral("Read file: /www/a.txt"), 1, 2048, 1);
    EXPECT_EQ(progress->filesLabel()->text(), QStringLiteral("Determined files:  1"));
    EXPECT_EQ(progress->sizeLabel()->text(), QStringLiteral("Determined size:  2.048  bytes  (2.00 kB)"));

    QMetaObject::invokeMethod(&progress->lineTimer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(progress->list()->currentRow(), 1) << "the newest line is selected";

    starter->work().cancel = CancelToken();
    progress->abortButton()->click();
    EXPECT_TRUE(starter->work().cancel.isCancelled());
    EXPECT_FALSE(progress->isVisible());
    progress->openProgress();
    EXPECT_EQ(progress->list()->count(), 0);
}

// The whole program ends a run as the command line's "-rs" or the "Shutdown PC after transfer"
// box says: through its own platform, which runs the recording shutdown command.
struct RunEndCase {
    const char *name;
    bool batch;
    bool boxChecked;
};

class QueueRunEnd : public AppFixture, public ::testing::WithParamInterface<RunEndCase> {};

TEST_P(QueueRunEnd, ShutdownAfterTheRunRunsTheShutdownCommand)
{
    const RunEndCase &c = GetParam();
    useSystemPlatform = true;
    existingProfile();
    const QString queue = env.writeFile(QStringLiteral("nightly.queue"), QByteArray());
    const QString record = env.root() + QStringLiteral("shutdown-record.txt");
    qputenv("VELMORA_SHUTDOWN_RECORD", record.toUtf8());
    ASSERT_FALSE(qEnvironmentVariable("VELMORA_SHUTDOWN_COMMAND").isEmpty()) << "never the real power-off";
    ASSERT_TRUE(start(c.batch ? QStringList{queue, QStringLiteral("-rs")} : QStringList{}));
    w().shutdownCheckBox->setChecked(c.boxChecked);

    if (c.batch) {
        // The job: a queue it cannot run still gets its log line and the end "-rs" asks for.
        QMetaObject::invokeMethod(&main().batchJobTimer(), "timeout", Qt::DirectConnection);
    } else {
        RunPlan plan;
        plan.records = {QStringLiteral("MKLOCALDIR|") + env.root() + QStringLiteral("made")};
        starter->queue().runner().RunQueue(plan);
    }
    qunsetenv("VELMORA_SHUTDOWN_RECORD");

    EXPECT_EQ(TestEnvironment::readFile(record), c.batch || c.boxChecked ? QByteArray("shutdown\n") : QByteArray());
    const QStringList log = TextCodec::ReadLines(env.appDataFolder() + QStringLiteral("Lastbatchjob.log"));
    ASSERT_EQ(log.size(), c.batch ? 1 : 0);
    if (c.batch) {
        EXPECT_TRUE(log.first().contains(QStringLiteral("|nightly.queue|-rs|"))) << log.first().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Ends, QueueRunEnd,
                         ::testing::Values(RunEndCase{"rs", true, false}, RunEndCase{"shutdown_box", false, true},
                                           RunEndCase{"neither", false, false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(QueueWindowTest, TrafficTicksFeedTheChartsAndTheirLabels)
{
    QueueRunner &runner = wiring->runner();
    TrafficMonitor &traffic = runner.traffic();
    traffic.setRandom([] { return 3; });
    traffic.startRun(CancelToken(), true, 4, 2, 3072);
    traffic.beforeRecord();
    traffic.setExpectedSize(4096);
    traffic.handleWorkBegan(0);
    traffic.handleWorkProgressed(2048 + 1024);
    EXPECT_EQ(w().bytesPanel->text(), QStringLiteral("Bytes: 3.072 / 4.096   (75%)"));
    EXPECT_EQ(w().progressBar2->maximum(), 4096);
    EXPECT_EQ(w().progressBar2->value(), 3072);

    QMetaObject::invokeMethod(&traffic.timer(), "timeout", Qt::DirectConnection);
    TrafficChartsWidget &charts = wiring->charts();
    EXPECT_EQ(charts.trafficLabel()->text(), QStringLiteral("Traffic: 0 (kB/s)")); // (3 + 0) / 6
    EXPECT_EQ(charts.trafficLabel()->objectName(), QStringLiteral("TrafficChartsLabel"));
    traffic.handleWorkProgressed(4096 + 12 * 1024);
    QMetaObject::invokeMethod(&traffic.timer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(charts.trafficLabel()->text(), QStringLiteral("Traffic: 2 (kB/s)")); // (3 + 13) / 6
    EXPECT_EQ(charts.fileSizeLabel()->text(), QStringLiteral("Total transfered size: 0.00 kB / 3.00 kB"));
    ASSERT_EQ(charts.trafficSeries()->count(), 2);
    EXPECT_EQ(charts.trafficSeries()->objectName(), QStringLiteral("Series1"));
    EXPECT_EQ(charts.trafficSeries()->at(1), QPointF(2, 2));
    EXPECT_EQ(charts.areaSeries()->objectName(), QStringLiteral("AreaSeries1"));
    EXPECT_EQ(charts.cumulativeLine()->at(1), QPointF(2, 4)) << "4096 announced bytes";

    traffic.statistics().filesDone = 1;
    traffic.statistics().recordsDone = 3;
    traffic.updatePies();
    EXPECT_EQ(charts.filesLabel()->text(), QStringLiteral("Total files: 1 / 2"));
    EXPECT_EQ(charts.operationsLabel()->text(), QStringLiteral("Remaining operations: 1"));
    ASSERT_EQ(charts.filesPie()->count(), 2);
    EXPECT_EQ(charts.filesPie()->objectName(), QStringLiteral("PieSeries2"));
    EXPECT_EQ(charts.filesPie()->slices()[0]->value(), 1);
    EXPECT_EQ(charts.filesPie()->slices()[0]->color(), QColor(Qt::white));
    EXPECT_EQ(charts.filesPie()->slices()[1]->color(), QColor(162, 239, 175));
    EXPECT_EQ(charts.recordsPie()->slices()[0]->value(), 1);
    EXPECT_EQ(charts.recordsPie()->slices()[1]->value(), 3);
    EXPECT_EQ(charts.recordsPie()->slices()[0]->label(), QStringLiteral("Bar 2"));

    // A transfer of more than 2 GiB still moves the byte bar.
    traffic.beforeRecord();
    traffic.setExpectedSize(Q_INT64_C(6442450944));
    traffic.handleWorkBegan(0);
    traffic.handleWorkProgressed(Q_INT64_C(3221225472));
    EXPECT_EQ(w().progressBar2->value() * 2, w().progressBar2->maximum());
    EXPECT_EQ(w().bytesPanel->text(), QStringLiteral("Bytes: 3.221.225.472 / 6.442.450.944   (50%)"));
}

TEST_F(QueueWindowTest, TheChartsTakeThePlaceOfTheFilePanesUntilTheyClose)
{
    QueueProgressView &view = wiring->view();
    view.showCharts();
    EXPECT_TRUE(w().chartsPanel->isVisibleTo(&main()));
    EXPECT_FALSE(w().gridSplitter->isVisibleTo(&main()));
    EXPECT_FALSE(w().closeChartsButton->isVisibleTo(&main()));
    main().SetIdleState(); // "Automatic close charts after transfer" is on by default
    EXPECT_FALSE(w().chartsPanel->isVisibleTo(&main()));
    EXPECT_TRUE(w().gridSplitter->isVisibleTo(&main()));
}

TEST(QueueStartTest, TheLastQueueIsShownAgainAtStart)
{
    TestEnvironment env;
    QDir().mkpath(env.appDataFolder());
    env.writeFile(env.appDataFolder() + QStringLiteral("LanguageIsSet.ini"), "ENGLISH\r\n");
    env.writeFile(env.appDataFolder() + QStringLiteral("ver.ini"), "Version 7.1\r\n");
    env.writeFile(env.appDataFolder() + QStringLiteral("lastqueue.ini"),
                  "/www/a.txt\xA7RETR\xA7/dl/a.txt\xA7" "1204\xA7" "20.05.2010 10:12\r\n"
                  "                                        \r\n"
                  "/www/old\xA7" "DELE\xA7\xA7" "0\xA7" "20.05.2010 10:13:14\r\n");
    FakeUserPrompts prompts;
    FakePlatform platform;
    AppStarter::Seams seams;
    seams.prompts = &prompts;
    seams.platform = &platform;
    seams.programFolder = qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/bin/");
    AppStarter starter(StartupArguments(), seams);
    ASSERT_TRUE(starter.start());
    QAbstractItemModel *model = Testing::MainWindowControls::of(*starter.mainForm()).queueGrid->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Source:"));
    EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Date:"));
    EXPECT_EQ(model->index(0, 3).data().toString(), QStringLiteral("1204"));
    EXPECT_EQ(model->index(0, 4).data().toString(), QStringLiteral("05/20/2010 10:12:00"));
    EXPECT_EQ(model->index(1, 2).data().toString(), QStringLiteral(" "));
    // The blank line a killed run left is gone from the file too.
    EXPECT_EQ(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("lastqueue.ini")).count('\n'), 2);
    starter.mainForm()->endFromRun();
}

TEST_F(QueueWindowTest, TheDeleteKeyInTheQueueGridAsksAndDeletesTheSelectedRows)
{
    QueueTableModel &model = wiring->model();
    model.appendRows({{QStringLiteral("/a"), QStringLiteral("DELE"), {}, QStringLiteral("0"), {}},
                      {QStringLiteral("/b"), QStringLiteral("DELE"), {}, QStringLiteral("0"), {}}});
    main().SetIdleState();
    QTableView *grid = w().queueGrid;
    grid->selectRow(1);
    grid->setFocus();
    prompts.confirmAnswers = {true};
    QTest::keyClick(grid, Qt::Key_Delete);
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_EQ(prompts.shown.last(), QStringLiteral("confirm: Really delete 1 entry?"));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.rowAt(0).source, QStringLiteral("/a"));
    EXPECT_EQ(QueueFile::read(env.appDataFolder() + QStringLiteral("lastqueue.ini")).rows.size(), 1);
    EXPECT_EQ(w().queueInfoPanel->text(), QStringLiteral("    1 operations"));
    EXPECT_EQ(wiring->popupMenu()->actions().size(), 8);
}

TEST_F(QueueWindowTest, TheQueueTextsFollowTheLanguage)
{
    wiring->model().appendRows({{QStringLiteral("/a"), QStringLiteral("DELE"), {}, QStringLiteral("0"), {}},
                                {QStringLiteral("/b"), QStringLiteral("DELE"), {}, QStringLiteral("0"), {}}});
    w().germanAction->trigger();
    main().SetIdleState();
    EXPECT_EQ(w().queueInfoPanel->text(), QStringLiteral("    2 Operationen"));
    w().englishAction->trigger();
    main().SetIdleState();
    EXPECT_EQ(w().queueInfoPanel->text(), QStringLiteral("    2 operations"));
}
