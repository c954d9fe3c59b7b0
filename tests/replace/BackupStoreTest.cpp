// Deleting the search-and-replace backups: when, after which question, and what exactly goes.
#include "FakeUserPrompts.h"

#include "app/ProtocolLog.h"
#include "common/Language.h"
#include "replace/BackupDeletionView.h"
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

} // namespace
