#pragma once

#include "platform/Regional.h"
#include "search/SummaryFilter.h"
#include "session/SummaryViewState.h"

#include <QString>
#include <vector>

struct sqlite3;

// The kind of the summary's column (numbered as SummaryViewState numbers
// them).
SummaryValueKind SummaryColumnKind(int column);

// Teaches a connection the functions the summary's sorting and filtering
// use, reading numbers and dates as regional (which must outlive the
// connection):
// - tm_number(v): v as a number, or NULL when it is none;
// - tm_date(v): v as an ISO date, or NULL when it is none;
// - tm_sortkey(v): what v sorts by: numbers first, by value, then dates
//   by value, then texts (sorted with the FOLD collation).
bool RegisterSummaryFunctions(sqlite3* db, const Regional& regional, const char** error = nullptr);

// What ordering the summary gave.
struct SummaryOrderResult {
    bool ok = false;
    std::vector<qint64> ids; // the rows in the order shown
    int faultColumn = -1;    // the column whose filter text is invalid
    QString error;           // why: the filter's fault or the engine's text
};

// The FormIDs of the database at databasePath, or of those of them that
// searchResult holds (ascending) when it is given, that pass every filter
// of view, sorted by its sort column: records without a value last, ties
// and an unsorted summary in record-number order. One statement, read on a
// connection of its own; nothing but the FormIDs is kept.
SummaryOrderResult OrderSummary(const QString& databasePath, const SummaryViewState& view,
                                const std::vector<qint64>* searchResult, const Regional& regional);
