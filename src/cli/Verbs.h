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
int RunCreate(CliContext& context, QStringList args);
int RunImport(CliContext& context, QStringList args);
int RunFetch(CliContext& context, QStringList args);
int RunList(CliContext& context, QStringList args);
int RunShow(CliContext& context, QStringList args);
int RunFields(CliContext& context, QStringList args);
int RunInfo(CliContext& context, QStringList args);
int RunFind(CliContext& context, QStringList args);
int RunQuery(CliContext& context, QStringList args);
int RunTemplate(CliContext& context, QStringList args);
int RunRender(CliContext& context, QStringList args);
int RunExport(CliContext& context, QStringList args);
int RunDelete(CliContext& context, QStringList args);
int RunTransfer(CliContext& context, QStringList args);
int RunDuplicates(CliContext& context, QStringList args);
int RunMerge(CliContext& context, QStringList args);
int RunStats(CliContext& context, QStringList args);
int RunRetention(CliContext& context, QStringList args);
int RunPerson(CliContext& context, QStringList args);
int RunLog(CliContext& context, QStringList args);
int RunCompact(CliContext& context, QStringList args);
