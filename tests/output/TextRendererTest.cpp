#include "OutputFixture.h"

#include "output/TextRenderer.h"

class TextRendererTest : public OutputFixture {
protected:
    void SetUp() override
    {
        SetRecord(
            {QStringLiteral("7"), QStringLiteral("Bob"), QString(), QStringLiteral("1/5/1998")},
            {{QStringLiteral("Colour"), QStringLiteral("blue")},
             {QStringLiteral("Size"), QStringLiteral("large")},
             {QStringLiteral("Shape"), QStringLiteral("round")}});
    }
    QString Render(const QString& body)
    {
        EXPECT_TRUE(RenderTextBody(session, Crlf(body)));
        return session.Output.OutputText;
    }
};

TEST_F(TextRendererTest, LabelAndMarkerPaddedToTheMarkersWrittenWidth)
{
    EXPECT_EQ(Render(QStringLiteral("Name: |1.1.000|00.00.000||\n")),
              QStringLiteral("Name: Bob      \r\n"));
}

TEST_F(TextRendererTest, LongValueWrapsAndRepeatsTheLiteralText)
{
    session.Tables.PutArrayElement(1, 1, QStringLiteral("abcdefghijklmnopqrstuvwxy"));
    EXPECT_EQ(Render(QStringLiteral("> |1.1.000 |<{00.00.000}||\n")),
              QStringLiteral("> abcdefghij<\r\n> klmnopqrst<\r\n> uvwxy     <\r\n"));
}

TEST_F(TextRendererTest, BlockRepeatsOncePerFieldRowWithNumbers)
{
    EXPECT_EQ(
        Render(QStringLiteral("|n  ||2.1.000 ||2.2.008|{02.00.000}||\n")),
        QStringLiteral("1.   Colour    blue\r\n2.   Size      large\r\n3.   Shape     round\r\n"));
    EXPECT_EQ(session.Output.ItemNumber, 1);
    // A block of several lines repeats as a whole.
    EXPECT_EQ(Render(QStringLiteral("-{00.00.000}\n|2.1.008|{02.00.000}||\nend{00.00.000}||\n")),
              QStringLiteral("-\r\nColour\r\n-\r\nSize\r\n-\r\nShape\r\nend\r\n"));
}

TEST_F(TextRendererTest, RepeatedBlockIsOmittedWithoutFieldRows)
{
    SetRecord({QStringLiteral("8"), QStringLiteral("Empty")}, {});
    EXPECT_EQ(Render(QStringLiteral("|2.1.000||2.2.000|{02.00.000}||\nafter{00.00.000}||\n")),
              QStringLiteral("after\r\n"));
}

TEST_F(TextRendererTest, RowCursorsAreRestored)
{
    session.Tables.CurrentRow[2] = 2;
    session.Tables.CurrentRow[3] = 5;
    Render(QStringLiteral("|2.1.008|{02.00.000}||\n"));
    EXPECT_EQ(session.Tables.CurrentRow[2], 2);
    EXPECT_EQ(session.Tables.CurrentRow[3], 5);
    EXPECT_EQ(session.Tables.RowCount[2], 3);
}

TEST_F(TextRendererTest, NoFillFlagDropsLinesWhoseValuesAreAllEmpty)
{
    EXPECT_EQ(Render(QStringLiteral("|1.2.008|{00.00.000}\n|1.1.008|{00.00.000}||\n")),
              QStringLiteral("Bob\r\n"));
}

TEST_F(TextRendererTest, AlignmentOfMarkersAndLines)
{
    EXPECT_EQ(Render(QStringLiteral("[|1.1.016|]{00.00.000}\n[|1.1.032 |]{00.00.000}||\n")),
              QStringLiteral("[      Bob]\r\n[    Bob   ]\r\n"));
    // Line alignment: right within 80 columns, centred with halves to even.
    const QString right = Render(QStringLiteral("|1.1.008|{00.00.016}||\n"));
    EXPECT_EQ(right, QString(77, QLatin1Char(' ')) + QStringLiteral("Bob\r\n"));
    const QString centred = Render(QStringLiteral("|1.1.008|{00.00.032}||\n"));
    EXPECT_EQ(centred, QString(38, QLatin1Char(' ')) + QStringLiteral("Bob\r\n"));
    // Bit 256 reaches column 80.
    const QString edge = Render(QStringLiteral("ab|1.1.256|{00.00.000}||\n"));
    EXPECT_EQ(edge.size(), 82);
}

