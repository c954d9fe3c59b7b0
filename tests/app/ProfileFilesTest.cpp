#include "app/ProfileFiles.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

TEST(ProfileFiles, NewProfileGetsVersionAndSystemLanguage)
{
    TestEnvironment env;
    ProfileFiles files(env.root());
    files.createForNewProfile(QStringLiteral("Version 1.2.3"), true);
    EXPECT_EQ(TestEnvironment::readFile(files.versionFile()), QByteArray("Version 1.2.3\r\n"));
    EXPECT_EQ(TestEnvironment::readFile(files.languageFile()), QByteArray("GERMAN\r\n"));
    // Existing files are never replaced.
    env.writeFile(ProfileFiles::LanguageFileName, "ENGLISH\r\n");
    files.createForNewProfile(QStringLiteral("Version 9"), true);
    EXPECT_EQ(TestEnvironment::readFile(files.languageFile()), QByteArray("ENGLISH\r\n"));
    EXPECT_EQ(TestEnvironment::readFile(files.versionFile()), QByteArray("Version 1.2.3\r\n"));
}

TEST(ProfileFiles, MissingVersionReadsVersionZero)
{
    TestEnvironment env;
    ProfileFiles files(env.root());
    bool found = true;
    EXPECT_EQ(files.readVersionText(&found), QStringLiteral("Version 0"));
    EXPECT_FALSE(found);
    files.readLanguageName(&found);
    EXPECT_FALSE(found);
}
