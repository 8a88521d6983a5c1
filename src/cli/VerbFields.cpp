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
    const QStringList names = context.session.Database.CurrentFieldNames.List().split(
        QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (const QString& name : names)
        context.out << name << "\n";
    context.out.flush();
    return kExitOk;
}
