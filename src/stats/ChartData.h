#pragma once

#include "stats/FieldStatistics.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

class Regional;

// One bar of a chart: its caption, its count, and what a click on it
// narrows the records to: the answers it counts, or for the submissions
// the days from `from` up to (not including) `to`; neither where a click
// cannot narrow (the folded tail).
struct ChartBar {
    QString label;
    qint64 count = 0;
    QStringList values;
    QDate from;
    QDate to;

    bool Narrows() const { return !values.isEmpty() || from.isValid(); }
};

struct ChartData {
    QString title;
    QString field; // whose answers the values are; empty for submissions
    std::vector<ChartBar> bars;
    qint64 Largest() const;
};

// A field's values, most frequent first, the tail folded after keep.
ChartData ValuesChart(const FieldStatistics& field, int keep = 12);
// A numeric field's histogram; no bars for a field that is not numeric.
ChartData NumbersChart(const FieldStatistics& field, const Regional& regional);
// A date field's answers per day, week, month or year; no bars for a field
// whose answers are not dates.
ChartData DatesChart(const FieldStatistics& field, const Regional& regional);
// Submissions per day, week, month or year, dates shown by the regional rules.
ChartData SubmissionsChart(const DateHistogram& submissions, const Regional& regional);
