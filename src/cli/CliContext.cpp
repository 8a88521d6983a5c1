#include "cli/CliContext.h"

#include <cstdio>

CliContext::CliContext(const ProgramFolders& folders) : session(ui, folders), out(stdout) {}

int UsageError(const QString& text)
{
    std::fprintf(stderr, "tallowmere-cli: %s\nTry 'tallowmere-cli --help'.\n",
                 text.toLocal8Bit().constData());
    return kExitUsage;
}

namespace {

qsizetype OptionsEnd(const QStringList& args)
{
    const qsizetype end = args.indexOf(QStringLiteral("--"));
    return end < 0 ? args.size() : end;
}

} // namespace

qsizetype OptionAt(const QStringList& args, const QString& flag)
{
    const qsizetype at = args.indexOf(flag);
    return at >= 0 && at < OptionsEnd(args) ? at : -1;
}

bool TakeFlag(QStringList& args, const QString& flag)
{
    bool taken = false;
    for (qsizetype at; (at = OptionAt(args, flag)) >= 0; taken = true)
        args.removeAt(at);
    return taken;
}

bool EndOfOptions(QStringList& args, QString* unknown)
{
    const qsizetype end = OptionsEnd(args);
    for (qsizetype i = 0; i < end; ++i) {
        if (args[i].size() > 1 && args[i].startsWith(QLatin1Char('-'))) {
            if (unknown)
                *unknown = args[i];
            return false;
        }
    }
    if (end < args.size())
        args.removeAt(end);
    return true;
}

bool TakeOption(QStringList& args, const QString& flag, QString* value, bool* present)
{
    const qsizetype i = OptionAt(args, flag);
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
