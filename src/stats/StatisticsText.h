#pragma once

#include "stats/FieldStatistics.h"

#include <QString>
#include <vector>

// A figure as the command line and the table print it: up to 15
// significant digits, a point for the decimals.
QString StatisticsNumber(double value);

// The statistics as a readable table: per field its counts, then a line per
// value with its count and share of the answers, then the numbers' figures.
QString StatisticsTable(const std::vector<FieldStatistics>& fields);
