#include "platform/TextCodec.h"

#include <gtest/gtest.h>

TEST(TextFromBytes, ReadsUtf8WhenValidElseWindows1252)
{
    EXPECT_EQ(TextFromBytes(QByteArray("plain")), QStringLiteral("plain"));
    EXPECT_EQ(TextFromBytes(QByteArray("\xC3\xA9")), QStringLiteral("\u00e9"));
    EXPECT_EQ(TextFromBytes(QByteArray("\xE9")), QStringLiteral("\u00e9"));
    EXPECT_EQ(TextFromBytes(QByteArray("\x80 \x93quoted\x94")),
              QStringLiteral("\u20ac \u201cquoted\u201d"));
    EXPECT_EQ(TextFromBytes(QByteArray("\xFF")), QStringLiteral("\u00ff"));
    // An unassigned byte keeps its control code instead of vanishing.
    EXPECT_EQ(TextFromBytes(QByteArray("\x81")), QString(QChar(0x81)));
    // A UTF-8 lead byte without its follower is not UTF-8.
    EXPECT_EQ(TextFromBytes(QByteArray("caf\xC3")), QStringLiteral("caf\u00c3"));
}

TEST(TextCodec, AByteAbove127AnywhereMakesTextNoAscii)
{
    for (int size = 0; size <= 20; ++size) {
        const QByteArray plain(size, 'a');
        EXPECT_TRUE(IsAscii(plain)) << size;
        EXPECT_EQ(TextFromBytes(plain), QString(size, QLatin1Char('a')));
        for (int at = 0; at < size; ++at) {
            QByteArray text = plain;
            text[at] = '\xe9';
            EXPECT_FALSE(IsAscii(text)) << size << " " << at;
            // Not UTF-8, so Windows-1252: the byte is an e with acute accent.
            EXPECT_EQ(TextFromBytes(text).at(at), QChar(0xe9)) << size << " " << at;
        }
    }
}
