#pragma once

#include <QString>

class Session;
struct CliContext;

// A template named on the command line: the path itself when it exists,
// else the file of that name in the program folders.
QString CliTemplatePath(CliContext& context, const QString& name);

// The file name of the printing template called name (its file name, with
// or without ".rpt", or its name, in any letter case); the first printing
// template without a name; empty when none is called so.
QString CliPrintTemplate(Session& session, const QString& name);

// Keeps one value of a tab-separated line on that line: backslash, CR, LF
// and tab written as \\, \r, \n, \t.
QString OneLineEscaped(QString text);
