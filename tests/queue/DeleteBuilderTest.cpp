// Deleting on the server and locally: the question in both languages, the records of a server
// deletion and their order against a real server, links, the filtered branches (through a
// filter that ticks a subset the way the filter window's Execute hands them back), a refused
// DELE, and local deletions into a private trash that the test restores from.
#include "QueueServerFixture.h"

#include "queue/DeleteQuestion.h"
#include "queue/LocalTrash.h"
#include "queue/QueueRecord.h"
#include "queue/TransferBuilders.h"
#include "queue/TransferPorts.h"

#include "filter/TransferModeQuestion.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

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
class DeleteHost : public RecordingHost, public TransferHost {
public:
    void setBusyState() override { calls << QStringLiteral("busy"); }
    void setIdleState() override { calls << QStringLiteral("idle"); }
    void listLocalPath() override { calls << QStringLiteral("list local"); }
    void listServerPath() override { calls << QStringLiteral("list server ") + serverPath; }

    QList<SelectionLine> selectionLines(GridSide side) const override
    {
        return side == GridSide::Local ? localLines : serverLines;
    }
    void setLocalPathText(const QString &path) override { localPath = path; }
    void restoreRememberedRow(GridSide side) override
    {
        calls << (side == GridSide::Local ? QStringLiteral("restore local") : QStringLiteral("restore server"));
    }
    void selectRowByName(GridSide, const QString &) override {}
    void focusGrid(GridSide) override {}

    QList<SelectionLine> localLines;
    QList<SelectionLine> serverLines;
};

class NoModeQuestion : public TransferModeQuestion {
public:
    bool askTransferMode() override { return true; }
};

// The filter window as its "Execute" leaves things: it hands back the ticked rows' records (a
// "DELE" or "RMD" row as Cmd "|" Source, a "DELLOC" row as nothing), and the ticked rows' first
// text column is what a local deletion reads back.
class TickingFilter : public TransferFilter {
public:
    bool isInUse() const override { return inUse; }
    std::optional<QStringList> chooseRecords(FilterWindowMode mode, const QStringList &records) override
    {
        modes << int(mode);
        offered = records;
        QStringList chosen;
        ticked.clear();
        for (const QString &record : std::as_const(offered)) {
            if (ticks && !ticks(record))
                continue;
            const QueueRow row = RowFromRecord(record, QStringLiteral("now"));
            ticked << row.source;
            if (const std::optional<QString> kept = RecordFromRow(row))
                chosen << *kept;
        }
        if (whileOpen)
            whileOpen();
        if (!ok)
            return std::nullopt;
        return chosen;
    }
    QString chosenRemoteFile() const override { return {}; }
    QString chosenLocalFile() const override { return {}; }
    QStringList chosenFiles() const override { return ticked + extraChosen; }

    bool inUse = true;
    bool ok = true;
    std::function<bool(const QString &)> ticks;
    std::function<void()> whileOpen;
    QList<int> modes;
    QStringList offered;
    QStringList ticked;
    QStringList extraChosen; // what a faulty window might hand back besides the ticked rows
};

// A trash that takes nothing, as on a system without one.
class RefusingTrash : public LocalTrash {
public:
    bool moveToTrash(const QString &path) override
    {
        refused << path;
        return false;
    }
    QStringList refused;
};

class DeleteBuilderTest : public QueueServerTest {
protected:
    DeleteBuilderTest()
    {
        runner->setHost(deleteHost);
        builders = std::make_unique<TransferBuilders>(TransferBuilderSetup{
            context, *master, work, deleteHost, *runner, *walker, walkProgress, deleteHost, modeQuestion, filter, search});
        setAutomaticRun(true);
        filter.inUse = false;
    }

    void setAutomaticRun(bool automatic)
    {
        OptionsData data = options.data();
        data.automaticRunQueue = automatic;
        options.setData(data);
    }

    // A server row as the grid shows it (kind 2 for a link, named "name -> target").
    SelectionLine serverLine(const QString &relative, int kind = -1, const QString &shownName = QString())
    {
        const QFileInfo info(server->localPath(relative));
        SelectionLine line;
        line.server = true;
        line.kind = kind >= 0 ? EntryKind(kind) : info.isDir() ? EntryKind::Folder : EntryKind::File;
        line.name = shownName.isEmpty() ? info.fileName() : shownName;
        line.size = line.kind == EntryKind::Folder ? QString() : QString::number(info.size());
        line.date = QStringLiteral("01/02/2024 10:20:30");
        line.permissions = line.kind == EntryKind::Folder ? QStringLiteral("drwxr-xr-x") : QStringLiteral("-rw-r--r--");
        line.owner = QStringLiteral("user group");
        return line;
    }
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
    bool onServer(const QString &relative) const
    {
        const QFileInfo info(server->localPath(relative));
        return info.exists() || info.isSymLink();
    }

