#include "cli/CliContext.h"

#include <cstdio>

CliContext::CliContext(const ProgramFolders& folders) : session(ui, folders), out(stdout) {}

int UsageError(const QString& text)
{
    std::fprintf(stderr, "tallowmere-cli: %s\nTry 'tallowmere-cli --help'.\n",
                 text.toLocal8Bit().constData());
    return kExitUsage;
}

bool TakeFlag(QStringList& args, const QString& flag)
{
    return args.removeAll(flag) > 0;
}

bool TakeOption(QStringList& args, const QString& flag, QString* value, bool* present)
{
    const qsizetype i = args.indexOf(flag);
    if (present)
        *present = i >= 0;
    if (i < 0)
        return true;
    if (i + 1 >= args.size())
        return false;
    *value = args[i + 1];
    args.remove(i, 2);
    return true;
}
