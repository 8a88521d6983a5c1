#include "OutputFixture.h"

#include "output/DelimitedLine.h"
#include "output/OutputFieldList.h"

class DelimitedLineTest : public OutputFixture {
protected:
    void SetUp() override
    {
        SetRecord({QStringLiteral("5"), QStringLiteral("Cy"), QStringLiteral("note\r\nmore"),
                   QStringLiteral("2/3/2004")},
                  {{QStringLiteral("Quote"), QStringLiteral("say \"hi\", ok")},
                   {QStringLiteral("third"), QStringLiteral("3")}});
        FillOutputFieldList(
            session.Output,
            {{QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QStringLiteral("Record ID")},
             {QStringLiteral("Forms.Form_Date"), QStringLiteral("1.3"),
              QStringLiteral("Record Date")}},
            QStringLiteral("Quote\r\nMissing\r\nThird\r\n"));
    }
    QString Line(bool quotes, bool joinLines, bool replace, const QString& delimiter)
    {
        EXPECT_TRUE(BuildDelimitedLine(session, quotes, joinLines, replace, delimiter));
        return session.Output.OutputText;
    }
};

TEST_F(DelimitedLineTest, SelectedFieldsHeaderFirstMissingFieldsEmpty)
{
    // Values as stored: no date reformatting, the delimiter in a value unprotected.
    EXPECT_EQ(Line(false, false, false, QStringLiteral(",")),
              QStringLiteral("5,2/3/2004,say \"hi\", ok,,3"));
    session.Output.OutputFieldList[1].PrintStat = false;
    session.Output.OutputFieldList[3].PrintStat = false;
    EXPECT_EQ(Line(false, false, false, QStringLiteral(",")), QStringLiteral("5,say \"hi\", ok,3"));
}

TEST_F(DelimitedLineTest, QuotesAndQuoteReplacement)
{
    EXPECT_EQ(Line(true, false, false, QStringLiteral(";")),
              QStringLiteral("\"5\";\"2/3/2004\";\"say \"hi\", ok\";\"\";\"3\""));
    EXPECT_EQ(Line(true, false, true, QStringLiteral(";")),
              QStringLiteral("\"5\";\"2/3/2004\";\"say 'hi', ok\";\"\";\"3\""));
}

TEST_F(DelimitedLineTest, LineBreaksKeptOrJoined)
{
    session.Output.OutputFieldList[0].Key = QStringLiteral("1.2"); // notes first
    EXPECT_EQ(Line(false, false, false, QStringLiteral("|")),
              QStringLiteral("note\r\nmore|2/3/2004|say \"hi\", ok||3"));
    EXPECT_EQ(Line(false, true, false, QStringLiteral("|")),
              QStringLiteral("note more|2/3/2004|say \"hi\", ok||3"));
}

TEST_F(DelimitedLineTest, DelimiterNames)
{
    EXPECT_EQ(DelimiterFromName(QStringLiteral("Comma")), QStringLiteral(","));
    EXPECT_EQ(DelimiterFromName(QStringLiteral(" semi-colon ")), QStringLiteral(";"));
    EXPECT_EQ(DelimiterFromName(QStringLiteral("tAb")), QStringLiteral("\t"));
    EXPECT_EQ(DelimiterFromName(QStringLiteral("SPACE")), QStringLiteral(" "));
    EXPECT_EQ(DelimiterFromName(QStringLiteral("|")), QStringLiteral("|"));
    EXPECT_EQ(DelimiterFromName(QStringLiteral(" ## ")), QStringLiteral(" ## "));
}

TEST_F(DelimitedLineTest, RowCursorsAreRestored)
{
    session.Tables.CurrentRow[2] = 1;
    Line(false, false, false, QStringLiteral(","));
    EXPECT_EQ(session.Tables.CurrentRow[2], 1);
}

TEST(OutputFieldList, RecordLevelFieldsThenNamesOfTheFieldList)
{
    OutputState state;
    const QStringList names = FillOutputFieldList(
        state,
        {{QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Record Name")},
         {QStringLiteral("Other.X"), QStringLiteral("1.2"), QStringLiteral("Skipped")},
         {QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QStringLiteral("Record ID")}},
        QStringLiteral("Email\r\nQ\r\n\r\nPhone\r\nafter last"));
    EXPECT_EQ(names, (QStringList{QStringLiteral("Email"), QStringLiteral("Phone")}));
    EXPECT_EQ(state.HeaderFieldCount, 2);
    ASSERT_EQ(state.OutputFieldList.size(), 4);
    EXPECT_EQ(state.OutputFieldList[0].Key, QStringLiteral("1.1"));
    EXPECT_EQ(state.OutputFieldList[1].Label, QStringLiteral("Record ID"));
    EXPECT_EQ(state.OutputFieldList[3].Key, QStringLiteral("Phone"));
    for (const OutputField& f : state.OutputFieldList)
        EXPECT_TRUE(f.PrintStat);
}