    // The site on the server: two files at the top (one with a leading blank, one with an
    // umlaut and brackets), /www with a file, a link, a folder with a file and an empty folder,
    // and neighbours that must survive: /www2 (its name extends www) and /keep.txt.
    void makeServerSite()
    {
        server->writeFile(u" lead blank.txt"_qs, "lead");
        server->writeFile(u"Ümlaut [1] (x).txt"_qs, "umlaut");
        server->writeFile(u"keep.txt"_qs, "keep");
        server->writeFile(u"www/a.txt"_qs, "a");
        server->writeFile(u"www/img/b.png"_qs, "png");
        QDir().mkpath(server->localPath(u"www/img/x"_qs));
        server->writeFile(u"www2/c.txt"_qs, "c");
        ASSERT_TRUE(QFile::link(u"../keep.txt"_qs, server->localPath(u"www/tokeep"_qs)));
    }

    DeleteHost deleteHost;
    NoModeQuestion modeQuestion;
    TickingFilter filter;
    NoSearchFollowUp search;
    std::unique_ptr<TransferBuilders> builders;
};

} // namespace

TEST(DeleteQuestion, CountsFilesAndFoldersInBothLanguages)
{
    struct Case {
        int files;
        int folders;
        bool german;
        const char *text;
    };
    const Case cases[] = {
        {2, 1, false, "Really delete 2 Files and 1 Directory with contents?"},
        {1, 2, false, "Really delete 1 File and 2 Directories with contents?"},
        {0, 1, false, "Really delete 1 Directory with contents?"},
        {0, 3, false, "Really delete 3 Directories with contents?"},
        {1, 0, false, "Really delete 1 File?"},
        {5, 0, false, "Really delete 5 Files?"},
        {3, 1, true, "3 Dateien löschen und 1 Ordner mit Inhalt löschen?"},
        {1, 2, true, "1 Datei löschen und 2 Ordner mit Inhalt löschen?"},
        {0, 1, true, "1 Ordner mit Inhalt löschen?"},
        {1, 0, true, "1 Datei löschen?"},
        {2, 0, true, "2 Dateien löschen?"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DeleteQuestionText(c.files, c.folders, c.german), QString::fromUtf8(c.text)) << c.text;
}

TEST_F(DeleteBuilderTest, ServerDeleteWalksFoldersFirstThenTheSelectedFilesAndTouchesNothingElse)
{
    connectToServer();
    makeServerSite();
    deleteHost.serverPath = u"/"_qs;
    const SelectionLine lead = serverLine(u" lead blank.txt"_qs);
    const SelectionLine umlaut = serverLine(u"Ümlaut [1] (x).txt"_qs);
    deleteHost.serverLines = {lead, serverLine(u"www"_qs), umlaut};
    // Rows of an earlier request: a deletion never joins them.
    model.appendRows({QueueRow{u"/old"_qs, u"DELE"_qs, QString(), u"1"_qs, QString()}});
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 2 Files and 1 Directory with contents?"_qs});
    EXPECT_EQ(heads(shown),
              (QStringList{u"DELE|/www/a.txt"_qs, u"DELE|/www/tokeep"_qs, u"DELE|/www/img/b.png"_qs, u"RMD|/www/img/x"_qs,
                           u"RMD|/www/img"_qs, u"RMD|/www"_qs, u"DELE|/ lead blank.txt"_qs, u"DELE|/Ümlaut [1] (x).txt"_qs}));
    // Each selected file's record carries its own grid row, so the filter judges it by its name.
    EXPECT_EQ(shown[6].section(QueueRecord::EntrySeparator, 1), lead.text());
    EXPECT_EQ(shown[7].section(QueueRecord::EntrySeparator, 1), umlaut.text());

    EXPECT_TRUE(model.isEmpty()) << protocol().join(u'\n').toStdString();
    for (const char *gone : {" lead blank.txt", "Ümlaut [1] (x).txt", "www"})
        EXPECT_FALSE(onServer(QString::fromUtf8(gone))) << gone;
    EXPECT_EQ(server->readFile(u"keep.txt"_qs), "keep") << "the link inside the folder went, not its target";
    EXPECT_EQ(server->readFile(u"www2/c.txt"_qs), "c");
    EXPECT_TRUE(protocol().contains(u"0: DELE / lead blank.txt"_qs)) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(deleteHost.calls.first(), u"busy"_qs);
    EXPECT_EQ(deleteHost.calls.mid(deleteHost.calls.size() - 3),
              (QStringList{u"list server /"_qs, u"idle"_qs, u"restore server"_qs}));
    // Progress lines in selection order.
    EXPECT_EQ(walkProgress.lines.first(), u"Read file: / lead blank.txt"_qs);
    EXPECT_EQ(walkProgress.lines[1], u"Read folder: /www"_qs);
    EXPECT_EQ(walkProgress.lines.last(), u"Read file: /Ümlaut [1] (x).txt"_qs);
}

TEST_F(DeleteBuilderTest, ServerDeleteOfALinkDeletesTheLinkUnderTheNameBeforeTheArrow)
{
    connectToServer();
    makeServerSite();
    ASSERT_TRUE(QFile::link(u"keep.txt"_qs, server->localPath(u"lnk"_qs)));
    deleteHost.serverPath = u"/"_qs;
    const SelectionLine link = serverLine(u"lnk"_qs, 2, u"lnk -> keep.txt"_qs);
    deleteHost.serverLines = {link};
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 1 File?"_qs});
    EXPECT_EQ(shown, QStringList{u"DELE|/lnk"_qs + QueueRecord::EntrySeparator + link.text()});
    EXPECT_FALSE(onServer(u"lnk"_qs));
    EXPECT_EQ(server->readFile(u"keep.txt"_qs), "keep");
}

TEST_F(DeleteBuilderTest, AFolderWithBlanksUmlautsAndBracketsGoesWithItsOwnListingRecord)
{
    // Names inside a walked folder come from the server's listing, whose name column loses
    // blanks at its start; blanks inside names, umlauts and brackets come through.
    connectToServer();
    server->writeFile(u"Ordner [ä] (1)/x  y.txt"_qs, "x");
    server->writeFile(u"Ordner [ä] (1)/sub ö [2]/z.txt"_qs, "z");
    server->writeFile(u"Ordner [ä] (1)2/stay.txt"_qs, "stay");
    deleteHost.serverPath = u"/"_qs;
    deleteHost.serverLines = {serverLine(u"Ordner [ä] (1)"_qs)};
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    const QStringList queue = shown;
    EXPECT_EQ(heads(queue), (QStringList{u"DELE|/Ordner [ä] (1)/x  y.txt"_qs, u"DELE|/Ordner [ä] (1)/sub ö [2]/z.txt"_qs,
                                         u"RMD|/Ordner [ä] (1)/sub ö [2]"_qs, u"RMD|/Ordner [ä] (1)"_qs}));
    EXPECT_TRUE(queue.last().section(QueueRecord::EntrySeparator, 1).startsWith(u"0|Ordner [ä] (1)|"_qs))
        << "the folder's own record is found in its parent's listing: " << queue.last().toStdString();
    EXPECT_FALSE(onServer(u"Ordner [ä] (1)"_qs)) << protocol().join(u'\n').toStdString();
    EXPECT_EQ(server->readFile(u"Ordner [ä] (1)2/stay.txt"_qs), "stay");
}

TEST_F(DeleteBuilderTest, AnsweringNoLeavesServerGridQueueListAndFilesAlone)
{
    connectToServer();
    makeServerSite();
    deleteHost.serverPath = u"/"_qs;
    deleteHost.serverLines = {serverLine(u"www"_qs), serverLine(u"www2"_qs)};
    model.appendRows({QueueRow{u"/old"_qs, u"DELE"_qs, QString(), u"1"_qs, QString()}});
    prompts.confirmAnswers = {false};

    builders->DeleteOnServer();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 2 Directories with contents?"_qs});
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_TRUE(shown.isEmpty()) << "nothing was shown or run";
    EXPECT_TRUE(deleteHost.calls.isEmpty()) << "no busy state, no listing";
    EXPECT_TRUE(onServer(u"www/a.txt"_qs));

    // The German question, answered No too.
    language.setCurrent(Language::German);
    prompts.clear();
    prompts.confirmAnswers = {false};
    deleteHost.serverLines = {serverLine(u"keep.txt"_qs), serverLine(u"www"_qs)};
    builders->DeleteOnServer();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: 1 Datei löschen und 1 Ordner mit Inhalt löschen?"_qs});
    EXPECT_TRUE(onServer(u"keep.txt"_qs));
}

TEST_F(DeleteBuilderTest, FilteredServerDeleteRunsOnlyTheTickedRecordsAndARefusedRmdKeepsItsRow)
{
    connectToServer();
    makeServerSite();
    deleteHost.serverPath = u"/"_qs;
    deleteHost.serverLines = {serverLine(u"www"_qs), serverLine(u"keep.txt"_qs)};
    filter.inUse = true;
    // Ticked: the .txt file inside www and every folder; not the picture, the link or keep.txt.
    filter.ticks = [](const QString &record) {
        return record.startsWith(u"RMD|"_qs) || record.startsWith(u"DELE|/www/a.txt"_qs);
    };
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    EXPECT_EQ(filter.modes, QList<int>{int(FilterWindowMode::Transfer)});
    EXPECT_EQ(heads(filter.offered).last(), u"DELE|/keep.txt"_qs);
    EXPECT_EQ(shown, (QStringList{u"DELE|/www/a.txt"_qs, u"RMD|/www/img/x"_qs, u"RMD|/www/img"_qs,
                                                u"RMD|/www"_qs}));
    EXPECT_FALSE(onServer(u"www/a.txt"_qs));
    EXPECT_FALSE(onServer(u"www/img/x"_qs)) << "an empty folder goes";
    EXPECT_EQ(server->readFile(u"www/img/b.png"_qs), "png");
    EXPECT_TRUE(onServer(u"www/tokeep"_qs));
    EXPECT_EQ(server->readFile(u"keep.txt"_qs), "keep");
    // The server refuses to remove the folders that still hold files: their rows stay.
    QStringList sources;
    for (const QueueRow &row : model.rows())
        sources << row.cmd + u' ' + row.source;
    EXPECT_EQ(sources, (QStringList{u"RMD /www/img"_qs, u"RMD /www"_qs}));
    EXPECT_EQ(protocol().filter(QRegularExpression(u"^2: "_qs)).size(), 2) << protocol().join(u'\n').toStdString();

    // Closing the filter window without OK runs nothing.
    filter.ok = false;
    filter.ticks = nullptr;
    prompts.confirmAnswers = {true};
    deleteHost.serverLines = {serverLine(u"keep.txt"_qs)};
    builders->DeleteOnServer();
    EXPECT_EQ(server->readFile(u"keep.txt"_qs), "keep");
    EXPECT_TRUE(model.isEmpty()) << "the grid was emptied first all the same";
}

TEST_F(DeleteBuilderTest, ARefusedDeleKeepsItsRowAndTheRunGoesOn)
{
    connectToServer();
    makeServerSite();
    deleteHost.serverPath = u"/"_qs;
    deleteHost.serverLines = {serverLine(u" lead blank.txt"_qs), serverLine(u"keep.txt"_qs)};
    filter.inUse = true;
    // While the window is open someone else removes the first file: its DELE is refused.
    filter.whileOpen = [this] { QFile::remove(server->localPath(u" lead blank.txt"_qs)); };
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.rows().first().source, u"/ lead blank.txt"_qs);
    EXPECT_EQ(model.rows().first().cmd, u"DELE"_qs);
    EXPECT_FALSE(onServer(u"keep.txt"_qs));
    EXPECT_EQ(protocol().filter(QRegularExpression(u"^2: "_qs)).size(), 1) << protocol().join(u'\n').toStdString();
}

