#include "common/RemotePath.h"

#include <gtest/gtest.h>

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
