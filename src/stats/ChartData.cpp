#include "stats/ChartData.h"

#include "platform/Regional.h"

#include <algorithm>
#include <cmath>

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
    const std::vector<ValueCount> folded = FoldTail(field.values, keep);
    for (size_t i = 0; i < folded.size(); ++i) {
        // The folded tail stands for many values: a click cannot narrow to it.
        const bool tail = folded.size() != field.values.size() && i + 1 == folded.size();
        chart.bars.push_back(
            {folded[i].value, folded[i].count, tail ? QString() : folded[i].value});
    }
    return chart;
}

ChartData NumbersChart(const FieldStatistics& field, const Regional& regional)
{
    ChartData chart;
    chart.title = field.field + QStringLiteral(" in ranges");
    if (!field.numeric)
        return chart;
    const QLocale& locale = regional.Locale();
    for (const Bin& bin : field.numeric->bins) {
        // A bin of one whole number is named by it.
        const bool single = bin.to - bin.from == 1 && bin.from == std::floor(bin.from);
        chart.bars.push_back({single ? locale.toString(bin.from)
                                     : QStringLiteral("%1 to %2")
                                           .arg(locale.toString(bin.from), locale.toString(bin.to)),
                              bin.count, QString()});
    }
    return chart;
}

ChartData SubmissionsChart(const DateHistogram& submissions, const Regional& regional)
{
    ChartData chart;
    switch (submissions.step) {
    case DateStep::Day:
        chart.title = QStringLiteral("Submissions per day");
        break;
    case DateStep::Week:
        chart.title = QStringLiteral("Submissions per week");
        break;
    case DateStep::Month:
        chart.title = QStringLiteral("Submissions per month");
        break;
    }
    for (const Bin& bin : submissions.bins) {
        const QDate from = QDate::fromJulianDay(static_cast<qint64>(bin.from));
        const QString label = submissions.step == DateStep::Month
                                  ? regional.Locale().toString(from, QStringLiteral("MMM yyyy"))
                                  : regional.DateToText(from);
        chart.bars.push_back({label, bin.count, QString()});
    }
    return chart;
}
