// The backup deletion in the running program: silently at start, after a question at the end.
#include "AppFixture.h"
#include "replace/DeleteBackupForm.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

using namespace Velmora;
using namespace Velmora::Testing;
using namespace Qt::StringLiterals;

namespace {

class DeleteBackupWindow : public AppFixture {
protected:
    void SetUp() override { existingProfile(); }
    DeleteBackupForm &form() { return *starter->dialogs().deleteBackup; }
};

TEST_F(DeleteBackupWindow, StartRemovesLeftoverBackupsWithoutAsking)
{
    QDir().mkpath(env.tempFolder() + u"BACKUP001/sub"_s);
    QDir().mkpath(env.tempFolder() + u"BACKUP002"_s);
    ASSERT_TRUE(start());
    EXPECT_FALSE(QFileInfo::exists(env.tempFolder() + u"BACKUP001"_s));
    EXPECT_FALSE(QFileInfo::exists(env.tempFolder() + u"BACKUP002"_s));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(form().headerTitle(), u"Delete backup"_s);
    ASSERT_EQ(form().listBox()->count(), 2);
    EXPECT_EQ(form().listBox()->item(0)->text(), u"Delete: "_s + env.tempFolder() + u"BACKUP001/"_s);
    EXPECT_EQ(form().listBox()->currentRow(), 1);
    EXPECT_FALSE(form().isVisible());
}

TEST_F(DeleteBackupWindow, TheCloseQuestionDecidesAboutBackupsAndTheEnd)
{
    ASSERT_TRUE(start());
    main().siteManagerTimer().stop();
    QDir().mkpath(env.tempFolder() + u"BACKUP001"_s);
    prompts.clear();
    prompts.confirmAnswers = {true, false};
    main().close();
    EXPECT_EQ(prompts.shown.value(1),
              u"confirm: If you close the program, all \"search and replace\" backups will be deletet! Close the program?"_s);
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(QFileInfo::exists(env.tempFolder() + u"BACKUP001"_s));

    prompts.confirmAnswers = {true, true};
    main().close();
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(QFileInfo::exists(env.tempFolder() + u"BACKUP001"_s));
}

} // namespace
