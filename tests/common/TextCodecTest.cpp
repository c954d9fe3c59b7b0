#include "common/TextCodec.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace Velmora;
using Velmora::Testing::TestEnvironment;

TEST(TextCodec, WritesWindows1252WhenEveryCharacterFits)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("a.txt");
    ASSERT_TRUE(TextCodec::WriteLines(path, {QString::fromUtf16(u"Gr\u00FC\u00DFe \u20AC"), QStringLiteral("x\u00A7y")}));
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("Gr\xFC\xDF" "e \x80\r\nx\xA7y\r\n"));
    EXPECT_EQ(TextCodec::ReadLines(path), (QStringList{QString::fromUtf16(u"Gr\u00FC\u00DFe \u20AC"), QStringLiteral("x\u00A7y")}));
}

TEST(TextCodec, FallsBackToUtf8AndReadsItBack)
{
    TestEnvironment env;
    const QString path = env.root() + QStringLiteral("b.txt");
    const QString text = QString::fromUtf16(u"\u0436\u00E4");
    ASSERT_TRUE(TextCodec::WriteLines(path, {text}));
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray("\xD0\xB6\xC3\xA4\r\n"));
    EXPECT_EQ(TextCodec::ReadLines(path), QStringList{text});
}

TEST(TextCodec, TextWhoseWindows1252BytesReadAsUtf8IsWrittenAsUtf8)
{
    // "Ã©" is C3 A9 in Windows-1252, which reads as "é" in UTF-8.
    const QString mojibake = QString::fromUtf16(u"Ã©");
    EXPECT_EQ(TextCodec::Encode(mojibake), QByteArray("\xC3\x83\xC2\xA9"));
    EXPECT_EQ(TextCodec::Decode(TextCodec::Encode(mojibake)), mojibake);
    // Plain ASCII, and Windows-1252 bytes that are no UTF-8, stay Windows-1252.
    EXPECT_EQ(TextCodec::Encode(u"plain"), QByteArray("plain"));
    EXPECT_EQ(TextCodec::Encode(QString::fromUtf16(u"Ã© café")), QByteArray("\xC3\xA9 caf\xE9"));
}

TEST(TextCodec, EveryByteRoundTripsThroughWindows1252)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    bool ok = false;
    EXPECT_EQ(TextCodec::EncodeWindows1252(TextCodec::DecodeWindows1252(all), &ok), all);
    EXPECT_TRUE(ok);
}

TEST(TextCodec, SplitsAnyLineEnd)
{
    EXPECT_EQ(TextCodec::SplitLines(QStringLiteral("a\r\nb\nc\rd")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(TextCodec::SplitLines(QStringLiteral("a\r\n\r\n")), (QStringList{QStringLiteral("a"), QString()}));
    bool exists = true;
    EXPECT_TRUE(TextCodec::ReadLines(QStringLiteral("/nonexistent/x"), &exists).isEmpty());
    EXPECT_FALSE(exists);
}
