#pragma once

#include "stats/FieldStatistics.h"

#include <QStringList>

class Session;

struct SummaryStatisticsResult {
    bool ok = false; // false after a message
    std::vector<FieldStatistics> fields;
    qint64 records = 0;
    DateHistogram submissions; // by record date
};

// The statistics of the summary's records (the whole database, or what a
// search found), for the fields named (letter case ignored) or, with none,
// every field; one streaming read. A name the database's field-names list
// does not hold is named in "Unknown field '...': the database has no field
// of that name" and nothing is read.
SummaryStatisticsResult SummaryStatistics(Session& session, const QStringList& fields);