TEST_F(DeleteBuilderTest, WithAutomaticRunOffTheRecordsAreOnlyShownInAnEmptiedGrid)
{
    connectToServer();
    makeServerSite();
    setAutomaticRun(false);
    deleteHost.serverPath = u"/"_qs;
    deleteHost.serverLines = {serverLine(u"keep.txt"_qs)};
    model.appendRows({QueueRow{u"/old"_qs, u"DELE"_qs, QString(), u"1"_qs, QString()}});
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.rows().first().source, u"/keep.txt"_qs);
    EXPECT_TRUE(onServer(u"keep.txt"_qs));
}

// Local deletions: the trash is the one below the test's own XDG_DATA_HOME.
class LocalDeleteTest : public DeleteBuilderTest {
protected:
    QString trashFolder() const { return env.root() + u"data/Trash"_qs; }

    // Puts every entry of the trash back where its ".trashinfo" says it came from, as a file
    // manager's "Restore" does; returns the restored paths.
    QStringList restoreAll() const
    {
        QStringList restored;
        QDirIterator infos(trashFolder() + u"/info"_qs, {u"*.trashinfo"_qs}, QDir::Files | QDir::Hidden);
        while (infos.hasNext()) {
            const QString info = infos.next();
            QString original;
            for (const QByteArray &line : TestEnvironment::readFile(info).split('\n')) {
                if (line.startsWith("Path="))
                    original = QUrl::fromPercentEncoding(line.mid(5));
            }
            const QString name = QFileInfo(info).completeBaseName();
            if (!original.isEmpty() && QFile::rename(trashFolder() + u"/files/"_qs + name, original)) {
                QFile::remove(info);
                restored << original;
            }
        }
        restored.sort();
        return restored;
    }

