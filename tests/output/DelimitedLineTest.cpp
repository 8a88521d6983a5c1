#include "OutputFixture.h"

#include "database/RawRecord.h"
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

TEST(DelimitedCell, ProtectFormulasPutsAnApostropheBeforeFormulaStarts)
{
    DelimitedOptions protect;
    protect.protectFormulas = true;
    const QString comma = QStringLiteral(",");
    for (const char* start : {"=", "+", "-", "@", "\t"}) {
        const QString value = QString::fromLatin1(start) + QStringLiteral("HYPERLINK(\"x\")");
        EXPECT_EQ(DelimitedCell(value, protect, comma), QLatin1Char('\'') + value);
        EXPECT_EQ(DelimitedCell(value, DelimitedOptions(), comma), value); // off: as stored
    }
    for (const char* safe : {"", "1+1", " =1", "'=1", "x@y"})
        EXPECT_EQ(DelimitedCell(QString::fromLatin1(safe), protect, comma),
                  QString::fromLatin1(safe));
    // The apostrophe goes inside the quotes, after quote replacement.
    protect.useQuotes = true;
    protect.replaceQuotes = true;
    EXPECT_EQ(DelimitedCell(QStringLiteral("=\"a\""), protect, comma), QStringLiteral("\"'='a'\""));
}

TEST(DelimitedCell, Rfc4180QuotesOnlyWhatNeedsItAndDoublesQuotes)
{
    DelimitedOptions rfc;
    rfc.rfc4180Quoting = true;
    const QString semi = QStringLiteral(";");
    EXPECT_EQ(DelimitedCell(QStringLiteral("plain, with comma"), rfc, semi),
              QStringLiteral("plain, with comma"));
    EXPECT_EQ(DelimitedCell(QStringLiteral("a;b"), rfc, semi), QStringLiteral("\"a;b\""));
    EXPECT_EQ(DelimitedCell(QStringLiteral("say \"hi\""), rfc, semi),
              QStringLiteral("\"say \"\"hi\"\"\""));
    EXPECT_EQ(DelimitedCell(QStringLiteral("cr\rhere"), rfc, semi), QStringLiteral("\"cr\rhere\""));
    EXPECT_EQ(DelimitedCell(QStringLiteral("lf\nhere"), rfc, semi), QStringLiteral("\"lf\nhere\""));
    EXPECT_EQ(DelimitedCell(QString(), rfc, semi), QString());
    // A delimiter of several characters counts only whole.
    EXPECT_EQ(DelimitedCell(QStringLiteral("a#b"), rfc, QStringLiteral("##")),
              QStringLiteral("a#b"));
    EXPECT_EQ(DelimitedCell(QStringLiteral("a##b"), rfc, QStringLiteral("##")),
              QStringLiteral("\"a##b\""));
    // With quotes around every value, the quotes inside are doubled too.
    rfc.useQuotes = true;
    EXPECT_EQ(DelimitedCell(QStringLiteral("x\"y"), rfc, semi), QStringLiteral("\"x\"\"y\""));
    EXPECT_EQ(DelimitedCell(QStringLiteral("x"), rfc, semi), QStringLiteral("\"x\""));
    // Protected and quoted: the apostrophe is part of the enclosed value.
    rfc.useQuotes = false;
    rfc.protectFormulas = true;
    EXPECT_EQ(DelimitedCell(QStringLiteral("=1;2"), rfc, semi), QStringLiteral("\"'=1;2\""));
}

