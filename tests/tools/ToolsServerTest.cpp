// The tools' work against a real FTP server (pyftpdlib): permission runs in their order, remote
// renames, and the upload records of "Copy a file to each directory" run through the queue.
#include "queue/QueueServerFixture.h"

#include "queue/SelectionLine.h"
#include "tools/CopyToEachDir.h"
#include "tools/MultiRenamer.h"
#include "tools/PermissionRun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace Velmora;
using namespace Velmora::Testing;

namespace {

QString S(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

SelectionLine row(int kind, const QString &name)
{
    SelectionLine line;
    line.kind = EntryKind(kind);
    line.name = name;
    line.server = true;
    return line;
}

class ToolsServerTest : public QueueServerTest {
protected:
    void setMode(const QString &relative, int mode)
    {
        QFile::setPermissions(server->localPath(relative), QFile::Permissions(mode));
    }
    QString mode(const QString &relative) { return octalMode(server->localPath(relative)); }
    QStringList chmodLines() const { return protocol().filter(QRegularExpression(QStringLiteral("^0: CHMOD "))); }

    // /www (with a.txt and sub/b.txt), /other (with c.txt), top.txt, target.txt and a link to it.
    void makeTree()
    {
        for (const char *file : {"www/a.txt", "www/sub/b.txt", "other/c.txt", "top.txt", "target.txt"}) {
            server->writeFile(S(file), "x");
            setMode(S(file), 0x6644);
        }
        for (const char *folder : {"www", "www/sub", "other"})
            setMode(S(folder), 0x7755);
        ASSERT_TRUE(QFile::link(S("target.txt"), server->localPath(S("lnk"))));
    }
};

} // namespace

TEST_F(ToolsServerTest, FoldersChangeFirstInSelectionOrderThenAllFilesInOneRun)
{
    connectToServer();
    makeTree();
    host.serverPath = S("/");
    PermissionChoice choice;
    choice.value = S("750");
    choice.recursive = true;
    PermissionRun(*walker, *runner, host).run({row(1, S("top.txt")), row(0, S("www")), row(2, S("lnk -> target.txt")),
                                         row(0, S("other"))},
                                        S("/"), choice);

    const QStringList lines = chmodLines();
    ASSERT_EQ(lines.size(), 7) << protocol().join(u'\n').toStdString();
    // The walk changes a folder's content, then the folder; the file selected directly comes last.
    EXPECT_EQ(lines.mid(3, 3), (QStringList{S("0: CHMOD 750 /www"), S("0: CHMOD 750 /other/c.txt"), S("0: CHMOD 750 /other")}));
    EXPECT_EQ(lines.last(), S("0: CHMOD 750 /top.txt"));
    for (const char *path : {"www", "www/a.txt", "www/sub", "www/sub/b.txt", "other", "other/c.txt", "top.txt"})
        EXPECT_EQ(mode(S(path)), S("750")) << path;
    EXPECT_EQ(mode(S("target.txt")), S("644")) << "a link is never changed";
    EXPECT_EQ(host.serverPath, S("/"));
    EXPECT_TRUE(model.isEmpty());
}

TEST_F(ToolsServerTest, WithoutRecursionTheScopeDecidesWhetherTheFolderItselfChanges)
{
    connectToServer();
    makeTree();
    const struct {
        PermissionChoice::Scope scope;
        const char *folder, *file, *inside;
    } cases[] = {
        {PermissionChoice::Scope::All, "700", "700", "644"},
        {PermissionChoice::Scope::FilesOnly, "755", "700", "644"},
        {PermissionChoice::Scope::DirectoriesOnly, "700", "700", "644"},
    };
    for (const auto &c : cases) {
        setMode(S("www"), 0x7755);
        setMode(S("top.txt"), 0x6644);
        PermissionChoice choice;
        choice.value = S("700");
        choice.scope = c.scope;
        PermissionRun(*walker, *runner, host).run({row(0, S("www")), row(1, S("top.txt"))}, S("/"), choice);
        EXPECT_EQ(mode(S("www")), S(c.folder)) << int(c.scope);
        EXPECT_EQ(mode(S("top.txt")), S(c.file)) << int(c.scope);
        EXPECT_EQ(mode(S("www/a.txt")), S(c.inside)) << int(c.scope);
    }
}

TEST_F(ToolsServerTest, ANameRecordsCannotHoldIsSkippedAndTheRestChanges)
{
    connectToServer();
    server->writeFile(S("ok é.txt"), "x");
    server->writeFile(S("a|b.txt"), "x");
    setMode(S("ok é.txt"), 0x6644);
    setMode(S("a|b.txt"), 0x6644);
    PermissionChoice choice;
    choice.value = S("600");
    PermissionRun(*walker, *runner, host).run({row(1, S("a|b.txt")), row(1, S("ok é.txt"))}, S("/"), choice);
    EXPECT_EQ(mode(S("ok é.txt")), S("600"));
    EXPECT_EQ(mode(S("a|b.txt")), S("644"));
    EXPECT_TRUE(protocol().contains(S("2: Skipped a name that queue records cannot hold: /a|b.txt")))
        << protocol().join(u'\n').toStdString();
}

TEST_F(ToolsServerTest, RemoteRenamesRunInOrderAndNeverReplaceAFile)
{
    connectToServer();
    server->writeFile(S("pics/a.jpg"), "A");
    server->writeFile(S("pics/b c.jpg"), "B");
    server->writeFile(S("pics/ü.jpg"), "U");
    server->writeFile(S("pics/photo_3.jpg"), "kept");
    const QStringList old{S("a.jpg"), S("b c.jpg"), S("ü.jpg")};
    const QStringList names{S("photo_1.jpg"), S("photo_2 ü.jpg"), S("photo_3.jpg")};
    const QList<RenameStep> plan = PlanRenames(old, names, old + QStringList{S("photo_3.jpg")});
    MultiRenamer renamer(log);
    EXPECT_EQ(renamer.renameRemote(*runner, S("/pics"), plan), 2);

    EXPECT_EQ(server->readFile(S("pics/photo_1.jpg")), "A");
    EXPECT_EQ(server->readFile(S("pics/photo_2 ü.jpg")), "B");
    EXPECT_EQ(server->readFile(S("pics/ü.jpg")), "U");
    EXPECT_EQ(server->readFile(S("pics/photo_3.jpg")), "kept");
    EXPECT_TRUE(protocol().contains(S("0: Rename /pics/a.jpg /pics/photo_1.jpg"))) << protocol().join(u'\n').toStdString();
    EXPECT_TRUE(protocol().contains(S("2: Not renamed: /pics/ü.jpg -> photo_3.jpg (an entry of the new name exists)")));

    // A rename the server refuses is reported in the protocol by the session.
    renamer.renameRemote(*runner, S("/pics"), PlanRenames({S("gone.jpg")}, {S("x.jpg")}, {}));
    EXPECT_EQ(protocol().last().left(3), S("2: ")) << protocol().last().toStdString();
}

TEST_F(ToolsServerTest, CopyRecordsUploadEveryFileIntoEveryFolderAndAskBeforeReplacing)
{
    connectToServer();
    QDir().mkpath(server->localPath(S("site/a/b")));
    server->writeFile(S("site/a/index.html"), "server's own");
    const QString index = env.writeFile(S("src/index.html"), "<p>new</p>");
    const QString access = env.writeFile(S("src/.htaccess"), "Deny");
    qint64 bytes = 0;
    qint64 files = 0;
    const QStringList records = CopyUploadRecords({S("/site"), S("/site/a"), S("/site/a/b")}, {index, access}, false,
                                                  log, bytes, files);
    EXPECT_EQ(records.size(), 6);
    EXPECT_EQ(files, 6);
    EXPECT_EQ(bytes, 3 * (10 + 4));

    question.answers = {ScriptedQuestion::Answer{true, false, false, true}}; // skip the existing file
    run(records);
    EXPECT_EQ(question.asked.size(), 1);
    EXPECT_TRUE(question.asked.value(0).endsWith(S("/site/a/index.html"))) << question.asked.value(0).toStdString();
    EXPECT_EQ(server->readFile(S("site/a/index.html")), "server's own");
    for (const char *folder : {"site", "site/a", "site/a/b"})
        EXPECT_EQ(server->readFile(S(folder) + S("/.htaccess")), "Deny") << folder;
    EXPECT_EQ(server->readFile(S("site/index.html")), "<p>new</p>");
    EXPECT_EQ(server->readFile(S("site/a/b/index.html")), "<p>new</p>");
}
