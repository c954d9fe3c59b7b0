#include "common/PasswordCodec.h"

#include <gtest/gtest.h>

using namespace Velmora;

TEST(PasswordCodec, EncodesEachByteAsThreeDigits)
{
    EXPECT_EQ(EncodePassword(QStringLiteral("abc")), QStringLiteral("097098099"));
    EXPECT_EQ(EncodePassword(QString()), QString());
    EXPECT_EQ(EncodePassword(QString::fromUtf16(u"\u00E4")), QStringLiteral("228")); // Windows-1252 byte
    EXPECT_EQ(EncodePassword(QString::fromUtf16(u"\u20AC")), QStringLiteral("128"));
}

TEST(PasswordCodec, DecodesGroupsAndIgnoresAShortTail)
{
    EXPECT_EQ(DecodePassword(QStringLiteral("097098099")), QStringLiteral("abc"));
    EXPECT_EQ(DecodePassword(QString()), QString());
    EXPECT_EQ(DecodePassword(QStringLiteral(" ")), QString());
    EXPECT_EQ(DecodePassword(QStringLiteral("09709")), QStringLiteral("a"));
    EXPECT_EQ(DecodePassword(QStringLiteral("353")), QStringLiteral("a")); // modulo 256
}

TEST(PasswordCodec, ANonNumberGroupIsReported)
{
    bool ok = true;
    EXPECT_EQ(DecodePassword(QStringLiteral("097x98099"), &ok), QStringLiteral("a"));
    EXPECT_FALSE(ok);
}

TEST(PasswordCodec, EveryPasswordRoundTrips)
{
    // Every single-byte character, and text that needs more than Windows-1252.
    QString allBytes;
    for (int b = 1; b < 256; ++b)
        allBytes += QChar(b);
    const QString samples[] = {
        QStringLiteral("p@ss w0rd!"),
        QString::fromUtf16(u"\u00DCber\u00DF\u20AC"),
        QString::fromUtf16(u"\u043F\u0430\u0440\u043E\u043B\u044C"),  // Cyrillic
        QString::fromUtf16(u"\u5BC6\u7801\U0001F511"),
        QStringLiteral("|\u00A7;=[]"),
        QString::fromUtf16(u"\u00C3\u00BC"), // its Windows-1252 bytes would read as UTF-8 "\u00FC"
    };
    for (const QString &password : samples)
        EXPECT_EQ(DecodePassword(EncodePassword(password)), password) << password.toStdString();
    const QString decoded = DecodePassword(EncodePassword(allBytes));
    EXPECT_EQ(decoded.size(), allBytes.size());
}
