// Batch jobs inside the whole program, offscreen: the builder window, the log viewer, and a
// job started by its timer (driven directly) against a real FTP server.
#include "AppFixture.h"
#include "FtpTestServer.h"

#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "common/TextCodec.h"
#include "engine/LoginFile.h"
#include "engine/MasterFTP.h"
#include "queue/BatchJobBuilder.h"
#include "queue/BatchJobForm.h"
#include "queue/BatchJobLogForm.h"

#include <QBrush>
#include <QColor>
#include "queue/QueueController.h"
#include "queue/QueueFile.h"
#include "queue/QueueRunner.h"
#include "queue/QueueTableModel.h"
#include "shell/BatchJobWiring.h"
#include "shell/QueueWiring.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTcpServer>
#include <QToolButton>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QueueRow row(const QString &source, const QString &cmd, const QString &destination, const QString &size = QStringLiteral("0"))
{
    return {source, cmd, destination, size, QStringLiteral("05/20/2010 10:12:00")};
}

class BatchJobWindowTest : public AppFixture {
protected:
    void SetUp() override { existingProfile(); }

    QueueTableModel &model() { return starter->queue().model(); }
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
    QString logPath() const { return env.appDataFolder() + QStringLiteral("Lastbatchjob.log"); }
};

} // namespace

