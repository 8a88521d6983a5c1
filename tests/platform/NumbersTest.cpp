#include "platform/Numbers.h"

#include <gtest/gtest.h>

TEST(LeadingNumber, ReadsTheNumericPrefix)
{
    EXPECT_EQ(LeadingNumber(QStringLiteral("100")), 100.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("  42abc")), 42.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("-1.5x")), -1.5);
    EXPECT_EQ(LeadingNumber(QStringLiteral(" 2")), 2.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("1e3")), 1000.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("1e")), 1.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral("yes")), 0.0);
    EXPECT_EQ(LeadingNumber(QString()), 0.0);
    EXPECT_EQ(LeadingNumber(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(LeadingNumber(QStringLiteral("-")), 0.0);
}

TEST(IntegerConversion, RoundsHalfToEvenAndRefusesOverflow)
{
    EXPECT_EQ(ToInt16(2.5), qint16(2));
    EXPECT_EQ(ToInt16(3.5), qint16(4));
    EXPECT_EQ(ToInt16(-2.5), qint16(-2));
    EXPECT_EQ(ToInt16(32767.0), qint16(32767));
    EXPECT_FALSE(ToInt16(32768.0).has_value());
    EXPECT_EQ(ToInt32(2147483647.0), qint32(2147483647));
    EXPECT_FALSE(ToInt32(2147483648.0).has_value());
    EXPECT_EQ(NumberWithSignSpace(2), QStringLiteral(" 2"));
    EXPECT_EQ(NumberWithSignSpace(-7), QStringLiteral("-7"));
}
