#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/RecordListing.h"
#include "cli/Verbs.h"

// list [--json] DB: every record in FormID order, one line each
// (FormID, date, name, source separated by tabs), or a JSON array of
// record objects without their fields.
int RunList(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("list needs exactly one database file"));
    if (!OpenCliDatabase(context, args.first(), false, DatabaseAccess::ReadOnly))
        return kExitFailed;
    return PrintSummaryRecords(context, json) ? kExitOk : kExitFailed;
}
