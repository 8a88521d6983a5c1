// Templates nobody would write by hand render in time and memory in
// proportion to their size, and say what is wrong with them.
#include "OutputFixture.h"

#include "output/HtmlRenderer.h"
#include "output/TextRenderer.h"

#include <QBuffer>

class HostileTemplateTest : public OutputFixture {
protected:
    void SetUp() override
    {
        SetRecord({QStringLiteral("7"), QStringLiteral("Bob")},
                  {{QStringLiteral("Colour"), QStringLiteral("blue")}});
    }
    QByteArray Html(const QString& body)
    {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        EXPECT_TRUE(RenderHtmlBody(session, body, out));
        return out.data();
    }
};

TEST_F(HostileTemplateTest, TenThousandBlocksEachRenderOnce)
{
    QString body;
    for (int i = 0; i < 10000; ++i)
        body += QStringLiteral("|1.1.000|{01.00.000}||\r\n");
    ASSERT_TRUE(RenderTextBody(session, body));
    EXPECT_EQ(session.Output.OutputText.count(QStringLiteral("Bob")), 10000);
    EXPECT_EQ(Html(body).count("Bob"), 10000);
}

TEST_F(HostileTemplateTest, TenThousandOpenedBracesAndBarsOnOneLine)
{
    // Braces inside braces and bars inside bars, ten thousand deep.
    const QString nested = QString(10000, QLatin1Char('{')) + QStringLiteral("1.1.000") +
                           QString(10000, QLatin1Char('}'));
    ASSERT_TRUE(RenderTextBody(session, QStringLiteral("x ") + nested + QStringLiteral("||\r\n")));
    // The last "{" opens the line's format; the braces before it are text.
    EXPECT_EQ(session.Output.OutputText,
              QStringLiteral("x ") + QString(9999, QLatin1Char('{')) + QStringLiteral("\r\n"));
    EXPECT_EQ(Html(nested + QStringLiteral("||")).count('{'), 9999);
    // Bars pair into markers left to right; the odd one is closed at the
    // block's end, and the empty markers leave nothing.
    ASSERT_TRUE(
        RenderTextBody(session, QString(10001, QLatin1Char('|')) + QStringLiteral("||\r\n")));
    EXPECT_FALSE(session.Output.OutputText.contains(QLatin1Char('|')));
}

TEST_F(HostileTemplateTest, AOneMegabyteLineSpecificationAndMarker)
{
    QString parts;
    while (parts.size() < 1024 * 1024)
        parts += QStringLiteral("1.1.000 ");
    // A line specification of 1 MB: every part is read, the line shows.
    ASSERT_TRUE(RenderTextBody(session, QStringLiteral("Name |1.1.000|{") + parts +
                                            QStringLiteral("}||\r\n")));
    EXPECT_TRUE(session.Output.OutputText.startsWith(QStringLiteral("Name Bob")));
    // A marker of 1 MB holding the record name a hundred thousand times.
    ASSERT_TRUE(
        RenderTextBody(session, QLatin1Char('|') + parts + QStringLiteral("|{00.00.000}||\r\n")));
    EXPECT_GE(session.Output.OutputText.count(QStringLiteral("Bob")), 100000);
    EXPECT_GE(Html(QLatin1Char('|') + parts + QStringLiteral("|{00.00.000}||")).count("Bob"),
              100000);
}

// Found by the template fuzzer: a long value in narrow, right-aligned
// columns took 20 seconds, every output line wrapping the value again from
// its start.
TEST_F(HostileTemplateTest, NarrowColumnsOfLongValuesWrapOnceThrough)
{
    const QString letters = QString(20000, QLatin1Char('x'));
    session.Tables.PutArrayElement(1, 1, letters);
    session.Tables.PutArrayElement(1, 2, QString(20000, QLatin1Char('y')));
    ASSERT_TRUE(RenderTextBody(session, QStringLiteral("|1.1.000|<|1.2.000|{00.00.016}||\r\n")));
    const QStringList lines = session.Output.OutputText.split(QStringLiteral("\r\n"));
    // A 19-character line (two markers of 9 and a "<") right-aligned in 80
    // columns, until both values are used up, 9 characters a line.
    ASSERT_EQ(lines.size(), 20000 / 9 + 2);
    EXPECT_EQ(lines[0], QString(61, QLatin1Char(' ')) + QStringLiteral("xxxxxxxxx<yyyyyyyyy"));
    EXPECT_EQ(lines[lines.size() - 2],
              QString(61, QLatin1Char(' ')) + QStringLiteral("xx       <yy       "));
    EXPECT_TRUE(lines.last().isEmpty());
}