    void makeLocalTree()
    {
        env.writeFile(u"local/ lead blank.txt"_qs, "lead");
        env.writeFile(u"local/Ümlaut [1] (x).txt"_qs, "umlaut");
        env.writeFile(u"local/keep.txt"_qs, "keep");
        env.writeFile(u"local/dir/a.txt"_qs, "a");
        env.writeFile(u"local/dir/sub/b.txt"_qs, "b");
        env.writeFile(u"local/dir/sub/c.log"_qs, "c");
        deleteHost.localPath = local;
    }
};

TEST_F(LocalDeleteTest, WithoutTheFilterEntriesGoToTheTrashAndCanBeRestored)
{
    makeLocalTree();
    const QString link = local + u"linkdir"_qs;
    ASSERT_TRUE(QFile::link(local + u"dir"_qs, link));
    // The link comes before its target: a link whose target has gone cannot go to the trash.
    deleteHost.localLines = {localLine(local + u" lead blank.txt"_qs), localLine(link), localLine(local + u"dir"_qs),
                             localLine(local + u"Ümlaut [1] (x).txt"_qs)};
    prompts.confirmAnswers = {true};

    builders->DeleteLocally();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 2 Files and 2 Directories with contents?"_qs});
    for (const char *gone : {" lead blank.txt", "Ümlaut [1] (x).txt", "dir", "linkdir"})
        EXPECT_FALSE(QFileInfo(local + QString::fromUtf8(gone)).exists() || QFileInfo(local + QString::fromUtf8(gone)).isSymLink()) << gone;
    EXPECT_EQ(TestEnvironment::readFile(local + u"keep.txt"_qs), "keep");
    EXPECT_EQ(TestEnvironment::readFile(trashFolder() + u"/files/dir/sub/b.txt"_qs), "b");
    EXPECT_TRUE(shown.isEmpty()) << "the queue is not used";
    // The grid is listed again after each entry.
    EXPECT_EQ(deleteHost.calls.count(u"list local"_qs), 5);
    EXPECT_EQ(deleteHost.calls.mid(deleteHost.calls.size() - 2), (QStringList{u"idle"_qs, u"restore local"_qs}));

    EXPECT_EQ(restoreAll(), (QStringList{local + u" lead blank.txt"_qs, local + u"dir"_qs, local + u"linkdir"_qs,
                                         local + u"Ümlaut [1] (x).txt"_qs}));
    EXPECT_EQ(TestEnvironment::readFile(local + u" lead blank.txt"_qs), "lead");
    EXPECT_EQ(TestEnvironment::readFile(local + u"Ümlaut [1] (x).txt"_qs), "umlaut");
    EXPECT_EQ(TestEnvironment::readFile(local + u"dir/sub/c.log"_qs), "c");
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), local + u"dir"_qs) << "the link went to the trash as a link";
}

