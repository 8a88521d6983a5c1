#pragma once

#include "stats/SummaryStatistics.h"

#include <QByteArray>
#include <QString>
#include <functional>

struct ChartData;
class Regional;

// Draws a chart as an SVG document, width × height; the page renderer
// supplies it, core code only places what it gives. Empty: no drawing.
using ChartSvgMaker = std::function<QByteArray(const ChartData& chart, int width, int height)>;

// The "Statistics report" output: an HTML page with the submissions over
// time, then a section per field (each starting a new printed page) with
// its figures, a table of its answers with counts and percentages, and its
// charts inline as SVG when svg is set.
QString StatisticsReportHtml(const SummaryStatisticsResult& result, const Regional& regional,
                             const ChartSvgMaker& svg, const QString& title);
