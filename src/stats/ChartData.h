#pragma once

#include "stats/FieldStatistics.h"

#include <QString>
#include <vector>

class Regional;

// One bar of a chart: its caption, its count, and the value a click on it
// narrows the records to (empty where a click cannot narrow them).
struct ChartBar {
    QString label;
    qint64 count = 0;
    QString value;
};

struct ChartData {
    QString title;
    std::vector<ChartBar> bars;
    qint64 Largest() const;
};

// A field's values, most frequent first, the tail folded after keep.
ChartData ValuesChart(const FieldStatistics& field, int keep = 12);
// A numeric field's histogram; no bars for a field that is not numeric.
ChartData NumbersChart(const FieldStatistics& field, const Regional& regional);
// Submissions per day, week or month, dates shown by the regional rules.
ChartData SubmissionsChart(const DateHistogram& submissions, const Regional& regional);
