#include "common/IniFile.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

TEST(IniFile, WritesSectionsAndKeysInOrderWithCrLf)
{
    TestEnvironment env;
    IniFile ini(env.root() + QStringLiteral("x.ini"));
    ini.writeString(IniFile::Settings, QStringLiteral("Host"), QStringLiteral("ftp.example.org"));
    ini.writeBool(IniFile::Settings, QStringLiteral("Flag"), true);
    ini.writeInteger(IniFile::Settings, QStringLiteral("Port"), 21);
    ini.writeBool(IniFile::Settings, QStringLiteral("Flag"), false); // rewrites in place
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(TestEnvironment::readFile(ini.path()),
              QByteArray("[SETTINGS]\r\nHost=ftp.example.org\r\nFlag=0\r\nPort=21\r\n\r\n"));
}

TEST(IniFile, ReadsBooleansNumbersAndDefaults)
{
    IniFile ini;
    ini.parse(QStringLiteral("[settings]\nA=1\nB=0\nC=7\nD=-1\nE=yes\nN= 42 \n"));
    EXPECT_TRUE(ini.readBool(IniFile::Settings, QStringLiteral("A"), false));
    EXPECT_FALSE(ini.readBool(IniFile::Settings, QStringLiteral("B"), true));
    EXPECT_TRUE(ini.readBool(IniFile::Settings, QStringLiteral("C"), false));  // any non-zero number
    EXPECT_TRUE(ini.readBool(IniFile::Settings, QStringLiteral("D"), false));
    EXPECT_TRUE(ini.readBool(IniFile::Settings, QStringLiteral("E"), true));   // not a number: default
    EXPECT_FALSE(ini.readBool(IniFile::Settings, QStringLiteral("E"), false));
    EXPECT_FALSE(ini.readBool(IniFile::Settings, QStringLiteral("Missing"), false));
    EXPECT_EQ(ini.readInteger(IniFile::Settings, QStringLiteral("n"), 0), 42); // keys ignore case
    EXPECT_EQ(ini.readString(QStringLiteral("Other"), QStringLiteral("A"), QStringLiteral("dflt")), QStringLiteral("dflt"));
}

TEST(IniFile, MissingFileGivesDefaults)
{
    IniFile ini(QStringLiteral("/nonexistent/none.ini"));
    EXPECT_FALSE(ini.load());
    EXPECT_EQ(ini.readString(IniFile::Settings, QStringLiteral("Host"), QStringLiteral("d")), QStringLiteral("d"));
}

TEST(IniFile, ValuesMayHoldEqualsSignsAndUmlauts)
{
    TestEnvironment env;
    IniFile ini(env.root() + QStringLiteral("u.ini"));
    ini.writeString(IniFile::Settings, QStringLiteral("LocalPath"), QString::fromUtf16(u"/home/j\u00FCrgen/a=b"));
    ASSERT_TRUE(ini.save());
    IniFile back(ini.path());
    ASSERT_TRUE(back.load());
    EXPECT_EQ(back.readString(IniFile::Settings, QStringLiteral("LocalPath")), QString::fromUtf16(u"/home/j\u00FCrgen/a=b"));
}
