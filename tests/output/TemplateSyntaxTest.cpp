#include "output/TemplateSyntax.h"

#include <gtest/gtest.h>

TEST(CutBlocks, TextBlocksEndOnlyAtDoubleBarBeforeLineBreak)
{
    const QString body = QStringLiteral("a||b\r\nline two||\r\nsecond||\r\ntrailing text");
    const QStringList blocks = CutBlocks(body, BlockStyle::Lines);
    ASSERT_EQ(blocks.size(), 2);
    EXPECT_EQ(blocks[0], QStringLiteral("a||b\r\nline two"));
    EXPECT_EQ(blocks[1], QStringLiteral("second"));
}

TEST(CutBlocks, HtmlBlocksEndAtEveryDoubleBarAndDropTheLineBreakAfterIt)
{
    const QStringList blocks = CutBlocks(
        QStringLiteral("<p>a</p>||\r\n<p>b</p>||<i>c</i>||\r\n\r\nrest"), BlockStyle::Html);
    ASSERT_EQ(blocks.size(), 3);
    EXPECT_EQ(blocks[0], QStringLiteral("<p>a</p>"));
    EXPECT_EQ(blocks[1], QStringLiteral("<p>b</p>"));
    EXPECT_EQ(blocks[2], QStringLiteral("<i>c</i>"));
}

TEST(CutBlocks, OddBarCountGetsAClosingBar)
{
    // The block end's first bar closes the marker.
    EXPECT_EQ(CutBlocks(QStringLiteral("Name: |1.1.000||\r\n"), BlockStyle::Lines),
              QStringList{QStringLiteral("Name: |1.1.000|")});
    EXPECT_EQ(CutBlocks(QStringLiteral("<b>|1.1.000||"), BlockStyle::Html),
              QStringList{QStringLiteral("<b>|1.1.000|")});
    // An even count stays as it is.
    EXPECT_EQ(CutBlocks(QStringLiteral("|1.1.000|x||\r\n"), BlockStyle::Lines),
              QStringList{QStringLiteral("|1.1.000|x")});
}

TEST(CutBlocks, BodyWithoutFinalDoubleBarHasNoBlock)
{
    EXPECT_TRUE(CutBlocks(QStringLiteral("no end here\r\n"), BlockStyle::Lines).isEmpty());
    EXPECT_TRUE(CutBlocks(QStringLiteral("ends at file end||"), BlockStyle::Lines).isEmpty());
    EXPECT_TRUE(CutBlocks(QString(), BlockStyle::Html).isEmpty());
}

TEST(BlockLines, SplitsAtCarriageReturns)
{
    EXPECT_EQ(BlockLines(QStringLiteral("one\r\ntwo\r\n")),
              (QStringList{QStringLiteral("one"), QStringLiteral("two"), QString()}));
    EXPECT_EQ(BlockLines(QStringLiteral("single")), QStringList{QStringLiteral("single")});
}

TEST(SplitLineSpec, BracedNineCharacterAndDefaultSpecifications)
{
    LineSpec s = SplitLineSpec(QStringLiteral("Name: |1.1.000|{01.01.008}"));
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.content, QStringLiteral("Name: |1.1.000|"));
    EXPECT_EQ(s.lineSpec, QStringLiteral("01.01.008"));

    // The last "{" counts: braces in the content stay content.
    s = SplitLineSpec(QStringLiteral("a { b } c{2.0.0}"));
    EXPECT_EQ(s.content, QStringLiteral("a { b } c"));
    EXPECT_EQ(s.lineSpec, QStringLiteral("2.0.0"));

    s = SplitLineSpec(QStringLiteral("Name: |1.1.000|00.00.000"));
    EXPECT_EQ(s.content, QStringLiteral("Name: |1.1.000|"));
    EXPECT_EQ(s.lineSpec, QStringLiteral("00.00.000"));

    s = SplitLineSpec(QStringLiteral("short"));
    EXPECT_EQ(s.content, QStringLiteral("short"));
    EXPECT_EQ(s.lineSpec, QStringLiteral("00.00.000"));

    s = SplitLineSpec(QStringLiteral("no opening brace}"));
    EXPECT_FALSE(s.ok);
}

TEST(MarkerParts, NumbersStandOnlyWithTheDotTheyNeed)
{
    MarkerPart p = ParseMarkerPart(QStringLiteral("00.00.000"));
    EXPECT_EQ(p.kind, MarkerPart::Kind::Value);
    EXPECT_EQ(p.a, 0);
    EXPECT_EQ(p.b, 0);
    EXPECT_EQ(p.c, 0);

    p = ParseMarkerPart(QStringLiteral("02.02.0264"));
    EXPECT_EQ(p.a, 2);
    EXPECT_EQ(p.b, 2);
    EXPECT_EQ(p.c, 264);
    EXPECT_FALSE(p.hasLeadIn);

    p = ParseMarkerPart(QStringLiteral("1.5"));
    EXPECT_EQ(p.a, 1);
    EXPECT_EQ(p.b, 0); // no second dot

    p = ParseMarkerPart(QStringLiteral("7"));
    EXPECT_EQ(p.a, 0); // no dot after A

    p = ParseMarkerPart(QStringLiteral("-1.-3.16.50"));
    EXPECT_EQ(p.a, -1);
    EXPECT_EQ(p.b, -3);
    EXPECT_EQ(p.c, 16);
    EXPECT_EQ(p.d, 50);
    EXPECT_FALSE(p.hasLeadIn);
}

TEST(MarkerParts, LeadInsQuotedOrBare)
{
    MarkerPart p = ParseMarkerPart(QStringLiteral("2.2.0.0.\"Item: \"ignored"));
    EXPECT_TRUE(p.hasLeadIn);
    EXPECT_EQ(p.leadIn, QStringLiteral("Item: "));

    p = ParseMarkerPart(QStringLiteral("1.1.0.30.Name:"));
    EXPECT_EQ(p.d, 30);
    EXPECT_TRUE(p.hasLeadIn);
    EXPECT_EQ(p.leadIn, QStringLiteral("Name:"));
}

TEST(MarkerParts, QuotedNamesBulletsNumbersAndSplitting)
{
    const QList<MarkerPart> parts =
        ParseMarkerParts(QStringLiteral("  n  -  \"E mail\".2.16 \"Phone\"  1.1.0.0.\"a b\"  "));
    ASSERT_EQ(parts.size(), 5);
    EXPECT_EQ(parts[0].kind, MarkerPart::Kind::ItemNumber);
    EXPECT_EQ(parts[1].kind, MarkerPart::Kind::Bullet);
    EXPECT_EQ(parts[2].kind, MarkerPart::Kind::Named);
    EXPECT_EQ(parts[2].name, QStringLiteral("E mail"));
    EXPECT_EQ(parts[2].a, -1);
    EXPECT_EQ(parts[2].b, 2);
    EXPECT_EQ(parts[2].c, 16);
    EXPECT_EQ(parts[3].kind, MarkerPart::Kind::Named);
    EXPECT_EQ(parts[3].name, QStringLiteral("Phone"));
    EXPECT_EQ(parts[3].b, 0);
    EXPECT_EQ(parts[4].leadIn, QStringLiteral("a b"));

    EXPECT_EQ(ParseMarkerPart(QStringLiteral("\"unclosed.1.1")).kind, MarkerPart::Kind::Invalid);
}