TEST_F(DelimitedLineTest, OptionsApplyToEveryCellAndTheFieldNamesLine)
{
    session.Tables.PutArrayElement(1, 3, QStringLiteral("-2+3"));
    DelimitedOptions options;
    options.protectFormulas = true;
    options.rfc4180Quoting = true;
    EXPECT_TRUE(BuildDelimitedLine(session, options, QStringLiteral(",")));
    EXPECT_EQ(session.Output.OutputText, QStringLiteral("5,'-2+3,\"say \"\"hi\"\", ok\",,3"));
    // The names of the selected fields, in order, written like the values.
    session.Output.OutputFieldList[3].PrintStat = false;
    session.Output.OutputFieldList[4].Label = QStringLiteral("=cmd|' /C calc'!A0");
    BuildDelimitedHeader(session, options, QStringLiteral(","));
    EXPECT_EQ(session.Output.OutputText,
              QStringLiteral("Record ID,Record Date,Quote,'=cmd|' /C calc'!A0"));
    options.useQuotes = true;
    BuildDelimitedHeader(session, options, QStringLiteral("\t"));
    EXPECT_EQ(session.Output.OutputText,
              QStringLiteral("\"Record ID\"\t\"Record Date\"\t\"Quote\"\t\"'=cmd|' /C calc'!A0\""));
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

TEST_F(DelimitedLineTest, OneWriterFollowsRecordsWhoseFieldsChange)
{
    // One writer serves a whole run: each record's lines match what the
    // record alone gives, however its field names differ from the last one's.
    DelimitedLineWriter writer(session.Output, DelimitedOptions(), QStringLiteral(","));
    QString line;
    writer.Write(session.Tables, line);
    EXPECT_EQ(line, QStringLiteral("5,2/3/2004,say \"hi\", ok,,3"));

    // Names in another order and case, one of them twice (the last counts),
    // one padded with blanks, and more rows than before.
    SetRecord({QStringLiteral("6"), QStringLiteral("Di"), QString(), QStringLiteral("4/5/2006")},
              {{QStringLiteral("THIRD"), QStringLiteral("a")},
               {QStringLiteral(" missing "), QStringLiteral("b")},
               {QStringLiteral("quote"), QStringLiteral("c")},
               {QStringLiteral("Third"), QStringLiteral("d")}});
    writer.Write(session.Tables, line);
    EXPECT_EQ(line, QStringLiteral("6,4/5/2006,c,b,d"));
    EXPECT_EQ(Line(false, false, false, QStringLiteral(",")), line);

    // Fewer rows: names left from the longer record play no part.
    SetRecord({QStringLiteral("7"), QStringLiteral("Ed"), QString(), QStringLiteral("1/1/2007")},
              {{QStringLiteral("Missing"), QStringLiteral("only")}});
    writer.Write(session.Tables, line);
    EXPECT_EQ(line, QStringLiteral("7,1/1/2007,,only,"));
    EXPECT_EQ(Line(false, false, false, QStringLiteral(",")), line);

    // As many rows under other names, then the same names with new values.
    SetRecord({QStringLiteral("8"), QStringLiteral("Flo"), QString(), QStringLiteral("2/2/2008")},
              {{QStringLiteral("Quote"), QStringLiteral("q")}});
    writer.Write(session.Tables, line);
    EXPECT_EQ(line, QStringLiteral("8,2/2/2008,q,,"));
    SetRecord({QStringLiteral("9"), QStringLiteral("Gus"), QString(), QStringLiteral("3/3/2009")},
              {{QStringLiteral("Quote"), QStringLiteral("r")}});
    writer.Write(session.Tables, line);
    EXPECT_EQ(line, QStringLiteral("9,3/3/2009,r,,"));
}

namespace {

// The record in the tables as the streaming reader hands it over raw.
RawRecord RawOf(const RecordTables& t)
{
    RawRecord raw;
    raw.Start(t.Header(0).toLongLong());
    for (int c = 0; c < RawRecord::kHeaderColumns; ++c)
        raw.SetHeader(c, t.Header(c).toUtf8());
    for (int row = 0; row < t.FieldCount(); ++row) {
        raw.AddEntry();
        for (int c = 0; c < RawRecord::kFieldColumns; ++c)
            raw.SetField(c, t.Field(row, c).toUtf8());
    }
    return raw;
}

} // namespace

TEST_F(DelimitedLineTest, TheByteWriterWritesWhatTheTextWriterWrites)
{
    // Values that each option changes, non-ASCII text, and field names
    // matched in other letter cases, padded, repeated or missing.
    const QList<QList<std::pair<QString, QString>>> records = {
        {{"Quote", "say \"hi\", ok"}, {"third", "=SUM(A1)"}},
        {{"QUOTE", "\r\nline breaks\r\nat both ends\r\n"}, {" Third ", "-3"}},
        {{"Missing", "\tTabbed"}, {"quote", "'single' \"double\""}},
        {{"Third", "Z\u00fcrich \u00a7 \u20ac"}, {"Third", "+44 \u00a7\u00a7 x"}},
        {{"stra\u00dfe", "@home"}, {"Quote", "\"\""}, {"Missing", "a;b\rc\nd"}},
        {},
        {{"Quote", "\r\n"}, {"third", ""}},
        {{"Quote", "a\r\n=HYPERLINK(\"x\")"}, {"Missing", "x\n+cmd\r@y"}, {"third", "\r\n=1"}},
        {{"Quote", "\n=1,=2\t-3"}, {"Missing", "\"=2+3\",\"b\""}, {"third", "\r"}},
        {{"Quote", "x\u00a7\u00a7=1ab+2'-3;@4"}, {"third", "\n\r\n\"\r"}},
    };
    FillOutputFieldList(
        session.Output,
        {{QStringLiteral("Forms.FormID"), QStringLiteral("1.0"), QStringLiteral("Record ID")},
         {QStringLiteral("Forms.Form_Name"), QStringLiteral("1.1"), QStringLiteral("Name")},
         {QStringLiteral("Forms.Form_Notes"), QStringLiteral("1.2"), QStringLiteral("Notes")}},
        QStringLiteral("Quote\r\nMissing\r\nThird\r\nSTRASSE\r\n"));
    int compared = 0;
    for (const QString& delimiter :
         {QStringLiteral(","), QStringLiteral("\t"), QStringLiteral("\u00a7\u00a7"),
          QStringLiteral("\""), QStringLiteral("'"), QStringLiteral("ab"), QStringLiteral(";")}) {
        for (int bits = 0; bits < 32; ++bits) {
            DelimitedOptions options;
            options.useQuotes = bits & 1;
            options.removeLineBreaks = bits & 2;
            options.replaceQuotes = bits & 4;
            options.protectFormulas = bits & 8;
            options.rfc4180Quoting = bits & 16;
            DelimitedLineWriter text(session.Output, options, delimiter);
            DelimitedLineWriter bytes(session.Output, options, delimiter);
            ASSERT_TRUE(bytes.WritesBytes());
            for (int r = 0; r < records.size(); ++r) {
                SetRecord({QString::number(r + 1), QStringLiteral("N\u00e9 \"%1\"").arg(r),
                           r % 2 ? QStringLiteral("=notes\r\n") : QString(),
                           QStringLiteral("2/3/2004")},
                          records[r]);
                QString line;
                text.Write(session.Tables, line);
                std::string raw;
                bytes.Write(RawOf(session.Tables), raw);
                EXPECT_EQ(raw, line.toStdString()) << "delimiter " << delimiter.toStdString()
                                                   << ", options " << bits << ", record " << r;
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 7 * 32 * 10);
}

TEST_F(DelimitedLineTest, ADelimiterUtf8CannotCarryIsLeftToTheTextWriter)
{
    EXPECT_FALSE(DelimitedLineWriter(session.Output, DelimitedOptions(), QString(QChar(0xD800)))
                     .WritesBytes());
    EXPECT_FALSE(DelimitedLineWriter(session.Output, DelimitedOptions(), QString()).WritesBytes());
    EXPECT_TRUE(
        DelimitedLineWriter(session.Output, DelimitedOptions(), QStringLiteral("\U0001F600"))
            .WritesBytes());
}

TEST_F(DelimitedLineTest, FormulaProtectionHoldsAtEveryCellStartASpreadsheetReads)
{
    enum { kNone = 0, kQuotes = 1, kJoin = 2, kRfc = 4 };
    struct Case {
        const char* value;
        int options;
        const char* delimiter;
        const char* line;
    };
    const Case cases[] = {
        // Without RFC 4180 quoting a line break or a delimiter starts a cell.
        {"a\r\n=HYPERLINK(\"x\")", kNone, ",", "a\r\n'=HYPERLINK(\"x\")"},
        {"x\n+cmd", kNone, ",", "x\n'+cmd"},
        {"x\r-1\r\n@y", kNone, ",", "x\r'-1\r\n'@y"},
        {"a\r\n\r\n=1", kNone, ",", "a\r\n'\r\n'=1"},
        {"a,=1+1", kNone, ",", "a,'=1+1"},
        {"a\t=1", kNone, "\t", "a\t'=1"},
        // A quote there opens a quoted cell, which is read as a formula too.
        {"a,\"=2+3\"", kNone, ",", "a,\"'=2+3\""},
        {"\"=2+3\"", kNone, ",", "\"'=2+3\""},
        // A value beginning with a line break.
        {"\r\n=1+1", kNone, ",", "'\r\n'=1+1"},
        {"\r\n=1+1", kRfc, ",", "\"'\r\n=1+1\""},
        {"\n=1", kRfc, ",", "\"'\n=1\""},
        {"\n=1", kJoin, ",", "' =1"},
        // Joined lines: every line break, lone CR and LF too, becomes a blank.
        {"a\r\n=1", kJoin, ",", "a =1"},
        {"x\n=1\r=2\r\n", kJoin, ",", "x =1 =2"},
        // In quotes it cannot leave, a value is one cell.
        {"a\r\n=1", kQuotes, ",", "\"a\r\n=1\""},
        {"a,=1", kRfc, ",", "\"a,=1\""},
        {"a\",=1,\"b", kQuotes, ",", "\"a\",'=1,\"b\""},
        {"a\"\r\n=1", kRfc, ",", "\"a\"\"\r\n=1\""},
        // An apostrophe delimiter the protection adds is quoted.
        {"=1", kRfc, "'", "\"'=1\""},
    };
    FillOutputFieldList(session.Output, {}, QStringLiteral("Quote\r\n"));
    for (const Case& c : cases) {
        DelimitedOptions options;
        options.protectFormulas = true;
        options.useQuotes = c.options & kQuotes;
        options.removeLineBreaks = c.options & kJoin;
        options.rfc4180Quoting = c.options & kRfc;
        const QString delimiter = QString::fromUtf8(c.delimiter);
        SetRecord({QStringLiteral("1")}, {{QStringLiteral("Quote"), QString::fromUtf8(c.value)}});
        QString text;
        DelimitedLineWriter(session.Output, options, delimiter).Write(session.Tables, text);
        EXPECT_EQ(text, QString::fromUtf8(c.line)) << c.value;
        std::string bytes;
        DelimitedLineWriter(session.Output, options, delimiter).Write(RawOf(session.Tables), bytes);
        EXPECT_EQ(bytes, c.line) << c.value;
    }
}
