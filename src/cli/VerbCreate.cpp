#include "cli/CliContext.h"
#include "cli/Verbs.h"
#include "database/DatabaseCreation.h"

// create DB: a new, empty database file; an existing file is refused.
int RunCreate(CliContext& context, QStringList args)
{
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("create needs exactly one database file"));
    return CreateNewDatabase(context.ui, args.first()) ? kExitOk : kExitFailed;
}
