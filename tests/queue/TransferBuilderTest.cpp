// The upload and download builders against a real server and real local trees: the records they
// build and their order, what running them leaves on both sides, drop folders, the transfer-mode
// question, Abort, the used-space figures and the filtered branches (through a scripted filter).
#include "QueueServerFixture.h"

#include "filter/NoWizardFilterFile.h"
#include "filter/TransferModeQuestion.h"
#include "queue/LocalFolders.h"
#include "queue/QueueRecord.h"
#include "queue/TransferBuilders.h"
#include "queue/TransferPorts.h"
#include "queue/UploadBuilder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QStringList heads(const QStringList &records)
{
    QStringList result;
    for (const QString &record : records)
        result << record.section(QueueRecord::EntrySeparator, 0, 0);
    return result;
}

// The main window as the builders see it, recording what they ask of it.
class BuilderHost : public RecordingHost, public TransferHost {
public:
    void setBusyState() override { calls << QStringLiteral("busy"); }
    void setIdleState() override { calls << QStringLiteral("idle"); }
    void listLocalPath() override { calls << QStringLiteral("list local ") + localPath; }
    void listServerPath() override { calls << QStringLiteral("list server ") + serverPath; }
    void showServerFolder(const QString &path) override
    {
        serverPath = path;
        calls << QStringLiteral("show server ") + path;
    }

    QList<SelectionLine> selectionLines(GridSide side) const override { return side == GridSide::Local ? localLines : serverLines; }
    void setLocalPathText(const QString &path) override { localPath = path; }
    void restoreRememberedRow(GridSide side) override { calls << QStringLiteral("restore ") + sideName(side); }
    void selectRowByName(GridSide side, const QString &name) override
    {
        calls << QStringLiteral("select ") + sideName(side) + u' ' + name;
    }
    void focusGrid(GridSide side) override { calls << QStringLiteral("focus ") + sideName(side); }

    static QString sideName(GridSide side) { return side == GridSide::Local ? QStringLiteral("local") : QStringLiteral("server"); }

    QList<SelectionLine> localLines;
    QList<SelectionLine> serverLines;
};

class ScriptedModeQuestion : public TransferModeQuestion {
public:
    bool askTransferMode() override
    {
        ++asked;
        return answers.isEmpty() || answers.takeFirst();
    }
    QList<bool> answers;
    int asked = 0;
};

// The filter window: keeps the records the test's rule passes and closes with OK.
class ScriptedFilter : public TransferFilter {
public:
    bool isInUse() const override { return inUse; }
    std::optional<QStringList> chooseRecords(FilterWindowMode mode, const QStringList &records) override
    {
        modes << int(mode);
        QStringList kept;
        for (const QString &record : records) {
            if (!passes || passes(record))
                kept << record;
        }
        if (!ok)
            return std::nullopt;
        return kept;
    }
    QString chosenRemoteFile() const override { return chosenRemote; }
    QString chosenLocalFile() const override { return chosenLocal; }

    bool inUse = false;
    bool ok = true;
    std::function<bool(const QString &)> passes;
    QList<int> modes;
    QString chosenRemote;
    QString chosenLocal;
};

class TransferBuilderTest : public QueueServerTest {
protected:
    TransferBuilderTest()
    {
        runner->setHost(builderHost);
        builders = std::make_unique<TransferBuilders>(TransferBuilderSetup{
            context, *master, work, builderHost, *runner, *walker, walkProgress, builderHost, modeQuestion, filter, search});
        setAutomaticRun(true);
    }

    void setAutomaticRun(bool automatic)
    {
        OptionsData data = options.data();
        data.automaticRunQueue = automatic;
        options.setData(data);
    }

