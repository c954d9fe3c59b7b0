// Deleting the search-and-replace backups: when, after which question, and what exactly goes.
#include "FakeUserPrompts.h"

#include "app/ProtocolLog.h"
#include "common/Language.h"
#include "replace/BackupDeletionView.h"
#include "replace/BackupIndex.h"
#include "replace/BackupStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class RecordingView : public BackupDeletionView {
public:
    void deletionStarted() override { events << u"shown"_s; }
    void lineAdded(const QString &line) override { events << line; }
    void deletionFinished() override { events << u"closed"_s; }
    QStringList events;
};

class BackupStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString temp = dir.path() + u'/';
    FakeUserPrompts prompts;
    Language language;
    ProtocolLog log{temp};
    BackupStore store{temp, prompts, language, &log};
    RecordingView view;

    void makeBackup(const QString &name)
    {
        QDir().mkpath(temp + name + u"/sub"_s);
        QFile file(temp + name + u"/sub/index.html"_s);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html>");
    }
    bool exists(const QString &name) const { return QFileInfo::exists(temp + name); }
};

const QString question = u"If you change the host, all \"search and replace\" backups will be deleted! Change the host?"_s;

TEST_F(BackupStoreTest, FolderNamesHaveAtLeastThreeDigits)
{
    EXPECT_EQ(BackupStore::FolderName(1), u"BACKUP001"_s);
    EXPECT_EQ(BackupStore::FolderName(42), u"BACKUP042"_s);
    EXPECT_EQ(BackupStore::FolderName(1000), u"BACKUP1000"_s);
}

TEST_F(BackupStoreTest, WithoutTheFirstBackupNothingIsAskedOrDeleted)
{
    EXPECT_TRUE(store.DeleteAllBackups(question, view));
    makeBackup(u"BACKUP002"_s); // the first was removed by hand
    EXPECT_TRUE(store.DeleteAllBackups(question, view));
    EXPECT_TRUE(exists(u"BACKUP002"_s));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(view.events.isEmpty());
}

TEST_F(BackupStoreTest, NoKeepsEveryBackup)
{
    makeBackup(u"BACKUP001"_s);
    prompts.confirmAnswers = {false};
    EXPECT_FALSE(store.DeleteAllBackups(question, view));
    EXPECT_EQ(prompts.shown, QStringList{u"confirm: "_s + question});
    EXPECT_TRUE(exists(u"BACKUP001/sub/index.html"_s));
    EXPECT_TRUE(view.events.isEmpty());
}

TEST_F(BackupStoreTest, DeletesEveryBackupFolderAndNothingElse)
{
    for (const QString &name : {u"BACKUP001"_s, u"BACKUP002"_s, u"BACKUP1000"_s, u"download"_s, u"backup-notes"_s})
        makeBackup(name);
    QFile file(temp + u"BACKUP.txt"_s); // a file, not a backup folder
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    // A link named like a backup goes; the folder it points to stays.
    makeBackup(u"elsewhere"_s);
    ASSERT_TRUE(QFile::link(temp + u"elsewhere"_s, temp + u"BACKUP003"_s));

    prompts.confirmAnswers = {true};
    EXPECT_TRUE(store.DeleteAllBackups(question, view));
    EXPECT_EQ(view.events, (QStringList{u"shown"_s, u"Delete: "_s + temp + u"BACKUP001/"_s, u"Delete: "_s + temp + u"BACKUP002/"_s,
                                        u"Delete: "_s + temp + u"BACKUP003/"_s, u"Delete: "_s + temp + u"BACKUP1000/"_s,
                                        u"closed"_s}));
    for (const QString &gone : {u"BACKUP001"_s, u"BACKUP002"_s, u"BACKUP003"_s, u"BACKUP1000"_s})
        EXPECT_FALSE(QFileInfo(temp + gone).exists() || QFileInfo(temp + gone).isSymLink()) << gone.toStdString();
    for (const QString &kept : {u"download"_s, u"backup-notes"_s, u"BACKUP.txt"_s, u"elsewhere/sub/index.html"_s})
        EXPECT_TRUE(exists(kept)) << kept.toStdString();
    EXPECT_TRUE(log.entries().isEmpty());
}

TEST_F(BackupStoreTest, WithoutAQuestionItDeletesAtOnce)
{
    makeBackup(u"BACKUP001"_s);
    language.setCurrent(Language::German);
    EXPECT_TRUE(store.DeleteAllBackups(QString(), view));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(view.events.value(1), QString::fromUtf8("Löschen: ") + temp + u"BACKUP001/"_s);
    EXPECT_FALSE(exists(u"BACKUP001"_s));
}

// Making backups: numbered folders with a copy of the working folder and the seven index lines.
class BackupCreationTest : public BackupStoreTest {
protected:
    QString work = temp + u"download/"_s;

