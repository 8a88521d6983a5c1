#include "platform/ResponseText.h"

#include <gtest/gtest.h>

TEST(IsPlainTextLine, TellsEncodedBodiesFromOrdinaryLines)
{
    EXPECT_FALSE(IsPlainTextLine(QString()));
    EXPECT_FALSE(IsPlainTextLine(QStringLiteral("    ")));
    EXPECT_FALSE(IsPlainTextLine(QStringLiteral("a=1&b=2&d=3")));
    EXPECT_FALSE(IsPlainTextLine(QStringLiteral("name=Jo&city=Rome")));
    EXPECT_FALSE(IsPlainTextLine(QStringLiteral("=&=&")));
    EXPECT_FALSE(IsPlainTextLine(QStringLiteral("word")));
    EXPECT_FALSE(IsPlainTextLine(QStringLiteral("  a=1&b=2  ")));
    EXPECT_TRUE(IsPlainTextLine(QStringLiteral("Subject: order")));
    EXPECT_TRUE(IsPlainTextLine(QStringLiteral("x=1=2")));
    EXPECT_TRUE(IsPlainTextLine(QStringLiteral("a=1=2")));
    EXPECT_TRUE(IsPlainTextLine(QStringLiteral("&&")));
    EXPECT_TRUE(IsPlainTextLine(QStringLiteral("a=b;x=y")));
}

TEST(DecodeResponseText, DecodesPlusAndEscapes)
{
    EXPECT_EQ(DecodeResponseText(QStringLiteral("x+y%2Bz")), QStringLiteral("x y+z"));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("Jo%41%42")), QStringLiteral("JoAB"));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("%2541")), QStringLiteral("%41"));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("a%0D%0Ab")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("%4G")), QString(QChar(4)));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("a%4Gb")),
              QStringLiteral("a") + QChar(4) + QStringLiteral("b"));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("%ZZ")), QString(QChar(0)));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("%ff")), QStringLiteral("\u00ff"));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("%C3%A9")), QStringLiteral("\u00e9"));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("%E9")), QStringLiteral("\u00e9"));
    EXPECT_EQ(DecodeResponseText(QStringLiteral("Z%FCrich")), QStringLiteral("Z\u00fcrich"));
    EXPECT_EQ(DecodeResponseText(QString()), QString());
}

TEST(DecodeResponseText, FailsOnAnEscapeCutShort)
{
    EXPECT_THROW(DecodeResponseText(QStringLiteral("100%")), DecodeError);
    EXPECT_THROW(DecodeResponseText(QStringLiteral("100%4")), DecodeError);
    EXPECT_NO_THROW(DecodeResponseText(QStringLiteral("100%41")));
}

TEST(RemoveCRLF, StripsOuterLineBreaksAndJoinsInnerOnes)
{
    EXPECT_EQ(RemoveCRLF(false, QStringLiteral("\r\n\r\nab\r\n")), QStringLiteral("ab"));
    EXPECT_EQ(RemoveCRLF(true, QStringLiteral("a\r\nb")), QStringLiteral("a b"));
    EXPECT_EQ(RemoveCRLF(false, QStringLiteral("a\r\nb")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(RemoveCRLF(true, QStringLiteral("a\nb")), QStringLiteral("a\nb"));
    EXPECT_EQ(RemoveCRLF(true, QStringLiteral("\r")), QStringLiteral("\r"));
    EXPECT_EQ(RemoveCRLF(true, QStringLiteral("\r\n")), QString());
    EXPECT_EQ(RemoveCRLF(true, QStringLiteral("\r\na\r\n\r\nb\r\n")), QStringLiteral("a  b"));
}