TEST_F(LocalDeleteTest, AnsweringNoDeletesNothing)
{
    makeLocalTree();
    deleteHost.localLines = {localLine(local + u"dir"_qs)};
    prompts.confirmAnswers = {false};
    language.setCurrent(Language::German);

    builders->DeleteLocally();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: 1 Ordner mit Inhalt löschen?"_qs});
    EXPECT_EQ(TestEnvironment::readFile(local + u"dir/sub/b.txt"_qs), "b");
    EXPECT_FALSE(QFileInfo::exists(trashFolder() + u"/files"_qs));
    EXPECT_TRUE(deleteHost.calls.isEmpty());
}

TEST_F(LocalDeleteTest, WhenTheTrashTakesNothingEachEntryIsDeletedPermanentlyOnlyAfterItsOwnYes)
{
    makeLocalTree();
    RefusingTrash trash;
    builders->localDelete().setTrash(trash);
    deleteHost.localLines = {localLine(local + u"dir"_qs), localLine(local + u" lead blank.txt"_qs)};
    prompts.confirmAnswers = {true, false, true};

    builders->DeleteLocally();
    EXPECT_EQ(trash.refused, (QStringList{local + u"dir"_qs, local + u" lead blank.txt"_qs}));
    EXPECT_EQ(prompts.shown,
              (QStringList{u"confirm: Really delete 1 File and 1 Directory with contents?"_qs,
                           u"confirm: \""_qs + local + u"dir\" cannot be moved to the trash. Delete it permanently? This cannot be undone."_qs,
                           u"confirm: \""_qs + local + u" lead blank.txt\" cannot be moved to the trash. Delete it permanently? This cannot be undone."_qs}));
    EXPECT_EQ(TestEnvironment::readFile(local + u"dir/sub/b.txt"_qs), "b") << "No keeps the folder";
    EXPECT_FALSE(QFileInfo::exists(local + u" lead blank.txt"_qs));
}

