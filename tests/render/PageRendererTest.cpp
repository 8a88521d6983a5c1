#include "../output/OutputFixture.h"
#include "RecordingCanvas.h"

#include "render/PageRenderer.h"
#include "output/PrintTemplate.h"
#include "output/TemplateSyntax.h"

#include <QFontMetricsF>
#include <QPdfWriter>
#include <QPicture>

class PageRendererTest : public OutputFixture {
protected:
    void SetUp() override
    {
        SetRecord({QStringLiteral("7"), QStringLiteral("Bob"), QString(), QStringLiteral("x")},
                  {{QStringLiteral("Colour"), QStringLiteral("blue")},
                   {QStringLiteral("Size"), QStringLiteral("large")}});
    }
    // Draws body on a fresh surface; gives back the page reached.
    qint16 Draw(const QString& body, PageGeometry::Surface surface, qint16 requested = 0)
    {
        session.Output.TemplateLines = CutBlocks(Crlf(body), BlockStyle::Lines);
        device = std::make_unique<RecordingDevice>();
        RecordingCanvas canvas(*device, surface);
        if (surface == PageGeometry::Surface::Paper)
            StartPaperPage(canvas);
        EXPECT_TRUE(RenderPrintTemplate(session, canvas, 1.0, requested));
        return requested;
    }
    const QList<DrawnText>& Drawn() const { return device->engine.drawn; }
    const DrawnText* Find(const QString& text) const
    {
        for (const DrawnText& t : Drawn())
            if (t.text == text)
                return &t;
        return nullptr;
    }
    // n lines of text, each its own block line.
    static QString Lines(int n, const QString& prefix = QStringLiteral("line"))
    {
        QString body;
        for (int i = 1; i <= n; ++i)
            body += prefix + QString::number(i) + QStringLiteral("{00.00.000}\n");
        return body + QStringLiteral("||\n");
    }
    std::unique_ptr<RecordingDevice> device;
};

TEST_F(PageRendererTest, PlacesTextInsideTheMarginsWithTheLineFonts)
{
    Draw(QStringLiteral("Name: |1.1.000|{00.00.000}\nBig{00.00.065}\nLarge{00.00.134}||\n"),
         PageGeometry::Surface::Paper);
    const DrawnText* label = Find(QStringLiteral("Name: "));
    const DrawnText* name = Find(QStringLiteral("Bob"));
    ASSERT_TRUE(label && name);
    // Paper: 48 points from the left edge, one empty line below the 36-point top.
    EXPECT_DOUBLE_EQ(label->at.x(), 48);
    EXPECT_GT(label->at.y(), 36 + 9);
    EXPECT_EQ(label->font.family(), QStringLiteral("Courier New"));
    EXPECT_EQ(label->font.pixelSize(), 9);
    EXPECT_FALSE(label->font.bold());
    // The marker starts where the label ends.
    EXPECT_NEAR(name->at.x(), 48 + label->width, 0.01);
    EXPECT_DOUBLE_EQ(name->at.y(), label->at.y());

    const DrawnText* big = Find(QStringLiteral("Big"));
    const DrawnText* large = Find(QStringLiteral("Large"));
    ASSERT_TRUE(big && large);
    EXPECT_EQ(big->font.pixelSize(), 10);
    EXPECT_TRUE(big->font.bold());
    EXPECT_EQ(large->font.pixelSize(), 12);
    EXPECT_TRUE(large->font.underline());
    EXPECT_TRUE(large->font.italic());
    EXPECT_GT(big->at.y(), name->at.y());
    EXPECT_GT(large->at.y(), big->at.y());

    // The page view uses 5-point margins and an 8-point font.
    Draw(QStringLiteral("Name: |1.1.000|{00.00.000}||\n"), PageGeometry::Surface::PageView);
    ASSERT_TRUE(Find(QStringLiteral("Name: ")));
    EXPECT_DOUBLE_EQ(Find(QStringLiteral("Name: "))->at.x(), 5);
    EXPECT_LT(Find(QStringLiteral("Name: "))->at.y(), 5 + 9);
    EXPECT_EQ(Find(QStringLiteral("Name: "))->font.pixelSize(), 8);
}

