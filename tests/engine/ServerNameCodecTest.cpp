#include "engine/ftp/ServerNameCodec.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace Velmora;

namespace {

const QByteArray LatinLine = "-rw-r--r-- 1 u g 3 Jan  1  2010 caf\xE9 au lait.txt";

TEST(ServerNames, WithoutUtf8EveryByteIsWindows1252)
{
    ServerNameCodec codec;
    const QString line = codec.decodeListingLine(LatinLine);
    EXPECT_TRUE(line.endsWith(QString::fromUtf8("caf\u00e9 au lait.txt")));
    EXPECT_EQ(codec.encode(QString::fromUtf8("/dir/caf\u00e9 au lait.txt")), QByteArray("/dir/caf\xE9 au lait.txt"));
    // Bytes that are UTF-8 stay the same bytes too.
    const QString utf8Looking = codec.decodeListingLine("-rw-r--r-- 1 u g 3 Jan 1 2010 \xC3\xBC");
    EXPECT_EQ(codec.encode(utf8Looking.mid(utf8Looking.lastIndexOf(u' ') + 1)), QByteArray("\xC3\xBC"));
    // A name that does not fit Windows-1252 is not lost.
    EXPECT_EQ(codec.encode(QString::fromUtf8("\u65e5\u672c")), QByteArray("\xE6\x97\xA5\xE6\x9C\xAC"));
}

TEST(ServerNames, Utf8ServersGetUtf8AndLegacyNamesTheirOwnBytes)
{
    ServerNameCodec codec;
    codec.setUtf8(true);
    EXPECT_EQ(codec.decodeListingLine("-rw-r--r-- 1 u g 3 Jan 1 2010 \xC3\xBC" "ber.txt"),
              QString::fromUtf8("-rw-r--r-- 1 u g 3 Jan 1 2010 \u00fcber.txt"));
    EXPECT_EQ(codec.encode(QString::fromUtf8("/\u00fcber.txt")), QByteArray("/\xC3\xBC" "ber.txt"));

    codec.decodeListingLine(LatinLine);
    const QString latin = QString::fromUtf8("caf\u00e9 au lait.txt");
    EXPECT_EQ(codec.encode(latin), QByteArray("caf\xE9 au lait.txt"));
    EXPECT_EQ(codec.encode(QStringLiteral("/a/") + latin), QByteArray("/a/caf\xE9 au lait.txt"));
    EXPECT_EQ(codec.encode(QStringLiteral("CHMOD 644 ") + latin), QByteArray("CHMOD 644 caf\xE9 au lait.txt"));
    // Other names with the same letters are still UTF-8.
    EXPECT_EQ(codec.encode(QString::fromUtf8("caf\u00e9")), QByteArray("caf\xC3\xA9"));
}

TEST(ServerNames, LegacyPathsAndLinksAreRemembered)
{
    ServerNameCodec codec;
    codec.setUtf8(true);
    EXPECT_EQ(codec.decodePath("/d\xE9j\xE0/x"), QString::fromUtf8("/d\u00e9j\u00e0/x"));
    EXPECT_EQ(codec.encode(QString::fromUtf8("/d\u00e9j\u00e0/y")), QByteArray("/d\xE9j\xE0/y"));

    codec.decodeListingLine("lrwxrwxrwx 1 u g 3 Jan 1 2010 l\xE9 -> t\xE9");
    EXPECT_EQ(codec.encode(QString::fromUtf8("l\u00e9")), QByteArray("l\xE9"));
    EXPECT_EQ(codec.encode(QString::fromUtf8("t\u00e9")), QByteArray("t\xE9"));

    codec.decodeListingLine("12-08-26  10:31AM  1024 my f\xE9le.txt");
    EXPECT_EQ(codec.encode(QString::fromUtf8("my f\u00e9le.txt")), QByteArray("my f\xE9le.txt"));
}

} // namespace
