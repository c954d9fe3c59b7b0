#include "common/RemotePath.h"

#include <gtest/gtest.h>

#include <QList>

#include <array>

using namespace Velmora;

TEST(RemotePath, Normalise)
{
    EXPECT_EQ(NormaliseRemotePath(QStringLiteral("/a//b/")), QStringLiteral("/a/b"));
    EXPECT_EQ(NormaliseRemotePath(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(NormaliseRemotePath(QStringLiteral("\\www\\x")), QStringLiteral("/www/x"));
    EXPECT_EQ(NormaliseRemotePath(QStringLiteral("//")), QStringLiteral("/"));
    EXPECT_EQ(NormaliseRemotePath(QStringLiteral("///a")), QStringLiteral("//a")); // one pass, no rescan
    EXPECT_EQ(NormaliseRemotePath(QStringLiteral("a b/")), QStringLiteral("a b"));
}

TEST(RemotePath, ToLocalFoldsDoubledSeparatorsOnce)
{
    EXPECT_EQ(ToLocalPath(QStringLiteral("/home//x/y")), QStringLiteral("/home/x/y"));
    EXPECT_EQ(ToLocalPath(QStringLiteral("/x///y")), QStringLiteral("/x//y"));
    EXPECT_EQ(ToLocalPath(QStringLiteral("/a\\b")), QStringLiteral("/a\\b")); // a legal name character here
}

TEST(RemotePath, ResolveANameTypedForAFolder)
{
    const QList<std::array<const char *, 3>> cases = {
        {"/p1", "b.txt", "/p1/b.txt"},
        {"/p1", "sub/b.txt", "/p1/sub/b.txt"},
        {"/p1", "../top.txt", "/top.txt"},
        {"/p1/s", "./../x", "/p1/x"},
        {"/", "../../x", "/x"},
        {"/p1", "/abs/y", "/abs/y"},
        {"/p1", "a\\b", "/p1/a/b"},
        {"/site ", " a.txt ", "/site / a.txt "}, // blanks belong to names
        {"/p1", "sub/", "/p1/sub"},
    };
    for (const auto &[folder, name, expected] : cases)
        EXPECT_EQ(ResolveRemotePath(QString::fromUtf8(folder), QString::fromUtf8(name)), QString::fromUtf8(expected))
            << folder << " + " << name;
}

TEST(RemotePath, ParentAndLastSegment)
{
    EXPECT_EQ(RemoteParentPath(QStringLiteral("/www/site/index.html")), QStringLiteral("/www/site"));
    EXPECT_EQ(RemoteParentPath(QStringLiteral("//www//x")), QStringLiteral("/www"));
    EXPECT_EQ(RemoteParentPath(QStringLiteral("/www")), QString());
    EXPECT_EQ(RemoteLastSegment(QStringLiteral("/www/site/index.html")), QStringLiteral("index.html"));
    EXPECT_EQ(RemoteLastSegment(QStringLiteral("/www/")), QStringLiteral("www"));
    EXPECT_EQ(RemoteLastSegment(QStringLiteral("/")), QString());
}

TEST(RemotePath, IncludeTrailingSeparator)
{
    EXPECT_EQ(IncludeTrailingBackslash(QString()), QString());
    EXPECT_EQ(IncludeTrailingBackslash(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(IncludeTrailingBackslash(QStringLiteral("/home/u")), QStringLiteral("/home/u/"));
    EXPECT_EQ(IncludeTrailingBackslash(QStringLiteral("/home/u/")), QStringLiteral("/home/u/"));
}