TEST_F(PageRendererTest, MarkerFontsAreTheirOwnAndTheLineFontComesBack)
{
    Draw(QStringLiteral("a|1.1.001|b{00.00.000}||\n"), PageGeometry::Surface::PageView);
    ASSERT_TRUE(Find(QStringLiteral("Bob")) && Find(QStringLiteral("b")));
    EXPECT_TRUE(Find(QStringLiteral("Bob"))->font.bold());
    EXPECT_FALSE(Find(QStringLiteral("b"))->font.bold());
}

TEST_F(PageRendererTest, BreaksPagesByHeightAndByFlag)
{
    // 8-point lines: far more than 9.2 inches' worth.
    EXPECT_EQ(Draw(Lines(120), PageGeometry::Surface::Paper, -1), 2);
    ASSERT_TRUE(Find(QStringLiteral("line1")) && Find(QStringLiteral("line120")));
    EXPECT_EQ(Find(QStringLiteral("line1"))->page, 1);
    EXPECT_EQ(Find(QStringLiteral("line120"))->page, 2);
    int lastOnPage1 = 0;
    for (const DrawnText& t : Drawn()) {
        if (t.page == 1) {
            lastOnPage1 = t.text.mid(4).toInt();
            // Nothing starts below the page depth.
            EXPECT_LE(t.at.y(), 36 + 9.2 * 72 + 20);
        }
    }
    // The next page starts at the top again, one empty line down.
    const DrawnText* first2 = Find(QStringLiteral("line") + QString::number(lastOnPage1 + 1));
    ASSERT_TRUE(first2);
    EXPECT_EQ(first2->page, 2);
    EXPECT_DOUBLE_EQ(first2->at.y(), Find(QStringLiteral("line1"))->at.y());

    // Flag 8 on a line starts a new page at once.
    EXPECT_EQ(Draw(QStringLiteral("one{00.00.000}\ntwo{00.00.008}||\n"),
                   PageGeometry::Surface::Paper, -1),
              2);
    EXPECT_EQ(Find(QStringLiteral("one"))->page, 1);
    EXPECT_EQ(Find(QStringLiteral("two"))->page, 2);
}

TEST_F(PageRendererTest, RequestedPageShowsOnlyThatPage)
{
    const QString body = Lines(60) + QStringLiteral("next{00.00.008}\n") + Lines(5, "more") +
                         QStringLiteral("last{00.00.008}||\n");
    EXPECT_EQ(Draw(body, PageGeometry::Surface::PageView, 2), 2);
    ASSERT_FALSE(Drawn().isEmpty());
    EXPECT_EQ(Drawn().first().text, QStringLiteral("next"));
    EXPECT_FALSE(Find(QStringLiteral("line1")));
    EXPECT_TRUE(Find(QStringLiteral("more5")));
    EXPECT_FALSE(Find(QStringLiteral("last")));
    // 0, or beyond the last page, leaves the last page and its number.
    EXPECT_EQ(Draw(body, PageGeometry::Surface::PageView, 0), 3);
    EXPECT_EQ(Drawn().size(), 1);
    EXPECT_EQ(Draw(body, PageGeometry::Surface::PageView, 9), 3);
    EXPECT_TRUE(Find(QStringLiteral("last")));
    EXPECT_EQ(session.Output.PageNumber, 3);

    // Beyond the last page of a template whose last page repeats a block over
    // the field rows, the view holds what the last page request shows.
    const QString rows = QStringLiteral("first{00.00.000}\n||\n|2.1.008|{02.00.008}||\n");
    EXPECT_EQ(Draw(rows, PageGeometry::Surface::PageView, 0), 3);
    QStringList last;
    for (const DrawnText& t : Drawn())
        last.append(t.text);
    EXPECT_EQ(last, QStringList{QStringLiteral("Size")});
    EXPECT_EQ(Draw(rows, PageGeometry::Surface::PageView, 7), 3);
    QStringList beyond;
    for (const DrawnText& t : Drawn())
        beyond.append(t.text);
    EXPECT_EQ(beyond, last);
    EXPECT_EQ(session.Tables.CurrentRow[2], 0);
}

TEST_F(PageRendererTest, ABulletDrawsInTheSymbolFont)
{
    Draw(QStringLiteral("|-| after{00.00.000}||\n"), PageGeometry::Surface::PageView);
    ASSERT_EQ(Drawn().size(), 2);
    EXPECT_EQ(Drawn()[0].font.family(), QStringLiteral("Symbol"));
    EXPECT_EQ(Drawn()[0].text, QString(QChar(0x2022)));
    EXPECT_EQ(Drawn()[1].text, QStringLiteral(" after"));
    EXPECT_EQ(Drawn()[1].font.family(), QStringLiteral("Courier New"));
}

