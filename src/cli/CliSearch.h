#pragma once

#include "platform/DatabaseConnection.h"

#include <QString>

struct CliContext;

// Loads "default.cfg", opens the database and fills the Quick Find list
// (which also rebuilds the output field list, every field selected).
// listRecords as for OpenCliDatabase.
bool OpenForSearch(CliContext& context, const QString& path, bool listRecords = true,
                   DatabaseAccess access = DatabaseAccess::ReadWrite);

// Quick Find on the open database: field is an entry of the Quick Find list
// (a record-level display name or a field name, letter case ignored). The
// summary then holds the records found.
bool CliQuickFind(CliContext& context, const QString& field, const QString& pattern);

// Loads a query file and runs it as the Query Builder's OK does.
bool CliRunQueryFile(CliContext& context, const QString& path);
