#include "OutputFixture.h"

#include "output/MarkerEvaluator.h"
#include "output/OutputFieldList.h"

class MarkerEvaluatorTest : public OutputFixture {
protected:
    void SetUp() override
    {
        SetRecord({QStringLiteral("42"), QStringLiteral("Ann Smith"), QStringLiteral("a note"),
                   QStringLiteral("1/5/1998"), QStringLiteral("/tmp/responses.txt")},
                  {{QStringLiteral("Email"), QStringLiteral("ann@example.org")},
                   {QStringLiteral("Visited"), QStringLiteral("3/14/2001")},
                   {QStringLiteral("Year"), QStringLiteral("1998")},
                   {QStringLiteral("Empty"), QString()}});
    }
    QString Eval(const QString& marker) { return EvaluateMarker(session, marker).text; }
};

TEST_F(MarkerEvaluatorTest, TableValuesByTableAndColumn)
{
    EXPECT_EQ(Eval(QStringLiteral("1.1.000")), QStringLiteral("Ann Smith"));
    EXPECT_EQ(Eval(QStringLiteral("1.-1.000")), QStringLiteral("Ann Smith")); // abs(B)
    EXPECT_EQ(Eval(QStringLiteral("1.0.0")), QStringLiteral("42"));
    EXPECT_EQ(Eval(QStringLiteral("2.1.0")), QStringLiteral("Email"));
    EXPECT_EQ(Eval(QStringLiteral("2.2.0")), QStringLiteral("ann@example.org"));
    session.Tables.CurrentRow[2] = 2;
    EXPECT_EQ(Eval(QStringLiteral("2.2.0")), QStringLiteral("1998"));
    EXPECT_EQ(Eval(QStringLiteral("0.1.0")), QString());
    EXPECT_EQ(Eval(QStringLiteral("3.1.0")), QString());
    EXPECT_EQ(Eval(QStringLiteral("7.1.0")), QString());
    // The record is only read.
    EXPECT_EQ(session.Tables.CurrentRow[2], 2);
    EXPECT_EQ(session.Tables.Header(1), QStringLiteral("Ann Smith"));
}

