#include "session/Session.h"
#include "cli/CliContext.h"
#include "cli/CliDatabase.h"
#include "cli/Verbs.h"

// fields DB: the database's field-names list, one name per line.
int RunFields(CliContext& context, QStringList args)
{
    if (!EndOfOptions(args) || args.size() != 1)
        return UsageError(QStringLiteral("fields needs exactly one database file"));
    if (!OpenCliDatabase(context, args.first(), true, DatabaseAccess::ReadOnly))
        return kExitFailed;
    for (const QString& name : context.session.Database.CurrentFieldNames.Names())
        context.out << name << "\n";
    context.out.flush();
    return kExitOk;
}
