#pragma once

#include "stats/FieldStatistics.h"

#include <QStringList>
#include <limits>
#include <optional>

class Session;

struct SummaryStatisticsResult {
    bool ok = false; // false after a message
    std::vector<FieldStatistics> fields;
    qint64 records = 0;
    DateHistogram submissions; // by record date
};

// Which records to count: every record, or only those listed; either way
// only those with a FormID from `from` to `to`.
struct StatisticsScope {
    std::optional<std::vector<qint64>> ids;
    qint64 from = 1;
    qint64 to = std::numeric_limits<qint64>::max();
};

// The statistics of the records in scope, for the fields named (letter case
// ignored) or, with none, every field; as SummaryStatistics.
SummaryStatisticsResult RecordStatistics(Session& session, const QStringList& fields,
                                         const StatisticsScope& scope);

// The statistics of the summary's records (the whole database, or what a
// search found), for the fields named (letter case ignored) or, with none,
// every field; one streaming read. A name the database's field-names list
// does not hold is named in "Unknown field '...': the database has no field
// of that name" and nothing is read.
SummaryStatisticsResult SummaryStatistics(Session& session, const QStringList& fields);