TEST_F(LocalDeleteTest, WithoutAUsableTrashFolderNothingIsMovedAnywhere)
{
    // Qt would move the entry into "files" below the working folder when the home trash cannot
    // be set up; the desktop trash refuses instead.
    makeLocalTree();
    ASSERT_TRUE(QDir(env.root() + u"data"_qs).removeRecursively());
    LocalTrash trash;
    EXPECT_TRUE(LocalTrash::homeTrashFolder().isEmpty());
    EXPECT_FALSE(trash.moveToTrash(local + u"keep.txt"_qs));
    EXPECT_EQ(TestEnvironment::readFile(local + u"keep.txt"_qs), "keep");
    EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + u"/files/keep.txt"_qs));

    // With the data folder back the trash folder is made for the user alone.
    QDir().mkpath(env.root() + u"data"_qs);
    EXPECT_EQ(LocalTrash::homeTrashFolder(), trashFolder());
    EXPECT_EQ(QFileInfo(trashFolder()).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    EXPECT_TRUE(trash.moveToTrash(local + u"keep.txt"_qs));
    EXPECT_EQ(TestEnvironment::readFile(trashFolder() + u"/files/keep.txt"_qs), "keep");
}

TEST_F(LocalDeleteTest, ThroughTheFilterOnlyTheTickedFilesAreDeletedAndEveryFolderStays)
{
    makeLocalTree();
    filter.inUse = true;
    filter.ticks = [](const QString &record) { return record.contains(u".txt|"_qs) && !record.contains(u"/a.txt"_qs); };
    // A faulty window could hand back a file this request never offered: it stays.
    filter.extraChosen = {local + u"keep.txt"_qs};
    deleteHost.localLines = {localLine(local + u"dir"_qs), localLine(local + u" lead blank.txt"_qs),
                             localLine(local + u"Ümlaut [1] (x).txt"_qs)};
    prompts.confirmAnswers = {true};
    const QString leadEntry = u"1| lead blank.txt|4|"_qs
        + QFileInfo(local + u" lead blank.txt"_qs).lastModified().toString(u"MM/dd/yyyy hh:mm:ss");

    builders->DeleteLocally();
    EXPECT_EQ(filter.modes, QList<int>{int(FilterWindowMode::Transfer)});
    QStringList offered = heads(filter.offered);
    offered.sort();
    EXPECT_EQ(offered, (QStringList{u"DELLOC|"_qs + local + u" lead blank.txt| "_qs, u"DELLOC|"_qs + local + u"dir/a.txt| "_qs,
                                    u"DELLOC|"_qs + local + u"dir/sub/b.txt| "_qs, u"DELLOC|"_qs + local + u"dir/sub/c.log| "_qs,
                                    u"DELLOC|"_qs + local + u"Ümlaut [1] (x).txt| "_qs}));
    const QString leadRecord = filter.offered.filter(u"lead blank"_qs).value(0);
    EXPECT_EQ(leadRecord.section(QueueRecord::EntrySeparator, 1),
              leadEntry);

    for (const char *gone : {" lead blank.txt", "Ümlaut [1] (x).txt", "dir/sub/b.txt"})
        EXPECT_FALSE(QFileInfo::exists(local + QString::fromUtf8(gone))) << gone;
    for (const char *kept : {"dir/a.txt", "dir/sub/c.log", "keep.txt"})
        EXPECT_TRUE(QFileInfo::exists(local + QString::fromLatin1(kept))) << kept;
    EXPECT_TRUE(QFileInfo(local + u"dir/sub"_qs).isDir());
    EXPECT_FALSE(QFileInfo::exists(trashFolder() + u"/files"_qs)) << "ticked files are deleted, not trashed";
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(model.isEmpty());
    EXPECT_TRUE(walkProgress.lines.contains(u"Read folder: "_qs + local + u"dir"_qs));
    EXPECT_TRUE(walkProgress.lines.contains(u"Read file: "_qs + local + u" lead blank.txt"_qs));
    EXPECT_EQ(deleteHost.calls.mid(deleteHost.calls.size() - 3), (QStringList{u"list local"_qs, u"idle"_qs, u"restore local"_qs}));

    // Closing the filter window without OK deletes nothing.
    filter.ok = false;
    filter.ticks = nullptr;
    prompts.confirmAnswers = {true};
    deleteHost.localLines = {localLine(local + u"dir"_qs)};
    builders->DeleteLocally();
    EXPECT_TRUE(QFileInfo::exists(local + u"dir/a.txt"_qs));
    EXPECT_TRUE(QFileInfo::exists(local + u"dir/sub/c.log"_qs));
}

