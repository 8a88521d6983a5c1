#include "stats/ChartData.h"

#include "platform/Regional.h"

#include <algorithm>
#include <cmath>

namespace {

// The bin holding x (from <= x < to), or -1.
int BinOf(const std::vector<Bin>& bins, double x)
{
    const auto bin = std::upper_bound(bins.begin(), bins.end(), x,
                                      [](double v, const Bin& b) { return v < b.from; });
    if (bin == bins.begin())
        return -1;
    const auto at = std::prev(bin);
    return x < at->to ? static_cast<int>(at - bins.begin()) : -1;
}

QString StepTitle(DateStep step)
{
    switch (step) {
    case DateStep::Day:
        return QStringLiteral("per day");
    case DateStep::Week:
        return QStringLiteral("per week");
    case DateStep::Month:
        return QStringLiteral("per month");
    case DateStep::Year:
        return QStringLiteral("per year");
    }
    return {};
}

// A bar per bin of dates, captioned by its first day (its month, its year).
void AddDateBars(ChartData& chart, const DateHistogram& histogram, const Regional& regional)
{
    for (const Bin& bin : histogram.bins) {
        const QDate from = QDate::fromJulianDay(static_cast<qint64>(bin.from));
        const QString label = histogram.step == DateStep::Month
                                  ? regional.Locale().toString(from, QStringLiteral("MMM yyyy"))
                              : histogram.step == DateStep::Year ? QString::number(from.year())
                                                                 : regional.DateToText(from);
        chart.bars.push_back({label, bin.count, {}, {}, {}});
    }
}

} // namespace

qint64 ChartData::Largest() const
{
    qint64 largest = 0;
    for (const ChartBar& bar : bars)
        largest = std::max(largest, bar.count);
    return largest;
}

ChartData ValuesChart(const FieldStatistics& field, int keep)
{
    ChartData chart;
    chart.title = field.field;
    chart.field = field.field;
    const std::vector<ValueCount> folded = FoldTail(field.values, keep);
    for (size_t i = 0; i < folded.size(); ++i) {
        // The folded tail stands for many values: a click cannot narrow to it.
        const bool tail = folded.size() != field.values.size() && i + 1 == folded.size();
        chart.bars.push_back({folded[i].value,
                              folded[i].count,
                              tail ? QStringList() : QStringList{folded[i].value},
                              {},
                              {}});
    }
    return chart;
}

ChartData NumbersChart(const FieldStatistics& field, const Regional& regional)
{
    ChartData chart;
    chart.title = field.field + QStringLiteral(" in ranges");
    chart.field = field.field;
    if (!field.numeric)
        return chart;
    const QLocale& locale = regional.Locale();
    for (const Bin& bin : field.numeric->bins) {
        // A bin of one whole number is named by it.
        const bool single = bin.to - bin.from == 1 && bin.from == std::floor(bin.from);
        chart.bars.push_back({single ? locale.toString(bin.from)
                                     : QStringLiteral("%1 to %2")
                                           .arg(locale.toString(bin.from), locale.toString(bin.to)),
                              bin.count,
                              {},
                              {},
                              {}});
    }
    // Each bar narrows to the answers written as the numbers it counts.
    for (const ValueCount& v : field.values)
        if (const std::optional<double> number = regional.ParseNumber(v.value))
            if (const int bin = BinOf(field.numeric->bins, *number); bin >= 0)
                chart.bars[static_cast<size_t>(bin)].values.append(v.value);
    return chart;
}

ChartData DatesChart(const FieldStatistics& field, const Regional& regional)
{
    ChartData chart;
    chart.field = field.field;
    if (!field.dates)
        return chart;
    chart.title = field.field + QLatin1Char(' ') + StepTitle(field.dates->step);
    AddDateBars(chart, *field.dates, regional);
    for (const ValueCount& v : field.values)
        if (const std::optional<QDate> date = regional.ParseDate(v.value))
            if (const int bin = BinOf(field.dates->bins, double(date->toJulianDay())); bin >= 0)
                chart.bars[static_cast<size_t>(bin)].values.append(v.value);
    return chart;
}

ChartData SubmissionsChart(const DateHistogram& submissions, const Regional& regional)
{
    ChartData chart;
    chart.title = QStringLiteral("Submissions ") + StepTitle(submissions.step);
    AddDateBars(chart, submissions, regional);
    for (size_t i = 0; i < chart.bars.size(); ++i) {
        chart.bars[i].from = QDate::fromJulianDay(static_cast<qint64>(submissions.bins[i].from));
        chart.bars[i].to = QDate::fromJulianDay(static_cast<qint64>(submissions.bins[i].to));
    }
    return chart;
}
