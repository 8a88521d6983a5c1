#include "OutputFixture.h"

#include "output/HtmlRenderer.h"

#include <QBuffer>

class HtmlRendererTest : public OutputFixture {
protected:
    void SetUp() override
    {
        SetRecord({QStringLiteral("3"), QStringLiteral("<script>alert(\"x\")</script> & co"),
                   QStringLiteral("line one\r\nline two")},
                  {{QStringLiteral("A"), QStringLiteral("1")},
                   {QStringLiteral("B"), QStringLiteral("2")}});
    }
    QString Render(const QString& body)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(RenderHtmlBody(session, body, buffer));
        return QString::fromUtf8(buffer.data());
    }
};

TEST_F(HtmlRendererTest, ValuesAreEscapedAndTemplateTextIsWrittenAsIs)
{
    EXPECT_EQ(Render(QStringLiteral("<p class=\"n\">|1.1.000|</p>{00.00.000}||")),
              QStringLiteral("<p class=\"n\">&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; "
                             "&amp; co</p>\r\n"));
    EXPECT_EQ(Render(QStringLiteral("<td>|1.2.000|</td>{00.00.000}||")),
              QStringLiteral("<td>line one<BR>line two</td>\r\n"));
}

TEST_F(HtmlRendererTest, BlocksKeepTheirLineBreaksAndRepeatOverRows)
{
    EXPECT_EQ(
        Render(QStringLiteral("<ul>\r\n<li>x</li>{00.00.000}||\r\n"
                              "<li>|n 2.1.000|=|2.2.000|</li>{02.00.000}||\r\n</ul>{00.00.000}||")),
        QStringLiteral("<ul>\r\n<li>x</li>\r\n<li>1.A=1</li>\r\n<li>2.B=2</li>\r\n</ul>\r\n"));
}

TEST_F(HtmlRendererTest, LineConditionOmitsBlocks)
{
    session.Tables.PutArrayElement(1, 4, QString());
    EXPECT_EQ(Render(QStringLiteral("<i>|1.4.000|</i>{01.04.000}||<b>kept</b>{00.00.000}||")),
              QStringLiteral("<b>kept</b>\r\n"));
}

TEST_F(HtmlRendererTest, UnmatchedBraceStopsWithBothMessages)
{
    EXPECT_EQ(Render(QStringLiteral("<b>kept</b>{00.00.000}||bad}||<i>never</i>{00.00.000}||")),
              QStringLiteral("<b>kept</b>\r\n"));
    ASSERT_EQ(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Unmatched { in template"));
    EXPECT_TRUE(ui.messages[1].text.startsWith(QStringLiteral("Error processing HTML line: ")));
}

TEST_F(HtmlRendererTest, WriteFailureIsReportedAndFails)
{
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(RenderHtmlBody(session, QStringLiteral("<b>x</b>{00.00.000}||"), readOnly));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Error processing HTML line: ")));
}
