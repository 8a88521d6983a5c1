#pragma once

#include <QString>

struct CliContext;

// A template named on the command line: the path itself when it exists,
// else the file of that name in the program folders.
QString CliTemplatePath(CliContext& context, const QString& name);
