#pragma once

#include <QString>

struct CliContext;

// Opens the database for a verb the way the program opens one, without
// recording it as the last used database. Messages go to standard error.
bool OpenCliDatabase(CliContext& context, const QString& path);
