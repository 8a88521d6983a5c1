#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"
#include "responses/ResponseImport.h"

// import [--relative-to DIR] DB FILE...: every response in the files (plain
// text or saved mail), in order, stored as new records; prints the final
// status text. With DIR, each record's source is its file's path relative to
// DIR. A file that is no text or mail fails the run, after the other files.
int RunImport(CliContext& context, QStringList args)
{
    QString base;
    if (!TakeOption(args, QStringLiteral("--relative-to"), &base))
        return UsageError(QStringLiteral("import: --relative-to takes a folder"));
    if (args.size() < 2)
        return UsageError(
            QStringLiteral("import needs a database file and at least one response file"));
    for (const QString& a : args) {
        if (a.startsWith(QStringLiteral("--")))
            return UsageError(QStringLiteral("import: unknown option ") + a);
    }
    if (!OpenCliDatabase(context, args.takeFirst()))
        return kExitFailed;
    context.ui.QueueFiles(args);
    const ImportOutcome outcome = ImportResume(context.session, base);
    context.out << context.ui.StatusText() << "\n";
    context.out.flush();
    return outcome.failed || outcome.refused > 0 ? kExitFailed : kExitOk;
}
