// View/Edit without windows: the file stamp the monitors compare, the executable rule, the
// three-way dispatch, and both monitors driven by touching files and calling their tick.
#include "FakePlatform.h"
#include "FakeUserPrompts.h"
#include "TestEnvironment.h"

#include "app/AppContext.h"
#include "app/AppFolders.h"
#include "app/DesignState.h"
#include "app/Options.h"
#include "app/ProtocolLog.h"
#include "common/Language.h"
#include "editor/ExecutableRule.h"
#include "editor/FileStamp.h"
#include "editor/LocalEditMonitor.h"
#include "editor/RemoteEditMonitor.h"
#include "editor/ViewEditDispatch.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

// Writes the bytes and sets the modification time to seconds + nanoseconds.
void save(const QString &path, const QByteArray &content, qint64 seconds, long nanoseconds)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    file.close();
    const timespec times[2] = {{time_t(seconds), nanoseconds}, {time_t(seconds), nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

class RecordingEditor : public BuiltInEditor {
public:
    bool load(const QString &path) override
    {
        loaded << path;
        return loadWorks;
    }
    void setSaveAsEnabled(bool enabled) override { saveAs = enabled; }
    void showNonBlocking() override { ++shown; }
    QStringList loaded;
    bool loadWorks = true;
    bool saveAs = true;
    int shown = 0;
};

// A question box keeps the event loop running: a monitor tick may arrive while it is open.
class TickingPrompts : public FakeUserPrompts {
public:
    bool confirm(const QString &text) override
    {
        if (duringQuestion)
            duringQuestion();
        return FakeUserPrompts::confirm(text);
    }
    std::function<void()> duringQuestion;
};

class ViewEditCore : public ::testing::Test {
protected:
    ViewEditCore()
        : folders(makeFolders())
        , log(folders.appDataFolder)
        , options(folders.appDataFile(QStringLiteral("options.ini")))
        , context{folders, language, options, log, prompts, platform, design}
    {
    }
    static AppFolders makeFolders()
    {
        AppFolders f = AppFolders::detect();
        f.create();
        return f;
    }
    void choose(bool internal, bool system, bool external, const QString &exe = {})
    {
        OptionsData data = options.data();
        data.internalEditor = internal;
        data.startWithSystemExtension = system;
        data.externalEditor = external;
        data.externalEditorExe = exe;
        options.setData(data);
    }
    QString file(const QString &name, const QByteArray &content = "text\n") { return env.writeFile(name, content); }

    TestEnvironment env;
    AppFolders folders;
    ProtocolLog log;
    Options options;
    TickingPrompts prompts;
    Language language;
    FakePlatform platform;
    DesignState design;
    AppContext context;
};

// ---- FileStamp -------------------------------------------------------------------------

TEST_F(ViewEditCore, TwoSavesWithinTwoSecondsGiveTwoDifferentStamps)
{
    const QString path = file(u"page.html"_qs);
    save(path, "one\n", 1700000000, 200000000);
    const QString first = FileStamp(path);
    save(path, "two\n", 1700000001, 700000000); // 1.5 s later, same two-second step
    const QString second = FileStamp(path);
    save(path, "two\n", 1700000001, 700000001); // one nanosecond later
    const QString third = FileStamp(path);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_NE(first, second);
    EXPECT_NE(second, third);
}

TEST_F(ViewEditCore, TheStampChangesWithTheSizeAloneAndIsEmptyForNoFile)
{
    const QString path = file(u"a.txt"_qs);
    save(path, "abc", 1700000000, 0);
    const QString before = FileStamp(path);
    save(path, "abc", 1700000000, 0);
    EXPECT_EQ(FileStamp(path), before) << "nothing changed";
    save(path, "abcd", 1700000000, 0);
    EXPECT_NE(FileStamp(path), before) << "same time, other size";

    EXPECT_EQ(FileStamp(env.root() + u"missing.txt"_qs), QString());
    EXPECT_EQ(FileStamp(env.root()), QString()) << "a folder is no file";
    EXPECT_EQ(FileStamp(QString()), QString());
}

TEST(ExecutableRule, FourExtensionsInAnyCase)
{
    const struct {
        const char *name;
        bool executable;
    } cases[] = {
        {"setup.exe", true}, {"SETUP.EXE", true}, {"a.com", true}, {"lib.Dll", true}, {"x.ocx", true},
        {"setup.exe.txt", false}, {"exe", false}, {"readme", false}, {"a.exe/b", false}, {"run.sh", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HasExecutableExtension(QString::fromLatin1(c.name)), c.executable) << c.name;
}

// ---- OpenForViewEdit -------------------------------------------------------------------

TEST_F(ViewEditCore, TheDispatchFollowsTheEditorChoice)
{
    enum Choice { Internal, System, External };
    const struct {
        Choice choice;
        const char *name;
        bool refuseExecutables;
        ViewEditDispatch::Outcome outcome;
        bool editorShown;
        bool systemOpened;
        bool externalStarted;
    } cases[] = {
        {Internal, "notes.txt", false, ViewEditDispatch::Outcome::EditorShown, true, false, false},
        {Internal, "Makefile", false, ViewEditDispatch::Outcome::EditorShown, true, false, false},
        {Internal, "photo.png", false, ViewEditDispatch::Outcome::SystemOpened, false, true, false},
        {Internal, "setup.exe", false, ViewEditDispatch::Outcome::LeftAlone, false, false, false},
        {Internal, "setup.exe", true, ViewEditDispatch::Outcome::LeftAlone, false, false, false},
        {System, "notes.txt", false, ViewEditDispatch::Outcome::SystemOpened, false, true, false},
        {System, "setup.exe", false, ViewEditDispatch::Outcome::SystemOpened, false, true, false},
        {System, "setup.exe", true, ViewEditDispatch::Outcome::LeftAlone, false, false, false},
        {External, "notes.txt", false, ViewEditDispatch::Outcome::ExternalStarted, false, false, true},
        {External, "setup.exe", true, ViewEditDispatch::Outcome::LeftAlone, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " choice " + std::to_string(c.choice));
        choose(c.choice == Internal, c.choice == System, c.choice == External, u"/usr/bin/my editor"_qs);
        platform.openedFiles.clear();
        platform.started.clear();
        RecordingEditor editor;
        ViewEditDispatch dispatch(context, editor);
        const QString path = file(QString::fromLatin1(c.name));
        EXPECT_EQ(dispatch.OpenForViewEdit(path, c.refuseExecutables), c.outcome);
        EXPECT_EQ(editor.shown, c.editorShown ? 1 : 0);
        EXPECT_EQ(editor.loaded, c.editorShown ? QStringList{path} : QStringList{});
        if (c.editorShown)
            EXPECT_FALSE(editor.saveAs) << "\"Save as\" is off for a file opened with View/Edit";
        EXPECT_EQ(platform.openedFiles, c.systemOpened ? QStringList{path} : QStringList{});
        EXPECT_EQ(platform.started, c.externalStarted ? QStringList{u"/usr/bin/my editor "_qs + path} : QStringList{});
        EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.shown.join(u'\n').toStdString();
    }
}

TEST_F(ViewEditCore, TheExternalEditorGetsThePathAsOneUnquotedParameter)
{
    choose(false, false, true, u"/opt/ed/ed"_qs);
    RecordingEditor editor;
    ViewEditDispatch dispatch(context, editor);
    const QString path = file(u"with blanks/my page.html"_qs);
    EXPECT_EQ(dispatch.OpenForViewEdit(path, false), ViewEditDispatch::Outcome::ExternalStarted);
    ASSERT_EQ(platform.startedArguments.size(), 1);
    EXPECT_EQ(platform.startedArguments.front(), QStringList{path});
    EXPECT_FALSE(platform.startedArguments.front().front().startsWith(u'"'));
}

TEST_F(ViewEditCore, AFailedOpenActionSaysUnableToViewEditInBothLanguages)
{
    RecordingEditor editor;
    ViewEditDispatch dispatch(context, editor);
    const QString picture = file(u"photo.png"_qs);

    platform.openFails = true;
    choose(true, false, false);
    EXPECT_EQ(dispatch.OpenForViewEdit(picture, false), ViewEditDispatch::Outcome::Failed);
    choose(false, true, false);
    EXPECT_EQ(dispatch.OpenForViewEdit(picture, false), ViewEditDispatch::Outcome::Failed);
    platform.startFails = true;
    choose(false, false, true, u"/no/such/editor"_qs);
    language.setCurrent(Language::German);
    EXPECT_EQ(dispatch.OpenForViewEdit(picture, false), ViewEditDispatch::Outcome::Failed);
    EXPECT_EQ(prompts.shown, (QStringList{u"information: Unable to view/edit file."_qs,
                                          u"information: Unable to view/edit file."_qs,
                                          u"information: Anzeigen/Bearbeiten der Datei nicht möglich."_qs}));
}

TEST_F(ViewEditCore, AMissingCopyFailsInTheEditorOrWithTheMessage)
{
    RecordingEditor editor;
    editor.loadWorks = false;
    ViewEditDispatch dispatch(context, editor);
    EXPECT_EQ(dispatch.OpenForViewEdit(env.root() + u"gone.txt"_qs, true), ViewEditDispatch::Outcome::EditorLoadFailed);
    EXPECT_EQ(editor.shown, 0) << "an editor without the file is not shown";
    choose(false, true, false);
    EXPECT_EQ(dispatch.OpenForViewEdit(env.root() + u"gone.txt"_qs, true), ViewEditDispatch::Outcome::Failed);
    EXPECT_EQ(prompts.shown, QStringList{u"information: Unable to view/edit file."_qs});
}

// ---- The remote monitor ----------------------------------------------------------------

struct Calls {
    QStringList uploads;
    int relists = 0;
    bool connected = true;
};

RemoteEditMonitor::Hooks remoteHooks(Calls &calls)
{
    RemoteEditMonitor::Hooks hooks;
    hooks.ensureConnected = [&calls] { return calls.connected; };
    hooks.upload = [&calls](const QString &local, const QString &remote) {
        calls.uploads << local + u" -> " + remote;
        return true;
    };
    hooks.relistServer = [&calls] { ++calls.relists; };
    return hooks;
}

TEST_F(ViewEditCore, ThreeSavesOfTheRemoteCopyAskThreeTimesAndNoUploadsNothing)
{
    Calls calls;
    RemoteEditMonitor monitor(context, remoteHooks(calls));
    const QString copy = file(u"filemonitoring/index.html"_qs);
    save(copy, "<p>0</p>\n", 1700000000, 0);
    monitor.start(copy, u"/www/index.html"_qs);
    EXPECT_TRUE(monitor.isActive());
    EXPECT_EQ(monitor.timer().interval(), 500);

    monitor.check();
    EXPECT_TRUE(prompts.shown.isEmpty()) << "nothing changed yet";
    // Three saves within the same two seconds, each with the same length.
    for (int i = 1; i <= 3; ++i) {
        save(copy, "<p>" + QByteArray::number(i) + "</p>\n", 1700000001, 300000000 * i);
        monitor.check();
        monitor.check(); // a second tick without a new save asks nothing
    }
    const QString question = u"confirm: The file /www/index.html has been changed. Upload this file back to the server?"_qs;
    EXPECT_EQ(prompts.shown, (QStringList{question, question, question}));
    EXPECT_TRUE(calls.uploads.isEmpty());
    EXPECT_EQ(calls.relists, 3) << "the server folder is listed again after every No";
    EXPECT_TRUE(monitor.isActive()) << "the monitor keeps watching";
}

TEST_F(ViewEditCore, YesUploadsTheCopyToTheRemotePathInGermanToo)
{
    Calls calls;
    RemoteEditMonitor monitor(context, remoteHooks(calls));
    const QString copy = file(u"filemonitoring/a.txt"_qs);
    save(copy, "a", 1700000000, 0);
    monitor.start(copy, u"/pub/a.txt"_qs);
    language.setCurrent(Language::German);
    prompts.confirmAnswers = {true};
    save(copy, "b", 1700000000, 500);
    monitor.check();
    EXPECT_EQ(prompts.shown,
              QStringList{u"confirm: Die Datei /pub/a.txt wurde verändert. Datei zurück auf den Server laden?"_qs});
    EXPECT_EQ(calls.uploads, QStringList{copy + u" -> /pub/a.txt"_qs});
    EXPECT_EQ(calls.relists, 1);
}

TEST_F(ViewEditCore, AYesWithoutConnectionKeepsTheChangeOfferedUntilItIsUploadedOrDeclined)
{
    Calls calls;
    calls.connected = false;
    RemoteEditMonitor monitor(context, remoteHooks(calls));
    const QString copy = file(u"filemonitoring/a.txt"_qs);
    save(copy, "a", 1700000000, 0);
    monitor.start(copy, u"/a.txt"_qs);
    prompts.confirmAnswers = {true};
    save(copy, "b", 1700000001, 0);
    monitor.check();
    EXPECT_TRUE(calls.uploads.isEmpty());
    EXPECT_EQ(calls.relists, 0) << "the tick ends at the failed connection";
    // The edit is not on the server: it is offered again, and this time uploaded.
    calls.connected = true;
    prompts.confirmAnswers = {true};
    monitor.check();
    EXPECT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(calls.uploads, QStringList{copy + u" -> /a.txt"_qs});
    monitor.check();
    EXPECT_EQ(prompts.shown.size(), 2) << "uploaded: not asked again";
}

TEST_F(ViewEditCore, NothingIsAskedWhileOtherWorkRuns)
{
    Calls calls;
    bool working = true;
    RemoteEditMonitor::Hooks hooks = remoteHooks(calls);
    hooks.workRuns = [&working] { return working; };
    RemoteEditMonitor monitor(context, hooks);
    const QString copy = file(u"filemonitoring/a.txt"_qs);
    save(copy, "a", 1700000000, 0);
    monitor.start(copy, u"/a.txt"_qs);
    save(copy, "b", 1700000001, 0);
    monitor.check();
    EXPECT_TRUE(prompts.shown.isEmpty());
    working = false;
    monitor.check();
    EXPECT_EQ(prompts.shown.size(), 1) << "asked once the work is over";
}

TEST_F(ViewEditCore, ATickDuringTheQuestionDoesNotAskAgainAndAStoppedMonitorIsQuiet)
{
    Calls calls;
    RemoteEditMonitor monitor(context, remoteHooks(calls));
    const QString copy = file(u"filemonitoring/a.txt"_qs);
    save(copy, "a", 1700000000, 0);
    monitor.start(copy, u"/a.txt"_qs);
    prompts.duringQuestion = [&monitor] { monitor.check(); };
    save(copy, "b", 1700000000, 1);
    monitor.check();
    EXPECT_EQ(prompts.shown.size(), 1);

    prompts.duringQuestion = nullptr;
    monitor.stop();
    save(copy, "c", 1700000000, 2);
    monitor.check();
    EXPECT_EQ(prompts.shown.size(), 1) << "switched off";
}

TEST_F(ViewEditCore, ADeletedRemoteCopyCountsAsAChange)
{
    Calls calls;
    RemoteEditMonitor monitor(context, remoteHooks(calls));
    const QString copy = file(u"filemonitoring/a.txt"_qs);
    monitor.start(copy, u"/a.txt"_qs);
    QFile::remove(copy);
    monitor.check();
    EXPECT_EQ(prompts.shown.size(), 1);
}

// ---- The local monitor -----------------------------------------------------------------

struct LocalCalls {
    bool localUsable = true;
    bool serverUsable = true;
    bool connected = true;
    QStringList remoteFiles;
    QStringList asked; // remote paths looked up
    QStringList uploads;
    int localRelists = 0;
    int serverRelists = 0;
    QString serverPath = QStringLiteral("/www");
};

LocalEditMonitor::Hooks localHooks(LocalCalls &c)
{
    LocalEditMonitor::Hooks h;
    h.localGridUsable = [&c] { return c.localUsable; };
    h.serverGridUsable = [&c] { return c.serverUsable; };
    h.ensureConnected = [&c] { return c.connected; };
    h.serverPath = [&c] { return c.serverPath; };
    h.remoteFileExists = [&c](const QString &remote) {
        c.asked << remote;
        return c.remoteFiles.contains(remote);
    };
    h.upload = [&c](const QString &local, const QString &remote) {
        c.uploads << local + u" -> " + remote;
        return true;
    };
    h.relistLocal = [&c] { ++c.localRelists; };
    h.relistServer = [&c] { ++c.serverRelists; };
    return h;
}

TEST_F(ViewEditCore, OnlyTheFirstChangeOfALocalFileIsNoticedAndOfferedForUpload)
{
    LocalCalls calls;
    calls.remoteFiles = {u"/www/index.html"_qs};
    LocalEditMonitor monitor(context, localHooks(calls));
    const QString path = file(u"site/index.html"_qs);
    save(path, "1", 1700000000, 0);
    monitor.start(path);
    EXPECT_EQ(monitor.timer().interval(), 100);
    monitor.check();
    EXPECT_TRUE(prompts.shown.isEmpty());

    prompts.confirmAnswers = {true};
    save(path, "2", 1700000000, 900000000);
    monitor.check();
    EXPECT_FALSE(monitor.isActive()) << "a local file is watched until its first change";
    EXPECT_EQ(prompts.shown,
              QStringList{u"confirm: The file /www/index.html has been changed. Upload this file back to the server?"_qs});
    EXPECT_EQ(calls.uploads, QStringList{path + u" -> /www/index.html"_qs});
    EXPECT_EQ(calls.localRelists, 1);
    EXPECT_EQ(calls.serverRelists, 1);

    save(path, "3", 1700000001, 0);
    monitor.check();
    EXPECT_EQ(prompts.shown.size(), 1) << "the second save is not noticed";
}

TEST_F(ViewEditCore, NoQuestionWhenTheServerFolderLacksTheFileOrTheServerGridIsHidden)
{
    LocalCalls calls;
    LocalEditMonitor monitor(context, localHooks(calls));
    const QString path = file(u"a.txt"_qs);
    monitor.start(path);
    save(path, "changed", 1700000000, 0);
    monitor.check();
    EXPECT_EQ(calls.asked, QStringList{u"/www/a.txt"_qs});
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(calls.localRelists, 1);

    calls.serverUsable = false;
    calls.remoteFiles = {u"/www/a.txt"_qs};
    monitor.start(path);
    save(path, "again", 1700000005, 0);
    monitor.check();
    EXPECT_EQ(calls.asked.size(), 1) << "no look-up without a usable server grid";
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ViewEditCore, TheLocalMonitorWaitsWhileTheWindowIsBusyAndADeletionIsAChange)
{
    LocalCalls calls;
    calls.remoteFiles = {u"/www/a.txt"_qs};
    LocalEditMonitor monitor(context, localHooks(calls));
    const QString path = file(u"a.txt"_qs);
    monitor.start(path);
    calls.localUsable = false;
    QFile::remove(path);
    monitor.check();
    EXPECT_TRUE(monitor.isActive());
    EXPECT_EQ(calls.localRelists, 0);

    calls.localUsable = true;
    monitor.check(); // No (unscripted)
    EXPECT_FALSE(monitor.isActive());
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(calls.uploads.isEmpty());
    EXPECT_EQ(calls.serverRelists, 0);
}

} // namespace
