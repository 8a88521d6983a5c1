#include "duplicates/StoredRecords.h"
#include "search/StatisticsController.h"
#include "search/SummarySearch.h"
#include "search/SummaryView.h"

#include <gtest/gtest.h>

// Each bar of a histogram, of a date field's chart and of the submissions
// narrows the summary to as many records as it counts.
TEST(StatisticsController, EveryKindOfBarNarrowsToTheRecordsItCounts)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    const struct {
        const char* submitted;
        const char* score;
        const char* visit;
    } rows[] = {
        {"2024-12-30", "9", "2024-12-30"},  {"2024-12-31", " 10 ", "2025-01-02"},
        {"2025-01-02", "9", "2025-02-15"},  {"2025-01-02", "1,000.5", "2025-02-16"},
        {"2025-01-05", "12", "2026-07-01"},
    };
    for (const auto& row : rows)
        StoreRecord(f, row.submitted, nullptr, {{"score", row.score}, {"visit", row.visit}});
    f.session.Database.CurrentFieldNames.Reset(QStringLiteral("\r\nscore\r\nvisit\r\n"));
    f.session.Database.SummaryRecords.Load(*f.session.Database.CurrentDatabase);

    StatisticsController controller(f.session);
    ASSERT_TRUE(controller.Refresh());
    const std::vector<FieldStatistics>& fields = controller.Result().fields;
    ASSERT_EQ(fields.size(), 2u);
    ASSERT_TRUE(fields[0].numeric);
    ASSERT_FALSE(fields[1].numeric);
    ASSERT_TRUE(fields[1].dates);
    EXPECT_EQ(fields[1].dates->step, DateStep::Month);

    const ChartData charts[] = {controller.Numbers(0), controller.Dates(1),
                                controller.Submissions(), controller.Values(0)};
    for (const ChartData& chart : charts) {
        qint64 total = 0;
        for (const ChartBar& bar : chart.bars) {
            total += bar.count;
            if (bar.count == 0)
                continue;
            ASSERT_TRUE(bar.Narrows()) << qPrintable(chart.title + ": " + bar.label);
            ASSERT_TRUE(controller.NarrowTo(chart, bar))
                << qPrintable(f.ui.MessageTexts().join('|'));
            EXPECT_EQ(f.session.Database.SummaryRecords.Count(), bar.count)
                << qPrintable(chart.title + ": " + bar.label);
            EXPECT_FALSE(f.session.Search.lblFind.isEmpty());
            ShowWholeDatabase(f.session);
        }
        EXPECT_EQ(total, 5) << qPrintable(chart.title);
    }
    EXPECT_EQ(charts[1].title, QStringLiteral("visit per month"));
    EXPECT_EQ(charts[2].title, QStringLiteral("Submissions per day"));
    EXPECT_TRUE(f.ui.MessageTexts().isEmpty());

    // The summary's filter row narrows what is counted; a few records among
    // many are read record by record, to the same figures.
    ASSERT_TRUE(FilterSummary(f.session, 0, QStringLiteral("<=2")));
    ASSERT_TRUE(controller.Refresh());
    EXPECT_EQ(controller.Result().records, 2);
    ASSERT_TRUE(FilterSummary(f.session, 0, QStringLiteral("=2")));
    ASSERT_TRUE(controller.Refresh());
    EXPECT_EQ(controller.Result().records, 1);
    EXPECT_EQ(controller.Result().fields[0].values, (std::vector<ValueCount>{{"10", 1}}));
    EXPECT_EQ(controller.Result().submissions.bins.size(), 1u);
}
