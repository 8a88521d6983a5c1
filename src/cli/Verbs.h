#pragma once

#include <QStringList>

struct CliContext;

// One command-line verb: its name, its usage line for --help, and what runs it.
struct Verb {
    const char* name;
    const char* usage;
    const char* summary;
    int (*run)(CliContext& context, QStringList args);
};

int RunParse(CliContext& context, QStringList args);
int RunConfig(CliContext& context, QStringList args);
int RunTemplate(CliContext& context, QStringList args);