TEST_F(PageRendererTest, HalfWidthColumnStartsMidWayAndWrapsInTheRightHalf)
{
    const QString longValue = QStringLiteral(
        "the quick brown fox jumps over the lazy dog and keeps running far beyond the field");
    session.Tables.PutArrayElement(1, 2, longValue);
    Draw(QStringLiteral("|1.2.256.50.|{00.00.000}||\n"), PageGeometry::Surface::Paper);
    const double width = 612 - 96;
    ASSERT_GT(Drawn().size(), 1);
    QString joined;
    for (const DrawnText& t : Drawn()) {
        EXPECT_DOUBLE_EQ(t.at.x(), 48 + width / 2);
        EXPECT_LE(t.width, width / 2 + 0.01);
        joined += t.text + QLatin1Char(' ');
    }
    EXPECT_EQ(joined.simplified(), longValue);
    EXPECT_GT(Drawn()[1].at.y(), Drawn()[0].at.y());
}

TEST_F(PageRendererTest, AlignedLinesEndAtTheRightMarginOrSitCentred)
{
    Draw(QStringLiteral("Page |-1.1.008|{00.00.016}\nmid{00.00.032}||\n"),
         PageGeometry::Surface::Paper);
    const DrawnText* label = Find(QStringLiteral("Page "));
    const DrawnText* number = Find(QStringLiteral("1"));
    ASSERT_TRUE(label && number);
    // The right margin is as wide as the left one: 48 points. Drawn widths
    // come back in the text engine's fixed point, 1/64 of a point.
    const double fixedPoint = 1.0 / 64 + 1e-9;
    EXPECT_NEAR(number->at.x() + number->width, 612 - 48, fixedPoint);
    EXPECT_NEAR(label->at.x() + label->width, number->at.x(), fixedPoint);
    const DrawnText* mid = Find(QStringLiteral("mid"));
    ASSERT_TRUE(mid);
    EXPECT_NEAR((mid->at.x() - 48) * 2 + mid->width, 612 - 96, 2 * fixedPoint);
}

TEST_F(PageRendererTest, RepeatsBlocksAndOmitsLinesAsTheTextRendererDoes)
{
    Draw(QStringLiteral("|n ||2.1.008|{02.00.000}||\nskip|1.2.000|{01.02.000}||\n"),
         PageGeometry::Surface::PageView);
    ASSERT_TRUE(Find(QStringLiteral("Colour")) && Find(QStringLiteral("Size")));
    EXPECT_TRUE(Find(QStringLiteral("2.")));
    EXPECT_FALSE(Find(QStringLiteral("skip")));
    EXPECT_GT(Find(QStringLiteral("Size"))->at.y(), Find(QStringLiteral("Colour"))->at.y());
    EXPECT_EQ(session.Tables.CurrentRow[2], 0);
}

TEST_F(PageRendererTest, FieldDatesPrintWhole)
{
    session.Tables.CurrentRow[2] = 2;
    session.Tables.PutArrayElement(2, 1, QStringLiteral("Born"));
    session.Tables.PutArrayElement(2, 2, QStringLiteral("1981-06-24"));
    session.Tables.CurrentRow[2] = 0;
    Draw(QStringLiteral("|2.2.008|{02.00.000}||\n"), PageGeometry::Surface::PageView);
    // Words are drawn one by one.
    QStringList drawn;
    for (const DrawnText& t : Drawn())
        drawn << t.text;
    EXPECT_TRUE(drawn.join(QLatin1Char(' ')).contains(QStringLiteral("Jun 24, 1981")))
        << qPrintable(drawn.join(QLatin1Char('|')));
}

