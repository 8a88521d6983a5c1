#include "duplicates/StoredRecords.h"
#include "stats/FieldStatistics.h"
#include "stats/SummaryStatistics.h"

#include <gtest/gtest.h>

namespace {

const FieldStatistics* Named(const SummaryStatisticsResult& r, const char* name)
{
    for (const FieldStatistics& s : r.fields)
        if (s.field == QLatin1String(name))
            return &s;
    return nullptr;
}

} // namespace

TEST(FieldStatistics, CountsRepeatedEmptyAndNumericAnswersOfTheRecordsShown)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    StoreRecord(f, "2024-12-30", nullptr, {{"colour", "red"}, {"colour", "blue"}, {"score", "9"}});
    StoreRecord(f, "2024-12-31", nullptr,
                {{"colour", " red "}, {"colour", "red"}, {"score", "10"}});
    StoreRecord(f, "2025-01-02", nullptr, {{"colour", ""}, {"score", "1,000.5"}});
    StoreRecord(f, "2025-01-02", nullptr, {{"score", "9"}});
    f.session.Database.CurrentFieldNames.Reset(QStringLiteral("\r\ncolour\r\nscore\r\n"));
    f.session.Database.SummaryRecords.Load(*f.session.Database.CurrentDatabase);

    const SummaryStatisticsResult all = SummaryStatistics(f.session, {});
    ASSERT_TRUE(all.ok);
    EXPECT_EQ(all.records, 4);
    const FieldStatistics* colour = Named(all, "colour");
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->answered, 2);
    EXPECT_EQ(colour->empty, 1);
    // "red" twice in one record counts once; blue and red tie.
    EXPECT_EQ(colour->values, (std::vector<ValueCount>{{"red", 2}, {"blue", 1}}));
    EXPECT_FALSE(colour->numeric);

    const FieldStatistics* score = Named(all, "score");
    ASSERT_TRUE(score && score->numeric);
    EXPECT_EQ(score->values.front(), (ValueCount{"9", 2}));
    EXPECT_DOUBLE_EQ(score->numeric->min, 9);
    EXPECT_DOUBLE_EQ(score->numeric->max, 1000.5);
    EXPECT_DOUBLE_EQ(score->numeric->median, 9.5);
    EXPECT_DOUBLE_EQ(score->numeric->mean, (9 + 10 + 1000.5 + 9) / 4);
    // Dates across the year end, a day each.
    EXPECT_EQ(all.submissions.step, DateStep::Day);
    ASSERT_EQ(all.submissions.bins.size(), 4u);
    EXPECT_EQ(all.submissions.bins[3].count, 2);
    EXPECT_EQ(all.submissions.bins[2].count, 0);

    // An entry added to the first record later still counts with it.
    f.Db().exec("INSERT INTO Data (Field_Name, Field_Value, FormID) VALUES ('colour', 'green', 1)");
    const SummaryStatisticsResult later = SummaryStatistics(f.session, {"colour"});
    ASSERT_TRUE(later.ok);
    EXPECT_EQ(later.fields[0].answered, 2);
    EXPECT_EQ(later.fields[0].values,
              (std::vector<ValueCount>{{"red", 2}, {"blue", 1}, {"green", 1}}));

    // A search's records alone; a field named in another letter case.
    f.session.Database.SummaryRecords.Assign({3, 4});
    f.session.Database.SummaryFiltered = true;
    const SummaryStatisticsResult found = SummaryStatistics(f.session, {"SCORE"});
    ASSERT_TRUE(found.ok);
    ASSERT_EQ(found.fields.size(), 1u);
    EXPECT_EQ(found.fields[0].records, 2);
    EXPECT_EQ(found.fields[0].values, (std::vector<ValueCount>{{"1,000.5", 1}, {"9", 1}}));

    EXPECT_FALSE(SummaryStatistics(f.session, {"size"}).ok);
    EXPECT_EQ(f.ui.MessageTexts(),
              QStringList{"Unknown field 'size': the database has no field of that name"});
}

TEST(FieldStatistics, BinsFoldsAndDateSteps)
{
    // Numbers: widths of 1, 2 or 5 times a power of ten.
    const std::vector<Bin> bins = HistogramOfNumbers({{1, 1}, {3, 2}, {9.5, 1}, {20, 4}});
    ASSERT_EQ(bins.size(), 5u);
    EXPECT_EQ(bins[0], (Bin{0, 5, 3}));
    EXPECT_EQ(bins[1], (Bin{5, 10, 1}));
    EXPECT_EQ(bins[4], (Bin{20, 25, 4}));
    EXPECT_EQ(HistogramOfNumbers({{7, 3}}), (std::vector<Bin>{{7, 8, 3}}));
    // Whole numbers keep bins of one at least.
    EXPECT_EQ(HistogramOfNumbers({{3, 8}, {4, 5}, {5, 9}}),
              (std::vector<Bin>{{3, 4, 8}, {4, 5, 5}, {5, 6, 9}}));

    const std::vector<ValueCount> values{{"a", 5}, {"b", 3}, {"c", 2}, {"d", 1}};
    EXPECT_EQ(FoldTail(values, 2),
              (std::vector<ValueCount>{{"a", 5}, {"b", 3}, {"other (2 values)", 3}}));
    EXPECT_EQ(FoldTail(values, 3), values);

    const struct {
        QDate first, last;
        DateStep step;
        size_t bins;
    } spans[] = {
        {{2024, 12, 20}, {2025, 1, 19}, DateStep::Day, 31},
        {{2024, 12, 20}, {2025, 3, 1}, DateStep::Week, 11},
        {{2024, 11, 20}, {2026, 1, 1}, DateStep::Month, 15},
        {{1950, 6, 1}, {2025, 1, 1}, DateStep::Year, 76},
    };
    for (const auto& s : spans) {
        const DateHistogram h = HistogramOfDates({{s.first, 1}, {s.last, 2}});
        EXPECT_EQ(h.step, s.step);
        ASSERT_EQ(h.bins.size(), s.bins);
        EXPECT_EQ(h.bins.front().count, 1);
        EXPECT_EQ(h.bins.back().count, 2);
    }
}