TEST_F(BatchJobWindowTest, TheBuilderBuildsTheCommandLineAndGivesTheGridBackOnClose)
{
    ASSERT_TRUE(start());
    BatchJobForm &form = *starter->dialogs().batchJob;
    model().appendRow(row(QStringLiteral("/mine"), QStringLiteral("DELE"), QStringLiteral(" ")));
    starter->queue().runner().saveLastQueue();
    const QString saved = env.appDataFolder() + QStringLiteral("Saved-Queues/site.queue");
    QDir().mkpath(env.appDataFolder() + QStringLiteral("Saved-Queues"));
    ASSERT_TRUE(QueueFile::write(saved, {row(QStringLiteral("/www/a.txt"), QStringLiteral("RETR"), QStringLiteral("/home/a.txt"), QStringLiteral("12")),
                                         row(QStringLiteral("/www/old"), QStringLiteral("DELE"), QStringLiteral(" "))}));

    form.show();
    EXPECT_EQ(form.headerTitle(), QStringLiteral("Create batchjob"));
    EXPECT_EQ(form.windowTitle(), main().windowTitle());
    const auto label = [&form](const char *name) { return form.findChild<QLabel *>(QString::fromLatin1(name))->text(); };
    EXPECT_EQ(label("Step1Label"), QStringLiteral("1st step: Go to \"Options\" Menu and switch off \"Automatic run queue\""));
    EXPECT_EQ(label("Step2Label"), QStringLiteral("2nd step: Build your queue and save it for your batchjob"));
    EXPECT_EQ(label("Step3Label"), QStringLiteral("3rd step: Select your saved queue"));
    EXPECT_EQ(label("Step4Label"), QStringLiteral("4th step: Build the command line for your batchjob "));
    EXPECT_EQ(label("SyntaxLabel"), QStringLiteral("Syntax: velmora [queuefile]  [-options]"));
    EXPECT_EQ(label("OptionsLabel"), QStringLiteral("Options:"));
    EXPECT_EQ(label("SwitchesLabel"), QStringLiteral("-r\tRun queue only\n-rc\tRun queue and close program\n-rs\tRun queue and shutdown your PC"));
    EXPECT_EQ(form.findChild<QGroupBox *>(QStringLiteral("HelpGroupBox"))->title(), QStringLiteral("Help -comand line parameters"));
    EXPECT_EQ(form.selectQueueButton()->text(), QStringLiteral("Select queue"));
    EXPECT_EQ(form.buildButton()->text(), QStringLiteral("Build comand line"));
    EXPECT_EQ(form.copyButton()->text(), QStringLiteral("Copy comand line to clipboard"));
    EXPECT_EQ(form.runOnlyRadioButton()->text(), QStringLiteral("Run queue only"));
    EXPECT_EQ(form.runAndCloseRadioButton()->text(), QStringLiteral("Run queue and close program"));
    EXPECT_EQ(form.runAndShutdownRadioButton()->text(), QStringLiteral("Run queue and shutdown your PC"));
    EXPECT_EQ(form.closeButton()->text(), QStringLiteral("Close"));

    // Without a queue only "Select queue" and "Close" act.
    EXPECT_TRUE(form.runAndCloseRadioButton()->isChecked());
    for (QWidget *control : {static_cast<QWidget *>(form.runOnlyRadioButton()), static_cast<QWidget *>(form.runAndCloseRadioButton()),
                             static_cast<QWidget *>(form.runAndShutdownRadioButton()), static_cast<QWidget *>(form.buildButton()),
                             static_cast<QWidget *>(form.copyButton())})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    form.BuildCommandLineButtonClick();
    EXPECT_EQ(form.commandLineEdit()->toPlainText(), QString());

    // A file that is no queue file is refused and changes nothing.
    const QString damaged = env.writeFile(QStringLiteral("bad.queue"), "x\xA7RETR\xA7y\r\n\x01\x02");
    prompts.fileAnswers = {damaged};
    form.selectQueueButton()->click();
    EXPECT_EQ(prompts.shown.last(), QStringLiteral("error: The file ") + damaged
                                        + QStringLiteral(" is not a queue file: line 2 holds characters a queue file never has."));
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/mine")});
    EXPECT_FALSE(form.buildButton()->isEnabled());

    prompts.fileAnswers = {saved};
    form.selectQueueButton()->click();
    EXPECT_EQ(prompts.shown.last(), QStringLiteral("openFile: Select queue"));
    EXPECT_EQ(prompts.lastStartFolder, env.appDataFolder() + QStringLiteral("Saved-Queues/"));
    EXPECT_EQ(prompts.lastFilter, QStringLiteral("Queue (*.queue)"));
    EXPECT_EQ(gridSources(), (QStringList{QStringLiteral("/www/a.txt"), QStringLiteral("/www/old")}));
    EXPECT_EQ(lastQueueSources(), QStringList{QStringLiteral("/mine")}) << "only shown: the last queue stays the user's";
    EXPECT_TRUE(form.buildButton()->isEnabled());
    EXPECT_TRUE(form.runOnlyRadioButton()->isEnabled());
    EXPECT_FALSE(form.copyButton()->isEnabled());

    const QString program = QCoreApplication::applicationFilePath();
    form.buildButton()->click();
    EXPECT_EQ(form.commandLineEdit()->toPlainText(), program + QStringLiteral(" \"") + saved + QStringLiteral("\" -rc"));
    form.runOnlyRadioButton()->click();
    form.buildButton()->click();
    EXPECT_EQ(form.commandLineEdit()->toPlainText(), program + QStringLiteral(" \"") + saved + QStringLiteral("\" -r"));
    ASSERT_TRUE(form.copyButton()->isEnabled());
    form.copyButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), form.commandLineEdit()->toPlainText());
    EXPECT_EQ(form.crontabEdit()->toPlainText(), QStringLiteral("0 2 * * * DISPLAY=:0 '") + program + QStringLiteral("' '") + saved
                                              + QStringLiteral("' -r 2>>\"$HOME/velmora-batch.log\""));
    form.runAndShutdownRadioButton()->click();
    EXPECT_EQ(form.crontabEdit()->toPlainText(), QStringLiteral("0 2 * * * QT_QPA_PLATFORM=offscreen '") + program + QStringLiteral("' '")
                                              + saved + QStringLiteral("' -rs 2>>\"$HOME/velmora-batch.log\""));

    form.closeButton()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/mine")}) << "the grid shows what it showed before";
    EXPECT_EQ(lastQueueSources(), gridSources());

    // Shown again it starts afresh; Escape gives the grid back too.
    form.show();
    EXPECT_TRUE(form.runAndCloseRadioButton()->isChecked());
    EXPECT_FALSE(form.buildButton()->isEnabled());
    EXPECT_EQ(form.commandLineEdit()->toPlainText(), QString());
    prompts.fileAnswers = {saved};
    form.selectQueueButton()->click();
    EXPECT_EQ(model().rowCount(), 2);
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/mine")});

    context().language.setCurrent(Language::German);
    EXPECT_EQ(form.headerTitle(), QStringLiteral("Batchjob erzeugen"));
    EXPECT_EQ(form.buildButton()->text(), QStringLiteral("Kommandozeile erzeugen"));
    EXPECT_EQ(form.closeButton()->text(), QString::fromUtf8("Schließen"));
}

