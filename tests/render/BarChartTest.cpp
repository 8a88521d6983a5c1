#include "render/BarChart.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace {

ChartData Answers()
{
    ChartData chart;
    chart.title = QStringLiteral("colour");
    chart.bars = {{"red", 8, {"red"}, {}, {}},
                  {"blue", 4, {"blue"}, {}, {}},
                  {"a rather long answer of green", 2, {}, {}, {}}};
    return chart;
}

} // namespace

TEST(BarChart, BarsAreProportionalAndEverythingStaysInsideTheArea)
{
    const ChartData chart = Answers();
    const QRectF area(10, 20, 300, 200);
    QFont font;
    font.setPixelSize(12);
    const BarChartLayout layout = LayOutBarChart(chart, area, font);
    ASSERT_EQ(layout.rows.size(), 3u);
    EXPECT_NEAR(layout.rows[1].bar.width() * 2, layout.rows[0].bar.width(), 0.01);
    EXPECT_NEAR(layout.rows[2].bar.width() * 4, layout.rows[0].bar.width(), 0.01);
    for (const auto& row : layout.rows) {
        EXPECT_TRUE(area.contains(row.label) && area.contains(row.bar)) << row.bar.width();
        EXPECT_LE(row.count.left(), area.right());
    }
    // A click on the second row finds its bar; above the rows none.
    EXPECT_EQ(BarAt(chart, area, font, layout.rows[1].bar.center()), 1);
    EXPECT_EQ(BarAt(chart, area, font, layout.title.center()), -1);
    // Rows that do not fit are left out.
    const QRectF shorter(10, 20, 300, layout.rows[1].bar.bottom() - 20);
    EXPECT_EQ(LayOutBarChart(chart, shorter, font).rows.size(), 1u);

    // What is painted stays inside the area.
    QPicture picture;
    QPainter painter(&picture);
    painter.setFont(font);
    PaintBarChart(painter, chart, area);
    painter.end();
    EXPECT_TRUE(area.toAlignedRect().contains(picture.boundingRect()))
        << picture.boundingRect().width();
}

TEST(BarChart, SavesPngAndSvgThatOpenAgain)
{
    TempDir dir;
    QString error;
    const QString png = dir.File("chart.png");
    ASSERT_TRUE(SaveChart(Answers(), png, 400, 160, &error)) << error.toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(400, 160));
    // The bars' colour is there, the background white.
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));

    const QString svg = dir.File("chart.svg");
    ASSERT_TRUE(SaveChart(Answers(), svg, 400, 160, &error)) << error.toStdString();
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());
    // The same drawing kept in memory, for a page to hold inline.
    const QByteArray inlined = ChartSvg(Answers(), 400, 160);
    EXPECT_TRUE(QSvgRenderer(inlined).isValid());
    EXPECT_TRUE(inlined.contains("<title>colour</title>"));

    EXPECT_FALSE(SaveChart(Answers(), dir.File("chart.gif"), 400, 160, &error));
    EXPECT_EQ(error, QStringLiteral("A chart is saved as a .png or .svg file"));
    EXPECT_FALSE(SaveChart(Answers(), dir.File("missing/chart.png"), 400, 160, &error));
}
