#pragma once

#include "stats/FieldStatistics.h"

#include <QString>
#include <vector>

// The statistics as a readable table: per field its counts, then a line per
// value with its count and share of the answers, then the numbers' figures.
QString StatisticsTable(const std::vector<FieldStatistics>& fields);