    void SetUp() override
    {
        writeWork(u"index.html"_s, "<p>old</p>\n");
        writeWork(u"www/css/site.css"_s, "a{}\r\n");
        writeWork(u"www/.htaccess"_s, "deny\n");
    }
    void writeWork(const QString &relative, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(work + relative).path());
        QFile file(work + relative);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    BackupOperation replaceTerm() { return BackupOperation::forReplace(ReplaceMode::ReplaceTerm, language, u"old"_s, u"new"_s, {}, {}, {}); }
};

TEST_F(BackupCreationTest, EachBackupTakesTheNextNumberAndCopiesTheWholeWorkingFolder)
{
    for (int number = 1; number <= 3; ++number) {
        const BackupStore::Created created = store.CreateBackup(BackupIndex::ServerKind, replaceTerm(), u"/www"_s, work);
        EXPECT_TRUE(created.complete()) << created.failed.join(u',').toStdString();
        EXPECT_EQ(created.folder, temp + BackupStore::FolderName(number) + u'/');
        writeWork(u"index.html"_s, "<p>changed " + QByteArray::number(number) + "</p>\r\n");
    }
    // Each holds the working folder as it was at that moment, sub-folders and hidden files too.
    EXPECT_EQ(read(temp + u"BACKUP001/index.html"_s), "<p>old</p>\n");
    EXPECT_EQ(read(temp + u"BACKUP002/index.html"_s), "<p>changed 1</p>\r\n");
    EXPECT_EQ(read(temp + u"BACKUP003/www/css/site.css"_s), "a{}\r\n");
    EXPECT_EQ(read(temp + u"BACKUP003/www/.htaccess"_s), "deny\n");

    const QList<BackupIndex> listed = store.ListBackups();
    ASSERT_EQ(listed.size(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(listed.at(row).backupPath, temp + BackupStore::FolderName(row + 1) + u'/');

    // Once every backup is gone (a host change), numbering starts at 1 again, so the next
    // deletion still finds "BACKUP001".
    prompts.confirmAnswers = {true};
    ASSERT_TRUE(store.DeleteAllBackups(question, view));
    EXPECT_EQ(store.CreateBackup(BackupIndex::LocalKind, replaceTerm(), u"/home/u/site/"_s, work).folder,
              temp + u"BACKUP001/"_s);
}

TEST_F(BackupCreationTest, TheIndexHasSevenLinesWithTheOperationsDetails)
{
    struct Case {
        const char *name;
        BackupOperation operation;
        QString caption, detail1, detail2;
    };
    const QStringList none;
    const Case cases[] = {
        {"replace a term", BackupOperation::forReplace(ReplaceMode::ReplaceTerm, language, u"old"_s, u""_s, u"/src"_s, {u"x"_s}, {u"y"_s}),
         u"Search and replace a term"_s, u"old"_s, u""_s},
        {"replace files", BackupOperation::forReplace(ReplaceMode::ReplaceFile, language, u"old"_s, u"new"_s, u"/home/u/new.html"_s, none, none),
         u"Replace files by another file"_s, u"/home/u/new.html"_s, u" "_s},
        {"insert after", BackupOperation::forReplace(ReplaceMode::InsertAfterTerm, language, u"<head>"_s, u""_s, {}, {u"<meta>"_s, u"<x>"_s}, none),
         u"Insert lines after a term"_s, u"<head>"_s, u"<meta>..."_s},
        {"insert before, no lines", BackupOperation::forReplace(ReplaceMode::InsertBeforeTerm, language, u"</body>"_s, u""_s, {}, none, none),
         u"Insert lines before a term"_s, u"</body>"_s, u"..."_s},
        {"insert at the beginning", BackupOperation::forReplace(ReplaceMode::InsertAtBeginning, language, u"t"_s, u""_s, {}, {u"z"_s}, {u"a"_s, u"b"_s}),
         u"Insert lines at the beginning of the files"_s, u" "_s, u"a..."_s},
        {"insert at the end", BackupOperation::forReplace(ReplaceMode::InsertAtEnd, language, u""_s, u""_s, {}, none, {u"<!-- end -->"_s}),
         u"Insert lines at the end of the files"_s, u" "_s, u"<!-- end -->..."_s},
        {"editor", BackupOperation::forEditor(language, u"index.html"_s), u"Edited by editor"_s, u"index.html"_s, u" "_s},
    };
    for (const Case &c : cases) {
        const BackupStore::Created created = store.CreateBackup(BackupIndex::ServerKind, c.operation, u"/www/site"_s, work);
        const QByteArray bytes = read(created.folder + u"BACKUPINFO.VELMORA"_s);
        const QList<QByteArray> lines = bytes.split('\n');
        ASSERT_EQ(lines.size(), 8) << c.name << ": seven lines, each ending with CR LF";
        EXPECT_TRUE(bytes.endsWith("\r\n")) << c.name;
        const QStringList text = QString::fromUtf8(bytes).split(u"\r\n"_s);
        EXPECT_EQ(text.value(1), u"Server"_s) << c.name;
        EXPECT_EQ(text.value(2), c.caption) << c.name;
        EXPECT_EQ(text.value(3), c.detail1) << c.name;
        EXPECT_EQ(text.value(4), c.detail2) << c.name;
        EXPECT_EQ(text.value(5), created.folder) << c.name;
        EXPECT_EQ(text.value(6), u"/www/site"_s) << c.name;
        EXPECT_FALSE(text.value(0).isEmpty()) << c.name << ": the time";
    }
    // The caption follows the language of the moment.
    language.setCurrent(Language::German);
    EXPECT_EQ(BackupOperation::forReplace(ReplaceMode::InsertAtEnd, language, {}, {}, {}, {}, {}).caption,
              QString::fromUtf8("Zeilen am Ende der Datei einfügen"));
    EXPECT_EQ(BackupOperation::forEditor(language, u"a"_s).caption, u"Bearbeitet mit dem Editor"_s);
}

TEST_F(BackupCreationTest, TheListComesFromTheIndexFilesOnDiskInNumberOrder)
{
    store.CreateBackup(BackupIndex::ServerKind, replaceTerm(), u"/www"_s, work);
    store.CreateBackup(BackupIndex::LocalKind, replaceTerm(), u"/home/u/site/"_s, work);
    // An index cut short by hand gives empty cells; a hidden folder and a copy of an index in
    // the working folder's own hidden folder are not looked at.
    QDir().mkpath(temp + u"BACKUP003"_s);
    {
        QFile shortIndex(temp + u"BACKUP003/BACKUPINFO.VELMORA"_s);
        ASSERT_TRUE(shortIndex.open(QIODevice::WriteOnly));
        shortIndex.write("01.01.2026 10:00:00\r\nLocal\r\n");
    }
    QDir().mkpath(temp + u".hidden"_s);
    QFile::copy(temp + u"BACKUP001/BACKUPINFO.VELMORA"_s, temp + u".hidden/BACKUPINFO.VELMORA"_s);

    const QList<BackupIndex> listed = store.ListBackups();
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed.at(0).kind, u"Server"_s);
    EXPECT_EQ(listed.at(0).destinationPath, u"/www"_s);
    EXPECT_EQ(listed.at(1).kind, u"Local"_s);
    EXPECT_EQ(listed.at(1).detail1, u"old"_s);
    EXPECT_EQ(listed.at(2).time, u"01.01.2026 10:00:00"_s);
    EXPECT_EQ(listed.at(2).operation, QString());
    EXPECT_EQ(listed.at(2).destinationPath, QString());
}

TEST_F(BackupCreationTest, ALocalRestoreCopiesEverythingBackWithTheIndex)
{
    const QString site = temp + u"site/"_s;
    const BackupStore::Created created = store.CreateBackup(BackupIndex::LocalKind, replaceTerm(), site, work);
    BackupIndex index = store.ListBackups().value(0);
    ASSERT_EQ(index.backupPath, created.folder);

    // The destination is made with its parents; existing files are overwritten, others stay.
    QDir().mkpath(site + u"www"_s);
    {
        QFile changed(site + u"index.html"_s);
        ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
        changed.write("<p>new</p>\r\n");
        QFile other(site + u"www/other.txt"_s);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    }
    EXPECT_TRUE(store.RestoreLocal(index).isEmpty());
    EXPECT_EQ(read(site + u"index.html"_s), "<p>old</p>\n");
    EXPECT_EQ(read(site + u"www/css/site.css"_s), "a{}\r\n");
    EXPECT_TRUE(QFileInfo::exists(site + u"www/other.txt"_s));
    EXPECT_TRUE(QFileInfo::exists(site + u"BACKUPINFO.VELMORA"_s));
    // The backup stays and can be restored again.
    EXPECT_TRUE(QFileInfo::exists(created.folder + u"index.html"_s));
    EXPECT_TRUE(store.RestoreLocal(index).isEmpty());

    // An index without a backup path copies nothing from anywhere.
    index.backupPath.clear();
    EXPECT_FALSE(store.RestoreLocal(index).isEmpty());
}

TEST_F(BackupCreationTest, AFileThatCannotBeCopiedMakesTheBackupIncomplete)
{
    writeWork(u"secret.txt"_s, "x");
    QFile::setPermissions(work + u"secret.txt"_s, QFileDevice::Permissions());
    if (QFile(work + u"secret.txt"_s).open(QIODevice::ReadOnly))
        GTEST_SKIP() << "running with rights that read any file";
    const BackupStore::Created created = store.CreateBackup(BackupIndex::ServerKind, replaceTerm(), u"/"_s, work);
    EXPECT_EQ(created.failed, QStringList{u"secret.txt"_s});
    EXPECT_FALSE(created.complete());
    QFile::setPermissions(work + u"secret.txt"_s, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace
