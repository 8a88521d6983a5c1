#pragma once

#include "platform/DatabaseConnection.h"

#include <QString>

struct CliContext;

// Opens the database for a verb the way the program opens one, without
// recording it as the last used database. Messages go to standard error.
// Without listRecords the summary is not filled: for verbs that stream
// every record or only the records a search finds.
// Verbs that only read open the file with DatabaseAccess::ReadOnly.
bool OpenCliDatabase(CliContext& context, const QString& path, bool listRecords = true,
                     DatabaseAccess access = DatabaseAccess::ReadWrite);
