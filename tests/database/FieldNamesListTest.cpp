#include "database/FieldNamesList.h"

#include <gtest/gtest.h>

TEST(FieldNamesList, SplitAtLineBreaksKeepingNamesOfTwoOrMore)
{
    EXPECT_EQ(SplitFieldNamesList(QStringLiteral("\r\nEmail\r\nQ\r\nAge\r\ntail")),
              (QStringList{"Email", "Age"}));
    EXPECT_TRUE(SplitFieldNamesList(QStringLiteral("\r\n")).isEmpty());
    EXPECT_TRUE(SplitFieldNamesList(QStringLiteral("   ")).isEmpty());
    EXPECT_TRUE(SplitFieldNamesList(QString()).isEmpty());
    EXPECT_EQ(SplitFieldNamesList(QStringLiteral("ab\r\n")), QStringList{"ab"});
    EXPECT_EQ(SplitFieldNamesList(QStringLiteral("\r\nab\r")), QStringList{"ab"});
}
