#pragma once

#include <QString>

struct CliContext;

// Loads "default.cfg" and builds the output field list from its record-level
// fields and the open database's field names, every field selected.
bool PrepareOutputFields(CliContext& context);

// A template named on the command line: the path itself when it exists,
// else the file of that name in the program folders.
QString CliTemplatePath(CliContext& context, const QString& name);
