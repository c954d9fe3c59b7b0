#include "common/TextCodec.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QStringDecoder>

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

// The UTF-8 check decides how a file is read: it must agree with a strict decoder on every
// kind of sequence, also where ASCII runs of eight bytes are skipped at once.
TEST(TextCodec, Utf8CheckAgreesWithAStrictDecoder)
{
    const QList<std::pair<QByteArray, bool>> cases = {
        {"", true},
        {"plain ASCII text of some length", true},
        {"\xC3\xBC", true},                 // ü
        {"\xE2\x82\xAC", true},             // €
        {"\xF0\x9F\x98\x80", true},         // an emoji
        {"\xF4\x8F\xBF\xBF", true},         // U+10FFFF
        {"\xC3", false},                    // cut
        {"abcdefgh\xE2\x82", false},        // cut after an ASCII run
        {"\xC0\xAF", false},                // overlong
        {"\xE0\x80\xAF", false},            // overlong
        {"\xF0\x80\x80\xAF", false},        // overlong
        {"\xED\xA0\x80", false},            // a surrogate
        {"\xF4\x90\x80\x80", false},        // above U+10FFFF
        {"\xF5\x80\x80\x80", false},
        {"\xFF", false},
        {"\x80", false},                    // a lone continuation byte
        {"Gr\xFC\xDF" "e", false},          // Windows-1252
        {"12345678\xC3\xBC" "12345678", true},
    };
    for (const auto &[bytes, valid] : cases) {
        QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = strict.decode(bytes);
        EXPECT_EQ(TextCodec::IsValidUtf8(bytes), valid) << bytes.toHex().toStdString();
        EXPECT_EQ(!strict.hasError(), valid) << "the table itself: " << bytes.toHex().toStdString();
    }
    // Every two-byte sequence, at both alignments around an ASCII run.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const QByteArray bytes = QByteArray("1234567") + char(a) + char(b);
            QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString decoded = strict.decode(bytes);
            ASSERT_EQ(TextCodec::IsValidUtf8(bytes), !strict.hasError()) << bytes.toHex().toStdString();
        }
    }
}
