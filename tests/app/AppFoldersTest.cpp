#include "app/AppFolders.h"
#include "TestEnvironment.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

// The program files (skins/ and the rest) lie beside the executable in a build and in
// <prefix>/share/velmora when installed as <prefix>/bin/velmora.
TEST(AppFolders, ProgramFolderIsFoundInTheBuildAndWhenInstalled)
{
    TestEnvironment env;
    const QString root = env.root();
    QDir().mkpath(root + QStringLiteral("build/bin/skins"));
    QDir().mkpath(root + QStringLiteral("usr/bin"));
    QDir().mkpath(root + QStringLiteral("usr/share/velmora/skins"));
    QDir().mkpath(root + QStringLiteral("both/bin/skins"));
    QDir().mkpath(root + QStringLiteral("both/share/velmora/skins"));
    QDir().mkpath(root + QStringLiteral("bare/bin"));

    struct Case { QString executableFolder; QString programFolder; };
    const Case cases[] = {
        {root + QStringLiteral("build/bin"), root + QStringLiteral("build/bin/")},
        {root + QStringLiteral("usr/bin/"), root + QStringLiteral("usr/share/velmora/")},
        {root + QStringLiteral("both/bin"), root + QStringLiteral("both/bin/")},   // beside the executable first
        {root + QStringLiteral("bare/bin"), root + QStringLiteral("bare/bin/")},   // nowhere: the executable's folder
    };
    for (const Case &c : cases)
        EXPECT_EQ(AppFolders::programFolderFor(c.executableFolder), c.programFolder) << c.executableFolder.toStdString();
}
