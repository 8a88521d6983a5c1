#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"
#include "platform/StopSignals.h"
#include "responses/ResponseImport.h"

// import [--relative-to DIR] [--again] [--json] DB FILE|FOLDER...: every
// response in the files (plain text, saved mail or a .csv export; a folder
// by every file below it), in order, stored as new records, leaving out
// messages imported before unless --again; prints the final status text,
// then the tally. With DIR, each record's source is its file's path
// relative to DIR. A file that is no text or mail fails the run, after the
// other files.
int RunImport(CliContext& context, QStringList args)
{
    ImportOptions options;
    if (!TakeOption(args, QStringLiteral("--relative-to"), &options.sourceBase))
        return UsageError(QStringLiteral("import: --relative-to takes a folder"));
    options.again = TakeFlag(args, QStringLiteral("--again"));
    const bool json = TakeFlag(args, QStringLiteral("--json"));
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
    const ImportOutcome outcome = ImportResume(context.session, options);
    context.out << context.ui.StatusText() << "\n";
    context.out << (json ? outcome.tally.Json() : outcome.tally.Line()) << "\n";
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
