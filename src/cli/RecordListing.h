#pragma once

#include <QStringList>

struct CliContext;

// Prints the summary's records in its order: one line each (FormID,
// date, name, source separated by tabs), or with json a JSON array of
// record objects without their fields. Each of fields (field names) adds
// the record's first value of that field: a tab-separated column after the
// four, or in JSON a "columns" object of name and value (null when the
// record has no such field). False when a record cannot be read.
bool PrintSummaryRecords(CliContext& context, bool json, const QStringList& fields = {});
