#include "common/SizeText.h"

#include <gtest/gtest.h>

using namespace Velmora;

TEST(FormatSizeDots, GroupsDigitsAndPads)
{
    EXPECT_EQ(FormatSizeDots(QStringLiteral("1234567"), true), QStringLiteral("1.234.567    "));
    EXPECT_EQ(FormatSizeDots(QStringLiteral("0"), true), QStringLiteral("0    "));
    EXPECT_EQ(FormatSizeDots(QStringLiteral(""), false), QStringLiteral("0"));
    EXPECT_EQ(FormatSizeDots(QStringLiteral(" 000123 "), false), QStringLiteral("123"));
    EXPECT_EQ(FormatSizeDots(QStringLiteral("-12"), false), QStringLiteral("12"));
    EXPECT_EQ(FormatSizeDots(QStringLiteral("5000000000"), false), QStringLiteral("5.000.000.000"));
    const QString once = FormatSizeDots(QStringLiteral("987654321"), true);
    EXPECT_EQ(FormatSizeDots(once, true), once); // idempotent on its own output
}

TEST(FormatSizeLong, ChoosesTheUnitByMagnitude)
{
    EXPECT_EQ(FormatSizeLong(0), QStringLiteral("0  bytes"));
    EXPECT_EQ(FormatSizeLong(1023), QStringLiteral("1.023  bytes"));
    EXPECT_EQ(FormatSizeLong(1536), QStringLiteral("1.536  bytes  (1.50 kB)"));
    EXPECT_EQ(FormatSizeLong(1048576), QStringLiteral("1.048.576  bytes  (1.00 MB)"));
    EXPECT_EQ(FormatSizeLong(1073741824), QStringLiteral("1.073.741.824  bytes  (1.00 GB)"));
    EXPECT_EQ(FormatSizeLong(5497558138880LL), QStringLiteral("5.497.558.138.880  bytes  (5,120.00 GB)"));
}

TEST(FormatSizeKB, TwoDecimalsOfKilobytes)
{
    EXPECT_EQ(FormatSizeKB(QStringLiteral("1536")), QStringLiteral("1.50 kB"));
    EXPECT_EQ(FormatSizeKB(QStringLiteral("0")), QStringLiteral("0.00 kB"));
    EXPECT_EQ(FormatSizeKB(QStringLiteral("2048000")), QStringLiteral("2,000.00 kB"));
    EXPECT_EQ(FormatSizeKB(QStringLiteral("abc")), QStringLiteral("- kB"));
    // Sizes of 2 GiB and more are not garbled.
    EXPECT_EQ(FormatSizeKB(QStringLiteral("3221225472")), QStringLiteral("3,145,728.00 kB"));
}