TEST_F(BatchJobWindowTest, TheCrontabLineKeepsEveryPathOneWordForTheShellAndCron)
{
    ASSERT_TRUE(start());
    const QString odd = env.writeFile(QStringLiteral("it's 100% mine.queue"), "");
    BatchJobBuilder &builder = starter->batchJobs().builder();
    ASSERT_TRUE(builder.selectQueue(odd));
    EXPECT_EQ(BatchJobBuilder::shellQuoted(QStringLiteral("a'b")), QStringLiteral("'a'\\''b'"));
    const QString quotedFolder = BatchJobBuilder::shellQuoted(env.root()).chopped(1); // without the closing quote
    EXPECT_TRUE(builder.crontabLine().contains(quotedFolder + QStringLiteral("it'\\''s 100\\% mine.queue' -rc ")))
        << builder.crontabLine().toStdString();
    builder.close();
}

TEST_F(BatchJobWindowTest, TheLogViewerShowsEveryJobAndClearsTheLog)
{
    // A line of an older version (no exit status), a job that failed, one that succeeded.
    env.writeFile(logPath(), "05/20/2010|02:00:01|02:00:09|/home/anna/q/|site.queue|-rc|ftp.example.org|1.50 kB|3\r\n"
                             "05/21/2010|02:00:01|02:00:02|/home/anna/q/|other.queue|-rs||0.00 kB|0|exit status 3\r\n"
                             "05/22/2010|02:00:01|02:00:05|/home/anna/q/|site.queue|-rc|ftp.example.org|1.50 kB|3|exit status 0\r\n");
    ASSERT_TRUE(start());
    BatchJobLogForm &form = *starter->dialogs().batchJobLog;
    form.show();
    EXPECT_EQ(form.headerTitle(), QStringLiteral("Last Batchjobs (Logfile)"));
    QStandardItemModel *grid = form.model();
    QStringList headers;
    for (int column = 0; column < grid->columnCount(); ++column)
        headers << grid->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headers, (QStringList{QStringLiteral("Date"), QStringLiteral("Start time"), QStringLiteral("End time"), QStringLiteral("Host"),
                                    QStringLiteral("Queue file"), QStringLiteral("Parameter"), QStringLiteral("Tranfered size (kB)"),
                                    QStringLiteral("Transfered files"), QStringLiteral("Queue path"), QStringLiteral("Result")}));
    ASSERT_EQ(grid->rowCount(), 3);
    const auto rowTexts = [grid](int r) {
        QStringList texts;
        for (int column = 0; column < grid->columnCount(); ++column)
            texts << grid->index(r, column).data().toString();
        return texts;
    };
    EXPECT_EQ(rowTexts(0), (QStringList{QStringLiteral("05/20/2010"), QStringLiteral("02:00:01"), QStringLiteral("02:00:09"),
                                        QStringLiteral("ftp.example.org"), QStringLiteral("site.queue"), QStringLiteral("-rc"),
                                        QStringLiteral("1.50 kB"), QStringLiteral("3"), QStringLiteral("/home/anna/q/"), QString()}));
    // An empty host makes no word: the fields after it move one column to the left.
    EXPECT_EQ(rowTexts(1), (QStringList{QStringLiteral("05/21/2010"), QStringLiteral("02:00:01"), QStringLiteral("02:00:02"),
                                        QStringLiteral("0.00 kB"), QStringLiteral("other.queue"), QStringLiteral("-rs"),
                                        QStringLiteral("0"), QString(), QStringLiteral("/home/anna/q/"),
                                        QStringLiteral("Failed (exit status 3)")}));
    EXPECT_EQ(grid->index(1, 9).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    EXPECT_EQ(rowTexts(2).last(), QStringLiteral("Done"));
    // Every caption fits its column, and the window is as wide as the columns where the screen
    // allows (the offscreen screen is small).
    QHeaderView *header = form.grid()->horizontalHeader();
    int columnsWidth = 0;
    for (int column = 0; column < grid->columnCount(); ++column) {
        EXPECT_GE(header->sectionSize(column), header->fontMetrics().horizontalAdvance(headers[column])) << headers[column].toStdString();
        columnsWidth += header->sectionSize(column);
    }
    EXPECT_GE(form.grid()->minimumWidth(), std::min(columnsWidth, QGuiApplication::primaryScreen()->availableGeometry().width() - 80));

    // The results follow a change of language like the captions.
    context().language.setCurrent(Language::German);
    EXPECT_EQ(grid->index(1, 9).data().toString(), QStringLiteral("Fehlgeschlagen (Exit-Status 3)"));
    EXPECT_EQ(grid->index(2, 9).data().toString(), QStringLiteral("Erledigt"));
    EXPECT_TRUE(grid->index(0, 9).data().toString().isEmpty());
    context().language.setCurrent(Language::English);

    EXPECT_EQ(form.clearButton()->text(), QStringLiteral("Clear logfile"));
    form.clearButton()->click();
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(QFileInfo(logPath()).size(), 0);
    form.closeButton()->click();
    EXPECT_FALSE(form.isVisible());

    context().language.setCurrent(Language::German);
    EXPECT_EQ(form.headerTitle(), QStringLiteral("Letzte Batchjobs (Logdatei)"));
    EXPECT_EQ(form.clearButton()->text(), QStringLiteral("Logfile leeren"));
    EXPECT_EQ(grid->headerData(6, Qt::Horizontal).toString(), QString::fromUtf8("Übertragene Größe (kB)"));
    EXPECT_EQ(grid->headerData(9, Qt::Horizontal).toString(), QStringLiteral("Ergebnis"));
}

