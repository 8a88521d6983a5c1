#include "cli/CliContext.h"
#include "cli/CliSelection.h"
#include "cli/Verbs.h"
#include "database/RecordDeletion.h"

// delete DB [--ids FROM-TO | --find FIELD PATTERN | --query FILE.qry] [--yes]
int RunDelete(CliContext& context, QStringList args)
{
    CliSelection selection;
    QString usage;
    if (!selection.TakeOptions(args, &usage))
        return UsageError(QStringLiteral("delete: ") + usage);
    context.ui.SetAssumeYes(TakeFlag(args, QStringLiteral("--yes")));
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("delete needs one database file"));
    if (!selection.Prepare(context, args.first()))
        return kExitFailed;
    context.ui.SetStatusText(QString());
    const DeleteOutcome outcome = DeleteResumes(context.session, selection);
    if (!context.ui.StatusText().isEmpty()) {
        context.out << context.ui.StatusText() << '\n';
        context.out.flush();
    }
    return outcome.ran && !outcome.failed ? kExitOk : kExitFailed;
}
