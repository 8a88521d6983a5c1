#include "database/DatabaseFixture.h"
#include "gui/stats/ChartView.h"
#include "gui/stats/StatisticsWindow.h"
#include "render/BarChart.h"
#include "responses/ResponseImport.h"
#include "search/SummarySearch.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

TEST(StatisticsWindow, FollowsTheSummaryAndABarNarrowsIt)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    ImportResponseFiles(f.session, {QStringLiteral(TALLOWMERE_RESOURCES "/samples/guestbook.txt")});
    ASSERT_TRUE(FillQuickFindCombo(f.session));
    StatisticsWindow window(f.session);
    window.resize(700, 900);
    window.show();
    auto* field = window.findChild<QComboBox*>(QStringLiteral("cboField"));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->itemText(0), QStringLiteral("(every field)"));
    field->setCurrentIndex(field->findText(QStringLiteral("rating")));
    QApplication::processEvents();

    // The submissions, the rating's values and, rating being numeric, its histogram.
    QList<ChartView*> charts = window.Charts();
    ASSERT_EQ(charts.size(), 3);
    const ChartView* values = charts[1];
    EXPECT_EQ(values->Chart().title, QStringLiteral("rating"));
    ASSERT_FALSE(values->Chart().bars.empty());
    const ChartBar first = values->Chart().bars.front();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblSummary"))->text(),
              QStringLiteral("12 record(s)"));

    // A click on the first bar finds its records; the window follows.
    const BarChartLayout layout =
        LayOutBarChart(values->Chart(), QRectF(values->rect()), values->font());
    QTest::mouseClick(charts[1], Qt::LeftButton, {}, layout.rows[0].bar.center().toPoint());
    QApplication::processEvents();
    EXPECT_EQ(f.session.Database.SummaryRecords.Count(), first.count);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblSummary"))->text(),
              QStringLiteral("%1 record(s)").arg(first.count));
    charts = window.Charts();
    ASSERT_EQ(charts.size(), 3);
    EXPECT_EQ(charts[1]->Chart().bars.size(), 1u);
}