TEST_F(BatchJobWindowTest, TheJobRunsOnceFromItsTimerAndLeavesBatchModeBehind)
{
    FtpTestServer server;
    ASSERT_TRUE(server.start()) << server.errorText().toStdString();
    server.writeFile(QStringLiteral("pub/a.dat"), "alpha");
    server.writeFile(QStringLiteral("pub/b.dat"), "beta");
    const QString local = env.root() + QStringLiteral("local/");
    QDir().mkpath(local);
    env.writeFile(local + QStringLiteral("b.dat"), "an older b"); // overwritten without a question
    // The stored option says MAN; the job runs with AUTO without storing it.
    env.writeFile(env.appDataFolder() + QStringLiteral("options.ini"), "[SETTINGS]\r\nAutomaticRunQueue=0\r\n");
    const QString queue = env.root() + QStringLiteral("jobs/pull.queue");
    QDir().mkpath(env.root() + QStringLiteral("jobs"));
    ASSERT_TRUE(QueueFile::write(queue, {row(QStringLiteral("/pub/a.dat"), QStringLiteral("RETR"), local + QStringLiteral("a.dat"), QStringLiteral("5")),
                                         row(QStringLiteral("/pub/b.dat"), QStringLiteral("RETR"), local + QStringLiteral("b.dat"), QStringLiteral("4"))}));
    LoginData login;
    login.host = server.host();
    login.user = server.user();
    login.password = server.password();
    login.port = QString::number(server.port());
    login.localPath = local;
    ASSERT_TRUE(WriteLoginFile(env.root() + QStringLiteral("jobs/pull.ftp"), login));

    ASSERT_TRUE(start({queue, QStringLiteral("-r")}));
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("MAN"));
    ASSERT_TRUE(main().batchJobTimer().isActive());
    QMetaObject::invokeMethod(&main().batchJobTimer(), "timeout", Qt::DirectConnection);
    EXPECT_FALSE(main().batchJobTimer().isActive()) << "the job runs once";

    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("a.dat")), QByteArray("alpha"));
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("b.dat")), QByteArray("beta"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_TRUE(model().isEmpty());
    EXPECT_EQ(TextCodec::ReadLines(logPath()).size(), 1);
    EXPECT_EQ(starter->batchExitStatus(), 0);
    // What the job switched on for itself is back as the user had it: MAN, and existing files
    // are asked about again.
    EXPECT_EQ(w().automaticRunButton->text(), QStringLiteral("MAN"));
    EXPECT_FALSE(context().options.data().automaticRunQueue);
    EXPECT_TRUE(starter->queue().runner().overwritePolicy().questionNeeded()) << "the window must not overwrite without asking";
    EXPECT_TRUE(TestEnvironment::readFile(env.appDataFolder() + QStringLiteral("options.ini")).contains("AutomaticRunQueue=0"))
        << "the stored option is untouched";
    EXPECT_TRUE(main().isVisible()) << "-r stays open";

    // The job is over: batch mode is gone, so the user's own run writes no log line and ends
    // nothing, and messages are boxes again.
    EXPECT_FALSE(main().isBatchMode());
    server.writeFile(QStringLiteral("pub/c.dat"), "gamma");
    model().appendRow(row(QStringLiteral("/pub/c.dat"), QStringLiteral("RETR"), local + QStringLiteral("c.dat"), QStringLiteral("5")));
    main().SetIdleState();
    w().queueRunButton->click();
    EXPECT_EQ(TestEnvironment::readFile(local + QStringLiteral("c.dat")), QByteArray("gamma"));
    EXPECT_EQ(TextCodec::ReadLines(logPath()).size(), 1);
    EXPECT_TRUE(main().isVisible());
    starter->queue().controller().LoadQueueFile(env.root() + QStringLiteral("jobs/none.queue"));
    ASSERT_FALSE(prompts.shown.isEmpty());
    EXPECT_TRUE(prompts.shown.last().startsWith(QStringLiteral("error: The queue file "))) << prompts.shown.last().toStdString();
}