    // A local row as the grid shows it.
    static SelectionLine localLine(const QString &path)
    {
        const QFileInfo info(path);
        SelectionLine line;
        line.kind = info.isDir() ? EntryKind::Folder : EntryKind::File;
        line.name = info.fileName();
        line.size = info.isDir() ? QString() : QString::number(info.size());
        line.date = info.lastModified().toString(u"MM/dd/yyyy hh:mm:ss");
        return line;
    }
    // A server row as the grid shows it.
    SelectionLine serverLine(const QString &relative)
    {
        const QFileInfo info(server->localPath(relative));
        SelectionLine line;
        line.server = true;
        line.kind = info.isDir() ? EntryKind::Folder : EntryKind::File;
        line.name = info.fileName();
        line.size = info.isDir() ? QString() : QString::number(info.size());
        line.date = QStringLiteral("01/02/2024 10:20:30");
        line.permissions = info.isDir() ? QStringLiteral("drwxr-xr-x") : QStringLiteral("-rw-r--r--");
        line.owner = QStringLiteral("user group");
        return line;
    }

    // local/work/site: a file, a folder with a file and an empty folder, an empty folder, a
    // folder whose name sorts before others only when case is ignored, and a hidden folder.
    QString makeLocalSite()
    {
        env.writeFile(QStringLiteral("local/work/site/index.html"), "<p>hello</p>\n");
        env.writeFile(QStringLiteral("local/work/site/a/b.txt"), "bee\n");
        QDir().mkpath(local + QStringLiteral("work/site/a/c"));
        QDir().mkpath(local + QStringLiteral("work/site/z"));
        env.writeFile(QStringLiteral("local/work/site/B2/x.txt"), "x");
        env.writeFile(QStringLiteral("local/work/site/.git/config"), "secret");
        builderHost.localPath = local + QStringLiteral("work/");
        return local + QStringLiteral("work/site");
    }

    BuilderHost builderHost;
    ScriptedModeQuestion modeQuestion;
    ScriptedFilter filter;
    NoSearchFollowUp search;
    std::unique_ptr<TransferBuilders> builders;
};

} // namespace

TEST_F(TransferBuilderTest, UploadOfAFolderCreatesEveryFolderFirstEmptyOnesTooAndCopiesTheTree)
{
    connectToServer();
    const QString site = makeLocalSite();
    server->writeFile(QStringLiteral("pub/keep"), "");
    builderHost.serverPath = QStringLiteral("/pub");
    builderHost.localLines = {localLine(site)};
    setAutomaticRun(false);

    builders->Upload();
    EXPECT_EQ(modeQuestion.asked, 1);
    const QStringList queue = shown;
    EXPECT_EQ(heads(queue).mid(0, 5), (QStringList{u"MKD|/pub/site"_qs, u"MKD|/pub/site/a"_qs, u"MKD|/pub/site/a/c"_qs,
                                                   u"MKD|/pub/site/B2"_qs, u"MKD|/pub/site/z"_qs}));
    QStringList stors = heads(queue).mid(5);
    stors.sort();
    EXPECT_EQ(stors, (QStringList{u"STOR|"_qs + site + u"/B2/x.txt|/pub/site/B2/x.txt"_qs,
                                  u"STOR|"_qs + site + u"/a/b.txt|/pub/site/a/b.txt"_qs,
                                  u"STOR|"_qs + site + u"/index.html|/pub/site/index.html"_qs}));
    const QString bee = queue.filter(u"b.txt"_qs).value(0);
    EXPECT_EQ(bee, u"STOR|"_qs + site + u"/a/b.txt|/pub/site/a/b.txt"_qs + QueueRecord::EntrySeparator + u"1|b.txt|4|"_qs
                       + QFileInfo(site + u"/a/b.txt"_qs).lastModified().toString(u"MM/dd/yyyy hh:mm:ss"));
    // Automatic running off: the rows are shown, nothing ran, and the window is idle again.
    EXPECT_EQ(model.rowCount(), queue.size());
    EXPECT_FALSE(QFileInfo::exists(server->localPath(u"pub/site"_qs)));
    EXPECT_EQ(builderHost.calls.first(), u"busy"_qs);
    EXPECT_EQ(builderHost.calls.mid(builderHost.calls.size() - 4),
              (QStringList{u"list server /pub"_qs, u"idle"_qs, u"list local "_qs + local + u"work/"_qs, u"restore local"_qs}));
    EXPECT_EQ(walkProgress.lines.first(), u"Read folder: "_qs + site);
    EXPECT_EQ(work.filesFound, 0) << "the folder walk clears the counters again";

    // A second request adds to the rows while automatic running is off; with it on the grid is
    // emptied and the new records run at once.
    builders->Upload();
    EXPECT_EQ(model.rowCount(), 2 * queue.size());
    setAutomaticRun(true);
    builders->Upload();
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (const char *file : {"index.html", "a/b.txt", "B2/x.txt"})
        EXPECT_EQ(server->readFile(u"pub/site/"_qs + QString::fromLatin1(file)), readLocal(site + u'/' + QString::fromLatin1(file))) << file;
    for (const char *folder : {"a/c", "z"})
        EXPECT_TRUE(QFileInfo(server->localPath(u"pub/site/"_qs + QString::fromLatin1(folder))).isDir()) << folder;
    EXPECT_FALSE(QFileInfo::exists(server->localPath(u"pub/site/.git"_qs))) << "a folder the walk does not enter gets no copy";
}

