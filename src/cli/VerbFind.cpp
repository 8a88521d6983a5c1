#include "cli/CliContext.h"
#include "cli/CliSearch.h"
#include "cli/RecordListing.h"
#include "cli/Verbs.h"

// find [--json] DB FIELD PATTERN: Quick Find. FIELD is an entry of the
// Quick Find list (a record-level display name such as "Record Name", or
// a field name), compared ignoring case.
int RunFind(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (!EndOfOptions(args) || args.size() != 3)
        return UsageError(QStringLiteral("find needs a database file, a field and a pattern"));
    if (!OpenForSearch(context, args[0], false, DatabaseAccess::ReadOnly) ||
        !CliQuickFind(context, args[1], args[2]))
        return kExitFailed;
    return PrintSummaryRecords(context, json) ? kExitOk : kExitFailed;
}

// query [--json] DB FILE.qry: loads the query file and runs it as the
// Query Builder's OK does.
int RunQuery(CliContext& context, QStringList args)
{
    const bool json = TakeFlag(args, QStringLiteral("--json"));
    if (!EndOfOptions(args) || args.size() != 2)
        return UsageError(QStringLiteral("query needs a database file and a query file"));
    if (!OpenForSearch(context, args[0], false, DatabaseAccess::ReadOnly) ||
        !CliRunQueryFile(context, args[1]))
        return kExitFailed;
    return PrintSummaryRecords(context, json) ? kExitOk : kExitFailed;
}