TEST_F(PageRendererTest, FaultyLinesAndTemplatesSaySo)
{
    Draw(QStringLiteral("before{00.00.000}\nbad}\nafter{00.00.000}||\n"),
         PageGeometry::Surface::PageView);
    EXPECT_TRUE(Find(QStringLiteral("before")));
    EXPECT_FALSE(Find(QStringLiteral("after")));
    ASSERT_GE(ui.messages.size(), 2);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Unmatched { in template"));
    EXPECT_TRUE(ui.messages[1].text.startsWith(QStringLiteral("Error processing print line: ")));

    ui.messages.clear();
    EXPECT_FALSE(LoadPrintTemplate(session, QStringLiteral("nowhere.rpt")));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Print error: ")));
}

TEST_F(PageRendererTest, LoadsATemplateAndDrawsItIntoAPdf)
{
    WriteTemplate(QStringLiteral("Card.rpt"), "Card of |1.1.008|{00.00.001}||\r\n");
    ASSERT_TRUE(LoadPrintTemplate(session, QStringLiteral("Card.rpt")));
    ASSERT_EQ(session.Output.TemplateLines.size(), 1);
    const QString pdf = dir.File(QStringLiteral("card.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        PaperCanvas canvas(writer);
        qint16 page = -1;
        EXPECT_TRUE(RenderPrintTemplate(session, canvas, 1.0, page));
        EXPECT_TRUE(canvas.Finish());
    }
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    // A page view picture holds the same drawing.
    QPicture picture;
    {
        PictureCanvas canvas(picture, QSizeF(612, 792));
        qint16 page = 0;
        EXPECT_TRUE(RenderPrintTemplate(session, canvas, 1.0, page));
        canvas.Finish();
    }
    EXPECT_GT(picture.size(), 0u);
}

TEST_F(PageRendererTest, KeepsARecordOnOnePageWhereItFits)
{
    struct Case {
        const char* name;
        int lines;
        double startBelowTop; // points below the first line of a page
        bool keepWhole;
        int firstPage;
        int lastPage;
    };
    const Case cases[] = {
        {"fits below: stays", 10, 100, true, 1, 1},
        {"would split: moves whole", 30, 560, true, 2, 2},
        {"would split, not kept: splits", 30, 560, false, 1, 2},
        {"taller than a page: breaks by height", 80, 100, true, 1, 2},
    };
    for (const Case& c : cases) {
        session.Output.TemplateLines = CutBlocks(Crlf(Lines(c.lines)), BlockStyle::Lines);
        device = std::make_unique<RecordingDevice>();
        RecordingCanvas canvas(*device, PageGeometry::Surface::Paper);
        StartPaperPage(canvas);
        const double top = canvas.Position.y();
        canvas.Position.ry() += c.startBelowTop;
        EXPECT_TRUE(RenderPaperRecord(session, canvas, c.keepWhole)) << c.name;
        const DrawnText* first = Find(QStringLiteral("line1"));
        const DrawnText* last = Find(QStringLiteral("line") + QString::number(c.lines));
        ASSERT_TRUE(first && last) << c.name;
        EXPECT_EQ(first->page, c.firstPage) << c.name;
        EXPECT_EQ(last->page, c.lastPage) << c.name;
        // A moved record starts at the top of its new page.
        if (c.firstPage == 2) {
            EXPECT_LT(first->at.y(), 36 + top + 12) << c.name;
        }
        EXPECT_TRUE(ui.messages.isEmpty()) << c.name;
    }
}

TEST_F(PageRendererTest, PaperPagesCarryPageNOfMInTheirFooters)
{
    session.Output.TemplateLines = CutBlocks(Crlf(Lines(120)), BlockStyle::Lines);
    RecordingDevice paper;
    {
        PaperCanvas canvas(paper, [&paper] {
            ++paper.engine.page;
            return true;
        });
        StartPaperPage(canvas);
        ASSERT_TRUE(RenderPaperRecord(session, canvas, true));
        ASSERT_TRUE(RenderPaperRecord(session, canvas, true));
        EXPECT_TRUE(paper.engine.drawn.isEmpty()); // the paper gets its pages at the end
        EXPECT_TRUE(canvas.Finish());
    }
    QStringList footers;
    for (const DrawnText& t : paper.engine.drawn) {
        if (t.text.startsWith(QStringLiteral("Page "))) {
            footers.append(t.text);
            EXPECT_EQ(QStringLiteral("Page %1 of 4").arg(t.page), t.text);
            EXPECT_GT(t.at.y(), 792 - 36);
            EXPECT_NEAR(t.at.x() + t.width / 2, 306, 1);
        } else if (t.text == QStringLiteral("line1") && t.page == 1) {
            // The pages reach the paper where they were drawn.
            EXPECT_DOUBLE_EQ(t.at.x(), 48);
            EXPECT_LT(t.at.y(), 36 + 20);
        }
    }
    EXPECT_EQ(footers.size(), 4);
    EXPECT_EQ(paper.engine.page, 4);
}
