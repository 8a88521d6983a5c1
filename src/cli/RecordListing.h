#pragma once

struct CliContext;

// Prints the summary's records in its order: one line each (FormID,
// date, name, source separated by tabs), or with json a JSON array of
// record objects without their fields. False when a record cannot be read.
bool PrintSummaryRecords(CliContext& context, bool json);
