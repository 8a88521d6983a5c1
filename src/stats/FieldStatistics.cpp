#include "stats/FieldStatistics.h"

#include <algorithm>
#include <cmath>

std::vector<ValueCount> FoldTail(const std::vector<ValueCount>& values, int keep)
{
    if (static_cast<int>(values.size()) <= keep + 1)
        return values;
    std::vector<ValueCount> folded(values.begin(), values.begin() + keep);
    qint64 rest = 0;
    for (size_t i = static_cast<size_t>(keep); i < values.size(); ++i)
        rest += values[i].count;
    folded.push_back(
        {QStringLiteral("other (%1 values)").arg(values.size() - static_cast<size_t>(keep)), rest});
    return folded;
}

DateHistogram HistogramOfDates(const std::vector<std::pair<QDate, qint64>>& dayCounts)
{
    DateHistogram histogram;
    if (dayCounts.empty())
        return histogram;
    QDate first = dayCounts.front().first, last = first;
    for (const auto& [day, count] : dayCounts) {
        first = std::min(first, day);
        last = std::max(last, day);
    }
    const qint64 span = first.daysTo(last) + 1;
    histogram.step = span <= 62             ? DateStep::Day
                     : span <= 53 * 7       ? DateStep::Week
                     : span <= 10 * 366 + 1 ? DateStep::Month
                                            : DateStep::Year;
    const auto start = [&](const QDate& day) {
        switch (histogram.step) {
        case DateStep::Day:
            return day;
        case DateStep::Week:
            return day.addDays(1 - day.dayOfWeek());
        case DateStep::Month:
            return QDate(day.year(), day.month(), 1);
        case DateStep::Year:
            return QDate(day.year(), 1, 1);
        }
        return day;
    };
    const auto next = [&](const QDate& day) {
        switch (histogram.step) {
        case DateStep::Day:
            return day.addDays(1);
        case DateStep::Week:
            return day.addDays(7);
        case DateStep::Month:
            return day.addMonths(1);
        case DateStep::Year:
            return day.addYears(1);
        }
        return day;
    };
    // Every step from the first to the last, the empty ones too.
    for (QDate at = start(first); at <= last; at = next(at))
        histogram.bins.push_back({static_cast<double>(at.toJulianDay()),
                                  static_cast<double>(next(at).toJulianDay()), 0});
    for (const auto& [day, count] : dayCounts) {
        const double julian = static_cast<double>(start(day).toJulianDay());
        const auto bin = std::lower_bound(histogram.bins.begin(), histogram.bins.end(), julian,
                                          [](const Bin& b, double v) { return b.from < v; });
        bin->count += count;
    }
    return histogram;
}

std::vector<Bin> HistogramOfNumbers(const std::vector<std::pair<double, qint64>>& valueCounts)
{
    std::vector<Bin> bins;
    if (valueCounts.empty())
        return bins;
    double min = valueCounts.front().first, max = min;
    qint64 total = 0;
    for (const auto& [value, count] : valueCounts) {
        min = std::min(min, value);
        max = std::max(max, value);
        total += count;
    }
    const int wanted = std::clamp(static_cast<int>(std::ceil(std::log2(double(total)) + 1)), 1, 20);
    const bool whole = std::all_of(valueCounts.begin(), valueCounts.end(),
                                   [](const auto& v) { return v.first == std::floor(v.first); });
    double width = 1;
    if (max > min) {
        const double raw = (max - min) / wanted;
        const double power = std::pow(10.0, std::floor(std::log10(raw)));
        width = power * 10;
        for (const double step : {1.0, 2.0, 5.0}) {
            if (step * power >= raw) {
                width = step * power;
                break;
            }
        }
    }
    // Whole numbers are never split across bins.
    if (whole)
        width = std::max(width, 1.0);
    const double first = std::floor(min / width) * width;
    const int count = std::max(1, static_cast<int>(std::floor((max - first) / width)) + 1);
    for (int i = 0; i < count; ++i)
        bins.push_back({first + i * width, first + (i + 1) * width, 0});
    for (const auto& [value, n] : valueCounts) {
        const int at =
            std::clamp(static_cast<int>(std::floor((value - first) / width)), 0, count - 1);
        bins[static_cast<size_t>(at)].count += n;
    }
    return bins;
}
