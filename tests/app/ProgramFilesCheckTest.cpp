#include "app/ProgramFilesCheck.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

namespace {

QString buildProgramFolder()
{
    return qEnvironmentVariable("VELMORA_BINARY_DIR") + QStringLiteral("/bin/");
}

// A program folder made of copies of the build's files.
QString copyOfBuildFiles(const TestEnvironment &env)
{
    const QString folder = env.root() + QStringLiteral("share/velmora/");
    for (const QString &file : ProgramFilesCheck::requiredFiles()) {
        QDir().mkpath(QFileInfo(folder + file).path());
        QFile::copy(buildProgramFolder() + file, folder + file);
    }
    return folder;
}

} // namespace

TEST(ProgramFilesCheck, TheBuildFolderHoldsEveryFile)
{
    AppFolders folders = AppFolders::detect(buildProgramFolder());
    QString report;
    EXPECT_TRUE(ProgramFilesCheck::run(folders, &report)) << report.toStdString();
    const QStringList lines = report.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.first(), QStringLiteral("Program folder:  ") + folders.programFolder);
    EXPECT_EQ(lines.at(1), QStringLiteral("Settings folder: ") + folders.appDataFolder);
    EXPECT_EQ(lines.at(2), QStringLiteral("Working folder:  ") + folders.tempFolder);
    EXPECT_TRUE(lines.contains(QStringLiteral("ok         recom_EN/m_splash.jpg")));
    EXPECT_TRUE(lines.contains(QStringLiteral("ok         skins/FilterBar_Gold.bmp")));
    EXPECT_TRUE(lines.contains(QStringLiteral("ok         help_GR/help.html")));
    EXPECT_EQ(lines.last(), QStringLiteral("All 19 files are there."));
}

TEST(ProgramFilesCheck, NamesMissingAndUnreadableFiles)
{
    TestEnvironment env;
    const QString folder = copyOfBuildFiles(env);
    QFile::remove(folder + QStringLiteral("skins/Small_Head_Gold.bmp"));
    env.writeFile(QStringLiteral("share/velmora/recom_GR/m_splash.jpg"), "not a picture");
    QFile::resize(folder + QStringLiteral("help_EN/help.html"), 0);

    QString report;
    EXPECT_FALSE(ProgramFilesCheck::run(AppFolders::detect(folder), &report));
    const QStringList lines = report.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(QStringLiteral("missing    skins/Small_Head_Gold.bmp"))) << report.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("unreadable recom_GR/m_splash.jpg"))) << report.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("unreadable help_EN/help.html"))) << report.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("ok         recom_EN/m_splash.jpg")));
    EXPECT_EQ(lines.last(), QStringLiteral("3 of 19 files are missing or unreadable."));
    EXPECT_FALSE(QDir(env.appDataFolder()).exists()); // a check changes nothing
}