TEST_F(MarkerEvaluatorTest, ColumnsBeyondATableGiveEmptyValues)
{
    EXPECT_EQ(Eval(QStringLiteral("1.9.0")), QString());
    EXPECT_EQ(Eval(QStringLiteral("2.4.0")), QString());
    EXPECT_EQ(Eval(QStringLiteral("2.300.0")), QString());
    EXPECT_EQ(Eval(QStringLiteral("9.1.0")), QString());
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(MarkerEvaluatorTest, SpecialValuesPageDashAndTitle)
{
    session.Output.PageNumber = 3;
    session.Output.ReportTitle = QStringLiteral("Survey");
    EXPECT_EQ(Eval(QStringLiteral("-1.1.0")), QStringLiteral("3"));
    EXPECT_EQ(Eval(QStringLiteral("-1.-2.0")), QStringLiteral("-"));
    EXPECT_EQ(Eval(QStringLiteral("-1.3.0")), QStringLiteral("Survey"));
    EXPECT_EQ(Eval(QStringLiteral("-1.4.0")), QString());
}

TEST_F(MarkerEvaluatorTest, SelectionRulesForTableValues)
{
    FillOutputFieldList(
        session.Output,
        {{QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Record Name")}},
        QStringLiteral("Email\r\nVisited\r\n"));
    EXPECT_EQ(Eval(QStringLiteral("1.1.0")), QStringLiteral("Ann Smith"));
    session.Output.OutputFieldList[0].PrintStat = false; // "1.1"
    session.Output.OutputFieldList[1].PrintStat = false; // Email
    EXPECT_EQ(Eval(QStringLiteral("1.1.0")), QString());
    EXPECT_EQ(Eval(QStringLiteral("2.2.0")), QString());
    EXPECT_EQ(Eval(QStringLiteral("2.1.0")), QString());
    // Header cells and fields missing from the list print.
    EXPECT_EQ(Eval(QStringLiteral("1.0.0")), QStringLiteral("42"));
    session.Tables.CurrentRow[2] = 2;
    EXPECT_EQ(Eval(QStringLiteral("2.2.0")), QStringLiteral("1998"));

    EXPECT_FALSE(IsFieldSelected(session.Output, QStringLiteral(" email ")));
    EXPECT_TRUE(IsFieldSelected(session.Output, QStringLiteral("VISITED")));
    EXPECT_TRUE(IsFieldSelected(session.Output, QStringLiteral("Unknown")));

    // Answers follow every later change of the ticks and of the list.
    session.Output.OutputFieldList[1].PrintStat = true;
    EXPECT_TRUE(IsFieldSelected(session.Output, QStringLiteral(" email ")));
    EXPECT_EQ(Eval(QStringLiteral("1.1.0")), QString());
    session.Output.OutputFieldList[0].PrintStat = true;
    EXPECT_EQ(Eval(QStringLiteral("1.1.0")), QStringLiteral("Ann Smith"));
    FillOutputFieldList(session.Output, {}, QStringLiteral("Unknown\r\n"));
    session.Output.OutputFieldList[0].PrintStat = false;
    EXPECT_FALSE(IsFieldSelected(session.Output, QStringLiteral("Unknown")));
    EXPECT_TRUE(IsFieldSelected(session.Output, QStringLiteral(" email ")));
}

TEST_F(MarkerEvaluatorTest, NamedValuesFollowTheFieldList)
{
    // Not in the list: empty.
    EXPECT_EQ(Eval(QStringLiteral("\"Email\"")), QString());
    FillOutputFieldList(
        session.Output,
        {{QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Record Name")}},
        QStringLiteral("Email\r\nYear\r\n"));
    session.Output.OutputFieldList[0].Key = QStringLiteral("1.1");
    EXPECT_EQ(Eval(QStringLiteral("\" email \".0.0")), QStringLiteral("ann@example.org"));
    EXPECT_EQ(Eval(QStringLiteral("\"1.1\"")), QStringLiteral("Ann Smith")); // a header entry
    // The last row of that name counts.
    session.Tables.CurrentRow[2] = 4;
    session.Tables.PutArrayElement(2, 1, QStringLiteral("EMAIL"));
    session.Tables.PutArrayElement(2, 2, QStringLiteral("second@example.org"));
    EXPECT_EQ(Eval(QStringLiteral("\"Email\"")), QStringLiteral("second@example.org"));
    session.Output.OutputFieldList[1].PrintStat = false;
    EXPECT_EQ(Eval(QStringLiteral("\"Email\"")), QString());
}

TEST_F(MarkerEvaluatorTest, FieldDatesPrintWholeAsHeaderDatesDo)
{
    session.Tables.CurrentRow[2] = 4;
    session.Tables.PutArrayElement(2, 1, QStringLiteral("Born"));
    session.Tables.PutArrayElement(2, 2, QStringLiteral("1981-06-24"));
    FillOutputFieldList(session.Output, {}, QStringLiteral("Visited\r\nBorn\r\n"));
    const struct {
        int row;
        QString marker, printed;
    } cases[] = {
        {0, "1.3.0", "Jan 5, 1998"},     {1, "2.2.0", "Mar 14, 2001"},
        {4, "2.2.264", "Jun 24, 1981"},  {0, "\"Visited\"", "Mar 14, 2001"},
        {0, "\"Born\"", "Jun 24, 1981"}, {2, "2.2.0", "1998"}, // a bare year is a number and stays
    };
    // Asked again, each text keeps its form.
    for (int round = 0; round < 2; ++round) {
        for (const auto& c : cases) {
            session.Tables.CurrentRow[2] = static_cast<qint16>(c.row);
            EXPECT_EQ(Eval(c.marker), c.printed) << qPrintable(c.marker);
        }
    }
    EXPECT_EQ(ReformatDate(session, QStringLiteral("Ann")), QStringLiteral("Ann"));
}

TEST_F(MarkerEvaluatorTest, LeadInsBulletsAndItemNumbers)
{
    EXPECT_EQ(Eval(QStringLiteral("1.1.0.0.\"Name: \"")), QStringLiteral("Name: Ann Smith"));
    EXPECT_EQ(Eval(QStringLiteral("1.-1.0.0.\"[x]\"")), QStringLiteral("[x]"));
    session.Tables.CurrentRow[2] = 3; // the empty field
    EXPECT_EQ(Eval(QStringLiteral("2.2.0.0.\"Value: \"")), QString());
    EXPECT_EQ(Eval(QStringLiteral("2.-2.0.0.\"[x]\"")), QString());
    // With A = 0 the lead-in shows alone.
    EXPECT_EQ(Eval(QStringLiteral("0.0.0.0.\"Label\"")), QStringLiteral("Label"));
    EXPECT_EQ(Eval(QStringLiteral("-")), QString(QChar(0x00B7)));
    session.Output.ItemNumber = 7;
    EXPECT_EQ(Eval(QStringLiteral("n 1.1.000")), QStringLiteral("7.Ann Smith"));
    EXPECT_EQ(Eval(QStringLiteral("1.1.000 n")), QStringLiteral("Ann Smith7."));
}

TEST_F(MarkerEvaluatorTest, ResultCarriesTheLastValuePartsNumbers)
{
    const MarkerValue v = EvaluateMarker(session, QStringLiteral("n 2.2.264.30"));
    EXPECT_EQ(v.a, 2);
    EXPECT_EQ(v.b, 2);
    EXPECT_EQ(v.c, 264);
    EXPECT_EQ(v.d, 30);
}

TEST_F(MarkerEvaluatorTest, UnclosedQuotedNameIsRejectedAndYieldsNothing)
{
    EXPECT_EQ(Eval(QStringLiteral("1.1.0 \"Email")), QStringLiteral("Ann Smith"));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Invalid Line Format in report template"));
    EvaluateMarker(session, QStringLiteral("\"Email"), ValueStyle::Plain, true);
    EXPECT_EQ(ui.messages.size(), 1); // quiet evaluations say nothing
}

TEST_F(MarkerEvaluatorTest, HtmlValuesAreEscapedButLeadInsAreNot)
{
    session.Tables.PutArrayElement(1, 1, QStringLiteral("<b>\"A&B\"</b>\r\nline 2"));
    EXPECT_EQ(EvaluateMarker(session, QStringLiteral("1.1.0.0.\"<i>\""), ValueStyle::Html).text,
              QStringLiteral("<i>&lt;b&gt;&quot;A&amp;B&quot;&lt;/b&gt;<BR>line 2"));
}

TEST_F(MarkerEvaluatorTest, LineCondition)
{
    auto shown = [&](const QString& lineSpec) {
        return LineIsShown(EvaluateMarker(session, lineSpec), session.Tables);
    };
    EXPECT_TRUE(shown(QStringLiteral("00.00.000")));
    EXPECT_TRUE(shown(QStringLiteral("01.01.000")));
    session.Tables.PutArrayElement(1, 2, QString());
    EXPECT_FALSE(shown(QStringLiteral("01.02.000"))); // empty notes
    EXPECT_TRUE(shown(QStringLiteral("02.00.000")));  // the record has rows
    session.Tables.CurrentRow[2] = 3;
    EXPECT_FALSE(shown(QStringLiteral("02.02.000")));  // empty value
    EXPECT_FALSE(shown(QStringLiteral("03.00.000")));  // table 3 has no rows
    EXPECT_FALSE(shown(QStringLiteral("-01.03.000"))); // no report title
    session.Output.ReportTitle = QStringLiteral("T");
    EXPECT_TRUE(shown(QStringLiteral("-01.03.000")));
    SetRecord({QStringLiteral("1")}, {});
    EXPECT_FALSE(shown(QStringLiteral("02.00.000")));
}