TEST_F(DeleteBuilderTest, AbortDuringTheWalkRunsNothingAndReturnsToTheIdleState)
{
    connectToServer();
    makeServerSite();
    deleteHost.serverPath = u"/"_qs;
    deleteHost.serverLines = {serverLine(u"www"_qs), serverLine(u"keep.txt"_qs)};
    walkProgress.onLine = [this](qsizetype count) {
        if (count == 2)
            work.cancel.cancel();
    };
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    EXPECT_TRUE(shown.isEmpty()) << "the folder walk appends nothing after Abort";
    EXPECT_TRUE(model.isEmpty());
    EXPECT_TRUE(onServer(u"www/img/b.png"_qs));
    EXPECT_TRUE(onServer(u"keep.txt"_qs)) << "the files after the aborted folder are not taken either";
    EXPECT_EQ(deleteHost.calls.mid(deleteHost.calls.size() - 3),
              (QStringList{u"list server /"_qs, u"idle"_qs, u"restore server"_qs}));
}

TEST_F(DeleteBuilderTest, NamesRecordsCannotHoldAreSkippedWithAProtocolLineAndTheRestIsDeleted)
{
    connectToServer();
    server->writeFile(u"a|b.txt"_qs, "pipe");
    server->writeFile(u"plain.txt"_qs, "plain");
    deleteHost.serverPath = u"/"_qs;
    deleteHost.serverLines = {serverLine(u"a|b.txt"_qs), serverLine(u"plain.txt"_qs)};
    prompts.confirmAnswers = {true};

    builders->DeleteOnServer();
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: Really delete 2 Files?"_qs});
    EXPECT_TRUE(onServer(u"a|b.txt"_qs));
    EXPECT_FALSE(onServer(u"plain.txt"_qs));
    EXPECT_EQ(protocol().filter(u"2: Skipped a name that queue records cannot hold: /a|b.txt"_qs).size(), 1)
        << protocol().join(u'\n').toStdString();
}

TEST_F(LocalDeleteTest, WhileTheDriveListIsShownNothingIsAskedOrDeleted)
{
    makeLocalTree();
    deleteHost.localLines = {localLine(local + u"keep.txt"_qs)};
    deleteHost.localPath = u"\\"_qs;
    const QString working = QDir::currentPath();
    QDir::setCurrent(local);
    prompts.confirmAnswers = {true};
    builders->DeleteLocally();
    QDir::setCurrent(working);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(TestEnvironment::readFile(local + u"keep.txt"_qs), "keep");
    EXPECT_TRUE(deleteHost.calls.isEmpty());
}
