#include "cli/CliContext.h"
#include "cli/CliSelection.h"
#include "cli/Verbs.h"
#include "database/RecordTransfer.h"

// transfer DB TARGET [--ids FROM-TO | --find FIELD PATTERN | --query FILE.qry] [--yes]
int RunTransfer(CliContext& context, QStringList args)
{
    CliSelection selection;
    QString usage;
    if (!selection.TakeOptions(args, &usage))
        return UsageError(QStringLiteral("transfer: ") + usage);
    context.ui.SetAssumeYes(TakeFlag(args, QStringLiteral("--yes")));
    if (!EndOfOptions(args) || args.size() != 2)
        return UsageError(QStringLiteral("transfer needs a database file and a target file"));
    if (!selection.Prepare(context, args[0]))
        return kExitFailed;
    context.ui.QueueFiles({args[1]});
    context.ui.SetStatusText(QString());
    const TransferOutcome outcome = WriteRecordsToDB(context.session, selection);
    if (!context.ui.StatusText().isEmpty()) {
        context.out << context.ui.StatusText() << '\n';
        context.out.flush();
    }
    return outcome.ran && !outcome.failed ? kExitOk : kExitFailed;
}