TEST_F(TransferBuilderTest, FilteredUploadCreatesOnlyTheFoldersThePassingFilesNeed)
{
    connectToServer();
    const QString site = makeLocalSite();
    builderHost.serverPath = QStringLiteral("/pub");
    builderHost.localLines = {localLine(site)};
    filter.inUse = true;
    filter.passes = [](const QString &record) { return record.contains(u"b.txt"_qs); };
    setAutomaticRun(false);

    builders->Upload();
    EXPECT_EQ(filter.modes, QList<int>{int(FilterWindowMode::Transfer)});
    EXPECT_EQ(heads(shown), (QStringList{u"MKD|/pub/site"_qs, u"MKD|/pub/site/a"_qs,
                                                       u"STOR|"_qs + site + u"/a/b.txt|/pub/site/a/b.txt"_qs}));

    // Closing the filter window otherwise runs nothing and returns to the idle state.
    filter.ok = false;
    model.clear();
    builderHost.calls.clear();
    builders->Upload();
    EXPECT_TRUE(model.isEmpty());
    EXPECT_TRUE(builderHost.calls.contains(u"idle"_qs));
}

TEST_F(TransferBuilderTest, MultiRowUploadKeepsSelectionOrderAndDropFolderAppliesToThatRequestOnly)
{
    connectToServer();
    const QString one = env.writeFile(u"local/one.txt"_qs, "1");
    env.writeFile(u"local/dir/inner.txt"_qs, "22");
    const QString two = env.writeFile(u"local/two.txt"_qs, "333");
    QDir().mkpath(server->localPath(u"pub/img"_qs));
    builderHost.localPath = local;
    builderHost.serverPath = u"/pub"_qs;
    builderHost.localLines = {localLine(one), localLine(local + u"dir"_qs), localLine(two)};
    setAutomaticRun(false);

    builders->Upload({u"img"_qs});
    EXPECT_EQ(heads(shown),
              (QStringList{u"MKD|/pub/img/dir"_qs, u"STOR|"_qs + one + u"|/pub/img/one.txt"_qs,
                           u"STOR|"_qs + local + u"dir/inner.txt|/pub/img/dir/inner.txt"_qs, u"STOR|"_qs + two + u"|/pub/img/two.txt"_qs}));
    EXPECT_EQ(shown[1].section(QueueRecord::EntrySeparator, 1), localLine(one).text());
    EXPECT_EQ(work.totalSize, 0);

    builders->Upload();
    EXPECT_EQ(heads(shown).first(), u"MKD|/pub/dir"_qs);
    EXPECT_EQ(heads(shown).last(), u"STOR|"_qs + two + u"|/pub/two.txt"_qs);
}

