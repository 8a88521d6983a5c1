#include "output/Wrapping.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QStringList AllLines(const QString& value, int width)
{
    WrapCache cache;
    QStringList lines;
    for (int k = 1; k < 50; ++k) {
        const WrappedLine line = WrapLine(cache, value, 2, 2, width, k);
        lines.append(line.text);
        if (!line.moreLines)
            break;
    }
    return lines;
}

} // namespace

TEST(Wrapping, LongWordIsCutIntoColumnWidePieces)
{
    EXPECT_EQ(AllLines(QStringLiteral("abcdefghijklmnopqrstuvwxy"), 10),
              (QStringList{QStringLiteral("abcdefghij"), QStringLiteral("klmnopqrst"),
                           QStringLiteral("uvwxy")}));
}

TEST(Wrapping, WordsFillTheColumnAndFollowingLinesAreTrimmed)
{
    EXPECT_EQ(AllLines(QStringLiteral("the quick brown fox jumps"), 10),
              (QStringList{QStringLiteral("the quick"), QStringLiteral("brown fox"),
                           QStringLiteral("jumps")}));
    // Leading blanks of the first line belong to the value.
    EXPECT_EQ(AllLines(QStringLiteral("  ab cd"), 10), QStringList{QStringLiteral("  ab cd")});
}

TEST(Wrapping, LineBreaksEndLinesAndKeepIndentation)
{
    EXPECT_EQ(AllLines(QStringLiteral("one\r\n  two\r\n\r\nfour"), 20),
              (QStringList{QStringLiteral("one"), QStringLiteral("  two"), QString(),
                           QStringLiteral("four")}));
    // A value ending in a line break has one more (empty) line.
    EXPECT_EQ(AllLines(QStringLiteral("end\r\n"), 20),
              (QStringList{QStringLiteral("end"), QString()}));
}

TEST(Wrapping, ShortValueAndLinesBeyondTheLast)
{
    WrapCache cache;
    WrappedLine line = WrapLine(cache, QStringLiteral("short"), 1, 1, 10, 1);
    EXPECT_EQ(line.text, QStringLiteral("short"));
    EXPECT_FALSE(line.moreLines);
    line = WrapLine(cache, QStringLiteral("short"), 1, 1, 10, 2);
    EXPECT_EQ(line.text, QString());
    EXPECT_FALSE(line.moreLines);
    EXPECT_EQ(WrapLine(cache, QString(), 1, 1, 10, 1).text, QString());
}

TEST(Wrapping, CacheContinuesAndStartsOverWhenAskedAgain)
{
    WrapCache cache;
    const QString value = QStringLiteral("aaaa bbbb cccc dddd");
    EXPECT_EQ(WrapLine(cache, value, 2, 2, 5, 1).text, QStringLiteral("aaaa"));
    EXPECT_EQ(WrapLine(cache, value, 2, 2, 5, 2).text, QStringLiteral("bbbb"));
    EXPECT_EQ(cache.linesProduced, 2);
    // Skipping ahead continues from the cached position.
    EXPECT_EQ(WrapLine(cache, value, 2, 2, 5, 4).text, QStringLiteral("dddd"));
    // Asking again for an earlier line starts over and gives the same text.
    EXPECT_EQ(WrapLine(cache, value, 2, 2, 5, 3).text, QStringLiteral("cccc"));
    // Another cell starts over.
    EXPECT_EQ(WrapLine(cache, QStringLiteral("xx yy"), 1, 1, 2, 2).text, QStringLiteral("yy"));
}

TEST(Wrapping, CountingCharactersAgreesWithMeasuringThemForEveryLine)
{
    // The character column and a measure that counts characters are the
    // same layout; values that fit, fill or overflow the column exactly,
    // with blanks at either end, breaks and long words.
    const QStringList values{QString(),
                             QStringLiteral(" "),
                             QStringLiteral("abc"),
                             QStringLiteral("  lead"),
                             QStringLiteral("trail  "),
                             QStringLiteral("exactly10!"),
                             QStringLiteral("eleven char"),
                             QStringLiteral("a\r\nb"),
                             QStringLiteral("end\r\n"),
                             QStringLiteral("\r\n"),
                             QStringLiteral("one two three four five"),
                             QStringLiteral("averyveryverylongwordindeed x"),
                             QStringLiteral("tab\there")};
    const TextMeasure count = [](QStringView text) { return double(text.size()); };
    for (const QString& value : values) {
        for (int width : {1, 3, 10, 11, 40}) {
            WrapCache counted;
            WrapCache measured;
            for (int k = 0; k < 8; ++k) {
                const WrappedLine a = WrapLine(counted, value, 2, 2, width, k);
                const WrappedLine b = WrapLine(measured, value, 2, 2, double(width), count, k);
                EXPECT_EQ(a.text, b.text)
                    << qPrintable(value) << " width " << width << " line " << k;
                EXPECT_EQ(a.moreLines, b.moreLines)
                    << qPrintable(value) << " width " << width << " line " << k;
            }
        }
    }
}
