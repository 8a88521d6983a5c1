#pragma once

#include "responses/ResponseScan.h"

// Whether a file is read as a comma-separated export: by its ".csv" ending.
bool IsCsvFileName(const QString& path);

// A form service's export with a header row: every row after the header is
// one response and one item (its ledger hash: the row's bytes and its
// ordinal among identical rows of the file), the header's names name its
// fields in column order and empty cells are kept as empty values. The
// first cell names the record; the left-most column called like a date
// (a word "date" or "timestamp" in its name, or a name starting with
// "submitted" or "created") whose cell reads as a date dates it, else the
// file's date does. A row with more or fewer cells than the header is
// stored with the cells it has (the extra ones named "Column N") and
// warned about with its line.
void ScanCsvFile(Session& session, const QString& fullPath, const QString& source,
                 ScanOutcome& outcome, const std::function<bool()>& onRecord, ScanItems* items);