TEST_F(TransferBuilderTest, StorRecordsTakeTheBaseOffTheFrontOnly)
{
    const QChar mark = QueueRecord::CollectedFileSeparator;
    const QChar s = QueueRecord::EntrySeparator;
    const struct {
        const char16_t *file, *server, *drop, *record;
    } cases[] = {
        {u"/w/a.txt", u"/pub", u"", u"STOR|/w/a.txt|/pub/a.txt"},
        {u"/w/site/x/a.txt", u"/", u"", u"STOR|/w/site/x/a.txt|/site/x/a.txt"},
        {u"/w/site/w/a.txt", u"/pub", u"", u"STOR|/w/site/w/a.txt|/pub/site/w/a.txt"}, // the base repeats deeper down
        {u"/w/a.txt", u"/pub", u"img", u"STOR|/w/a.txt|/pub/img/a.txt"},
        {u"/w/sub/a.txt", u"/pub/", u"img", u"STOR|/w/sub/a.txt|/pub/img/sub/a.txt"},
    };
    for (const auto &c : cases) {
        const QString file = QString::fromUtf16(c.file);
        EXPECT_EQ(UploadBuilder::storRecord(file + mark + u"1|a.txt|5|d"_qs, u"/w/"_qs, QString::fromUtf16(c.server),
                                            QString::fromUtf16(c.drop)),
                  QString::fromUtf16(c.record) + s + u"1|a.txt|5|d"_qs)
            << file.toStdString();
    }
}

TEST_F(TransferBuilderTest, DownloadPutsLocalFoldersFirstThenSelectedFilesThenTheTreeAndCopiesIt)
{
    connectToServer();
    server->writeFile(u"readme.md"_qs, "hello\n");
    server->writeFile(u"www/index.html"_qs, "<p>\n");
    server->writeFile(u"www/img/a.png"_qs, QByteArray("\x89PNG\r\n\x1a\n", 8));
    QDir().mkpath(server->localPath(u"www/empty"_qs));
    builderHost.localPath = local;
    builderHost.serverPath = u"/"_qs;
    builderHost.serverLines = {serverLine(u"www"_qs), serverLine(u"readme.md"_qs)};
    setAutomaticRun(false);

    builders->Download();
    EXPECT_EQ(heads(shown),
              (QStringList{u"MKLOCALDIR|"_qs + local + u"www"_qs, u"MKLOCALDIR|"_qs + local + u"www/empty"_qs,
                           u"MKLOCALDIR|"_qs + local + u"www/img"_qs, u"RETR|/readme.md|"_qs + local + u"readme.md"_qs,
                           u"RETR|/www/index.html|"_qs + local + u"www/index.html"_qs,
                           u"RETR|/www/img/a.png|"_qs + local + u"www/img/a.png"_qs}));
    EXPECT_EQ(shown[3].section(QueueRecord::EntrySeparator, 1),
              u"1|readme.md|6|01/02/2024 10:20:30|-rw-r--r--|user group"_qs);
    EXPECT_TRUE(walkProgress.lines.contains(u"Read file: /readme.md"_qs));
    EXPECT_EQ(builderHost.calls.mid(builderHost.calls.size() - 3),
              (QStringList{u"list local "_qs + local, u"idle"_qs, u"restore server"_qs}));

    setAutomaticRun(true);
    builders->Download();
    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (const char *file : {"readme.md", "www/index.html", "www/img/a.png"})
        EXPECT_EQ(readLocal(local + QString::fromLatin1(file)), server->readFile(QString::fromLatin1(file))) << file;
    EXPECT_TRUE(QFileInfo(local + u"www/empty"_qs).isDir());
}

