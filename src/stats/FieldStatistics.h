#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <vector>

struct ValueCount {
    QString value;
    qint64 count = 0;
    bool operator==(const ValueCount&) const = default;
};

// One bar of a histogram or of submissions over time: the values from
// `from` up to (not including) `to`.
struct Bin {
    double from = 0;
    double to = 0;
    qint64 count = 0;
    bool operator==(const Bin&) const = default;
};

struct NumericSummary {
    double min = 0;
    double max = 0;
    double mean = 0;
    double median = 0;
    std::vector<Bin> bins;
};

// Dates over time (the records' submissions, or a date field's answers):
// per day for a span up to 62 days, per week (starting on Monday) up to 53
// weeks, per month up to ten years, else per year. Each bin's from and to
// are Julian day numbers.
enum class DateStep { Day, Week, Month, Year };
struct DateHistogram {
    DateStep step = DateStep::Day;
    std::vector<Bin> bins;
};
DateHistogram HistogramOfDates(const std::vector<std::pair<QDate, qint64>>& dayCounts);

// How the answers to one field of a set of records came out.
struct FieldStatistics {
    QString field;
    qint64 records = 0;  // the records looked at
    qint64 answered = 0; // records holding a non-empty value of the field
    qint64 empty = 0;    // records holding the field with only empty values
    // Each distinct value (trimmed) and how many records hold it, most
    // frequent first, ties in ascending text order. A record holding the
    // field several times (check boxes) counts once for each value.
    std::vector<ValueCount> values;
    // When nearly every answer reads as a number.
    std::optional<NumericSummary> numeric;
    // Otherwise, when nearly every answer reads as a date: the answers per
    // day, week or month.
    std::optional<DateHistogram> dates;

    qint64 Distinct() const { return static_cast<qint64>(values.size()); }
};

// The values after the first `keep`, folded into one "other (N values)"
// entry holding their count; as they are when there are no more than
// keep + 1.
std::vector<ValueCount> FoldTail(const std::vector<ValueCount>& values, int keep);

// Bins of a sensible width (1, 2 or 5 times a power of ten) for numbers
// from min to max, about as many as Sturges' rule gives for count values,
// with each value's count added to its bin.
std::vector<Bin> HistogramOfNumbers(const std::vector<std::pair<double, qint64>>& valueCounts);