TEST_F(TextRendererTest, DatesLeadInsAndLineConditions)
{
    EXPECT_EQ(Render(QStringLiteral("|1.3.264|{01.03.000}\n"
                                    "Notes: |1.2.008|{01.02.000}\n"
                                    "|1.1.0.0.\"By \"      |{00.00.000}||\n")),
              QStringLiteral("Jan 5, 1998\r\nBy Bob") + QString(15, QLatin1Char(' ')) +
                  QStringLiteral("\r\n"));
    // A date in a narrow column wraps like any value.
    EXPECT_EQ(Render(QStringLiteral("|1.3.008|{00.00.000}||\n")),
              QStringLiteral("Jan 5,\r\n1998\r\n"));
}

TEST_F(TextRendererTest, BarsInValuesAreNotMarkersAndDoubleBarsInLinesStay)
{
    session.Tables.PutArrayElement(1, 1, QStringLiteral("|1.0.000|"));
    EXPECT_EQ(Render(QStringLiteral("a||b |1.1.008| c{00.00.000}||\n")),
              QStringLiteral("a  b |1.0.000| c\r\n")); // "||" stays: an empty marker
}

TEST_F(TextRendererTest, BlockWithoutFinalDoubleBarProducesNothing)
{
    EXPECT_EQ(Render(QStringLiteral("first{00.00.000}||\nlost|1.1.000|{00.00.000}\n")),
              QStringLiteral("first\r\n"));
}

TEST_F(TextRendererTest, UnmatchedBraceStopsTheRendering)
{
    EXPECT_EQ(Render(QStringLiteral("kept{00.00.000}||\nbad}||\nnever{00.00.000}||\n")),
              QStringLiteral("kept\r\n"));
    EXPECT_EQ(ui.MessageTexts(), (QStringList{QStringLiteral("Unmatched { in template"),
                                              QStringLiteral("Error processing text line: ")}));
}

TEST_F(TextRendererTest, UnmatchedBarStopsTheRendering)
{
    EXPECT_EQ(Render(QStringLiteral("kept{00.00.000}\nopen |1.1.000{00.00.000}\n"
                                    "closing| line{00.00.000}||\nnever{00.00.000}||\n")),
              QStringLiteral("kept\r\n"));
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Unmatched | in report template")});
}

TEST_F(TextRendererTest, UnreadableTemplateReportsPrintError)
{
    EXPECT_FALSE(RenderTextTemplate(session, dir.File(QStringLiteral("missing.rpt"))));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Print error: ")));
}

TEST_F(TextRendererTest, ReadsStoredTemplateFiles)
{
    const QString path = WriteTemplate(QStringLiteral("t.rpt"), "Who: |1.1.008|{00.00.000}||\r\n");
    EXPECT_TRUE(RenderTextTemplate(session, path));
    EXPECT_EQ(session.Output.OutputText, QStringLiteral("Who: Bob\r\n"));
}

TEST_F(TextRendererTest, ShippedRecordTextTemplate)
{
    TempDir unused;
    Session shipped(ui, ProgramFolders(QStringLiteral(TALLOWMERE_PROGRAM_DIR), unused.Path()),
                    Regional(TestLocale()));
    shipped.Tables = session.Tables;
    shipped.Tables.PutArrayElement(1, 2, QStringLiteral("first line\r\nsecond line"));
    const QString longValue =
        QString(30, QLatin1Char('w')) + QLatin1Char(' ') + QString(40, QLatin1Char('x'));
    shipped.Tables.CurrentRow[2] = 1;
    shipped.Tables.PutArrayElement(2, 2, longValue);
    shipped.Tables.CurrentRow[2] = 0;
    ASSERT_TRUE(
        RenderTextTemplate(shipped, shipped.Folders.FindFile(QStringLiteral("DEFAULT_DAT.RPT"))));
    const QStringList lines = shipped.Output.OutputText.split(QStringLiteral("\r\n"));
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 80) << qPrintable(line);
    const QString text = shipped.Output.OutputText;
    EXPECT_TRUE(text.contains(QStringLiteral("Record ID:") + QString(14, QLatin1Char(' ')) +
                              QStringLiteral("7\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Date:") + QString(19, QLatin1Char(' ')) +
                              QStringLiteral("Jan 5, 1998\r\n")));
    EXPECT_TRUE(text.contains(QString(24, QLatin1Char(' ')) + QStringLiteral("second line\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Size") + QString(20, QLatin1Char(' ')) +
                              QString(30, QLatin1Char('w')) + QStringLiteral("\r\n") +
                              QString(24, QLatin1Char(' ')) + QString(40, QLatin1Char('x'))));
    EXPECT_TRUE(text.contains(QStringLiteral("Shape") + QString(19, QLatin1Char(' ')) +
                              QStringLiteral("round")));
    EXPECT_FALSE(text.contains(QStringLiteral("Source:"))); // empty header cells are left out
    EXPECT_TRUE(ui.messages.isEmpty()) << qPrintable(ui.MessageTexts().join(QLatin1Char('\n')));
}
