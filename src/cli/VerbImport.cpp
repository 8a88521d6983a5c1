#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"
#include "platform/StopSignals.h"
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
    QString unknown;
    if (!EndOfOptions(args, &unknown))
        return UsageError(QStringLiteral("import: unknown option ") + unknown);
    if (args.size() < 2)
        return UsageError(
            QStringLiteral("import needs a database file and at least one response file"));
    if (!OpenCliDatabase(context, args.takeFirst()))
        return kExitFailed;
    context.ui.QueueFiles(args);
    context.ui.WatchStopSignals();
    const ImportOutcome outcome = ImportResume(context.session, base);
    context.out << context.ui.StatusText() << "\n";
    context.out.flush();
    if (outcome.stopped) {
        const int signal = context.ui.StopSignal();
        context.session.ui.MessageBox(QStringLiteral("import: stopped by %1; the %2 record(s) read "
                                                     "before it are stored")
                                          .arg(QLatin1String(StopSignalName(signal)))
                                          .arg(outcome.total),
                                      MessageIcon::Exclamation);
        return 128 + signal;
    }
    return outcome.failed || outcome.refused > 0 || outcome.dropped > 0 ? kExitFailed : kExitOk;
}