TEST_F(TransferBuilderTest, DownloadIntoADropFolderAndALinkUnderItsOwnName)
{
    connectToServer();
    server->writeFile(u"data/a.txt"_qs, "abc");
    ASSERT_TRUE(QFile::link(u"a.txt"_qs, server->localPath(u"data/link"_qs)));
    QDir().mkpath(local + u"into"_qs);
    builderHost.localPath = local;
    builderHost.serverPath = u"/data"_qs;
    SelectionLine link = serverLine(u"data/a.txt"_qs);
    link.kind = EntryKind::Link;
    link.name = u"link -> a.txt"_qs;
    builderHost.serverLines = {serverLine(u"data/a.txt"_qs), link};

    builders->Download({u"into"_qs});
    EXPECT_EQ(readLocal(local + u"into/a.txt"_qs), QByteArray("abc")) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(readLocal(local + u"into/link"_qs), QByteArray("abc"));
    EXPECT_FALSE(QFileInfo::exists(local + u"a.txt"_qs));
}

TEST_F(TransferBuilderTest, DownloadWithTheDriveListShownAsksNothingAndDoesNotConnect)
{
    master->SetConnectionData(u"127.0.0.1"_qs, u"1"_qs, u"u"_qs, u"p"_qs, 0);
    builderHost.localPath = u"\\"_qs;
    builderHost.serverLines = {SelectionLine{EntryKind::File, u"a.txt"_qs, u"1"_qs, u"d"_qs, {}, {}, true}};
    builders->Download();
    EXPECT_EQ(prompts.shown, QStringList{u"information: Please select a local folder for this action!"_qs});
    EXPECT_EQ(modeQuestion.asked, 0);
    EXPECT_TRUE(builderHost.calls.isEmpty());
    EXPECT_TRUE(protocol().filter(u"Try to connect"_qs).isEmpty());
}