TEST_F(BatchJobWindowTest, AFailingJobEndsWithItsStatusAndNoBox)
{
    const QString queue = env.root() + QStringLiteral("jobs/nowhere.queue");
    QDir().mkpath(env.root() + QStringLiteral("jobs"));
    ASSERT_TRUE(QueueFile::write(queue, {row(QStringLiteral("/a.dat"), QStringLiteral("RETR"), env.root() + QStringLiteral("a.dat"), QStringLiteral("5"))}));
    // No connection file: the job has no server to go to.
    ASSERT_TRUE(start({queue, QStringLiteral("-rc")}));
    QMetaObject::invokeMethod(&main().batchJobTimer(), "timeout", Qt::DirectConnection);
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    EXPECT_EQ(starter->batchExitStatus(), 3);
    EXPECT_FALSE(main().isVisible()) << "-rc ended the program";
    EXPECT_TRUE(console.contains(QStringLiteral("velmora: Specify a host!"))) << console.join(u'\n').toStdString();
    const QStringList log = TextCodec::ReadLines(logPath());
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().endsWith(QStringLiteral("|nowhere.queue|-rc||0.00 kB|1|exit status 3"))) << log.first().toStdString();
    EXPECT_EQ(gridSources(), QStringList{QStringLiteral("/a.dat")}) << "the failed row stays for the next start";
}

// A server that takes the connection but never greets: an unattended job tries once, waits one
// reply time-out, logs its line and ends with status 3; the window keeps its own retries.
TEST_F(BatchJobWindowTest, AJobGivesUpOnASilentServerAfterOneAttempt)
{
    QTcpServer silent; // listens, never accepts: the system completes the handshake, nobody speaks
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString queue = env.root() + QStringLiteral("jobs/silent.queue");
    QDir().mkpath(env.root() + QStringLiteral("jobs"));
    ASSERT_TRUE(QueueFile::write(queue, {row(QStringLiteral("/a.dat"), QStringLiteral("RETR"), env.root() + QStringLiteral("a.dat"), QStringLiteral("5")),
                                         row(QStringLiteral("/b.dat"), QStringLiteral("RETR"), env.root() + QStringLiteral("b.dat"), QStringLiteral("5"))}));
    LoginData login;
    login.host = QStringLiteral("127.0.0.1");
    login.user = QStringLiteral("u");
    login.password = QStringLiteral("p");
    login.port = QString::number(silent.serverPort());
    login.localPath = env.root();
    ASSERT_TRUE(WriteLoginFile(env.root() + QStringLiteral("jobs/silent.ftp"), login));

    ASSERT_TRUE(start({queue, QStringLiteral("-r")}));
    starter->ftp().client().setTimeouts({2000, 300, 2000});
    QMetaObject::invokeMethod(&main().batchJobTimer(), "timeout", Qt::DirectConnection);
    EXPECT_EQ(starter->batchExitStatus(), 3);
    int attempts = 0;
    for (const ProtocolEntry &entry : context().protocol.entries())
        attempts += entry.text.startsWith(QStringLiteral("Try to connect: ")) ? 1 : 0;
    EXPECT_EQ(attempts, 1) << console.join(u'\n').toStdString();
    EXPECT_EQ(TextCodec::ReadLines(logPath()).size(), 1);
    EXPECT_EQ(gridSources(), (QStringList{QStringLiteral("/a.dat"), QStringLiteral("/b.dat")}));
    EXPECT_EQ(starter->ftp().maximumAttempts(), MasterFTP::MaximumRetries) << "the window keeps its retries";
}