TEST_F(TransferBuilderTest, UploadWithoutAHostEndsSilentlyAfterTheQuestion)
{
    env.writeFile(u"local/a.txt"_qs, "a");
    builderHost.localPath = local;
    builderHost.localLines = {localLine(local + u"a.txt"_qs)};
    builders->Upload();
    EXPECT_EQ(modeQuestion.asked, 1);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(builderHost.calls.isEmpty());
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(TransferBuilderTest, AbortInTheModeQuestionDoesNothingAndTheSuppressedQuestionIsNotAsked)
{
    connectToServer();
    env.writeFile(u"local/a.txt"_qs, "a");
    builderHost.localPath = local;
    builderHost.localLines = {localLine(local + u"a.txt"_qs)};
    builderHost.serverLines = {SelectionLine{EntryKind::File, u"a.txt"_qs, u"1"_qs, u"d"_qs, {}, {}, true}};
    for (bool upload : {true, false}) {
        modeQuestion.answers = {false};
        builderHost.calls.clear();
        upload ? builders->Upload() : builders->Download();
        EXPECT_EQ(builderHost.calls, QStringList{upload ? u"restore local"_qs : u"restore server"_qs});
        EXPECT_TRUE(shown.isEmpty());
    }
    EXPECT_EQ(modeQuestion.asked, 2);

    // "Don't show this message again" left the file behind: no question, the upload runs.
    ASSERT_TRUE(NoWizardFilterFile(folders.appDataFolder).write());
    builderHost.serverPath = u"/"_qs;
    builders->Upload();
    EXPECT_EQ(modeQuestion.asked, 2);
    EXPECT_EQ(server->readFile(u"a.txt"_qs), QByteArray("a"));
    // Other work modes never ask.
    NoWizardFilterFile file(folders.appDataFolder);
    QFile::remove(file.path());
    builders->UsedSpace(GridSide::Local);
    EXPECT_EQ(modeQuestion.asked, 2);
}

TEST_F(TransferBuilderTest, AbortInTheProgressWindowRunsNothing)
{
    connectToServer();
    for (int i = 0; i < 5; ++i)
        env.writeFile(u"local/tree/f%1.txt"_qs.arg(i), "x");
    for (int i = 0; i < 3; ++i)
        server->writeFile(u"tree/d%1/f.txt"_qs.arg(i), "x");
    builderHost.localPath = local;
    builderHost.serverPath = u"/"_qs;
    builderHost.localLines = {localLine(local + u"tree"_qs)};
    builderHost.serverLines = {serverLine(u"tree"_qs)};
    model.appendRow({u"earlier"_qs, u"RETR"_qs, u"x"_qs, u"1"_qs, u"d"_qs});
    setAutomaticRun(false);
    walkProgress.onLine = [this](qsizetype count) {
        if (count == 3)
            work.cancel.cancel();
    };

    builders->Upload();
    EXPECT_EQ(walkProgress.lines.size(), 3);
    EXPECT_EQ(model.rowCount(), 1) << "nothing is shown or run";
    EXPECT_TRUE(QDir(server->root()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(builderHost.calls.last(), u"restore local"_qs);
    EXPECT_TRUE(builderHost.calls.contains(u"idle"_qs));

    walkProgress.lines.clear();
    builderHost.calls.clear();
    shown.clear();
    builders->Download();
    EXPECT_EQ(walkProgress.lines.size(), 3);
    EXPECT_TRUE(shown.isEmpty()) << "nothing is queued";
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(builderHost.calls, (QStringList{u"busy"_qs, u"list local "_qs + local, u"idle"_qs, u"restore server"_qs}));
    EXPECT_FALSE(QFileInfo::exists(local + u"tree/d0"_qs));
}

TEST_F(TransferBuilderTest, UsedSpaceCountsFilesFoldersAndBytesAndEndsWithTheTotals)
{
    connectToServer();
    env.writeFile(u"local/u/a.bin"_qs, QByteArray(1000, 'a'));
    env.writeFile(u"local/u/sub/b.bin"_qs, QByteArray(2500, 'b'));
    const QString single = env.writeFile(u"local/c.bin"_qs, QByteArray(24, 'c'));
    server->writeFile(u"w/a.bin"_qs, QByteArray(4096, 'a'));
    server->writeFile(u"w/s/b.bin"_qs, QByteArray(10, 'b'));
    server->writeFile(u"top.bin"_qs, QByteArray(7, 't'));
    builderHost.localPath = local;
    builderHost.serverPath = u"/"_qs;
    builderHost.localLines = {localLine(local + u"u"_qs), localLine(single)};
    builderHost.serverLines = {serverLine(u"w"_qs), serverLine(u"top.bin"_qs)};
    const QString stars(40, u'*');
    const QStringList totals{u" "_qs, stars, u"Done"_qs, stars, u" "_qs};

    builders->UsedSpace(GridSide::Local);
    EXPECT_EQ(work.filesFound, 3);
    EXPECT_EQ(work.foldersFound, 2);
    EXPECT_EQ(work.totalSize, 3524);
    EXPECT_EQ(walkProgress.lines.mid(walkProgress.lines.size() - 5), totals);
    EXPECT_EQ(builderHost.calls, (QStringList{u"busy"_qs, u"idle"_qs, u"restore local"_qs}));
    EXPECT_TRUE(shown.isEmpty());

    walkProgress.lines.clear();
    builderHost.calls.clear();
    builders->UsedSpace(GridSide::Server);
    EXPECT_EQ(work.filesFound, 3);
    EXPECT_EQ(work.foldersFound, 2);
    EXPECT_EQ(work.totalSize, 4113);
    EXPECT_EQ(walkProgress.lines.mid(walkProgress.lines.size() - 5), totals);
    EXPECT_EQ(builderHost.calls, (QStringList{u"busy"_qs, u"idle"_qs, u"restore server"_qs}));
    EXPECT_EQ(modeQuestion.asked, 0);
}

TEST_F(TransferBuilderTest, NamesRecordsCannotHoldAreSkippedWithAProtocolLine)
{
    connectToServer();
    const QString good = env.writeFile(u"local/good.txt"_qs, "g");
    builderHost.localPath = local;
    builderHost.serverPath = u"/"_qs;
    SelectionLine bad = localLine(good);
    bad.name = u"bad|name.txt"_qs;
    builderHost.localLines = {bad, localLine(good)};
    builders->Upload();
    EXPECT_TRUE(protocol().contains(u"2: Skipped a name that queue records cannot hold: "_qs + local + u"bad|name.txt"_qs));
    EXPECT_EQ(server->readFile(u"good.txt"_qs), QByteArray("g"));
}

TEST_F(TransferBuilderTest, FindFilesGoesToTheChosenFileOnBothSides)
{
    connectToServer();
    server->writeFile(u"www/sub/page.html"_qs, "p");
    const QString chosen = env.writeFile(u"local/site/sub/page.html"_qs, "p");
    builderHost.localPath = local;
    builderHost.serverPath = u"/"_qs;
    builderHost.localLines = {localLine(local + u"site"_qs)};
    builderHost.serverLines = {serverLine(u"www"_qs)};
    filter.inUse = true;
    filter.chosenRemote = u"/www/sub/page.html"_qs;
    filter.chosenLocal = chosen;

    builders->Search(GridSide::Local, SearchKind::FindFiles);
    EXPECT_EQ(filter.modes, QList<int>{int(FilterWindowMode::FindFiles)});
    const qsizetype from = builderHost.calls.indexOf(u"show server /www/sub"_qs);
    ASSERT_GE(from, 0) << builderHost.calls.join(u'\n').toStdString();
    EXPECT_EQ(builderHost.calls.mid(from), (QStringList{u"show server /www/sub"_qs, u"select server page.html"_qs,
                                                        u"list local "_qs + local + u"site/sub/"_qs, u"select local page.html"_qs,
                                                        u"idle"_qs, u"focus local"_qs}));
    builderHost.calls.clear();
    builders->Search(GridSide::Server, SearchKind::FindFiles);
    const qsizetype localFirst = builderHost.calls.indexOf(u"list local "_qs + local + u"site/sub/"_qs);
    ASSERT_GE(localFirst, 0) << builderHost.calls.join(u'\n').toStdString();
    EXPECT_EQ(builderHost.calls.mid(localFirst + 1), (QStringList{u"select local page.html"_qs, u"show server /www/sub"_qs,
                                                                  u"select server page.html"_qs, u"idle"_qs, u"focus server"_qs}));
    EXPECT_EQ(modeQuestion.asked, 0);
}

TEST_F(TransferBuilderTest, LocalFolderCreationAndWorkingCopies)
{
    const QStringList retr{u"RETR|/a/x.txt|"_qs + local + u"dl/a/x.txt"_qs, u"RETR|/a/b/y.txt|"_qs + local + u"dl/a/b/y.txt"_qs,
                           u"MKD|/ignored"_qs};
    EXPECT_TRUE(CreateLocalFolders(retr, log));
    EXPECT_TRUE(QFileInfo(local + u"dl/a/b"_qs).isDir());

    const QString box = local + u"site/"_qs;
    const QString source = env.writeFile(u"local/site/sub/page.html"_qs, "new");
    const QString download = local + u"tmp/download/"_qs;
    env.writeFile(u"local/tmp/download/sub/page.html"_qs, "old copy");
    MakeLocalSearchCopies({u"STOR|"_qs + source + u"|/www/sub/page.html"_qs}, box, download, log);
    EXPECT_EQ(readLocal(download + u"sub/page.html"_qs), QByteArray("new"));
    EXPECT_EQ(WorkingCopyPath(u"/elsewhere/a"_qs, box, download), u"/elsewhere/a"_qs);
}
